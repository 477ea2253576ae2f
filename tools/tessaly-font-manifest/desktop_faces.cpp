#include "desktop_faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "base/platform.h"
#include "ui/controls.h"

namespace tessaly::manifest {

std::vector<Font> gameFonts() {
  SystemClock clock;  // no timer runs
  EstimatedTextMeasurer measurer;
  const Controls controls(clock, measurer);
  std::vector<Font> fonts;
  const auto add = [&fonts](const ScreenObject* o) {
    if (o->kind() == ObjectKind::Shape) return;
    const Font& f = o->look().font;
    for (const Font& known : fonts)
      if (known.face == f.face && known.bold == f.bold && known.charset == f.charset) return;
    fonts.push_back(f);
  };
  for (const ScreenObject* o : controls.drawOrder()) add(o);
  for (const ScreenObject* b : controls.buttons()) add(b);
  return fonts;
}

std::optional<web::FaceUnits> readFaceUnits(const std::string& file, int index) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return std::nullopt;
  std::optional<web::FaceUnits> units;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) == 0) {
    if (FT_IS_SCALABLE(face)) units = web::FaceUnits{face->units_per_EM, face->ascender, face->descender};
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return units;
}

}  // namespace tessaly::manifest
