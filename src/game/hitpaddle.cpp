#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

// The ball turns off a paddle and is steered by the third it meets. The pairs
// move together, so paddle 0 stands for the horizontal pair and paddle 3 for
// the vertical one.
void Form1::hitpaddle() {
  const Controls& c = controls();
  const ScreenObject& ball = c.ball;
  const std::int16_t step = roundTo<std::int16_t>(state.ballstep);

  // Marks are rounded to single precision before they are compared.
  const auto firstThird = [](float start, float length) { return static_cast<float>(start + length / 3.0f); };
  const auto secondThird = [](float start, float length) { return static_cast<float>(start + length / 1.5); };

  const ScreenObject& horizontal = c.paddle(0);
  const float L = horizontal.left();
  const float W = horizontal.width();
  const float bl = ball.left();
  const float br = ball.left() + ball.width();
  if (bl > L && L + W > br) {
    state.ballyspeed = static_cast<std::int16_t>(-state.ballyspeed);
    if (state.ballxspeed == 0) state.ballxspeed = state.ballstep;
    const float m1 = firstThird(L, W);
    const float m2 = secondThird(L, W);
    if (m1 > bl && state.ballxspeed > 0) state.ballxspeed = -state.ballxspeed;
    if (m1 < bl && m2 > br) state.ballxspeed = 0;
    if (m2 < br && state.ballxspeed < 0) state.ballxspeed = -state.ballxspeed;
  }

  const ScreenObject& vertical = c.paddle(3);
  const float T = vertical.top();
  const float H = vertical.height();
  const float bt = ball.top();
  const float bb = ball.top() + ball.height();
  if (bt > T && T + H > bb) {
    state.ballxspeed = -state.ballxspeed;
    if (state.ballyspeed == 0) state.ballyspeed = step;
    const float k1 = firstThird(T, H);
    const float k2 = secondThird(T, H);
    if (k1 > bt && state.ballyspeed < 0) state.ballyspeed = static_cast<std::int16_t>(-state.ballyspeed);
    if (k1 < bt && k2 > bb) state.ballyspeed = 0;
    if (k2 < bb && state.ballyspeed > 0) state.ballyspeed = static_cast<std::int16_t>(-state.ballyspeed);
  }
}

}  // namespace tessaly
