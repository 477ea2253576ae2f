#include "frontend/desktop/game_loop.h"

#include <algorithm>

namespace tessaly::desktop {

std::optional<TimeMs> sleepBefore(std::optional<TimeMs> due, TimeMs now) {
  if (!due) return std::nullopt;
  return std::max<TimeMs>(*due - now, 0);
}

GameLoop::GameLoop(GamePort& game, const Clock& clock, LoopHost& host, LoopObserver* observer)
    : game_(game), clock_(clock), host_(host), observer_(observer) {}

void GameLoop::run() {
  while (step()) {
  }
}

bool GameLoop::step() {
  showChanges();
  auto event = host_.wait(sleepBefore(game_.nextDue(), clock_.now()));
  while (event) {
    if (!handle(*event)) return false;
    event = host_.poll();
  }
  deliverTicks();
  return observer_ == nullptr || observer_->between();
}

bool GameLoop::handle(const LoopEvent& e) {
  switch (e.kind) {
    case LoopEvent::Kind::KeyDown: game_.keyDown(e.key); break;
    case LoopEvent::Kind::KeyUp: game_.keyUp(e.key); break;
    case LoopEvent::Kind::Click:
      // A new game rebuilds every object: nothing drawn before is current.
      if (game_.click(e.button)) fullRepaint_ = true;
      break;
    case LoopEvent::Kind::Repaint: fullRepaint_ = true; break;
    case LoopEvent::Kind::Wake: break;
    case LoopEvent::Kind::Quit: return false;
  }
  return true;
}

void GameLoop::deliverTicks() {
  if (observer_ == nullptr) {
    game_.dispatchDueTimers(CatchUp::OnceThenResume);
    return;
  }
  // Which timers are due now is known before they run; a tick is one due
  // timer's handler, and after a stall each fires once.
  const TimeMs now = clock_.now();
  const auto d1 = game_.objects().Timer1.due();
  const auto d2 = game_.objects().Timer2.due();
  game_.dispatchDueTimers(CatchUp::OnceThenResume);
  if (d1 && *d1 <= now) observer_->ticked(1);
  if (d2 && *d2 <= now) observer_->ticked(2);
}

void GameLoop::showChanges() {
  if (!fullRepaint_ && game_.revision() == shownRevision_) return;
  host_.present(fullRepaint_);
  shownRevision_ = game_.revision();
  fullRepaint_ = false;
  if (observer_ != nullptr) observer_->presented();
}

}  // namespace tessaly::desktop
