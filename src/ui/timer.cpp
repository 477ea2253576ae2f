#include "ui/timer.h"

namespace tessaly {

void Timer::setInterval(int ms) {
  interval_ = ms > 0 ? ms : 0;
  due_ = clock_->now() + interval_;
}

std::optional<TimeMs> Timer::due() const {
  if (!running()) return std::nullopt;
  return due_;
}

void Timer::advance(TimeMs now, bool skipMissed) {
  if (!running()) return;
  due_ += interval_;
  if (skipMissed && due_ <= now) due_ += ((now - due_) / interval_ + 1) * interval_;
}

}  // namespace tessaly
