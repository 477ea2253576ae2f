#pragma once
// The game on a web page: the page's inputs in the game's terms, the timers'
// ticks, and the canvas repainted where objects changed whenever the game's
// revision moves. Every call ends with the frame up to date; the page then
// sleeps until wakeIn() milliseconds have passed, or for good while no timer
// runs (paused, game over).

#include <cstdint>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/game_session.h"
#include "frontend/web/canvas_painter.h"
#include "frontend/web/page_fonts.h"
#include "ui/game_port.h"

namespace tessaly::web {

using frontend::Device;

class WebGame {
 public:
  WebGame(GamePort& game, const Clock& clock, PageFonts& fonts);

  // The canvas now has `width` x `height` device pixels; repaints it all.
  void resize(int width, int height);
  void keyDown(int virtualKey) { press(Device::Keyboard, virtualKey); }
  void keyUp(int virtualKey) { release(Device::Keyboard, virtualKey); }
  // A control of any device went down or came up (see frontend/core/input_map.h).
  void press(Device device, int control);
  void release(Device device, int control);
  // Lets go of everything a device holds: the page lost the focus, a pad went away.
  void releaseAll(Device device);
  // A pad's left stick leaning, x to the right and y down, each -1 to 1.
  void stick(double x, double y);
  // The primary pointer button at a canvas pixel: a push button clicks when
  // it goes down and comes up on it, and shows pressed while the pointer
  // stays on it.
  void pointerDown(int x, int y);
  void pointerMove(int x, int y);
  void pointerUp(int x, int y);
  void pointerCancel();
  // A click on the named push button, as the automatic player makes it.
  void click(std::string_view name);
  // Delivers the ticks that are due; after a stall (a hidden page, a busy
  // machine) each timer ticks once and resumes its rhythm, no burst.
  void tick();

  // Milliseconds until the next tick is due, at least 0; -1 while no timer runs.
  int wakeIn() const;
  // Milliseconds between the ticks after it, while they keep one beat; 0 otherwise.
  int beat() const { return session_.beat(); }
  // Frames shown so far.
  std::uint64_t frames() const { return session_.frames(); }
  const frontend::GameSession& session() const { return session_; }

 private:
  void present() { session_.present(painter_); }

  const Clock& clock_;
  frontend::GameSession session_;
  CanvasPainter painter_;
};

}  // namespace tessaly::web
