#include "game/autoplayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tessaly {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

// Ticks until a ball at `pos` moving `speed` per tick enters the band that
// starts at `near` (when coming down or right) or ends at `far` (when going up
// or left); 0 once it is inside.
double ticksToBand(double pos, double speed, double near, double far) {
  if (speed > 0) return pos > near ? 0 : (near - pos) / speed;
  if (speed < 0) return pos < far ? 0 : (pos - far) / -speed;
  return kNever;
}

// The direction key state (0 still, then the game's two codes) that takes a
// paddle from `at` toward `target`, stopping within half a step.
int towards(double at, double target, double step, int increase, int decrease) {
  if (std::abs(target - at) <= step / 2) return 0;
  return target > at ? increase : decrease;
}

// One axis of the court: a pair's track from `lo` to `hi`, a paddle of
// `length` on it, and a ball of `size` along it.
struct Track {
  double lo;
  double hi;
  double length;
  double size;

  double centre() const { return lo + (hi - lo) / 2; }
  // Where the paddle should start so that the ball, centred at `mid`, meets
  // the third that sends it toward `lo` (-1), straight out (0) or toward `hi`
  // (1); NaN when the paddle cannot reach that third from its track.
  double startFor(double mid, int toward) const {
    const double third = length / 3;
    const double from = toward < 0 ? 0 : toward == 0 ? third : 2 * third;
    const double start = std::clamp(mid - (from + third / 2), lo, hi - length);
    const double at = mid - start;
    const bool inside = at - size / 2 > from + 10 && at + size / 2 < from + third - 10;
    return inside ? start : std::numeric_limits<double>::quiet_NaN();
  }
  // The way back toward the middle of the board from `mid`.
  int inward(double mid) const { return mid < centre() ? 1 : -1; }
  // Straight shots only pay across the bricks, not along the margins.
  bool acrossBricks(double mid) const { return std::min(mid - lo, hi - mid) > (hi - lo) / 5; }
};

struct Court {
  Track across;   // the bottom and top pair, along x
  Track upright;  // the left and right pair, along y
  // The bands, as ranges of the ball's Left or Top, where the paddles turn it.
  double bottomFrom, bottomTo, topFrom, topTo;
  double leftFrom, leftTo, rightFrom, rightTo;
  double step;  // the ball's base step per tick

  explicit Court(const Form1& form) {
    const GameState& s = form.state;
    const Controls& c = form.controls();
    const ScreenObject& ball = c.ball;
    const double bw = ball.width();
    const double bh = ball.height();
    across = {s.boardleft, static_cast<double>(s.boardright), c.paddle(0).width(), bw};
    upright = {s.boardtop, s.boardbottom, c.paddle(3).height(), bh};
    const ScreenObject& p0 = c.paddle(0);
    const ScreenObject& p1 = c.paddle(1);
    const ScreenObject& p2 = c.paddle(2);
    const ScreenObject& p3 = c.paddle(3);
    bottomFrom = p0.top() - bh;
    bottomTo = p0.top() + p0.height();
    topFrom = p1.top();
    topTo = p1.top() + p1.height() + bh;
    leftFrom = p2.left() - bw;
    leftTo = p2.left() + p2.width();
    rightFrom = p3.left();
    rightTo = p3.left() + p3.width() + bw;
    step = s.ballstep;
  }
  bool inRow(double top) const { return (top > bottomFrom && top < bottomTo) || (top > topFrom && top < topTo); }
  bool inColumn(double left) const {
    return (left > leftFrom && left < leftTo) || (left > rightFrom && left < rightTo);
  }

