#pragma once
// A window timer: while its Interval is above 0 it ticks once per Interval,
// the first tick one Interval after the setting; at 0 it is silent.

#include <optional>

#include "base/platform.h"

namespace tessaly {

// The Interval of both game timers while play runs: a tick every 25 ms.
inline constexpr int kTickMs = 25;

// How overdue timer ticks are delivered: a virtual clock wants every tick of
// the span it skipped; the real game, after a stall, fires once and resumes
// its rhythm instead of bursting.
enum class CatchUp { EveryTick, OnceThenResume };

class Timer {
 public:
  explicit Timer(const Clock& clock) : clock_(&clock) {}

  int interval() const { return interval_; }
  // Every setting restarts the count, even to the same Interval.
  void setInterval(int ms);

  bool running() const { return interval_ > 0; }
  // When the next tick is due; empty while stopped.
  std::optional<TimeMs> due() const;

  // Books the tick due at `due()` as delivered and schedules the next one from
  // that due time, so the rhythm never drifts. With skipMissed, ticks already
  // overdue at `now` are dropped and the rhythm resumes on its old beat.
  void advance(TimeMs now, bool skipMissed);

 private:
  const Clock* clock_;
  int interval_ = 0;
  TimeMs due_ = 0;
};

}  // namespace tessaly
