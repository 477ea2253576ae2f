// tessaly-face-pairs: a face cut down for the zip against the installed face
// it was cut from, both opened as font_book.cpp opens them (light hinting, the
// game's synthetic bold): every pair of the characters the cut face holds, at
// every pixel size from 6 to 48, must draw pixel for pixel the same, with the
// same line metrics. Kerning, hinting and embedded bitmaps are what cutting can
// lose, and each shows in a pair.
// Usage: tessaly-face-pairs INSTALLED INDEX CUT SYNTHETIC_BOLD(0|1)

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kSmallest = 6;
constexpr int kLargest = 48;

std::string utf8(Uint32 c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c < 0x800) return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
          static_cast<char>(0x80 | (c & 0x3F))};
}

std::string_view leaf(std::string_view path) { return path.substr(path.find_last_of("/\\") + 1); }

bool samePixels(SDL_Surface* a, SDL_Surface* b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (a->w != b->w || a->h != b->h) return false;
  for (int y = 0; y < a->h; ++y)
    if (std::memcmp(static_cast<const char*>(a->pixels) + y * a->pitch,
                    static_cast<const char*>(b->pixels) + y * b->pitch, static_cast<std::size_t>(a->w) * 4) != 0)
      return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {  // SDL's main on Windows
  if (argc != 5 || TTF_Init() != 0) {
    std::fprintf(stderr, "usage: tessaly-face-pairs INSTALLED INDEX CUT SYNTHETIC_BOLD(0|1)\n");
    return 2;
  }
  const char* files[2] = {argv[1], argv[3]};
  const long indexes[2] = {std::atol(argv[2]), 0};
  const bool bold = std::strcmp(argv[4], "1") == 0;
  std::vector<std::string> characters;
  int differ = 0;
  for (int pixels = kSmallest; pixels <= kLargest; ++pixels) {
    TTF_Font* fonts[2];
    for (int i = 0; i < 2; ++i) {
      fonts[i] = TTF_OpenFontIndex(files[i], pixels, indexes[i]);
      if (fonts[i] == nullptr) {
        std::fprintf(stderr, "tessaly-face-pairs: %s: %s\n", files[i], TTF_GetError());
        return 1;
      }
      TTF_SetFontStyle(fonts[i], bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
      TTF_SetFontHinting(fonts[i], TTF_HINTING_LIGHT);
    }
    if (characters.empty())
      for (Uint32 c = 0x20; c <= 0xFFFF; ++c)
        if (TTF_GlyphIsProvided32(fonts[1], c)) characters.push_back(utf8(c));
    if (TTF_FontHeight(fonts[0]) != TTF_FontHeight(fonts[1]) || TTF_FontAscent(fonts[0]) != TTF_FontAscent(fonts[1]) ||
        TTF_FontLineSkip(fonts[0]) != TTF_FontLineSkip(fonts[1])) {
      std::printf("%d px: the line metrics differ\n", pixels);
      ++differ;
    }
    for (const std::string& first : characters)
      for (const std::string& second : characters) {
        const std::string pair = first + second;
        SDL_Surface* drawn[2];
        for (int i = 0; i < 2; ++i) drawn[i] = TTF_RenderUTF8_Blended(fonts[i], pair.c_str(), {0, 0, 0, 255});
        if (!samePixels(drawn[0], drawn[1]) && ++differ <= 10)
          std::printf("%d px: \"%s\" differs\n", pixels, pair.c_str());
        SDL_FreeSurface(drawn[0]);
        SDL_FreeSurface(drawn[1]);
      }
    TTF_CloseFont(fonts[0]);
    TTF_CloseFont(fonts[1]);
  }
  TTF_Quit();
  if (characters.empty()) {
    std::printf("%s holds no character\n", files[1]);
    return 1;
  }
  if (differ > 0) {
    std::printf("%s: %d pairs or sizes draw otherwise than %s\n", files[1], differ, files[0]);
    return 1;
  }
  const std::string_view cut = leaf(files[1]);
  const std::string_view installed = leaf(files[0]);
  std::printf("%.*s: %zu characters, every pair as %.*s draws it at %d to %d px\n", static_cast<int>(cut.size()),
              cut.data(), characters.size(), static_cast<int>(installed.size()), installed.data(), kSmallest, kLargest);
  return 0;
}
