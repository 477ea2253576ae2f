#include "frontend/desktop/display_errors.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tessaly::desktop {

namespace {

unsigned long watched = 0;  // Xlib's handlers take no context: the window is process-wide
char failure[256] = {};     // filled once; what follows a failure is its echo

void note(const char* sentence) {
  if (failure[0] == '\0') std::snprintf(failure, sizeof failure, "%s", sentence);
}

int onError(Display* display, XErrorEvent* e) {
  if (watched != 0 && e->resourceid == watched) {
    note("the game window was destroyed by another program.");
  } else {
    char text[128] = {};
    XGetErrorText(display, e->error_code, text, sizeof text);
    char sentence[sizeof failure];
    std::snprintf(sentence, sizeof sentence, "the display refused a request (X error %s, request %d).", text,
                  e->request_code);
    note(sentence);
  }
  return 0;  // the window raises it (displayFailure) where the game can end in order
}

// Xlib ends the program itself if this returns, and nothing more can be asked
// of the display: write the line and go.
[[noreturn]] int onConnectionLost(Display* display) {
  char line[160];
  const int n = std::snprintf(line, sizeof line, "tessaly: the connection to the display %s was lost.\n",
                              display != nullptr ? DisplayString(display) : "");
  if (n > 0) {
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line, static_cast<std::size_t>(n));
  }
  ::_exit(1);
}

}  // namespace

void watchDisplayErrors() {
  XSetErrorHandler(onError);
  XSetIOErrorHandler(onConnectionLost);
}

void watchWindow(unsigned long xWindow) { watched = xWindow; }

void windowDestroyed(unsigned long xWindow) {
  if (watched != 0 && xWindow == watched) note("the game window was destroyed by another program.");
}

std::string_view displayFailure() { return failure; }

}  // namespace tessaly::desktop