  // How well a ball from (left, top) moving (vx, vy) per tick, just turned,
  // can be played from here on, the bricks left aside, looking `depth` turns
  // ahead: 2 when a pair can send it back toward the middle, 1 when only
  // straight across the bricks, 0 when only along a margin or into a corner.
  int prospect(double left, double top, double vx, double vy, int depth) const {
    // Ticks until the ball enters the next row band and the next column band,
    // moving away from the one it was turned in.
    const double toRow = vy > 0 ? (bottomFrom - top) / vy : vy < 0 ? (top - topTo) / -vy : kNever;
    const double toColumn = vx > 0 ? (rightFrom - left) / vx : vx < 0 ? (left - leftTo) / -vx : kNever;
    if (toRow == kNever && toColumn == kNever) return 0;
    // Both at once, or one at once while still in the other: a corner.
    if (std::abs(toRow - toColumn) < 3 || std::min(toRow, toColumn) < 1) return 0;
    const bool row = toRow < toColumn;
    const double t = std::ceil(std::min(toRow, toColumn));
    left += vx * t;
    top += vy * t;
    const Track& track = row ? across : upright;
    const double mid = row ? left + across.size / 2 : top + upright.size / 2;
    const int in = track.inward(mid);
    if (depth == 0) {
      if (!std::isnan(track.startFor(mid, in))) return 2;
      return track.acrossBricks(mid) && !std::isnan(track.startFor(mid, 0)) ? 1 : 0;
    }
    int best = 0;
    for (int toward : {in, 0, -in}) {
      if (std::isnan(track.startFor(mid, toward))) continue;
      const double along = toward * step;
      const int score = row ? prospect(left, top, along, -vy, depth - 1) : prospect(left, top, -vx, along, depth - 1);
      best = std::max(best, score);
      if (best == 2) break;
    }
    return best;
  }
};

// Ticks until a ball from (left, top) moving (vx, vy) per tick, flying
// straight, first touches a brick it can break; kNever if it meets none
// before it leaves the middle of the board.
double ticksToBrick(const GameState& s, double size, double left, double top, double vx, double vy) {
  for (int tick = 1; tick <= 100; ++tick) {
    left += vx;
    top += vy;
    const double x0 = left - s.boardleft;
    const double y0 = top - s.boardtop;
    if (x0 < 0 || y0 < 0 || x0 + size > s.cellwidth * 25 || y0 + size > s.cellheight * 25) return kNever;
    // The ball's four probe points, as the ball tick examines them.
    const std::array<std::array<double, 2>, 4> probes{
        {{x0 + size / 2, y0}, {x0, y0 + size / 2}, {x0 + size, y0 + size / 2}, {x0 + size / 2, y0 + size}}};
    for (const auto& p : probes) {
      const auto col = static_cast<std::size_t>(std::floor(p[0] / s.cellwidth) + 1);
      const auto r = static_cast<std::size_t>(std::floor(p[1] / s.cellheight) + 1);
      if (col >= 26 || r >= 26) continue;
      const std::int16_t v = s.cells[col][r];
      if (v >= 1 && v <= 8) return tick;
    }
  }
  return kNever;
}

// Where the pair that turns the ball in a row band (`row`) or a column band
// should start for a ball at (left, top) moving (vx, vy): of the thirds it can
// reach and whose next turns do not lead into a corner, the one that sends
// the ball soonest into a brick, the player's whim deciding between equals.
double aim(const GameState& s, const Court& court, bool row, double left, double top, double vx, double vy, int whim) {
  const Track& t = row ? court.across : court.upright;
  const double mid = row ? left + t.size / 2 : top + t.size / 2;
  const double step = row ? s.ballstep * s.xjitter : s.ballstep * s.yjitter;
  const int in = t.inward(mid);
  // Toward the middle, straight or away, in the order the whim prefers.
  const std::array<int, 3> order = whim > 0    ? std::array<int, 3>{in, 0, -in}
                                   : whim == 0 ? std::array<int, 3>{0, in, -in}
                                               : std::array<int, 3>{-in, in, 0};
  double best = std::numeric_limits<double>::quiet_NaN();
  double soonest = kNever;
  int bestScore = -1;
  for (int toward : order) {
    const double start = t.startFor(mid, toward);
    if (std::isnan(start)) continue;
    // The turn: the component across the pair reverses, the one along it
    // takes the third's direction at the base step.
    const double along = toward * step;
    const double nvx = row ? along : -vx;
    const double nvy = row ? -vy : along;
    // A turn whose next turns lead only into a corner or along a margin is
    // taken only when nothing better is in reach.
    const int safe = court.prospect(left, top, nvx, nvy, 2) > 0 ? 1 : 0;
    const double brick = safe > 0 ? ticksToBrick(s, t.size, left, top, nvx, nvy) : kNever;
    if (safe > bestScore || (safe == bestScore && brick < soonest)) {
      bestScore = safe;
      soonest = brick;
      best = start;
    }
  }
  if (std::isnan(best)) best = std::clamp(mid - t.length / 2, t.lo, t.hi - t.length);
  return best;
}

}  // namespace

