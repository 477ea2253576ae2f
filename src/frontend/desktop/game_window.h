#pragma once
// The game's window on screen: "Form1", its client area drawn by a software
// renderer straight into the window's surface, and SDL's events turned into
// the game's inputs. Only the changed part of a frame is drawn and sent to
// the display.

#include <SDL2/SDL.h>

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "frontend/core/change_tracker.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/frame_painter.h"
#include "frontend/desktop/game_loop.h"
#include "ui/game_port.h"

namespace tessaly::desktop {

class GameWindow final : public LoopHost {
 public:
  // Opens the window at `scale` (0: the display's own scale). Throws
  // StartError when SDL cannot make it.
  GameWindow(GamePort& game, FontBook& fonts, double scale = 0);
  ~GameWindow() override;
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  std::optional<LoopEvent> wait(std::optional<TimeMs> timeout) override;
  std::optional<LoopEvent> poll() override;
  // Ends a wait from any thread; the loop sees a Wake.
  void wake();
  void present(bool everything) override;

  // Turns one SDL event into the game's input, if it is one. Throws
  // DisplayLost when the display fails under the game.
  std::optional<LoopEvent> translate(const SDL_Event& event);

  SDL_Window* window() const { return window_; }
  SDL_Surface* surface() const { return surface_; }
  const Viewport& viewport() const { return view_; }
  // The push button held down by the mouse, or empty.
  std::string_view pressedButton() const { return pressed_; }
  // The output pixels the last present() repainted and sent to the display.
  std::span<const PixelRect> repainted() const { return areas_; }

 private:
  void attachSurface();
  // Throws DisplayLost once the display has failed under the game.
  void endIfDisplayFailed() const;
  std::optional<LoopEvent> mouse(const SDL_Event& event);
  // The frontmost shown push button at an output pixel, or empty.
  std::string_view buttonAt(int px, int py) const;

  GamePort& game_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;
  FramePainter painter_;
  frontend::ChangeTracker changes_;
  // Kept from frame to frame: repainting allocates nothing.
  std::vector<PixelRect> areas_;
  std::vector<SDL_Rect> shown_;  // the same, for the display
  Viewport view_ = Viewport::atScale(1);
  int displayFd_ = -1;          // the X connection, when the display is X11
  int wakePipe_[2] = {-1, -1};  // written by wake(), watched with the display
  std::string_view pressed_;    // a button name held down, empty when none
  bool pressedInside_ = false;  // the pointer is still over it
};

}  // namespace tessaly::desktop
