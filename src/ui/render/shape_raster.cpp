#include "ui/render/shape_raster.h"

#include <algorithm>
#include <cmath>

namespace tessaly::render {

namespace {

constexpr int kSamples = 4;  // per axis: 16 samples a pixel

// Signed distance from the shape's edge, negative inside.
double distance(const RasterShape& s, double x, double y) {
  const double hw = s.width / 2.0;
  const double hh = s.height / 2.0;
  const double dx = std::abs(x - hw);
  const double dy = std::abs(y - hh);
  switch (s.form) {
    case ShapeForm::Circle: return std::hypot(dx, dy) - std::min(hw, hh);
    case ShapeForm::RoundedRectangle: {
      const double r = cornerRadius(s.width, s.height);
      const double qx = dx - (hw - r);
      const double qy = dy - (hh - r);
      return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
    }
    case ShapeForm::Rectangle: break;
  }
  return std::max(dx - hw, dy - hh);
}

std::uint32_t mix(std::uint8_t outline, std::uint8_t fill, double fillShare) {
  return static_cast<std::uint32_t>(std::lround(outline + (fill - outline) * fillShare));
}

}  // namespace

double cornerRadius(int width, int height) { return std::min(width, height) / 4.0; }

std::vector<std::uint32_t> rasteriseShape(const RasterShape& s) {
  const int w = std::max(s.width, 0);
  const int h = std::max(s.height, 0);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  const double step = 1.0 / kSamples;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      int inside = 0;
      int inFill = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double d = distance(s, px + (sx + 0.5) * step, py + (sy + 0.5) * step);
          if (d <= 0) {
            ++inside;
            if (d <= -s.outlineWidth) ++inFill;
          }
        }
      }
      if (inside == 0) continue;
      const double fillShare = static_cast<double>(inFill) / inside;
      const auto alpha = static_cast<std::uint32_t>(std::lround(255.0 * inside / (kSamples * kSamples)));
      pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px)] =
          alpha << 24 | mix(s.outline.r, s.fill.r, fillShare) << 16 | mix(s.outline.g, s.fill.g, fillShare) << 8 |
          mix(s.outline.b, s.fill.b, fillShare);
    }
  }
  return pixels;
}

}  // namespace tessaly::render
