#include <array>
#include <cmath>

#include "game/brick_grid.h"
#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

namespace {

struct Probe {
  double x;
  double y;
  int xbounce;
  int ybounce;
};

// Cell index of a point along one axis, counted from 1; far-off points stop
// at a bound well outside the cell table rather than overflowing.
int cellIndex(double offset, float cellSize) {
  const double index = std::floor(offset / cellSize) + 1;
  if (!(index > -1000)) return -1000;
  if (index > 1000) return 1000;
  return static_cast<int>(index);
}

}  // namespace

void Form1::whereball() {
  const ScreenObject& ball = controls().ball;

  // The ball's box relative to the board.
  const double x0 = static_cast<double>(ball.left()) - state.boardleft;
  const double x1 = x0 + ball.width();
  const double xc = (x0 + x1) / 2;
  const double y0 = static_cast<double>(ball.top()) - state.boardtop;
  const double y1 = y0 + ball.height();
  const double yc = (y0 + y1) / 2;

  // At most one brick per tick: the first probe, in this order, whose cell
  // holds a brick and differs from the cell examined just before it.
  const std::array<Probe, 4> probes{{
      {xc, y0, 0, -1},  // top centre sends the ball down
      {x0, yc, 1, 0},   // left middle sends it right
      {x1, yc, -1, 0},  // right middle sends it left
      {xc, y1, 0, 1},   // bottom centre sends it up
  }};
  for (const Probe& probe : probes) {
    const int column = cellIndex(probe.x, state.cellwidth);
    const int row = cellIndex(probe.y, state.cellheight);
    const Integer cellnumber = cellNumber(column, row);
    // A point outside the cell table lies on no brick.
    const bool inTable = column >= 0 && column < kCellColumns && row >= 0 && row < kCellRows;
    const bool hit = cellnumber != state.lastcell && inTable && state.cells[column][row] > 0;
    state.lastcell = cellnumber;
    if (hit) {
      score(cellnumber, column, row, probe.xbounce, probe.ybounce);
      break;
    }
  }

  // The paddle bands, for paddles 0 to 3 in turn.
  {
    const Controls& c = controls();
    const ScreenObject& b = c.ball;
    const ScreenObject& p0 = c.paddle(0);
    const ScreenObject& p1 = c.paddle(1);
    const ScreenObject& p2 = c.paddle(2);
    const ScreenObject& p3 = c.paddle(3);
    // Sums and differences of two lengths are single precision before comparing.
    if (b.top() + b.height() > p0.top() && p0.top() + p0.height() > b.top()) hitpaddle();
    if (p1.top() + p1.height() > b.top() - b.height() && b.top() > p1.top()) hitpaddle();
    if (b.left() + b.width() > p2.left() && p2.left() + p2.width() > b.left()) hitpaddle();
    if (p3.left() + p3.width() > b.left() - b.width() && b.left() > p3.left()) hitpaddle();
  }

  // The board's edges: each test reads the ball afresh, since a lost life
  // serves a new one. The game may have ended, but the window stays open.
  const ScreenObject& b = controls().ball;
  if (b.top() + b.height() >= state.boardbottom) lostlife();
  if (b.top() - b.height() <= state.boardtop) lostlife();
  if (b.left() <= state.boardleft) lostlife();
  if (b.left() + b.width() >= static_cast<float>(state.boardright)) lostlife();
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

  // Away from the brick at the base step; the other component keeps its value.
  if (xbounce == 1) state.ballxspeed = state.ballstep;
  if (xbounce == -1) state.ballxspeed = -static_cast<double>(state.ballstep);
  if (ybounce == 1) state.ballyspeed = roundTo<std::int16_t>(state.ballstep);
  if (ybounce == -1) state.ballyspeed = roundTo<std::int16_t>(-static_cast<double>(state.ballstep));
  state.xjitter = freshjitter();
  state.yjitter = freshjitter();
}

}  // namespace tessaly
