#include "ui/text_measure.h"

#include <cmath>

namespace tessaly {

TextSize EstimatedTextMeasurer::measure(const Font& font, std::string_view text) {
  constexpr float kTwipsPerPixel = 15;
  const float pixelsPerEm = font.size * 96.0f / 72.0f;
  const float advance = std::round(0.55f * pixelsPerEm);
  const float line = std::round(1.15f * pixelsPerEm);
  return {static_cast<float>(text.size()) * advance * kTwipsPerPixel, line * kTwipsPerPixel};
}

}  // namespace tessaly
