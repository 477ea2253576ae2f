#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

double Form1::freshjitter() { return 1.0 - static_cast<double>(random_.draw()) * 0.05; }

void Form1::start() {
  Controls& c = controls();
  state.hdirection = hdirection::still;
  state.vdirection = vdirection::still;
  state.ballxspeed = 0;
  state.ballyspeed = 0;
  state.ballstep = state.cellwidth / 4.0f;
  state.xjitter = freshjitter();
  state.yjitter = freshjitter();

  // Centre the paddles along their tracks, then set the ball on the bottom one.
  const ScreenObject& board = c.board;
  const double midX = board.width() / 2.0 + board.left();
  const double midY = board.height() / 2.0 + board.top();
  for (int i : paddle::horizontalPair) c.paddle(i).setLeft(static_cast<float>(midX - c.paddle(i).width() / 2.0));
  for (int i : paddle::verticalPair) c.paddle(i).setTop(static_cast<float>(midY - c.paddle(i).height() / 2.0));
  const ScreenObject& bottom = c.paddle(paddle::bottom);
  ScreenObject& ball = c.ball;
  ball.setLeft(static_cast<float>(bottom.width() / 2.0 + bottom.left() - ball.width() / 2.0));
  ball.setTop(static_cast<float>(static_cast<double>(bottom.top()) - ball.height()));
}

void Form1::Timer2_Timer() {
  ScreenObject& ball = controls().ball;

  // A ball at rest is served by a horizontal arrow: Right sends it up and to
  // the left, Left up and to the right.
  if (state.ballxspeed == 0 && state.ballyspeed == 0 && state.hdirection != hdirection::still) {
    state.ballyspeed = roundTo<std::int16_t>(state.ballstep);
    state.ballxspeed = state.hdirection == hdirection::right ? -static_cast<double>(state.ballstep) : state.ballstep;
  }

  double x = ball.left() + state.ballxspeed * state.xjitter;
  double y = ball.top() - state.ballyspeed * state.yjitter;

  if (x < state.boardleft) {
    x = state.boardleft;
    state.ballxspeed = -state.ballxspeed;
    state.xjitter = freshjitter();
  }
  if (x + ball.width() > state.boardright) {
    x = static_cast<float>(state.boardright) - ball.width();
    state.ballxspeed = -state.ballxspeed;
    state.xjitter = freshjitter();
  }
  if (y < state.boardtop) {
    y = state.boardtop;
    state.ballyspeed = static_cast<std::int16_t>(-state.ballyspeed);
    state.yjitter = freshjitter();
  }
  if (y + ball.height() > state.boardbottom) {
    y = state.boardbottom - ball.height();
    state.ballyspeed = static_cast<std::int16_t>(-state.ballyspeed);
    state.yjitter = freshjitter();
  }

  ball.move(static_cast<float>(x), static_cast<float>(y));
  whereball();
}

}  // namespace tessaly
