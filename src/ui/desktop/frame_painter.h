#pragma once
// Draws the window's objects into an SDL renderer: back to front as they are
// stacked, the push buttons in front of all, clipped to the area that needs
// it. Text and smooth shapes are rasterised at the size they are shown and
// kept as textures while they are in use.

#include <SDL2/SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "ui/controls.h"
#include "ui/desktop/change_tracker.h"
#include "ui/desktop/font_book.h"
#include "ui/desktop/shape_raster.h"
#include "ui/desktop/viewport.h"

namespace tessaly::desktop {

// The colour of the letterbox around the client area.
inline constexpr Color kLetterboxColor{0, 0, 0};

// Fills `areas` with the output pixels to repaint for what changed, within an
// output of `width` x `height`: each area grown by the pixels that smooth edges may
// reach past an object's bounds, overlapping ones merged.
void repaintAreas(const Viewport& view, const Changes& changes, int width, int height, std::vector<SDL_Rect>& areas);

class FramePainter {
 public:
  FramePainter(SDL_Renderer* renderer, FontBook& fonts);
  ~FramePainter();
  FramePainter(const FramePainter&) = delete;
  FramePainter& operator=(const FramePainter&) = delete;

  // Repaints `area` (output pixels) with every object that touches it; the
  // letterbox around the client area is painted too. `pressedButton` names a
  // push button drawn pressed in, or is empty.
  void paint(const Controls& controls, const Viewport& view, const SDL_Rect& area, std::string_view pressedButton = {});

  // Text textures kept for reuse; tests watch that it stays bounded.

 private:
  struct Cached {
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t lastUsed = 0;
  };
  using TextKey = std::tuple<const void*, int, std::string, std::uint32_t>;
  using ShapeKey = std::tuple<int, int, int, int, std::uint32_t, std::uint32_t>;

  void drawShape(const ScreenObject& o, const Viewport& view);
  void drawLabel(const ScreenObject& o, const Viewport& view);
  void drawButton(const ScreenObject& o, const Viewport& view, bool pressed);
  // Draws `text` at (x, y) and beyond, clipped to `box`; `align` places it
  // across the box, top-aligned.
  void drawText(const Font& font, std::string_view text, Color color, const Viewport& view, const SDL_Rect& box,
                Alignment align, bool middle, int inset);
  const Cached* textTexture(const Font& font, std::string_view text, Color color, int pixels);
  const Cached* shapeTexture(const RasterShape& shape);
  void fill(const SDL_Rect& r, Color c);
  void frame(const SDL_Rect& r, int width, Color c);
  void clipTo(const SDL_Rect& r);
  void trimTextCache();

  SDL_Renderer* renderer_;
  FontBook& fonts_;
  SDL_Rect clip_{};  // the area being repainted, within the client area
  std::uint64_t frame_ = 0;
  std::map<TextKey, Cached> texts_;
  std::map<ShapeKey, Cached> shapes_;
};

}  // namespace tessaly::desktop
