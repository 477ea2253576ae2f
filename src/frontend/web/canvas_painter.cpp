#include "frontend/web/canvas_painter.h"

#include "frontend/web/canvas.h"

namespace tessaly::web {

// Everything is cut to the area being repainted here, so that the canvas
// draws only what shows and needs no clipping of its own.
void CanvasPainter::fill(const PixelRect& r, Color c) { canvas::fill(intersect(r, clip_), c); }

void CanvasPainter::resized() {
  canvas::resized();
  shapes_.clear();
  nextImage_ = 0;
  captions_.clear();
}

void CanvasPainter::endFrame() {
  canvas::flush();
  // The score and the time write new captions all game long: past a few
  // hundred, the kept ones are forgotten, here where no command of a frame
  // still names them, and the page's copies are replaced as ids come round.
  if (captions_.size() >= kCaptionsKept) captions_.clear();
}

void CanvasPainter::blitShape(const frontend::RasterShape& shape, frontend::PixelPoint at) {
  const int image = shapeImage(shape);
  const PixelRect to{at.x, at.y, shape.width, shape.height};
  const PixelRect shown = intersect(to, clip_);
  if (!shown.empty()) canvas::drawImage(image, {shown.x - to.x, shown.y - to.y, shown.w, shown.h}, shown);
}

std::optional<frontend::PixelSize> CanvasPainter::prepareCaption(const Font& font, int pixels, std::string_view text,
                                                                 Color color) {
  caption_ = {&font, pixels, text, color, fonts_.box(font, pixels, text)};
  return frontend::PixelSize{caption_.box.width, caption_.box.height};
}

void CanvasPainter::drawCaption(frontend::PixelPoint at, const PixelRect& inside) {
  const TextBox& t = caption_.box;
  const PixelRect image{at.x, at.y, t.width, t.height};
  // Most captions lie well inside their box: clipping costs, so only the rest are clipped.
  const bool within = intersect(inside, image) == image;
  if (!within) canvas::beginClip(inside);
  canvas::drawCaption(captionId(), at.x + t.penX, at.y + t.baseline);
  if (!within) canvas::endClip();
}

int CanvasPainter::captionId() {
  const int face = fonts_.face(*caption_.font).index;
  const bool bold = caption_.font->bold;
  const std::uint32_t rgb = canvas::packed(caption_.color);
  const auto known = captions_.find(std::tuple{face, bold, caption_.pixels, rgb, caption_.text});
  if (known != captions_.end()) return known->second;
  const int id = static_cast<int>(captions_.size());
  canvas::keepCaption(id, face, bold, caption_.pixels, caption_.text, caption_.color);
  captions_.emplace(std::tuple{face, bold, caption_.pixels, rgb, std::string(caption_.text)}, id);
  return id;
}

int CanvasPainter::shapeImage(const frontend::RasterShape& s) {
  const ShapeKey key{static_cast<int>(s.form), s.width, s.height, s.outlineWidth, canvas::packed(s.fill),
                     canvas::packed(s.outline)};
  if (const auto known = shapes_.find(key); known != shapes_.end()) return known->second;
  const int id = nextImage_++;
  auto pixels = frontend::rasteriseShape(s);
  canvas::keepImage(id, pixels, s.width, s.height);
  shapes_.emplace(key, id);
  return id;
}

}  // namespace tessaly::web
