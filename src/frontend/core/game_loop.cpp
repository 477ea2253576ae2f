#include "frontend/core/game_loop.h"

#include <algorithm>

namespace tessaly::frontend {

GameLoop::GameLoop(GameSession& session, const Clock& clock, LoopObserver* observer)
    : session_(session), clock_(clock), observer_(observer) {}

bool GameLoop::handle(const Event& e) {
  using K = Event::Kind;
  switch (e.kind) {
    case K::Press: session_.press(e.device, e.control); break;
    case K::Release: session_.release(e.device, e.control); break;
    case K::ReleaseAll: session_.releaseAll(e.device); break;
    case K::Stick: session_.stick(e.leanX, e.leanY); break;
    case K::PointerDown: session_.pointerDown(e.x, e.y); break;
    case K::PointerMove: session_.pointerMove(e.x, e.y); break;
    case K::PointerUp: session_.pointerUp(e.x, e.y); break;
    case K::PointerCancel: session_.pointerCancel(); break;
    case K::Click: session_.click(e.button); break;
    case K::Resize: session_.resize(e.x, e.y); break;
    case K::Expose: session_.invalidate(); break;
    case K::FocusLost: session_.releaseAll(Device::Keyboard); break;
    case K::Hidden: hidden_ = true; break;
    case K::Shown: hidden_ = false; break;
    case K::Tick: break;
    case K::Quit: return false;
  }
  return true;
}

Round GameLoop::endRound(Surface& surface) {
  if (!hidden_) tick();
  const bool goOn = observer_ == nullptr || observer_->between(*this);
  const auto areas = session_.present(surface);
  if (!areas.empty() && observer_ != nullptr) observer_->presented();
  sleep_ = wait();
  return {areas, sleep_, session_.beat(), goOn};
}

std::optional<TimeMs> GameLoop::wait() const {
  const auto due = session_.nextDue();
  if (hidden_ || !due) return std::nullopt;
  return std::max<TimeMs>(*due - clock_.now(), 0);
}

void GameLoop::tick() {
  if (observer_ == nullptr) {
    session_.tick();
    return;
  }
  // Which timers are due is known before they run; a tick is one due
  // timer's handler, and after a stall each fires once.
  const TimeMs now = clock_.now();
  const Controls& objects = session_.game().objects();
  const auto d1 = objects.Timer1.due();
  const auto d2 = objects.Timer2.due();
  session_.tick();
  if (d1 && *d1 <= now) observer_->ticked(1);
  if (d2 && *d2 <= now) observer_->ticked(2);
}

void GameLoop::run(LoopHost& host) {
  while (step(host)) {
  }
}

bool GameLoop::step(LoopHost& host) {
  for (auto e = host.wait(sleep_); e; e = host.poll())
    if (!handle(*e)) return false;
  const Round round = endRound(host.frame());
  if (round.repainted.empty()) return round.goOn;
  host.show(round.repainted);
  sleep_ = wait();  // showing took time too
  return round.goOn;
}

}  // namespace tessaly::frontend
