#pragma once
// The faces the game asks for, found among the installed fonts (font_source.h),
// and opened with SDL2_ttf at the pixel sizes they are drawn at. A face that
// is not installed falls back to the nearest one that is.

#include <SDL2/SDL_ttf.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "frontend/desktop/font_source.h"
#include "ui/screen_object.h"
#include "ui/text_measure.h"

namespace tessaly::desktop {

// The installed face that stands in for a requested one.
struct FaceChoice {
  std::string family;  // as installed
  std::string file;
  int index = 0;               // face within the file
  bool syntheticBold = false;  // bold asked for, but the face has no bold of its own
};

// The families to try for a requested face, nearest first, ending with a
// generic family that the font source always resolves to something. The one
// table of stand-ins on every platform: the Windows zip ships the faces it
// names that the Linux build draws with.
std::vector<std::string> fallbackFamilies(std::string_view requested);

class FontBook {
 public:
  FontBook() = default;  // SDL2_ttf must be initialised
  ~FontBook();
  FontBook(const FontBook&) = delete;
  FontBook& operator=(const FontBook&) = delete;

  // The face chosen for `font`, looked up once; null only when no installed
  // face can be opened at all.
  const FaceChoice* face(const Font& font);
  // The chosen face opened at an em size of `pixels`, kept open for reuse
  // until fonts of many other sizes have been asked for; valid until the
  // next call.
  TTF_Font* open(const Font& font, int pixels);
  std::size_t openFonts() const { return open_.size(); }

 private:
  FontSource source_;
  struct Asked {  // a face as the game asks for it
    std::string face;
    bool bold = false;
    int charset = 0;
    std::unique_ptr<FaceChoice> chosen;
  };
  // The game asks for a handful of faces, every caption of every frame: a
  // short list searched in order beats a tree.
  std::vector<Asked> faces_;
  struct Opened {
    TTF_Font* font = nullptr;
    std::uint64_t lastUsed = 0;
  };
  std::map<std::tuple<const FaceChoice*, int>, Opened> open_;
  std::uint64_t uses_ = 0;
};

// Auto-size labels measured with the real fonts at scale 1, in twips: the
// caption's advance width and the font's line height.
class TtfTextMeasurer final : public TextMeasurer {
 public:
  explicit TtfTextMeasurer(FontBook& fonts) : fonts_(fonts) {}
  TextSize measure(const Font& font, std::string_view text) override;

 private:
  FontBook& fonts_;
  EstimatedTextMeasurer fallback_;  // used only when no font can be opened at all
};

}  // namespace tessaly::desktop
