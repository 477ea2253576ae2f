#include "harness/autoplayer.h"

#include <algorithm>
#include <cmath>

#include "ui/controls.h"

namespace tessaly {

namespace {

// Calls without a point before whims steer: 10 s of play at a call a tick,
// long enough for a rally that is knocking bricks out to show it.
constexpr int kRestless = 400;
// How much a whim can add to a third of the turn at hand, in brick hits: as
// much as a corner costs, enough to reorder lines of like worth, never
// enough to choose a lost ball.
constexpr double kWhim = 3;
// A whim is drawn as one of this many equal steps from 0 up to kWhim.
constexpr int kWhimSteps = 1024;
// Less than half a brick hit within the near turns: nothing is in reach
// there, and the player looks further.
constexpr double kNothingInReach = 0.5;

}  // namespace

int AutoPlayer::whim() {
  lcg_ = lcg_ * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<int>(lcg_ >> 33);
}

void AutoPlayer::setLookahead(int turns) { lookahead_ = std::clamp(turns, 1, autoplay::kDeepLookahead); }

void AutoPlayer::push(Action::Kind kind, int code, std::string_view button) {
  if (count_ < actions_.size()) actions_[count_++] = {kind, code, button};
}

std::span<const AutoPlayer::Action> AutoPlayer::decide(const Form1& form) {
  count_ = 0;
  if (!form.isOpen()) return {};
  const Controls& c = form.controls();

  // Buttons first; the board changes under them, so steering waits a call.
  if (c.pause.visible()) push(Action::Kind::Click, 0, button::pause);
  if (c.nextlevel.visible()) push(Action::Kind::Click, 0, button::nextlevel);
  if (c.gameover.visible()) push(Action::Kind::Click, 0, button::gameover);
  if (count_ > 0) return {actions_.data(), count_};

  steer(form);
  return {actions_.data(), count_};
}

bool AutoPlayer::planHolds(const Form1& form) const {
  const GameState& s = form.state;
  const ScreenObject& ball = form.controls().ball;
  const PlannedFor& p = plannedFor_;
  if (!p.made || s.ballxspeed != p.xspeed || s.ballyspeed != p.yspeed || s.xjitter != p.xjitter ||
      s.yjitter != p.yjitter || s.brickcount != p.bricks || s.levelnum != p.level)
    return false;
  // Still on the line it was planned for (to half a tick, or a twip along an
  // axis it does not move on), and not past its first turn.
  const double byX = s.ballxspeed != 0 ? (ball.left() - p.left) / (s.ballxspeed * s.xjitter) : -1;
  const double byY = s.ballyspeed != 0 ? (p.top - ball.top()) / (s.ballyspeed * s.yjitter) : -1;
  if (s.ballxspeed == 0 && s.ballyspeed == 0) return ball.left() == p.left && ball.top() == p.top;
  if (s.ballxspeed == 0 && std::abs(ball.left() - p.left) > 1) return false;
  if (s.ballyspeed == 0 && std::abs(ball.top() - p.top) > 1) return false;
  if (s.ballxspeed != 0 && s.ballyspeed != 0 && std::abs(byX - byY) > 0.5) return false;
  const double elapsed = std::max(byX, byY);
  return elapsed > -0.5 && (plan_.planned == 0 || elapsed < plan_.turns[0].tick + 0.5);
}

int AutoPlayer::elapsedTicks(const Form1& form) const {
  const GameState& s = form.state;
  const ScreenObject& ball = form.controls().ball;
  const PlannedFor& p = plannedFor_;
  if (s.ballxspeed != 0) return static_cast<int>(std::lround((ball.left() - p.left) / (s.ballxspeed * s.xjitter)));
  if (s.ballyspeed != 0) return static_cast<int>(std::lround((p.top - ball.top()) / (s.ballyspeed * s.yjitter)));
  return 0;
}

void AutoPlayer::plan(const Form1& form) {
  const GameState& st = form.state;
  const autoplay::Court court(form);
  scratch_.board.reset(st);
  // Nothing hit for a while: the ball may be going round a loop the look-ahead
  // cannot see out of; whims break it.
  std::array<double, 3> whims{};
  if (quiet_ > kRestless)
    for (double& w : whims) w = kWhim * static_cast<double>(whim() % kWhimSteps) / kWhimSteps;
  autoplay::Search search(court, scratch_, whims);

  const autoplay::Flight f = autoplay::Flight::of(form);
  const bool atRest = st.ballxspeed == 0 && st.ballyspeed == 0;
  // Which serve is tried first is a whim too, drawn for every look.
  const auto firstKey = [this] { return whim() % 2 == 0 ? key::Left : key::Right; };
  plan_.planned = 0;
  const int usual = std::min(autoplay::kLookahead, lookahead_);
  if (search.look(f, atRest, usual - 1, firstKey(), plan_) < kNothingInReach && lookahead_ > usual)
    search.look(f, atRest, lookahead_ - 1, firstKey(), plan_);
  plannedFor_ = {true, f.left, f.top, st.ballxspeed, st.ballyspeed, st.xjitter, st.yjitter, st.brickcount, st.levelnum};
}

}  // namespace tessaly
