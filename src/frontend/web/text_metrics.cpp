#include "frontend/web/text_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessaly::web {

namespace {

// FreeType's fixed-point helpers, rounding as it does.
std::int64_t divFix(std::int64_t a, std::int64_t b) {
  const std::int64_t q = (std::abs(a) * 65536 + std::abs(b) / 2) / std::abs(b);
  return (a < 0) != (b < 0) ? -q : q;
}
std::int64_t mulFix(std::int64_t a, std::int64_t b) {
  const std::int64_t p = (std::abs(a) * std::abs(b) + 0x8000) >> 16;
  return (a < 0) != (b < 0) ? -p : p;
}
int ceilPixels(std::int64_t v26_6) { return static_cast<int>((v26_6 + 63) >> 6); }

}  // namespace

LineMetrics lineMetrics(const FaceUnits& face, int pixels) {
  if (face.unitsPerEm <= 0 || pixels <= 0) return {};
  const std::int64_t scale = divFix(std::int64_t{pixels} * 64, face.unitsPerEm);
  return {ceilPixels(mulFix(face.ascender, scale)), ceilPixels(mulFix(face.ascender - face.descender, scale))};
}

TextBox textBox(const TextInk& ink, const LineMetrics& line) {
  const auto up = [](double v) { return static_cast<int>(std::ceil(v)); };
  const int penX = std::max(0, up(ink.left));
  // Ink above the line's ascent moves the baseline down by as much.
  const int baseline = line.ascent + std::max(0, up(ink.ascent) - line.ascent);
  return {penX, baseline, std::max(static_cast<int>(std::floor(ink.advance)), up(ink.right)) + penX,
          std::max(line.height, baseline + up(ink.descent))};
}

}  // namespace tessaly::web
