#include "harness/autoplayer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/brick_grid.h"
#include "game/numbers.h"

namespace tessaly {

namespace {

constexpr double kDiscount = 0.996;    // per ball tick: a brick soon beats a brick later
constexpr double kLoss = 40;           // a lost ball, counted in brick hits
constexpr double kMeanJitter = 0.975;  // the speed factor a brick hit draws, on average
constexpr double kReach = 0.9;         // of a pair's stride with Space held, what it is counted on to cover per tick
constexpr double kMargin = 30;         // twips kept from the edges of a third
constexpr int kFlightTicks = 400;      // the longest flight followed between two turns
constexpr int kCornerTicks = 16;       // turns closer than this to the other pair's are in a corner
constexpr double kCorner = 3;          // what such a turn costs, in brick hits
constexpr int kRestless = 400;         // calls without a point before whims steer
constexpr double kWhim = 3;            // how much a whim can be worth, in brick hits
constexpr double kWaste = 1;           // a straight shot past no brick, in brick hits
constexpr double kAlign = 0.5;         // a look-ahead that ends in line with bricks, in brick hits
constexpr double kNone = -std::numeric_limits<double>::infinity();

double discount(int tick) { return std::pow(kDiscount, tick); }

// Cell index along one axis, as the ball tick counts it.
int cellIndex(double offset, float cellSize) {
  const double index = std::floor(offset / cellSize) + 1;
  if (!(index > -1000)) return -1000;
  if (index > 1000) return 1000;
  return static_cast<int>(index);
}

// The ball in flight as the ball tick sees it.
struct Flight {
  float left = 0;
  float top = 0;
  double vx = 0;        // positive moves right
  std::int16_t vy = 0;  // positive moves up
  double xj = 1;
  double yj = 1;
  Integer lastcell = 0;
};

// The board's measures, read from the form once per plan: the ball, the
// paddles' bands (compared in single precision, as the paddle tests do) and
// the pairs' tracks.
struct Court {
  float ballW, ballH;
  float p0Top, p0H, p1Top, p1H, p2Left, p2W, p3Left, p3W;
  double acrossW, uprightH;  // the pairs' lengths along their tracks
  double acrossMin, acrossMax, uprightMin, uprightMax;
  float boardLeft, boardTop, boardBottom, cellW, cellH;
  std::int16_t boardRight;
  float step;
  std::int16_t yStep;
  double stride;  // a pair's step with Space held

  explicit Court(const Form1& form) {
    const GameState& s = form.state;
    const Controls& c = form.controls();
    ballW = c.ball.width();
    ballH = c.ball.height();
    p0Top = c.paddle(0).top();
    p0H = c.paddle(0).height();
    p1Top = c.paddle(1).top();
    p1H = c.paddle(1).height();
    p2Left = c.paddle(2).left();
    p2W = c.paddle(2).width();
    p3Left = c.paddle(3).left();
    p3W = c.paddle(3).width();
    acrossW = c.paddle(0).width();
    uprightH = c.paddle(3).height();
    acrossMin = s.boardleft;
    acrossMax = static_cast<float>(s.boardright) - c.paddle(0).width();
    uprightMin = s.boardtop;
    uprightMax = s.boardbottom - c.paddle(3).height();
    boardLeft = s.boardleft;
    boardTop = s.boardtop;
    boardBottom = s.boardbottom;
    boardRight = s.boardright;
    cellW = s.cellwidth;
    cellH = s.cellheight;
    step = s.ballstep;
    yStep = roundTo<std::int16_t>(s.ballstep);
    stride = 2.0 * s.ballstep * 1.5;
  }

