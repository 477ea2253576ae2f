#include "game/ball_rules.h"
#include "game/form1.h"

namespace tessaly {

// The ball turns off a paddle and is steered by the third it meets. The pairs
// move together, so paddle 0 stands for the horizontal pair and paddle 3 for
// the vertical one.
void Form1::hitpaddle() {
  const Controls& c = controls();
  const ScreenObject& ball = c.ball;

  const ScreenObject& horizontal = c.paddle(0);
  turnOffHorizontalPair(horizontal.left(), horizontal.width(), ball.left(), ball.left() + ball.width(), state.ballstep,
                        state.ballxspeed, state.ballyspeed);

  const ScreenObject& vertical = c.paddle(3);
  turnOffVerticalPair(vertical.top(), vertical.height(), ball.top(), ball.top() + ball.height(), state.ballstep,
                      state.ballxspeed, state.ballyspeed);
}

}  // namespace tessaly
