#include "frontend/desktop/game_loop.h"

#include <algorithm>

namespace tessaly::desktop {

std::optional<TimeMs> sleepBefore(std::optional<TimeMs> due, TimeMs now) {
  if (!due) return std::nullopt;
  return std::max<TimeMs>(*due - now, 0);
}

GameLoop::GameLoop(frontend::GameSession& session, const Clock& clock, LoopHost& host, LoopObserver* observer)
    : session_(session), clock_(clock), host_(host), observer_(observer) {}

void GameLoop::run() {
  while (step()) {
  }
}

bool GameLoop::step() {
  showChanges();
  auto event = host_.wait(sleepBefore(session_.nextDue(), clock_.now()));
  while (event) {
    if (!handle(*event)) return false;
    event = host_.poll();
  }
  deliverTicks();
  return observer_ == nullptr || observer_->between();
}

bool GameLoop::handle(const LoopEvent& e) {
  switch (e.kind) {
    case LoopEvent::Kind::Press: session_.press(e.device, e.control); break;
    case LoopEvent::Kind::Release: session_.release(e.device, e.control); break;
    case LoopEvent::Kind::ReleaseAll: session_.releaseAll(e.device); break;
    case LoopEvent::Kind::Stick: session_.stick(e.leanX, e.leanY); break;
    case LoopEvent::Kind::PointerDown: session_.pointerDown(e.x, e.y); break;
    case LoopEvent::Kind::PointerMove: session_.pointerMove(e.x, e.y); break;
    case LoopEvent::Kind::PointerUp: session_.pointerUp(e.x, e.y); break;
    case LoopEvent::Kind::Click: session_.click(e.button); break;
    case LoopEvent::Kind::Repaint: session_.invalidate(); break;
    case LoopEvent::Kind::Wake: break;
    case LoopEvent::Kind::Quit: return false;
  }
  return true;
}

void GameLoop::deliverTicks() {
  if (observer_ == nullptr) {
    session_.tick();
    return;
  }
  // Which timers are due now is known before they run; a tick is one due
  // timer's handler, and after a stall each fires once.
  const TimeMs now = clock_.now();
  const Controls& objects = session_.game().objects();
  const auto d1 = objects.Timer1.due();
  const auto d2 = objects.Timer2.due();
  session_.tick();
  if (d1 && *d1 <= now) observer_->ticked(1);
  if (d2 && *d2 <= now) observer_->ticked(2);
}

void GameLoop::showChanges() {
  if (!session_.due()) return;
  host_.present();
  if (observer_ != nullptr) observer_->presented();
}

}  // namespace tessaly::desktop
