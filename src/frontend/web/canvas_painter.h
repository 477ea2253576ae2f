#pragma once
// Draws the window's objects on the page's canvas, as the shared painter
// decides: the same pixels as the desktop window. Smooth shapes are kept as
// images while their size holds.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "frontend/core/painter.h"
#include "frontend/web/page_fonts.h"
#include "ui/controls.h"

namespace tessaly::web {

using frontend::PixelRect;
using frontend::Viewport;

class CanvasPainter final : public frontend::Surface {
 public:
  explicit CanvasPainter(PageFonts& fonts) : fonts_(fonts) {}

  // The canvas has a new size: nothing kept for it is of use.
  void resized();

 private:
  using ShapeKey = std::tuple<int, int, int, int, std::uint32_t, std::uint32_t>;
  struct Caption {
    const Font* font = nullptr;
    int pixels = 0;
    std::string_view text;
    Color color;
    TextBox box;
  };

  void clip(const PixelRect& area) override { clip_ = area; }
  void fill(const PixelRect& r, Color c) override;
  void blitShape(const frontend::RasterShape& shape, frontend::PixelPoint at) override;
  std::optional<frontend::PixelSize> prepareCaption(const Font& font, int pixels, std::string_view text,
                                                    Color color) override;
  void drawCaption(frontend::PixelPoint at, const PixelRect& inside) override;
  void endFrame() override;
  int shapeImage(const frontend::RasterShape& shape);
  int captionId();

  PageFonts& fonts_;
  PixelRect clip_;   // what is being repainted: nothing is drawn outside it
  Caption caption_;  // the caption prepared to draw next
  std::map<ShapeKey, int> shapes_;
  int nextImage_ = 0;
  // By face, weight, pixels, colour and text; looked up with a view of the text.
  static constexpr std::size_t kCaptionsKept = 256;
  std::map<std::tuple<int, bool, int, std::uint32_t, std::string>, int, std::less<>> captions_;
};

}  // namespace tessaly::web