  bool inBottom(float top) const { return top + ballH > p0Top && p0Top + p0H > top; }
  bool inTop(float top) const { return p1Top + p1H > top - ballH && top > p1Top; }
  bool inLeft(float left) const { return left + ballW > p2Left && p2Left + p2W > left; }
  bool inRight(float left) const { return p3Left + p3W > left - ballW && left > p3Left; }
  bool lost(const Flight& f) const {
    return f.top + ballH >= boardBottom || f.top - ballH <= boardTop || f.left <= boardLeft ||
           f.left + ballW >= static_cast<float>(boardRight);
  }
};

// Where a pair of `length` must start so that a ball spanning [at, at + size)
// along its track meets the third that sends it toward the track's start
// (-1), straight out (0) or toward its end (1): an open range of starts.
struct Range {
  double from;
  double to;
};
Range thirdAt(double at, double size, double length, int third) {
  const double t = length / 3;
  if (third < 0) return {at - t, at};
  if (third == 0) return {at + size - 2 * t, at - t};
  return {at + size - length, at + size - 2 * t};
}

// The start nearest `pos` in [from, to] that the pair can stop at for sure:
// it stops within `slack` (half its slow stride) of where it heads for.
double within(double pos, double from, double to, double slack) {
  const double middle = (from + to) / 2;
  const double play = std::max(0.0, (to - from) / 2 - slack);
  return std::clamp(pos, middle - play, middle + play);
}

}  // namespace

// The look-ahead. The ball flies straight between turns and bounces off the
// bricks as the ball tick makes it; at each paddle band each third the pair
// can reach in time is tried, the bricks that line knocks out are counted
// (sooner ones more), and a line that runs the ball into a corner, along a
// band or past a pair that cannot get there counts as a lost ball.
struct AutoPlayer::Search {
  struct Pair {
    double pos;
    int ready;   // the tick from which the pair stands at pos, free to move
    int turned;  // the tick of its last turn
    // A stretch of its track it must be out of at a tick, while the other
    // pair turns the ball.
    double keepOutFrom = 0;
    double keepOutTo = 0;
    int keepOutTick = -1000;

    // How far the pair falls short of standing at `target` by `tick`; it may
    // not cross the stretch it must keep out of before it may.
    double shortfall(double target, int tick, double stride, bool soon = false) const {
      double from = pos;
      int at = ready;
      if (keepOutTick > ready) {
        const bool below = pos <= keepOutFrom;
        if (below ? target > keepOutFrom : target < keepOutTo) {
          from = below ? keepOutFrom : keepOutTo;
          at = keepOutTick;
        }
      }
      // The turn at hand is near enough to count on every step, at full speed.
      if (soon) return std::abs(target - from) - stride * (tick - at);
      return std::abs(target - from) - kReach * stride * (tick - at - 1);
    }
  };
  struct Pairs {
    Pair across;
    Pair upright;
  };
  enum class End : std::uint8_t { AcrossTurn, UprightTurn, Lost, Open };
  struct Leg {
    End end;
    int tick;
    double gain;
  };

  const Court& court;
  Scratch& s;
  // What each third of the turn at hand is worth beyond its line: the
  // player's whims, when play has gone nowhere for a while.
  std::array<double, 3> whims{};

  // Flies the ball from `tick` to the next band it must be turned in.
  Leg fly(Flight& f, int tick) {
    double gain = 0;
    for (int t = tick + 1; t <= tick + kFlightTicks; ++t) {
      f.left = static_cast<float>(f.left + f.vx * f.xj);
      f.top = static_cast<float>(f.top - f.vy * f.yj);
      gain += probe(f, t);
      const bool bottom = court.inBottom(f.top);
      const bool row = bottom || court.inTop(f.top);
      const bool left = court.inLeft(f.left);
      const bool column = left || court.inRight(f.left);
      // In two bands at once both pairs turn it, each undoing the other.
      if (row && column) return {End::Lost, t, gain};
      if (row && f.vy == 0) return {End::Lost, t, gain};     // skimming along a band
      if (column && f.vx == 0) return {End::Lost, t, gain};  // likewise
      if (row && (bottom ? f.vy < 0 : f.vy > 0)) return {End::AcrossTurn, t, gain};
      if (column && (left ? f.vx < 0 : f.vx > 0)) return {End::UprightTurn, t, gain};
      if (court.lost(f)) return {End::Lost, t, gain};
    }
    return {End::Open, tick + kFlightTicks, gain};
  }

