// The automatic player's steering: every call it reads where the plan wants
// each pair and when, keeps both out of the ball's way, and picks this
// tick's arrows and Space.

#include <algorithm>
#include <cmath>
#include <limits>

#include "harness/autoplayer.h"

namespace tessaly {

namespace autoplay {

// Where each pair heads, along its track, and in how many ticks it must be
// there.
struct Aim {
  double targetL;  // the pair across the board: its Left
  double targetT;  // the upright pair: its Top
  int ticksL;
  int ticksT;
};

// The arrows and Space the player wants held: 0 or key::Right or key::Left,
// 0 or key::Up or key::Down.
struct Keys {
  int h = 0;
  int v = 0;
  bool fast = false;
};

namespace {

// How many calls without a point scored the player sits through before it
// lets a ball that goes nowhere go: 30 s of play at a call a tick.
constexpr int kPatience = 1200;
// A pair with no turn in the plan counts as due this many ticks ahead
// (25 s), later than nearly any turn a plan holds.
constexpr int kNoTurnDue = 1000;
// A pair stepping out of the ball's way heads this many ball steps past it:
// half a stride with Space held, room for its stop to fall short.
constexpr double kClearRoom = 1.5;
// How a pair stands toward its target weighs ticks late first: one tick late
// outweighs any distance on the board.
constexpr double kLateTick = 1e6;
// The pair whose turn comes sooner counts half as much again, so that when
// both cannot be served it is the one served.
constexpr double kSooner = 1.5;
// Among moves that leave the pairs standing alike, to a twip or two, the one
// with fewer keys held: an arrow costs 1, Space (which moves both) 2.
constexpr int kArrowCost = 1;
constexpr int kSpaceCost = 2;

// Where a pair should head now: toward its target, but not into the stretch
// it must keep out of when the other pair turns the ball first.
double routed(double pos, double target, const Turn* keepOut) {
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
  return std::max(0.0, needed - ticksLeft) * kLateTick + distance;
}

// A ball that will still be in a band after its next step, moving away from
// the edge, has been turned already: whichever pair still spans it then
// would turn it back. Likewise the pair across a band the ball is in must not
// span it.
void keepClear(const Form1& form, const Court& court, Aim& aim) {
  const GameState& s = form.state;
  Flight next = Flight::of(form);
  next.move();
  const BandsAt in(court.bands, next.left, next.top);
  const bool rowAway = in.row && !in.rowInbound(s.ballyspeed);
  const bool columnAway = in.column && !in.columnInbound(s.ballxspeed);
  const double room = kClearRoom * s.ballstep;
  if (rowAway || (in.column && !(in.row && !rowAway))) {
    aim.targetL = clearOf(court.acrossAt, aim.targetL, next.left, court.ballW, court.acrossW, court.acrossMin,
                          court.acrossMax, room);
    aim.ticksL = 1;
  }
  if (columnAway || (in.row && !(in.column && !columnAway))) {
    aim.targetT = clearOf(court.uprightAt, aim.targetT, next.top, court.ballH, court.uprightH, court.uprightMin,
                          court.uprightMax, room);
    aim.ticksT = 1;
  }
}

// Letting the ball go: both pairs as far from it as they go.
Aim awayFromBall(const Form1& form) {
  const GameState& s = form.state;
  const Controls& c = form.controls();
  const double centreX = s.boardleft + (s.boardright - s.boardleft) / 2.0;
  const double centreY = s.boardtop + (s.boardbottom - s.boardtop) / 2.0;
  return {c.ball.left() < centreX ? s.boardright - c.paddle(paddle::bottom).width() : s.boardleft,
          c.ball.top() < centreY ? s.boardbottom - c.paddle(paddle::right).height() : s.boardtop, kNoTurnDue,
          kNoTurnDue};
}

// The moves for this tick: both pairs share the speed-up, so every
// combination is weighed, the pair due sooner first.
Keys moves(const GameState& s, const Court& court, const Aim& aim) {
  Keys want;
  const double slack = s.ballstep;  // half a slow stride
  const double fastStride = paddleStride(s.ballstep, kSpaceSpeed);
  double bestCost = std::numeric_limits<double>::infinity();
  for (double speed : {kSlowSpeed, kSpaceSpeed}) {
    const double stride = paddleStride(s.ballstep, speed);
    for (int mh = -1; mh <= 1; ++mh) {
      for (int mv = -1; mv <= 1; ++mv) {
        if (speed > 1 && mh == 0 && mv == 0) continue;
        const double l = std::clamp(court.acrossAt + mh * stride, court.acrossMin, court.acrossMax);
        const double t = std::clamp(std::nearbyint(court.uprightAt + mv * stride), court.uprightMin, court.uprightMax);
        double cost =
            standing(l, aim.targetL, aim.ticksL - 1, slack, fastStride) * (aim.ticksL <= aim.ticksT ? kSooner : 1.0) +
            standing(t, aim.targetT, aim.ticksT - 1, slack, fastStride) * (aim.ticksT < aim.ticksL ? kSooner : 1.0);
        cost += (speed > 1 ? kSpaceCost : 0) + kArrowCost * (std::abs(mh) + std::abs(mv));
        if (cost < bestCost) {
          bestCost = cost;
          want.h = mh > 0 ? key::Right : mh < 0 ? key::Left : 0;
          want.v = mv > 0 ? key::Down : mv < 0 ? key::Up : 0;
          want.fast = speed > 1;
        }
      }
    }
  }
  return want;
}

}  // namespace

}  // namespace autoplay

using namespace autoplay;

void AutoPlayer::steer(const Form1& form) {
  const GameState& s = form.state;
  noteProgress(s);
  Keys want;
  if (s.ballxspeed == 0 && s.ballyspeed == 0) {
    quiet_ = 0;
    if (!resting_) {
      // A new ball: now and then it is let go.
      resting_ = true;
      ++serves_;
      missing_ = missEvery_ > 0 && serves_ % static_cast<std::uint64_t>(missEvery_) == 0;
    }
    if (!planHolds(form)) plan(form);
    want.h = plan_.serveKey;
  } else {
    resting_ = false;
    if (!planHolds(form)) plan(form);
    const Court court(form);
    Aim aim = aimAtPlan(court, elapsedTicks(form));
    keepClear(form, court, aim);
    if (missing_) aim = awayFromBall(form);
    want = moves(s, court, aim);
  }
  press(s, want);
}

// Calls since the score last moved, and whether this ball is let go.
void AutoPlayer::noteProgress(const GameState& s) {
  if (s.playerscore != lastScore_ || s.levelnum != lastLevel_) {
    lastScore_ = s.playerscore;
    lastLevel_ = s.levelnum;
    quiet_ = 0;
  } else if (++quiet_ > kPatience) {
    missing_ = true;
  }
  if (missEvery_ == 1) missing_ = true;  // every ball, the one in play too
}

// Where the plan wants each pair, `elapsed` ticks after it was made. A pair
// keeps out of the ball's way at the other pair's turn when that comes
// before its own.
Aim AutoPlayer::aimAtPlan(const Court& court, int elapsed) const {
  const Turn* nextAcross = nullptr;
  const Turn* nextUpright = nullptr;
  for (int i = 0; i < plan_.planned; ++i) {
    const Turn& t = plan_.turns[static_cast<std::size_t>(i)];
    if (t.across && nextAcross == nullptr) nextAcross = &t;
    if (!t.across && nextUpright == nullptr) nextUpright = &t;
  }
  const auto before = [](const Turn* a, const Turn* b) { return a != nullptr && (b == nullptr || a->tick < b->tick); };
  Aim aim{court.acrossAt, court.uprightAt, kNoTurnDue, kNoTurnDue};
  if (nextAcross != nullptr) {
    aim.targetL = nextAcross->target;
    aim.ticksL = nextAcross->tick - elapsed;
  }
  if (nextUpright != nullptr) {
    aim.targetT = nextUpright->target;
    aim.ticksT = nextUpright->tick - elapsed;
  }
  aim.targetL = routed(court.acrossAt, aim.targetL, before(nextUpright, nextAcross) ? nextUpright : nullptr);
  aim.targetT = routed(court.uprightAt, aim.targetT, before(nextAcross, nextUpright) ? nextAcross : nullptr);
  if (before(nextUpright, nextAcross)) aim.ticksL = std::min(aim.ticksL, nextUpright->tick - elapsed);
  if (before(nextAcross, nextUpright)) aim.ticksT = std::min(aim.ticksT, nextAcross->tick - elapsed);
  return aim;
}

// Any key released stops both pairs and the speed-up: release, then press
// again what should keep going.
void AutoPlayer::press(const GameState& s, const Keys& want) {
  const int haveH = s.hdirection == hdirection::right ? key::Right : s.hdirection == hdirection::left ? key::Left : 0;
  const int haveV = s.vdirection == vdirection::up ? key::Up : s.vdirection == vdirection::down ? key::Down : 0;
  const bool haveFast = s.paddlespeed != 1;
  const bool release = (haveH != 0 && want.h == 0) || (haveV != 0 && want.v == 0) || (haveFast && !want.fast);
  int nowH = haveH;
  int nowV = haveV;
  bool nowFast = haveFast;
  if (release) {
    push(Action::Kind::KeyUp, haveH != 0 ? haveH : haveV != 0 ? haveV : key::Space);
    nowH = 0;
    nowV = 0;
    nowFast = false;
  }
  if (want.h != 0 && want.h != nowH) push(Action::Kind::KeyDown, want.h);
  if (want.v != 0 && want.v != nowV) push(Action::Kind::KeyDown, want.v);
  if (want.fast && !nowFast) push(Action::Kind::KeyDown, key::Space);
}

}  // namespace tessaly
