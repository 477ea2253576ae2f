#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>

#include "frontend/desktop/display_errors.h"
#include "frontend/desktop/display_link.h"

namespace tessaly::desktop {

void chooseDisplayHints() {
  // Without a Wayland session there is no compositor to find, and probing
  // for one only makes its client library complain on stderr; X11 is the
  // display then, and fails quietly when there is none.
  if (std::getenv("SDL_VIDEODRIVER") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
}

const char* displayAdvice() { return "set DISPLAY or WAYLAND_DISPLAY to a running one"; }

DisplayLink::DisplayLink(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  if (::pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) == 0) displayFd_ = ConnectionNumber(info.info.x11.display);
  // Another program may destroy the window: its DestroyNotify ends the game
  // even while nothing is drawn.
  watchWindow(info.info.x11.window);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

DisplayLink::~DisplayLink() {
  for (int fd : wakePipe_)
    if (fd >= 0) ::close(fd);
}

bool DisplayLink::sleep(int ms) {
  // Right after SDL has taken every event Xlib had read. SDL's own wait would
  // wake itself through a second connection, which can reach the server
  // after the window is gone and end the program with an X error on closing.
  pollfd watched[2] = {{displayFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
  if (::poll(watched, 2, ms) <= 0 || (watched[1].revents & POLLIN) == 0) return false;
  char drained[16];
  while (::read(wakePipe_[0], drained, sizeof drained) > 0) {
  }
  return true;
}

void DisplayLink::wake() {
  if (wakePipe_[1] >= 0) {
    [[maybe_unused]] const auto written = ::write(wakePipe_[1], "w", 1);
    return;
  }
  SDL_Event e{};
  e.type = SDL_USEREVENT;
  SDL_PushEvent(&e);
}

void DisplayLink::systemMessage(const SDL_SysWMmsg& message) {
  if (message.subsystem == SDL_SYSWM_X11 && message.msg.x11.event.type == DestroyNotify)
    windowDestroyed(message.msg.x11.event.xdestroywindow.window);
}

}  // namespace tessaly::desktop