  // The brick probes of the ball tick; knocks the brick out on the scratch
  // board and returns what the hit is worth.
  double probe(Flight& f, int t) {
    const double x0 = static_cast<double>(f.left) - court.boardLeft;
    const double x1 = x0 + court.ballW;
    const double xc = (x0 + x1) / 2;
    const double y0 = static_cast<double>(f.top) - court.boardTop;
    const double y1 = y0 + court.ballH;
    const double yc = (y0 + y1) / 2;
    // Away from every brick only the last probe's cell is kept.
    if (x1 < s.bricksFrom[0] || x0 >= s.bricksTo[0] || y1 < s.bricksFrom[1] || y0 >= s.bricksTo[1]) {
      f.lastcell = cellIndex(xc, court.cellW) + 25 * static_cast<Integer>(cellIndex(y1, court.cellH) - 1);
      return 0;
    }
    struct Point {
      double x, y;
      int xbounce, ybounce;
    };
    const std::array<Point, 4> points{{{xc, y0, 0, -1}, {x0, yc, 1, 0}, {x1, yc, -1, 0}, {xc, y1, 0, 1}}};
    for (const Point& p : points) {
      const int column = cellIndex(p.x, court.cellW);
      const int row = cellIndex(p.y, court.cellH);
      const Integer cellnumber = column + 25 * static_cast<Integer>(row - 1);
      const bool inTable = column >= 0 && column < kCellColumns && row >= 0 && row < kCellRows;
      const bool hit = cellnumber != f.lastcell && inTable &&
                       s.cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] > 0;
      f.lastcell = cellnumber;
      if (!hit) continue;
      double worth = 0;
      std::int16_t& cell = s.cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
      if (cell != kFixedBrick && s.knocked < s.knocks.size()) {
        s.knocks[s.knocked++] = {static_cast<std::int16_t>(column), static_cast<std::int16_t>(row)};
        --cell;
        worth = discount(t);
      }
      if (p.xbounce != 0) f.vx = p.xbounce * static_cast<double>(court.step);
      if (p.ybounce != 0) f.vy = static_cast<std::int16_t>(p.ybounce * court.yStep);
      f.xj = kMeanJitter;
      f.yj = kMeanJitter;
      return worth;
    }
    return 0;
  }

  void restore(std::size_t mark) {
    while (s.knocked > mark) {
      const Knock k = s.knocks[--s.knocked];
      ++s.cells[static_cast<std::size_t>(k.column)][static_cast<std::size_t>(k.row)];
    }
  }

