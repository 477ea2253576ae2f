#pragma once
// Virtual time for tests, replays and tools: the clock moves only here.

#include "base/platform.h"
#include "game/form1.h"

namespace tessaly {

// A clock that only moves when told to, by advance() below.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint64_t seed = 0, TimeMs start = 0) : now_(start), seed_(seed) {}
  TimeMs now() const override { return now_; }
  std::uint64_t seed() const override { return seed_; }
  void set(TimeMs t) { now_ = t; }

 private:
  TimeMs now_;
  std::uint64_t seed_;
};

// Moves `clock` to every instant by `end` at which a tick falls due, in time
// order, and calls deliver() there; the clock ends at `end` (or stays, when
// `end` has passed).
template <typename Deliver>
void runDueInstants(const Form1& form, VirtualClock& clock, TimeMs end, Deliver&& deliver) {
  while (form.isOpen()) {
    const auto due = form.nextDue();
    if (!due || *due > end) break;
    clock.set(*due);
    deliver();
  }
  if (end > clock.now()) clock.set(end);
}

// Lets `ms` milliseconds pass on `clock`, running every tick that falls due
// in that span, in time order; the clock ends `ms` later.
void advance(Form1& form, VirtualClock& clock, TimeMs ms);

}  // namespace tessaly