int AutoPlayer::whim() {
  lcg_ = lcg_ * 6364136223846793005ULL + 1442695040888963407ULL;
  const auto draw = static_cast<int>(lcg_ >> 61);  // 0..7
  return draw < 4 ? 1 : draw < 6 ? 0 : -1;         // toward the middle, straight, away
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
  // A ball caught between two paddles in a corner of the board can only be
  // turned back into that corner: let it go.
  {
    const ScreenObject& b = c.ball;
    const double corner = 4.0 * s.cellwidth;
    const bool nearSide = b.left() - s.boardleft < corner || s.boardright - b.left() - b.width() < corner;
    const bool nearEnd = b.top() - s.boardtop < corner || s.boardbottom - b.top() - b.height() < corner;
    cornered_ = nearSide && nearEnd ? cornered_ + 1 : 0;
    if (cornered_ > kCornered) missing_ = true;
  }

  const bool atRest = s.ballxspeed == 0 && s.ballyspeed == 0;
  if (atRest) {
    quiet_ = 0;
    // Serve, alternating the side; now and then this ball is let go.
    ++serves_;
    missing_ = missEvery_ > 0 && serves_ % static_cast<std::uint64_t>(missEvery_) == 0;
    wantH = serves_ % 2 == 0 ? key::Left : key::Right;
  } else {
    const double bw = ball.width();
    const double bh = ball.height();
    const double vx = s.ballxspeed * s.xjitter;
    const double vy = -s.ballyspeed * s.yjitter;  // screen down
    // Where the ball will be when the next ball tick has moved it.
    const double bx = ball.left() + vx;
    const double by = ball.top() + vy;
    const double centreX = s.boardleft + (s.boardright - s.boardleft) / 2.0;
    const double centreY = s.boardtop + (s.boardbottom - s.boardtop) / 2.0;

    // The bands where the paddles turn the ball (their outer edges).
    const ScreenObject& top = c.paddle(1);
    const ScreenObject& left = c.paddle(2);
    const double toRow = ticksToBand(by, vy, across.top() - bh, top.top() + top.height() + bh);
    const double toColumn = ticksToBand(bx, vx, upright.left() - bw, left.left() + left.width() + bw);

    const double W = across.width();
    const double H = upright.height();
    const double step = 2.0 * s.ballstep * s.paddlespeed;
    // Each pair puts the ball in one of its thirds, the one that sends it
    // into a brick soonest. When no third does, a whim drawn afresh whenever the ball turns toward the pair's side
    // decides: mostly back toward the middle of the board, sometimes straight
    // out or the other way, so that play never settles into a loop.
    const int rowApproach = vy > 0 ? 1 : vy < 0 ? -1 : 0;
    const int columnApproach = vx > 0 ? 1 : vx < 0 ? -1 : 0;
    if (rowApproach != rowApproach_) {
      rowApproach_ = rowApproach;
      aimAcross_ = whim();
    }
    if (columnApproach != columnApproach_) {
      columnApproach_ = columnApproach;
      aimUpright_ = whim();
    }
    const Court court(form);
    double targetL = aim(s, court, true, bx, by, vx, vy, aimAcross_);
    double targetT = aim(s, court, false, bx, by, vx, vy, aimUpright_);
    // Only the pair the ball meets first may turn it: the other pair steps
    // just clear of the ball, on the side of the board's middle, where it
    // takes the ball next.
    constexpr double kSoon = 8;
    constexpr double kClear = 40;
    if (toColumn < toRow && toColumn < kSoon) targetL = bx + bw / 2 < centreX ? bx + bw + kClear : bx - W - kClear;
    if (toRow <= toColumn && toRow < kSoon) targetT = by + bh / 2 < centreY ? by + bh + kClear : by - H - kClear;
    if (missing_) {
      // Keep both pairs as far from the ball as they go.
      targetL = bx < centreX ? s.boardright - W : s.boardleft;
      targetT = by < centreY ? s.boardbottom - H : s.boardtop;
    }
    targetL = std::clamp(targetL, static_cast<double>(s.boardleft), s.boardright - W);
    targetT = std::clamp(targetT, static_cast<double>(s.boardtop), s.boardbottom - H);

    wantH = towards(across.left(), targetL, step, key::Right, key::Left);
    wantV = towards(upright.top(), targetT, step, key::Down, key::Up);
    const double baseStep = 2.0 * s.ballstep;
    wantFast = std::abs(targetL - across.left()) > 4 * baseStep || std::abs(targetT - upright.top()) > 4 * baseStep;
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
