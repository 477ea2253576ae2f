#pragma once
// A frame of the window drawn off screen by the same painter as the game
// window: for pixel tests, benchmarks and screenshots without a display.

#include <SDL2/SDL.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/core/presenter.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/frame_painter.h"
#include "ui/controls.h"

namespace tessaly::desktop {

class OffscreenFrame {
 public:
  // A surface exactly the size of the client area at `scale`.
  OffscreenFrame(FontBook& fonts, double scale);
  ~OffscreenFrame();
  OffscreenFrame(const OffscreenFrame&) = delete;
  OffscreenFrame& operator=(const OffscreenFrame&) = delete;

  // Draws the whole frame.
  void draw(const GamePort& game, std::string_view pressedButton = {});
  // Draws only what changed since the last frame, as the game window does;
  // the number of areas painted.
  std::size_t drawChanges(const GamePort& game);

  Color pixel(int x, int y) const;
  // The pixel under a point of the client area given in twips.
  Color pixelAtTwips(float x, float y) const;
  bool saveBmp(const std::string& path) const;

  const Viewport& viewport() const { return view_; }
  SDL_Surface* surface() const { return surface_; }
  FramePainter& painter() { return painter_; }

 private:
  Viewport view_;
  SDL_Surface* surface_ = nullptr;
  FramePainter painter_;
  frontend::Presenter presenter_;
};

}  // namespace tessaly::desktop
