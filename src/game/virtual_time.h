#pragma once
// Virtual time for tests, replays and tools: the clock moves only here.

#include "game/form1.h"
#include "game/platform.h"

namespace tessaly {

// Lets `ms` milliseconds pass on `clock`, stopping at every tick that falls
// due in that span and running it, in time order; the clock ends `ms` later.
void advance(Form1& form, VirtualClock& clock, TimeMs ms);

}  // namespace tessaly
