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

#include "frontend/core/game_session.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/display_link.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/frame_painter.h"
#include "frontend/desktop/game_loop.h"
#include "frontend/desktop/gamepads.h"
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
  // Paints what changed and sends those pixels to the display.
  void present() override;

  // Turns one SDL event into the game's input, if it is one. Throws
  // DisplayLost when the display fails under the game.
  std::optional<LoopEvent> translate(const SDL_Event& event);

  SDL_Window* window() const { return window_; }
  SDL_Surface* surface() const { return surface_; }
  const Viewport& viewport() const { return session_.viewport(); }
  // The game as this window drives and shows it; the loop runs on it.
  frontend::GameSession& session() { return session_; }
  // The push button drawn pressed in, or empty.
  std::string_view pressedButton() const { return session_.pressedButton(); }
  // The output pixels the last present() repainted and sent to the display.
  std::span<const PixelRect> repainted() const { return session_.repainted(); }

 private:
  void attachSurface();
  // Throws DisplayLost once the display has failed under the game.
  void endIfDisplayFailed() const;
  std::optional<LoopEvent> mouse(const SDL_Event& event);
  // How long one sleep on the display may last, of the `ms` wanted (-1: no limit).
  int padSlice(int ms) const;
  static constexpr int kPadSliceMs = 10;
  static constexpr int kPlugSliceMs = 1000;

  frontend::GameSession session_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;
  FramePainter painter_;
  Gamepads pads_;
  std::vector<SDL_Rect> shown_;        // the areas repainted, for the display; kept: a frame allocates nothing
  std::unique_ptr<DisplayLink> link_;  // how the loop sleeps on the display and is woken
};

}  // namespace tessaly::desktop
