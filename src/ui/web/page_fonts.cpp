#include "ui/web/page_fonts.h"

#include "ui/web/canvas.h"
#include "ui/web/viewport.h"

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
  return textBox(canvas::textInk(face(font).index, font.bold, pixels, text), metrics(font, pixels));
}

TextSize PageTextMeasurer::measure(const Font& font, std::string_view text) {
  const int pixels = pixelSize(font, 1.0);
  const auto perPixel = static_cast<float>(kTwipsPerPixel);
  return {static_cast<float>(fonts_.box(font, pixels, text).width) * perPixel,
          static_cast<float>(fonts_.metrics(font, pixels).height) * perPixel};
}

}  // namespace tessaly::web