  // Whether a straight shot from where the ball is, up or down the board
  // (`across`) or over it, passes a breakable brick: the cells under its
  // probes, all the way along.
  bool bricksAlong(const Flight& f, bool across) const {
    const double near = across ? f.left - court.boardLeft : f.top - court.boardTop;
    const double cell = across ? court.cellW : court.cellH;
    const int first = std::max(1, cellIndex(near, static_cast<float>(cell)));
    const int last = std::min(25, cellIndex(near + (across ? court.ballW : court.ballH), static_cast<float>(cell)));
    for (int line = first; line <= last; ++line)
      for (int i = 1; i <= 25; ++i) {
        const std::int16_t v = across ? s.cells[static_cast<std::size_t>(line)][static_cast<std::size_t>(i)]
                                      : s.cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(line)];
        if (v >= 1 && v <= 8) return true;
      }
    return false;
  }

  // How close the ball comes to lining up with a breakable brick, from 0 to
  // 1: at a turn across the board a straight shot drills the column it is
  // in, at an upright turn the row.
  double inLine(const Flight& f, bool across) const {
    const double centre =
        across ? f.left - court.boardLeft + court.ballW / 2.0 : f.top - court.boardTop + court.ballH / 2.0;
    const double cell = across ? court.cellW : court.cellH;
    double nearest = std::numeric_limits<double>::infinity();
    for (int line = 1; line <= 25; ++line) {
      bool bricks = false;
      for (int i = 1; i <= 25 && !bricks; ++i) {
        const std::int16_t v = across ? s.cells[static_cast<std::size_t>(line)][static_cast<std::size_t>(i)]
                                      : s.cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(line)];
        bricks = v >= 1 && v <= 8;
      }
      if (bricks) nearest = std::min(nearest, std::abs(centre - (line - 0.5) * cell));
    }
    return std::exp(-nearest / (3 * cell));
  }

  // The ball has just come into a band at `tick`: tries each third of the
  // pair there and returns the best line's worth, leaving its turns in
  // s.lines[depth]. `first` marks the turn at hand, which is tried even when
  // the pair looks too far, since there is nothing else to do.
  double turn(int depth, const Flight& f, int tick, bool across, const Pairs& pairs, bool first) {
    s.lengths[static_cast<std::size_t>(depth)] = 0;
    const Pair& mine = across ? pairs.across : pairs.upright;
    const Pair& other = across ? pairs.upright : pairs.across;
    const double at = across ? f.left : f.top;
    const double size = across ? court.ballW : court.ballH;
    const double length = across ? court.acrossW : court.uprightH;
    const double lo = across ? court.acrossMin : court.uprightMin;
    const double hi = across ? court.acrossMax : court.uprightMax;

    // The other pair must not span the ball now, or it turns it as well.
    const double otherAt = across ? f.top : f.left;
    const double otherSize = across ? court.ballH : court.ballW;
    const double otherLength = across ? court.uprightH : court.acrossW;
    const double otherLo = across ? court.uprightMin : court.acrossMin;
    const double otherHi = across ? court.uprightMax : court.acrossMax;
    const double keepOutFrom = otherAt + otherSize - otherLength - kMargin;
    const double keepOutTo = otherAt + kMargin;
    double otherPos = other.pos;
    double late = 0;  // how far the pairs fall short, for the turn at hand
    if (otherPos > keepOutFrom && otherPos < keepOutTo) {
      const bool below = keepOutFrom >= otherLo;
      const bool above = keepOutTo <= otherHi;
      if (below && (!above || otherPos - keepOutFrom < keepOutTo - otherPos)) {
        otherPos = keepOutFrom;
      } else if (above) {
        otherPos = keepOutTo;
      }
      const double shortfall = std::abs(otherPos - other.pos) - kReach * court.stride * (tick - other.ready);
      if (shortfall > 0 && !first) return kLoss * -discount(tick);
      late += std::max(0.0, shortfall);
    }

    // A turn hard on the other pair's is a ball in a corner: the thirds
    // there mostly lead into the next corner or along the edge of the board.
    // So is one where the pair cannot send the ball back toward the middle.
    const double middle = (lo + hi + length) / 2;
    const int inward = at + size / 2 < middle ? 1 : -1;
    const Range back = thirdAt(at, size, length, inward);
    const bool trapped = std::max(back.from + kMargin, lo) > std::min(back.to - kMargin, hi);
    const double cornered = tick - other.turned < kCornerTicks || trapped ? kCorner * discount(tick) : 0;

    double best = kNone;
    for (int third = -1; third <= 1; ++third) {
      const Range r = thirdAt(at, size, length, third);
      const double from = std::max(r.from + kMargin, lo);
      const double to = std::min(r.to - kMargin, hi);
      if (from > to) continue;
      const double target = within(mine.pos, from, to, court.step);
      const double shortfall = mine.shortfall(target, tick, court.stride, first);
      if (shortfall > 0 && !first) continue;

      Flight g = f;
      if (across) {
        g.vy = static_cast<std::int16_t>(-g.vy);
        g.vx = third * static_cast<double>(court.step);
      } else {
        g.vx = -g.vx;
        g.vy = static_cast<std::int16_t>(-third * court.yStep);
      }
      Pairs next = pairs;
      (across ? next.across : next.upright) = {target, tick, tick};
      (across ? next.upright : next.across) = {
          otherPos, otherPos == other.pos ? other.ready : tick, other.turned, keepOutFrom, keepOutTo, tick};

      // A straight shot down a line with nothing left to break only comes
      // back the same way.
      const double waste = third == 0 && !bricksAlong(f, across) ? kWaste * discount(tick) : 0;
      const std::size_t mark = s.knocked;
      const Leg leg = fly(g, tick);
      double value = leg.gain - cornered - waste;
      if (leg.end == End::Lost) {
        value -= kLoss * discount(leg.tick);
      } else if (leg.end != End::Open) {
        const bool nextAcross = leg.end == End::AcrossTurn;
        value += depth > 0 ? turn(depth - 1, g, leg.tick, nextAcross, next, false)
                           : reachable(g, leg.tick, nextAcross, next);
      }
      restore(mark);
      // Falling short at the turn at hand is nearly a lost ball.
      const double missed = late + std::max(0.0, shortfall);
      if (missed > 0) value -= kLoss * (0.5 + missed / 1000);
      const int slot = third + 1;
      if (first) value += whims[static_cast<std::size_t>(slot)];

      if (value > best) {
        best = value;
        auto& line = s.lines[static_cast<std::size_t>(depth)];
        line[0] = {across, tick, target, keepOutFrom, keepOutTo};
        int n = 1;
        if (depth > 0 && leg.end != End::Lost && leg.end != End::Open) {
          const auto& below = s.lines[static_cast<std::size_t>(depth - 1)];
          for (int i = 0; i < s.lengths[static_cast<std::size_t>(depth - 1)]; ++i)
            line[static_cast<std::size_t>(n++)] = below[static_cast<std::size_t>(i)];
        }
        s.lengths[static_cast<std::size_t>(depth)] = n;
      }
    }
    if (best == kNone) return kLoss * -discount(tick);
    return best;
  }

  // Where the look-ahead stops: a turn that no third can make is a lost
  // ball; otherwise a little for bricks in line.
  double reachable(const Flight& f, int tick, bool across, const Pairs& pairs) const {
    const Pair& mine = across ? pairs.across : pairs.upright;
    const double at = across ? f.left : f.top;
    const double size = across ? court.ballW : court.ballH;
    const double length = across ? court.acrossW : court.uprightH;
    const double lo = across ? court.acrossMin : court.uprightMin;
    const double hi = across ? court.acrossMax : court.uprightMax;
    for (int third = -1; third <= 1; ++third) {
      const Range r = thirdAt(at, size, length, third);
      const double from = std::max(r.from + kMargin, lo);
      const double to = std::min(r.to - kMargin, hi);
      if (from > to) continue;
      const double target = within(mine.pos, from, to, court.step);
      if (mine.shortfall(target, tick, court.stride) <= 0) return kAlign * inLine(f, across) * discount(tick);
    }
    return kLoss * -discount(tick);
  }
};

