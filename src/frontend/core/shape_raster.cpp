#include "frontend/core/shape_raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tessaly::frontend {

namespace {

constexpr int kSamples = 4;  // per axis: 16 samples a pixel
// How far a sample lies from its pixel's centre at most, with a little to
// spare for rounding: (kSamples - 1) / 2 steps along each axis. The distance
// below changes no faster than the point moves, so a pixel whose centre is
// further than this from an edge has every sample on the same side of it.
constexpr double kSampleReach = (kSamples - 1) / 2.0 / kSamples * std::numbers::sqrt2 + 1e-9;

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
      // Off the corners the edge is straight, and the sum below is exactly
      // this (hypot of a number and 0 is that number): the slow hypot is left
      // to the corners, a small part of a long paddle or the logo's box.
      if (qx <= 0 || qy <= 0) return std::max(qx, qy) - r;
      return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
    }
    case ShapeForm::Rectangle: break;
  }
  return std::max(dx - hw, dy - hh);
}

std::uint32_t mix(std::uint8_t outline, std::uint8_t fill, double fillShare) {
  return static_cast<std::uint32_t>(std::lround(outline + (fill - outline) * fillShare));
}

struct Coverage {
  int inside = 0;  // samples inside the shape
  int inFill = 0;  // of those, inside the outline
};

Coverage sample(const RasterShape& s, int px, int py) {
  constexpr double step = 1.0 / kSamples;
  Coverage c;
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      const double d = distance(s, px + (sx + 0.5) * step, py + (sy + 0.5) * step);
      if (d <= 0) {
        ++c.inside;
        if (d <= -s.outlineWidth) ++c.inFill;
      }
    }
  }
  return c;
}

// The pixel's samples, counted one by one only near an edge.
Coverage coverage(const RasterShape& s, int px, int py) {
  constexpr int all = kSamples * kSamples;
  const double centre = distance(s, px + 0.5, py + 0.5);
  if (centre > kSampleReach) return {};
  if (centre < -kSampleReach) {
    if (centre < -s.outlineWidth - kSampleReach) return {all, all};
    if (centre > -s.outlineWidth + kSampleReach) return {all, 0};
  }
  return sample(s, px, py);
}

}  // namespace

double cornerRadius(int width, int height) { return std::min(width, height) / 4.0; }

std::vector<std::uint32_t> rasteriseShape(const RasterShape& s) {
  const int w = std::max(s.width, 0);
  const int h = std::max(s.height, 0);
  // A pixel's colour depends only on how many of its samples fall inside and
  // in the fill: worked out once for each count, not for each pixel.
  constexpr int all = kSamples * kSamples;
  std::array<std::array<std::uint32_t, all + 1>, all + 1> colours{};
  for (int inside = 1; inside <= all; ++inside) {
    for (int inFill = 0; inFill <= inside; ++inFill) {
      const double fillShare = static_cast<double>(inFill) / inside;
      const auto alpha = static_cast<std::uint32_t>(std::lround(255.0 * inside / all));
      colours[inside][inFill] = alpha << 24 | mix(s.outline.r, s.fill.r, fillShare) << 16 |
                                mix(s.outline.g, s.fill.g, fillShare) << 8 | mix(s.outline.b, s.fill.b, fillShare);
    }
  }
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  auto* out = pixels.data();
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const auto [inside, inFill] = coverage(s, px, py);
      *out++ = colours[inside][inFill];
    }
  }
  return pixels;
}

}  // namespace tessaly::frontend
