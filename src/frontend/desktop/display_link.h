#pragma once
// How the window's loop sleeps on the display and is woken from another
// thread, and what the display says of the window beyond SDL's own events.
// On X11 the loop sleeps on the display connection itself with a wake pipe
// beside it (display_link_x11.cpp); on Windows SDL's own wait is the sleep
// and an event of the game's own the wake (display_windows.cpp).

#include <SDL2/SDL.h>  // SDL_SysWMmsg declared only: SDL_syswm.h would bring X11's names in

namespace tessaly::desktop {

// SDL's hints for the display, set before SDL starts its video.
void chooseDisplayHints();
// What the player can do when SDL's video shows nothing on any screen.
const char* displayAdvice();

class DisplayLink {
 public:
  explicit DisplayLink(SDL_Window* window);
  ~DisplayLink();
  DisplayLink(const DisplayLink&) = delete;
  DisplayLink& operator=(const DisplayLink&) = delete;

  // The loop sleeps here rather than in SDL's wait; then SDL's events
  // (a pad's among them) reach it only as the display wakes it.
  bool sleepsOnDisplay() const { return displayFd_ >= 0; }
  // Sleeps until the display has something or `ms` have passed (-1: no
  // limit); true when wake() ended it.
  bool sleep(int ms);
  // Ends a sleep from any thread; without a sleep on the display, SDL's wait
  // gets an SDL_USEREVENT.
  void wake();
  // A system message SDL passed on (SDL_SYSWMEVENT).
  void systemMessage(const SDL_SysWMmsg& message);

 private:
  int displayFd_ = -1;          // the X connection
  int wakePipe_[2] = {-1, -1};  // written by wake(), watched with the display
};

}  // namespace tessaly::desktop
