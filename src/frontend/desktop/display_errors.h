#pragma once
// Xlib's way with a failing display is to print several lines of its own and
// end the program from inside whatever call met the failure. The game takes
// both kinds of failure over: a lost connection ends the program at once with
// one line of the game's own; a refused request (a window destroyed by
// another program) is noted and raised where the window can end the game in
// an orderly way.

#include <string_view>

namespace tessaly::desktop {

// Takes over Xlib's error handling for the whole process.
void watchDisplayErrors();
// The game's own window on the display: failures about it, and its
// destruction, mean another program took it away.
void watchWindow(unsigned long xWindow);
// Another program destroyed the watched window (its DestroyNotify came in).
void windowDestroyed(unsigned long xWindow);
// The first failure since the handlers were installed, as one sentence for
// the player; empty while there is none.
std::string_view displayFailure();

}  // namespace tessaly::desktop
