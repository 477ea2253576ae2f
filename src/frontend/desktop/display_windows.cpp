// The display on Windows: SDL's own wait is the loop's sleep, the window's
// scale is its monitor's DPI, and there is no display connection to lose.

#include <SDL2/SDL_syswm.h>

#include <algorithm>

#include "frontend/desktop/display_errors.h"
#include "frontend/desktop/display_link.h"
#include "frontend/desktop/display_scale.h"

namespace tessaly::desktop {

void chooseDisplayHints() {
  // Each monitor's own scale, as the manifest declares, so that the window
  // opens at 1.5x on a 150 % display and SDL's sizes are real pixels.
  SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
  // Windows wakes a sleeper every 15.6 ms unless asked for finer: 1 ms keeps
  // both timers on their 25 ms beat while the loop still sleeps between ticks.
  // SDL holds it (timeBeginPeriod) from SDL_Init to SDL_Quit.
  SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, "1");
}

const char* displayAdvice() { return "SDL_VIDEODRIVER names a driver that shows nothing: unset it"; }

DisplayLink::DisplayLink(SDL_Window*) {}

DisplayLink::~DisplayLink() = default;

bool DisplayLink::sleep(int) { return false; }

void DisplayLink::wake() {
  SDL_Event e{};
  e.type = SDL_USEREVENT;
  SDL_PushEvent(&e);
}

void DisplayLink::systemMessage(const SDL_SysWMmsg&) {}

double displayScale(SDL_Window* window) {
  float dpi = 0;
  const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : -1;
  if (display < 0 || SDL_GetDisplayDPI(display, nullptr, &dpi, nullptr) != 0 || dpi <= 0) return 1;
  return std::clamp(dpi / 96.0, 1.0, 4.0);
}

// A window Windows takes away, or a display it loses, comes through SDL as a
// close or an error of the call that met it.
void watchDisplayErrors() {}
void watchWindow(unsigned long) {}
void windowDestroyed(unsigned long) {}
std::string_view displayFailure() { return {}; }

}  // namespace tessaly::desktop
