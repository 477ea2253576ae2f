#pragma once
// What the window looks like, object by object, whatever draws it: back to
// front as they are stacked, the push buttons in front of all, clipped to the
// area being repainted. A front end supplies the few drawing calls (a
// Surface); every decision of what goes where is made here, once, so that
// the desktop window and the page draw the same pixels.

#include <optional>
#include <string_view>

#include "frontend/core/shape_raster.h"
#include "frontend/core/viewport.h"
#include "ui/controls.h"

namespace tessaly::frontend {

// The colour of the letterbox around the client area.
inline constexpr Color kLetterboxColor{0, 0, 0};

// The em size in pixels of `font` at the window's scale: points at 96 dots
// per inch, 7.5 pt is 10 pixels at 1x.
int pixelSize(const Font& font, double scale);

// The drawing calls a front end carries out, in output pixels.
class Surface {
 public:
  virtual ~Surface() = default;
  // What follows draws only inside `area` (until the next clip).
  virtual void clip(const PixelRect& area) = 0;
  // Fills `r`, never empty, with one colour.
  virtual void fill(const PixelRect& r, Color c) = 0;
  // Draws `shape`, rasterised at its size, with its top-left corner at `at`.
  virtual void blitShape(const RasterShape& shape, PixelPoint at) = 0;
  // Makes `text` ready to draw at an em of `pixels`: the size of its image,
  // or nothing when it cannot be drawn.
  virtual std::optional<PixelSize> prepareCaption(const Font& font, int pixels, std::string_view text, Color color) = 0;
  // Draws the caption last prepared, its image's top-left corner at `at`,
  // only within `inside` (which lies within the clip).
  virtual void drawCaption(PixelPoint at, const PixelRect& inside) = 0;
  // A frame's areas are painted between these two.
  virtual void beginFrame() {}
  virtual void endFrame() {}
};

// Repaints `area` with every object that touches it, and the letterbox within
// it. `pressedButton` names a push button drawn pressed in, or is empty.
void paintArea(Surface& surface, const Controls& controls, const Viewport& view, const PixelRect& area,
               std::string_view pressedButton);

}  // namespace tessaly::frontend
