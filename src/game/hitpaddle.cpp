#include "game/ball_rules.h"
#include "game/form1.h"

namespace tessaly {

// The ball turns off a paddle and is steered by the third it meets. The pairs
// move together, so the bottom paddle stands for the horizontal pair and the
// right one for the vertical pair.
void Form1::hitpaddle() {
  const Controls& c = controls();
  const ScreenObject& ball = c.ball;

  const ScreenObject& horizontal = c.paddle(paddle::bottom);
  turnOffHorizontalPair(horizontal.left(), horizontal.width(), ball.left(), ball.left() + ball.width(), state.ballstep,
                        state.ballxspeed, state.ballyspeed);

  const ScreenObject& vertical = c.paddle(paddle::right);
  turnOffVerticalPair(vertical.top(), vertical.height(), ball.top(), ball.top() + ball.height(), state.ballstep,
                      state.ballxspeed, state.ballyspeed);
}

}  // namespace tessaly
