#include "frontend/core/viewport.h"

#include <algorithm>
#include <cmath>

namespace tessaly::frontend {

namespace {
// Scaled first and divided last, so that whole pixels at scale 1 stay exact.
int toPixel(double twips, double scale) { return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel)); }

double fittingScale(int width, int height) {
  const double across = width * kTwipsPerPixel / kClientWidthTwips;
  const double down = height * kTwipsPerPixel / kClientHeightTwips;
  return std::max(std::min(across, down), 0.01);
}
}  // namespace

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.w, b.x + b.w);
  const int bottom = std::min(a.y + a.h, b.y + b.h);
  if (right <= left || bottom <= top) return {left, top, 0, 0};
  return {left, top, right - left, bottom - top};
}

bool overlaps(const PixelRect& a, const PixelRect& b) { return !intersect(a, b).empty(); }

PixelRect unite(const PixelRect& a, const PixelRect& b) {
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  return {left, top, std::max(a.x + a.w, b.x + b.w) - left, std::max(a.y + a.h, b.y + b.h) - top};
}

PixelSize canvasSize(int width, int height) {
  const double scale = fittingScale(width, height);
  return {std::max(1, toPixel(kClientWidthTwips, scale)), std::max(1, toPixel(kClientHeightTwips, scale))};
}

Viewport::Viewport(double scale, int originX, int originY) : scale_(scale) {
  client_ = {originX, originY, toPixel(kClientWidthTwips, scale), toPixel(kClientHeightTwips, scale)};
}

Viewport Viewport::atScale(double scale) { return Viewport(scale, 0, 0); }

Viewport Viewport::fit(int width, int height) {
  const double scale = fittingScale(width, height);
  const Viewport sized = atScale(scale);
  return Viewport(scale, (width - sized.client_.w) / 2, (height - sized.client_.h) / 2);
}

int Viewport::x(double twips) const { return client_.x + toPixel(twips, scale_); }
int Viewport::y(double twips) const { return client_.y + toPixel(twips, scale_); }

PixelRect Viewport::edges(const Rect& b) const {
  const int left = x(b.left);
  const int top = y(b.top);
  return {left, top, x(static_cast<double>(b.left) + b.width) - left, y(static_cast<double>(b.top) + b.height) - top};
}

int Viewport::pixels(double lengthAtScale1) const {
  return std::max(1, static_cast<int>(std::lround(lengthAtScale1 * scale_)));
}

std::optional<TwipPoint> Viewport::toTwips(int px, int py) const {
  if (!client_.contains(px, py)) return std::nullopt;
  const double factor = kTwipsPerPixel / scale_;
  return TwipPoint{static_cast<float>((px - client_.x + 0.5) * factor),
                   static_cast<float>((py - client_.y + 0.5) * factor)};
}

Rect Viewport::reach(const PixelRect& area) const {
  const double factor = kTwipsPerPixel / scale_;
  return {static_cast<float>((area.x - 1 - client_.x) * factor), static_cast<float>((area.y - 1 - client_.y) * factor),
          static_cast<float>((area.w + 2) * factor), static_cast<float>((area.h + 2) * factor)};
}

void repaintAreas(const Viewport& view, const Changes& changes, int width, int height, std::vector<PixelRect>& areas) {
  constexpr int kMargin = 2;
  constexpr std::size_t kMostAreas = 12;  // past this, one area holding them all is cheaper
  const PixelRect whole{0, 0, width, height};
  areas.clear();
  if (changes.everything) {
    areas.push_back(whole);
    return;
  }
  for (const Rect& changed : changes.areas) {
    const PixelRect r = view.edges(changed);
    PixelRect area = intersect({r.x - kMargin, r.y - kMargin, r.w + 2 * kMargin, r.h + 2 * kMargin}, whole);
    if (area.empty()) continue;
    // Whatever overlaps is painted once, as one.
    std::erase_if(areas, [&area](const PixelRect& a) {
      if (!overlaps(a, area)) return false;
      area = unite(a, area);
      return true;
    });
    areas.push_back(area);
  }
  if (areas.size() > kMostAreas) {
    PixelRect all = areas.front();
    for (const PixelRect& a : areas) all = unite(all, a);
    areas.assign(1, all);
  }
}

}  // namespace tessaly::frontend
