// tessaly-font-manifest: which installed face the desktop game draws each of
// the game's fonts with, and that face's design units, as JSON on standard
// output. The web build serves the same faces from it.

#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "desktop_faces.h"
#include "frontend/desktop/font_book.h"

namespace {

using namespace tessaly;

std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

}  // namespace

int main(int, char**) {  // SDL's main on Windows
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "tessaly-font-manifest: %s\n", TTF_GetError());
    return 1;
  }
  int status = 0;
  {
    desktop::FontBook book;
    std::string json = "[\n";
    for (const Font& font : manifest::gameFonts()) {
      const desktop::FaceChoice* face = book.face(font);
      const auto units = face ? manifest::readFaceUnits(face->file, face->index) : std::nullopt;
      if (!units) {
        std::fprintf(stderr, "tessaly-font-manifest: no face for \"%.*s\"\n", static_cast<int>(font.face.size()),
                     font.face.data());
        status = 1;
        continue;
      }
      if (json.size() > 2) json += ",\n";
      json += "  {\"face\": " + quoted(font.face) + ", \"bold\": " + (font.bold ? "true" : "false") +
              ", \"charset\": " + std::to_string(font.charset) + ", \"family\": " + quoted(face->family) +
              ", \"file\": " + quoted(face->file) + ", \"index\": " + std::to_string(face->index) +
              ", \"syntheticBold\": " + (face->syntheticBold ? "true" : "false") +
              ", \"unitsPerEm\": " + std::to_string(units->unitsPerEm) +
              ", \"ascender\": " + std::to_string(units->ascender) +
              ", \"descender\": " + std::to_string(units->descender) + "}";
    }
    json += "\n]\n";
    std::fputs(json.c_str(), stdout);
  }
  TTF_Quit();
  return status;
}
