#include "ui/desktop/viewport.h"

#include <algorithm>
#include <cmath>

namespace tessaly::desktop {

namespace {
// Scaled first and divided last, so that whole pixels at scale 1 stay exact.
int toPixel(double twips, double scale) { return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel)); }
}  // namespace

Viewport::Viewport(double scale, int originX, int originY) : scale_(scale) {
  client_ = {originX, originY, toPixel(kClientWidthTwips, scale), toPixel(kClientHeightTwips, scale)};
}

Viewport Viewport::atScale(double scale) { return Viewport(scale, 0, 0); }

Viewport Viewport::fit(int outputWidth, int outputHeight) {
  const double across = outputWidth * kTwipsPerPixel / kClientWidthTwips;
  const double down = outputHeight * kTwipsPerPixel / kClientHeightTwips;
  const double scale = std::max(std::min(across, down), 0.01);
  const Viewport sized = atScale(scale);
  return Viewport(scale, (outputWidth - sized.client_.w) / 2, (outputHeight - sized.client_.h) / 2);
}

int Viewport::x(double twips) const { return client_.x + toPixel(twips, scale_); }
int Viewport::y(double twips) const { return client_.y + toPixel(twips, scale_); }

SDL_Rect Viewport::edges(const Rect& b) const {
  const int left = x(b.left);
  const int top = y(b.top);
  return {left, top, x(static_cast<double>(b.left) + b.width) - left, y(static_cast<double>(b.top) + b.height) - top};
}

int Viewport::pixels(double lengthAtScale1) const {
  return std::max(1, static_cast<int>(std::lround(lengthAtScale1 * scale_)));
}

std::optional<TwipPoint> Viewport::toTwips(int px, int py) const {
  if (px < client_.x || py < client_.y || px >= client_.x + client_.w || py >= client_.y + client_.h)
    return std::nullopt;
  const double factor = kTwipsPerPixel / scale_;
  return TwipPoint{static_cast<float>((px - client_.x + 0.5) * factor),
                   static_cast<float>((py - client_.y + 0.5) * factor)};
}

}  // namespace tessaly::desktop