int AutoPlayer::whim() {
  lcg_ = lcg_ * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<int>(lcg_ >> 33);
}

void AutoPlayer::push(Action::Kind kind, int code, std::string_view button) {
  if (count_ < actions_.size()) actions_[count_++] = {kind, code, button};
}

std::span<const AutoPlayer::Action> AutoPlayer::decide(const Form1& form) {
  count_ = 0;
  if (!form.isOpen()) return {};
  const Controls& c = form.controls();

  // Buttons first; the board changes under them, so steering waits a call.
  if (c.pause.visible()) push(Action::Kind::Click, 0, "pause");
  if (c.nextlevel.visible()) push(Action::Kind::Click, 0, "nextlevel");
  if (c.gameover.visible()) push(Action::Kind::Click, 0, "gameover");
  if (count_ > 0) return {actions_.data(), count_};

  steer(form);
  return {actions_.data(), count_};
}

void AutoPlayer::play(Form1& form) {
  for (const Action& a : decide(form)) {
    switch (a.kind) {
      case Action::Kind::KeyDown: form.keyDown(a.code); break;
      case Action::Kind::KeyUp: form.keyUp(a.code); break;
      case Action::Kind::Click: form.click(a.button); break;
    }
  }
}

bool AutoPlayer::planHolds(const Form1& form) const {
  const GameState& s = form.state;
  const ScreenObject& ball = form.controls().ball;
  if (!planMade_ || s.ballxspeed != planXSpeed_ || s.ballyspeed != planYSpeed_ || s.xjitter != planXJitter_ ||
      s.yjitter != planYJitter_ || s.brickcount != planBricks_ || s.levelnum != planLevel_)
    return false;
  // Still on the line it was planned for, and not past its first turn.
  const double byX = s.ballxspeed != 0 ? (ball.left() - planLeft_) / (s.ballxspeed * s.xjitter) : -1;
  const double byY = s.ballyspeed != 0 ? (planTop_ - ball.top()) / (s.ballyspeed * s.yjitter) : -1;
  if (s.ballxspeed == 0 && s.ballyspeed == 0) return ball.left() == planLeft_ && ball.top() == planTop_;
  if (s.ballxspeed == 0 && std::abs(ball.left() - planLeft_) > 1) return false;
  if (s.ballyspeed == 0 && std::abs(ball.top() - planTop_) > 1) return false;
  if (s.ballxspeed != 0 && s.ballyspeed != 0 && std::abs(byX - byY) > 0.5) return false;
  const double elapsed = std::max(byX, byY);
  return elapsed > -0.5 && (planned_ == 0 || elapsed < turns_[0].tick + 0.5);
}

