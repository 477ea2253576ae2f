#include "frontend/web/page_fonts.h"

#include "frontend/core/painter.h"
#include "frontend/web/canvas.h"

namespace tessaly::web {

namespace {
// Where the page serves no face for a font, the browser's sans-serif stands
// in with units typical of it.
constexpr FaceUnits kGenericUnits{2048, 1854, -434};
}  // namespace

const PageFonts::Face& PageFonts::face(const Font& font) {
  for (const Known& k : known_)
    if (k.font.face == font.face && k.font.bold == font.bold && k.font.charset == font.charset) return k.face;
  Face f{canvas::face(font), kGenericUnits};
  if (f.index >= 0) f.units = canvas::faceUnits(f.index);
  return known_.emplace_back(Known{font, f}).face;
}

LineMetrics PageFonts::metrics(const Font& font, int pixels) { return lineMetrics(face(font).units, pixels); }

TextBox PageFonts::box(const Font& font, int pixels, std::string_view text) {
  constexpr std::size_t kMostKept = 256;  // captions that change (the score) would pile up
  const int index = face(font).index;
  const auto key = std::make_tuple(index, font.bold, pixels, text);
  if (const auto kept = boxes_.find(key); kept != boxes_.end()) return kept->second;
  if (boxes_.size() >= kMostKept) boxes_.clear();
  const TextBox made = textBox(canvas::textInk(index, font.bold, pixels, text), metrics(font, pixels));
  boxes_.emplace(std::make_tuple(index, font.bold, pixels, std::string(text)), made);
  return made;
}

TextSize PageTextMeasurer::measure(const Font& font, std::string_view text) {
  const int pixels = frontend::pixelSize(font, 1.0);
  const auto perPixel = static_cast<float>(frontend::kTwipsPerPixel);
  return {static_cast<float>(fonts_.box(font, pixels, text).width) * perPixel,
          static_cast<float>(fonts_.metrics(font, pixels).height) * perPixel};
}

}  // namespace tessaly::web
