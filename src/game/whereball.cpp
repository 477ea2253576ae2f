#include "game/ball_rules.h"
#include "game/form1.h"

namespace tessaly {

void Form1::whereball() {
  const ScreenObject& ball = controls().ball;

  // The brick probes: at most one brick a tick, handed to score.
  const BallBox box = ballBox(ball.left(), ball.top(), ball.width(), ball.height(), state.boardleft, state.boardtop);
  probeBricks(box, state.cellwidth, state.cellheight, state.cells, state.lastcell, [this](const BrickHit& hit) {
    score(hit.cell.number, hit.cell.column, hit.cell.row, hit.xbounce, hit.ybounce);
  });

  // The paddle bands, bottom, top, left and right in turn; a turn moves no
  // paddle and not the ball.
  {
    const PaddleBands bands(controls());
    const float top = controls().ball.top();
    const float left = controls().ball.left();
    if (bands.bottom(top)) hitpaddle();
    if (bands.top(top)) hitpaddle();
    if (bands.left(left)) hitpaddle();
    if (bands.right(left)) hitpaddle();
  }

  // The board's edges: each test reads the ball afresh, since a lost life
  // serves a new one. The game may have ended, but the window stays open.
  const ScreenObject& b = controls().ball;
  if (pastBottom(b.top(), b.height(), state.boardbottom)) lostlife();
  if (pastTop(b.top(), b.height(), state.boardtop)) lostlife();
  if (pastLeft(b.left(), state.boardleft)) lostlife();
  if (pastRight(b.left(), b.width(), state.boardright)) lostlife();
}

void Form1::score(Integer cellnumber, int column, int row, int xbounce, int ybounce) {
  std::int16_t& cell = state.cells.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
  if (cell == kFixedBrick) {
    // A fixed brick is worth nothing to the score; only the extra-life tally
    // counts the hit. It never breaks.
    countbonus();
  } else {
    updatescore();
    cell = static_cast<std::int16_t>(cell - 1);
  }
  colorbricks(static_cast<int>(cellnumber), column, row);

  bounceOffBrick(xbounce, ybounce, state.ballstep, state.ballxspeed, state.ballyspeed);
  state.xjitter = freshjitter();
  state.yjitter = freshjitter();
}

}  // namespace tessaly
