#pragma once
// What a front end may do with the game: hand it the player's keys and
// clicks, deliver its timer ticks when they fall due, and read its objects:
// every one to draw it, and the two timers among them to keep time with them
// (the beat the ticks keep, which timers a round ticked). A front end needs
// nothing else, so every front end is a thin layer over this.

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/platform.h"
#include "ui/controls.h"
#include "ui/timer.h"

namespace tessaly {

class GamePort {
 public:
  // Virtual-key codes: the front end maps its own key events onto them.
  virtual void keyDown(int keycode) = 0;
  virtual void keyUp(int keycode) = 0;
  // A click on the named push button (see `button::` in ui/controls.h); a
  // hidden or unknown button takes no click, and the call says false.
  virtual bool click(std::string_view name) = 0;
  // When the next timer tick is due; empty while both timers stand still,
  // and then the front end need not wake until the player acts.
  virtual std::optional<TimeMs> nextDue() const = 0;
  // Delivers the ticks due by the clock's now, in time order.
  virtual void dispatchDueTimers(CatchUp catchUp) = 0;
  // The window is open from before the first event on; it closes only for
  // the moment a new game rebuilds it, inside a click.
  virtual bool isOpen() const = 0;
  // Every object of the window, the timers included, while it is open.
  virtual const Controls& objects() const = 0;
  // Moves with every change that shows on screen, a new game's rebuilt
  // objects included, and never goes back: redraw only when it moved.
  virtual std::uint64_t revision() const = 0;

 protected:
  ~GamePort() = default;
};

}  // namespace tessaly
