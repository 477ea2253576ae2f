#include "harness/virtual_time.h"

namespace tessaly {

void advance(Form1& form, VirtualClock& clock, TimeMs ms) {
  const TimeMs end = clock.now() + ms;
  while (form.isOpen()) {
    const auto due = form.nextDue();
    if (!due || *due > end) break;
    clock.set(*due);
    form.dispatchDueTimers(CatchUp::EveryTick);
  }
  clock.set(end);
}

}  // namespace tessaly
