#pragma once
// Draws the window's objects on the page's canvas as the desktop window draws
// them: back to front as they are stacked, the push buttons in front of all,
// clipped to the area being repainted. Smooth shapes are rasterised by the
// desktop's own rasteriser and kept as images while their size holds.

#include <cstdint>
#include <map>
#include <string_view>
#include <tuple>

#include "ui/controls.h"
#include "ui/desktop/shape_raster.h"
#include "ui/web/page_fonts.h"
#include "ui/web/viewport.h"

namespace tessaly::web {

// The colour of the letterbox around the client area, as on the desktop.
inline constexpr Color kLetterboxColor{0, 0, 0};

class CanvasPainter {
 public:
  explicit CanvasPainter(PageFonts& fonts) : fonts_(fonts) {}

  // Repaints `area` with every object that touches it, and the letterbox
  // within it. `pressedButton` names a push button drawn pressed in, or is
  // empty.
  void paint(const Controls& controls, const Viewport& view, const PixelRect& area, std::string_view pressedButton);
  // The canvas has a new size: nothing kept for it is of use.
  void resized();

 private:
  using ShapeKey = std::tuple<int, int, int, int, std::uint32_t, std::uint32_t>;

  void drawShape(const ScreenObject& o, const Viewport& view);
  void drawLabel(const ScreenObject& o, const Viewport& view);
  void drawButton(const ScreenObject& o, const Viewport& view, bool pressed);
  // Draws `text` in `box`, `inset` pixels in from its edges; `align` places it
  // across, and it is top-aligned unless `middle`.
  void drawText(const Font& font, std::string_view text, Color color, const Viewport& view, const PixelRect& box,
                Alignment align, bool middle, int inset);
  int shapeImage(const desktop::RasterShape& shape);
  void fill(const PixelRect& r, Color c) const;
  // A frame `width` pixels wide just inside `r`.
  void frame(const PixelRect& r, int width, Color c) const;
  // One ring of a button's bevel: `topLeft` along the top and left edges,
  // `bottomRight` along the others, one `line` wide.
  void bevel(const PixelRect& edge, int line, Color topLeft, Color bottomRight) const;

  PageFonts& fonts_;
  PixelRect clip_;  // what is being repainted: nothing is drawn outside it
  std::map<ShapeKey, int> shapes_;
  int nextImage_ = 0;
};

}  // namespace tessaly::web
