#include "harness/autoplayer_flight.h"

#include <algorithm>
#include <cmath>

namespace tessaly::autoplay {

double discount(int tick) { return std::pow(kDiscount, tick); }

Flight Flight::of(const Form1& form) {
  const GameState& s = form.state;
  const ScreenObject& ball = form.controls().ball;
  Flight f;
  f.left = ball.left();
  f.top = ball.top();
  f.vx = s.ballxspeed;
  f.vy = s.ballyspeed;
  f.xj = s.xjitter;
  f.yj = s.yjitter;
  f.lastcell = s.lastcell;
  return f;
}

BandsAt::BandsAt(const PaddleBands& bands, float ballLeft, float ballTop)
    : bottom(bands.bottom(ballTop)),
      row(bottom || bands.top(ballTop)),
      left(bands.left(ballLeft)),
      column(left || bands.right(ballLeft)) {}

Court::Court(const Form1& form) : bands(form.controls()) {
  const GameState& s = form.state;
  const Controls& c = form.controls();
  const ScreenObject& across = c.paddle(paddle::bottom);
  const ScreenObject& upright = c.paddle(paddle::right);
  ballW = c.ball.width();
  ballH = c.ball.height();
  acrossW = across.width();
  uprightH = upright.height();
  acrossMin = s.boardleft;
  acrossMax = static_cast<float>(s.boardright) - across.width();
  uprightMin = s.boardtop;
  uprightMax = s.boardbottom - upright.height();
  acrossAt = across.left();
  uprightAt = upright.top();
  boardLeft = s.boardleft;
  boardTop = s.boardtop;
  boardBottom = s.boardbottom;
  boardRight = s.boardright;
  cellW = s.cellwidth;
  cellH = s.cellheight;
  step = s.ballstep;
  yStep = roundTo<std::int16_t>(s.ballstep);
  stride = paddleStride(s.ballstep, kSpaceSpeed);
}

Track Court::track(const Flight& f, bool across) const {
  if (across) return {f.left, ballW, acrossW, acrossMin, acrossMax};
  return {f.top, ballH, uprightH, uprightMin, uprightMax};
}

bool Court::lost(const Flight& f) const {
  return pastBottom(f.top, ballH, boardBottom) || pastTop(f.top, ballH, boardTop) || pastLeft(f.left, boardLeft) ||
         pastRight(f.left, ballW, boardRight);
}

void BrickBoard::reset(const GameState& s) {
  cells_ = s.cells;
  knocked_ = 0;
  int c0 = kGridSize + 1, c1 = 0, r0 = kGridSize + 1, r1 = 0;
  for (int col = 1; col <= kGridSize; ++col)
    for (int row = 1; row <= kGridSize; ++row)
      if (s.cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] > 0) {
        c0 = std::min(c0, col);
        c1 = std::max(c1, col);
        r0 = std::min(r0, row);
        r1 = std::max(r1, row);
      }
  bricksFrom_ = {(c0 - 1) * static_cast<double>(s.cellwidth), (r0 - 1) * static_cast<double>(s.cellheight)};
  bricksTo_ = {c1 * static_cast<double>(s.cellwidth), r1 * static_cast<double>(s.cellheight)};
}

bool BrickBoard::clearOf(const BallBox& box) const {
  return box.x1 < bricksFrom_[0] || box.x0 >= bricksTo_[0] || box.y1 < bricksFrom_[1] || box.y0 >= bricksTo_[1];
}

bool BrickBoard::knock(int column, int row) {
  std::int16_t& cell = cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
  if (cell == kFixedBrick || knocked_ >= knocks_.size()) return false;
  knocks_[knocked_++] = {static_cast<std::int16_t>(column), static_cast<std::int16_t>(row)};
  --cell;
  return true;
}

void BrickBoard::restore(std::size_t mark) {
  while (knocked_ > mark) {
    const Knock k = knocks_[--knocked_];
    ++cells_[static_cast<std::size_t>(k.column)][static_cast<std::size_t>(k.row)];
  }
}

bool BrickBoard::breakableIn(int line, bool across) const {
  const auto at = [](int i) { return static_cast<std::size_t>(i); };
  for (int i = 1; i <= kGridSize; ++i) {
    const std::int16_t v = across ? cells_[at(line)][at(i)] : cells_[at(i)][at(line)];
    if (v >= 1 && v < kFixedBrick) return true;
  }
  return false;
}

namespace {

// The brick probes of the ball tick on the scratch board: knocks the brick
// out and says what the hit is worth.
double probe(Flight& f, int tick, const Court& court, BrickBoard& board) {
  const BallBox box = ballBox(f.left, f.top, court.ballW, court.ballH, court.boardLeft, court.boardTop);
  // Away from every brick only the last probe's cell is kept.
  if (board.clearOf(box)) {
    const Probe last = probes(box).back();
    f.lastcell = cellAt(last.x, last.y, court.cellW, court.cellH).number;
    return 0;
  }
  double worth = 0;
  probeBricks(box, court.cellW, court.cellH, board.cells(), f.lastcell, [&](const BrickHit& hit) {
    if (board.knock(hit.cell.column, hit.cell.row)) worth = discount(tick);
    bounceOffBrick(hit.xbounce, hit.ybounce, court.step, f.vx, f.vy);
    f.xj = kMeanJitter;
    f.yj = kMeanJitter;
  });
  return worth;
}

}  // namespace

Leg fly(Flight& f, int tick, const Court& court, BrickBoard& board) {
  double gain = 0;
  for (int t = tick + 1; t <= tick + kFlightTicks; ++t) {
    f.move();
    gain += probe(f, t, court, board);
    const BandsAt in(court.bands, f.left, f.top);
    // In two bands at once both pairs turn it, each undoing the other.
    if (in.row && in.column) return {End::Lost, t, gain};
    if (in.row && f.vy == 0) return {End::Lost, t, gain};     // skimming along a band
    if (in.column && f.vx == 0) return {End::Lost, t, gain};  // likewise
    if (in.row && in.rowInbound(f.vy)) return {End::AcrossTurn, t, gain};
    if (in.column && in.columnInbound(f.vx)) return {End::UprightTurn, t, gain};
    if (court.lost(f)) return {End::Lost, t, gain};
  }
  return {End::Open, tick + kFlightTicks, gain};
}

void serve(Flight& f, const Court& court, int arrow) {
  // Left sends the ball up and to the right, Right up and to the left.
  f.vy = court.yStep;
  f.vx = arrow == key::Left ? static_cast<double>(court.step) : -static_cast<double>(court.step);
}

void turnOff(Flight& f, const Court& court, bool across, double start) {
  if (across) {
    turnOffHorizontalPair(static_cast<float>(start), static_cast<float>(court.acrossW), f.left, f.left + court.ballW,
                          court.step, f.vx, f.vy);
  } else {
    turnOffVerticalPair(static_cast<float>(start), static_cast<float>(court.uprightH), f.top, f.top + court.ballH,
                        court.step, f.vx, f.vy);
  }
}

}  // namespace tessaly::autoplay
