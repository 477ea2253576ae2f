#include <fontconfig/fontconfig.h>

#include "frontend/desktop/font_source.h"

namespace tessaly::desktop {

struct FontSource::Faces {};

FontSource::FontSource() { FcInit(); }

FontSource::~FontSource() = default;

std::optional<InstalledFace> FontSource::best(const std::string& family, bool bold, int charset) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  if (charset == 134) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (found == nullptr) return std::nullopt;

  InstalledFace face;
  FcChar8* text = nullptr;
  for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &text) == FcResultMatch; ++i)
    face.families.emplace_back(reinterpret_cast<const char*>(text));
  if (FcPatternGetString(found, FC_FILE, 0, &text) == FcResultMatch) face.file = reinterpret_cast<const char*>(text);
  FcPatternGetInteger(found, FC_INDEX, 0, &face.index);
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
  face.bold = weight >= FC_WEIGHT_DEMIBOLD;
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) face.embolden = embolden == FcTrue;
  FcPatternDestroy(found);
  if (face.file.empty() || face.families.empty()) return std::nullopt;
  return face;
}

std::string_view whereFacesAreLooked() { return "fontconfig offers none that opens"; }

}  // namespace tessaly::desktop