int AutoPlayer::elapsedTicks(const Form1& form) const {
  const GameState& s = form.state;
  const ScreenObject& ball = form.controls().ball;
  if (s.ballxspeed != 0) return static_cast<int>(std::lround((ball.left() - planLeft_) / (s.ballxspeed * s.xjitter)));
  if (s.ballyspeed != 0) return static_cast<int>(std::lround((planTop_ - ball.top()) / (s.ballyspeed * s.yjitter)));
  return 0;
}

void AutoPlayer::plan(const Form1& form) {
  const GameState& st = form.state;
  const Controls& c = form.controls();
  const Court court(form);
  scratch_.cells = st.cells;
  scratch_.knocked = 0;
  Search search{court, scratch_, {}};
  // The span of the board that holds bricks, relative to the board.
  {
    int c0 = 26, c1 = 0, r0 = 26, r1 = 0;
    for (int col = 1; col <= 25; ++col)
      for (int row = 1; row <= 25; ++row)
        if (st.cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] > 0) {
          c0 = std::min(c0, col);
          c1 = std::max(c1, col);
          r0 = std::min(r0, row);
          r1 = std::max(r1, row);
        }
    scratch_.bricksFrom = {(c0 - 1) * static_cast<double>(st.cellwidth), (r0 - 1) * static_cast<double>(st.cellheight)};
    scratch_.bricksTo = {c1 * static_cast<double>(st.cellwidth), r1 * static_cast<double>(st.cellheight)};
  }
  // Nothing hit for a while: the ball may be going round a loop the look-ahead
  // cannot see out of; whims break it.
  if (quiet_ > kRestless)
    for (double& w : search.whims) w = kWhim * static_cast<double>(whim() % 1024) / 1024;

  Flight f;
  f.left = c.ball.left();
  f.top = c.ball.top();
  f.vx = st.ballxspeed;
  f.vy = st.ballyspeed;
  f.xj = st.xjitter;
  f.yj = st.yjitter;
  f.lastcell = st.lastcell;
  const Search::Pairs pairs{{c.paddle(0).left(), 0, -1000}, {c.paddle(3).top(), 0, -1000}};

  planned_ = 0;
  const bool atRest = st.ballxspeed == 0 && st.ballyspeed == 0;
  // Looks `depth` turns beyond the next one; says what the best line is worth.
  const auto look = [&](int depth) {
    const int first = whim() % 2 == 0 ? key::Left : key::Right;
    double best = kNone;
    for (int k : {first, first == key::Left ? key::Right : key::Left}) {
      Flight g = f;
      if (atRest) {
        // Left sends the ball up and to the right, Right up and to the left.
        g.vy = court.yStep;
        g.vx = k == key::Left ? static_cast<double>(court.step) : -static_cast<double>(court.step);
      }
      const Search::Leg leg = search.fly(g, 0);
      double value = leg.gain;
      if (leg.end == Search::End::Lost) value -= kLoss;
      if (leg.end == Search::End::AcrossTurn || leg.end == Search::End::UprightTurn)
        value += search.turn(depth, g, leg.tick, leg.end == Search::End::AcrossTurn, pairs, !atRest);
      search.restore(0);
      if (value > best) {
        best = value;
        serveKey_ = k;
        const int n = scratch_.lengths[static_cast<std::size_t>(depth)];
        for (int i = 0; i < n; ++i)
          turns_[static_cast<std::size_t>(i)] =
              scratch_.lines[static_cast<std::size_t>(depth)][static_cast<std::size_t>(i)];
        planned_ = leg.end == Search::End::AcrossTurn || leg.end == Search::End::UprightTurn ? n : 0;
      }
      if (!atRest) break;  // in flight there is only the line it is on
    }
    return best;
  };
  // With nothing to hit within the near turns, look further.
  if (look(kLookahead - 1) < 0.5) look(kDeepLookahead - 1);
  planMade_ = true;
  planLeft_ = f.left;
  planTop_ = f.top;
  planXSpeed_ = st.ballxspeed;
  planYSpeed_ = st.ballyspeed;
  planXJitter_ = st.xjitter;
  planYJitter_ = st.yjitter;
  planBricks_ = st.brickcount;
  planLevel_ = st.levelnum;
}

