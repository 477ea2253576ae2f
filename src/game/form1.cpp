#include "game/form1.h"

#include <algorithm>

namespace tessaly {

Form1::Form1(const Clock& clock, RandomSource& random, TextMeasurer& measurer)
    : clock_(clock), random_(random), measurer_(measurer) {}

void Form1::open() {
  controls_ = std::make_unique<Controls>(clock_, measurer_);
  Form_Load();
}

void Form1::close() {
  if (controls_) retiredRevisions_ += controls_->revision() + 1;
  controls_.reset();
}

bool Form1::click(std::string_view name) {
  if (!isOpen()) return false;
  const ScreenObject* target = controls_->button(name);
  if (target == nullptr || !target->visible()) return false;
  // The handler may close the window and so destroy the button: nothing of
  // it is touched once the handler has run.
  if (name == button::pause) {
    pause_Click();
  } else if (name == button::gameover) {
    gameover_Click();
  } else {
    nextlevel_Click();
  }
  return true;
}

std::optional<TimeMs> Form1::nextDue() const {
  if (!isOpen()) return std::nullopt;
  const auto d1 = controls_->Timer1.due();
  const auto d2 = controls_->Timer2.due();
  if (d1 && d2) return std::min(*d1, *d2);
  return d1 ? d1 : d2;
}

void Form1::dispatchDueTimers(CatchUp catchUp) {
  const TimeMs now = clock_.now();
  const bool skipMissed = catchUp == CatchUp::OnceThenResume;
  while (isOpen()) {
    Timer& t1 = controls_->Timer1;
    Timer& t2 = controls_->Timer2;
    const auto d1 = t1.due();
    const auto d2 = t2.due();
    const bool fire1 = d1 && *d1 <= now && (!d2 || *d1 <= *d2);
    const bool fire2 = !fire1 && d2 && *d2 <= now;
    if (!fire1 && !fire2) return;
    // The next tick is booked before the handler runs, so a handler that
    // sets the Interval replaces it.
    if (fire1) {
      t1.advance(now, skipMissed);
      Timer1_Timer();
    } else {
      t2.advance(now, skipMissed);
      Timer2_Timer();
    }
  }
}

void Form1::runtimers(int interval) {
  controls_->Timer1.setInterval(interval);
  controls_->Timer2.setInterval(interval);
}

}  // namespace tessaly
