#include "harness/virtual_time.h"

namespace tessaly {

void advance(Form1& form, VirtualClock& clock, TimeMs ms) {
  runDueInstants(form, clock, clock.now() + ms, [&] { form.dispatchDueTimers(CatchUp::EveryTick); });
}

}  // namespace tessaly