namespace {

// Where a pair should head now: toward its target, but not into the stretch
// it must keep out of when the other pair turns the ball first.
double routed(double pos, double target, const AutoPlayer::Turn* keepOut) {
  if (keepOut == nullptr) return target;
  const double from = keepOut->keepOutFrom;
  const double to = keepOut->keepOutTo;
  if (pos > from && pos < to) return target - from < to - target ? from : to;  // step out the nearer way
  if (pos <= from) return std::min(target, from);
  return std::max(target, to);
}

// Where a pair at `pos` of `length`, heading for `target`, should head
// instead so that it does not span a ball at `at` of `size` along its track:
// out past the nearer end, with `room` for the stop to fall short, or no
// further than the ball's side while it is clear.
double clearOf(double pos, double target, double at, double size, double length, double lo, double hi, double room) {
  const auto spans = [&](double p) { return p < at && p + length > at + size; };
  if (!spans(pos)) return spans(target) ? pos : target;
  const double after = at + room;
  const double before = at + size - length - room;
  const bool afterFits = after <= hi;
  const bool beforeFits = before >= lo;
  if (afterFits && (!beforeFits || after - pos < pos - before)) return after;
  return beforeFits ? before : std::clamp(after, lo, hi);
}

// How a pair stands toward its target: ticks it would be late first, then
// the distance left.
double standing(double pos, double target, int ticksLeft, double slack, double stride) {
  const double distance = std::abs(target - pos);
  const double needed = std::ceil(std::max(0.0, distance - slack) / stride);
  return std::max(0.0, needed - ticksLeft) * 1e6 + distance;
}

}  // namespace

