#pragma once
// The game on a web page: the page's inputs in the game's terms, the timers'
// ticks, and the canvas repainted where objects changed whenever the game's
// revision moves. Every call ends with the frame up to date; the page then
// sleeps until wakeIn() milliseconds have passed, or for good while no timer
// runs (paused, game over).

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/platform.h"
#include "frontend/core/change_tracker.h"
#include "frontend/core/viewport.h"
#include "frontend/web/canvas_painter.h"
#include "frontend/web/page_fonts.h"
#include "ui/game_port.h"

namespace tessaly::web {

class WebGame {
 public:
  WebGame(GamePort& game, const Clock& clock, PageFonts& fonts);

  // The canvas now has `width` x `height` device pixels; repaints it all.
  void resize(int width, int height);
  void keyDown(int virtualKey);
  void keyUp(int virtualKey);
  // The primary pointer button at a canvas pixel: a push button clicks when
  // it goes down and comes up on it, and shows pressed while the pointer
  // stays on it.
  void pointerDown(int x, int y);
  void pointerMove(int x, int y);
  void pointerUp(int x, int y);
  // Delivers the ticks that are due; after a stall (a hidden page, a busy
  // machine) each timer ticks once and resumes its rhythm, no burst.
  void tick();

  // Milliseconds until the next tick is due, at least 0; -1 while no timer runs.
  int wakeIn() const;
  // Frames shown so far.
  std::uint64_t frames() const { return frames_; }

 private:
  void present();
  // The frontmost shown push button at a canvas pixel, or empty.
  std::string_view buttonAt(int x, int y) const;

  GamePort& game_;
  const Clock& clock_;
  CanvasPainter painter_;
  frontend::ChangeTracker changes_;
  std::vector<PixelRect> areas_;  // kept from frame to frame: repainting allocates nothing
  Viewport view_ = Viewport::fit(1, 1);
  int width_ = 0;
  int height_ = 0;
  std::uint64_t shownRevision_ = 0;
  bool fullRepaint_ = true;
  std::uint64_t frames_ = 0;
  std::string_view pressed_;    // a button name held down, empty when none
  bool pressedInside_ = false;  // the pointer is still over it
};

}  // namespace tessaly::web
