#pragma once
// The game's window on screen, and nothing more: "Form1", SDL's events in as
// the loop's events, and the areas the loop repainted drawn by a software
// renderer into the window's surface and sent to the display. Who owns the
// game and when anything happens is main()'s and the loop's.

#include <SDL2/SDL.h>

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/display_link.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/frame_painter.h"
#include "frontend/desktop/gamepads.h"

namespace tessaly::desktop {

using frontend::Event;

class GameWindow final : public frontend::LoopHost {
 public:
  // Opens the window at `scale` (0: the display's own scale). Throws
  // StartError when SDL cannot make it. Its first event is its size.
  explicit GameWindow(FontBook& fonts, double scale = 0);
  ~GameWindow() override;
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  std::optional<Event> wait(std::optional<TimeMs> timeout) override;
  std::optional<Event> poll() override;
  // Ends a wait from any thread; the loop sees a Tick.
  void wake();
  frontend::Surface& frame() override { return painter_.onto(surface_); }
  // Sends the repainted areas to the display. Throws DisplayLost when the
  // display failed under the game.
  void show(std::span<const PixelRect> areas) override;

  // Turns one SDL event into the game's event, if it is one. Throws
  // DisplayLost when the display fails under the game.
  std::optional<Event> translate(const SDL_Event& event);

  SDL_Window* window() const { return window_; }
  SDL_Surface* surface() const { return surface_; }

 private:
  // Takes the window's surface at its size: the loop hears of the size next.
  void attachSurface();
  // Throws DisplayLost once the display has failed under the game.
  void endIfDisplayFailed() const;
  std::optional<Event> mouse(const SDL_Event& event);
  // How long one sleep on the display may last, of the `ms` wanted (-1: no limit).
  int padSlice(int ms) const;
  static constexpr int kPadSliceMs = 10;
  static constexpr int kPlugSliceMs = 1000;

  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;
  std::optional<Event> resized_;  // the size the surface took, not yet told
  FramePainter painter_;
  Gamepads pads_;
  std::vector<SDL_Rect> shown_;        // the areas repainted, for the display; kept: a frame allocates nothing
  std::unique_ptr<DisplayLink> link_;  // how the loop sleeps on the display and is woken
};

}  // namespace tessaly::desktop