void AutoPlayer::steer(const Form1& form) {
  const GameState& s = form.state;
  const Controls& c = form.controls();
  const ScreenObject& ball = c.ball;
  const ScreenObject& across = c.paddle(0);   // stands for the bottom and top pair
  const ScreenObject& upright = c.paddle(3);  // stands for the left and right pair

  int wantH = 0;  // 0, key::Right or key::Left
  int wantV = 0;  // 0, key::Up or key::Down
  bool wantFast = false;

  if (s.playerscore != lastScore_ || s.levelnum != lastLevel_) {
    lastScore_ = s.playerscore;
    lastLevel_ = s.levelnum;
    quiet_ = 0;
  } else if (++quiet_ > kPatience) {
    missing_ = true;
  }

  if (missEvery_ == 1) missing_ = true;  // every ball, the one in play too

  const bool atRest = s.ballxspeed == 0 && s.ballyspeed == 0;
  if (atRest) {
    quiet_ = 0;
    if (!resting_) {
      // A new ball: now and then it is let go.
      resting_ = true;
      ++serves_;
      missing_ = missEvery_ > 0 && serves_ % static_cast<std::uint64_t>(missEvery_) == 0;
    }
    if (!planHolds(form)) plan(form);
    wantH = serveKey_;
  } else {
    resting_ = false;
    if (!planHolds(form)) plan(form);
    const int elapsed = elapsedTicks(form);

    const double minL = s.boardleft;
    const double maxL = static_cast<float>(s.boardright) - across.width();
    const double minT = s.boardtop;
    const double maxT = s.boardbottom - upright.height();

    const Turn* nextAcross = nullptr;
    const Turn* nextUpright = nullptr;
    for (int i = 0; i < planned_; ++i) {
      const Turn& t = turns_[static_cast<std::size_t>(i)];
      if (t.across && nextAcross == nullptr) nextAcross = &t;
      if (!t.across && nextUpright == nullptr) nextUpright = &t;
    }
    // A pair keeps out of the ball's way at the other pair's turn when that
    // comes before its own.
    const auto before = [](const Turn* a, const Turn* b) {
      return a != nullptr && (b == nullptr || a->tick < b->tick);
    };
    double targetL = across.left();
    double targetT = upright.top();
    int ticksL = 1000;
    int ticksT = 1000;
    if (nextAcross != nullptr) {
      targetL = nextAcross->target;
      ticksL = nextAcross->tick - elapsed;
    }
    if (nextUpright != nullptr) {
      targetT = nextUpright->target;
      ticksT = nextUpright->tick - elapsed;
    }
    targetL = routed(across.left(), targetL, before(nextUpright, nextAcross) ? nextUpright : nullptr);
    targetT = routed(upright.top(), targetT, before(nextAcross, nextUpright) ? nextAcross : nullptr);
    if (before(nextUpright, nextAcross)) ticksL = std::min(ticksL, nextUpright->tick - elapsed);
    if (before(nextAcross, nextUpright)) ticksT = std::min(ticksT, nextAcross->tick - elapsed);

    // A ball that will still be in a band after its next step, moving away
    // from the edge, has been turned already: whichever pair still spans it
    // then would turn it back. Likewise the pair across a band the ball is
    // in must not span it.
    {
      const Court court(form);
      const auto nextLeft = static_cast<float>(ball.left() + s.ballxspeed * s.xjitter);
      const auto nextTop = static_cast<float>(ball.top() - s.ballyspeed * s.yjitter);
      const bool bottom = court.inBottom(nextTop);
      const bool row = bottom || court.inTop(nextTop);
      const bool left = court.inLeft(nextLeft);
      const bool column = left || court.inRight(nextLeft);
      const bool rowAway = row && !(bottom ? s.ballyspeed < 0 : s.ballyspeed > 0);
      const bool columnAway = column && !(left ? s.ballxspeed < 0 : s.ballxspeed > 0);
      if (rowAway || (column && !(row && !rowAway))) {
        targetL = clearOf(across.left(), targetL, nextLeft, ball.width(), across.width(), minL, maxL, 1.5 * s.ballstep);
        ticksL = 1;
      }
      if (columnAway || (row && !(column && !columnAway))) {
        targetT =
            clearOf(upright.top(), targetT, nextTop, ball.height(), upright.height(), minT, maxT, 1.5 * s.ballstep);
        ticksT = 1;
      }
    }

    if (missing_) {
      // Keep both pairs as far from the ball as they go.
      const double centreX = s.boardleft + (s.boardright - s.boardleft) / 2.0;
      const double centreY = s.boardtop + (s.boardbottom - s.boardtop) / 2.0;
      targetL = ball.left() < centreX ? s.boardright - across.width() : s.boardleft;
      targetT = ball.top() < centreY ? s.boardbottom - upright.height() : s.boardtop;
      ticksL = ticksT = 1000;
    }

    // The moves for this tick: both pairs share the speed-up, so every
    // combination is weighed, the pair due sooner first.
    double bestCost = std::numeric_limits<double>::infinity();
    for (double speed : {1.0, 1.5}) {
      const double stride = 2.0 * s.ballstep * speed;
      for (int mh = -1; mh <= 1; ++mh) {
        for (int mv = -1; mv <= 1; ++mv) {
          if (speed > 1 && mh == 0 && mv == 0) continue;
          const double l = std::clamp(across.left() + mh * stride, minL, maxL);
          const double t = std::clamp(std::nearbyint(upright.top() + mv * stride), minT, maxT);
          double cost =
              standing(l, targetL, ticksL - 1, s.ballstep, 3.0 * s.ballstep) * (ticksL <= ticksT ? 1.5 : 1.0) +
              standing(t, targetT, ticksT - 1, s.ballstep, 3.0 * s.ballstep) * (ticksT < ticksL ? 1.5 : 1.0);
          cost += (speed > 1 ? 2 : 0) + std::abs(mh) + std::abs(mv);
          if (cost < bestCost) {
            bestCost = cost;
            wantH = mh > 0 ? key::Right : mh < 0 ? key::Left : 0;
            wantV = mv > 0 ? key::Down : mv < 0 ? key::Up : 0;
            wantFast = speed > 1;
          }
        }
      }
    }
  }

  const int haveH = s.hdirection == 1 ? key::Right : s.hdirection == 2 ? key::Left : 0;
  const int haveV = s.vdirection == 1 ? key::Up : s.vdirection == 2 ? key::Down : 0;
  const bool haveFast = s.paddlespeed != 1;

  // Any key released stops both pairs and the speed-up: release, then press
  // again what should keep going.
  const bool release = (haveH != 0 && wantH == 0) || (haveV != 0 && wantV == 0) || (haveFast && !wantFast);
  int nowH = haveH;
  int nowV = haveV;
  bool nowFast = haveFast;
  if (release) {
    push(Action::Kind::KeyUp, haveH != 0 ? haveH : haveV != 0 ? haveV : key::Space);
    nowH = 0;
    nowV = 0;
    nowFast = false;
  }
  if (wantH != 0 && wantH != nowH) push(Action::Kind::KeyDown, wantH);
  if (wantV != 0 && wantV != nowV) push(Action::Kind::KeyDown, wantV);
  if (wantFast && !nowFast) push(Action::Kind::KeyDown, key::Space);
}

}  // namespace tessaly
