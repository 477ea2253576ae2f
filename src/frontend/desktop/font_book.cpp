#include "frontend/desktop/font_book.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "frontend/core/painter.h"

namespace tessaly::desktop {

namespace {

// Fonts kept open: the game's six faces at four sizes, those the window is
// drawn at and measured at (scale 1) and a size or two it has just left.
constexpr std::size_t kOpenFonts = 24;

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

bool isGeneric(std::string_view family) { return family == "sans-serif" || family == "serif" || family == "monospace"; }

bool opens(const InstalledFace& m) {
  TTF_Font* probe = TTF_OpenFontIndex(m.file.c_str(), 12, m.index);
  if (probe == nullptr) return false;
  TTF_CloseFont(probe);
  return true;
}

}  // namespace

std::vector<std::string> fallbackFamilies(std::string_view requested) {
  std::vector<std::string> list{std::string(requested)};
  auto add = [&list](std::initializer_list<const char*> names) { list.insert(list.end(), names.begin(), names.end()); };
  if (sameName(requested, "Arial")) {
    add({"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans", "sans-serif"});
  } else if (sameName(requested, "Times New Roman")) {
    add({"Liberation Serif", "Tinos", "Nimbus Roman", "DejaVu Serif", "serif"});
  } else if (sameName(requested, "Impact")) {
    // A condensed heavy face with lower case: the headings read "  Score",
    // not "SCORE", so a capitals-only display face will not do.
    add({"Roboto Condensed", "Nimbus Sans Narrow", "Liberation Sans Narrow", "DejaVu Sans Condensed", "sans-serif"});
  } else if (sameName(requested, "Lucida Handwriting")) {
    add({"Dancing Script", "Z003", "URW Chancery L", "serif"});
  } else if (sameName(requested, "MS Song")) {
    // A Song (Ming) face with the Chinese character set.
    add({"AR PL UMing CN", "AR PL UMing TW", "AR PL SungtiL GB", "Noto Serif CJK SC", "serif"});
  } else {
    add({"sans-serif"});
  }
  return list;
}

FontBook::~FontBook() {
  for (auto& [key, opened] : open_) TTF_CloseFont(opened.font);
}

const FaceChoice* FontBook::face(const Font& font) {
  for (const Asked& a : faces_)
    if (a.face == font.face && a.bold == font.bold && a.charset == font.charset) return a.chosen.get();

  std::unique_ptr<FaceChoice> chosen;
  for (const std::string& family : fallbackFamilies(font.face)) {
    const auto m = source_.best(family, font.bold, font.charset);
    if (!m) continue;
    const bool named = isGeneric(family) || std::any_of(m->families.begin(), m->families.end(),
                                                        [&](const std::string& f) { return sameName(f, family); });
    if (!named || !opens(*m)) continue;
    chosen = std::make_unique<FaceChoice>(
        FaceChoice{m->families.front(), m->file, m->index, font.bold && (m->embolden || !m->bold)});
    break;
  }
  return faces_.emplace_back(Asked{std::string(font.face), font.bold, font.charset, std::move(chosen)}).chosen.get();
}

TTF_Font* FontBook::open(const Font& font, int pixels) {
  const FaceChoice* choice = face(font);
  if (choice == nullptr) return nullptr;
  const auto key = std::make_tuple(choice, pixels);
  if (const auto known = open_.find(key); known != open_.end()) {
    known->second.lastUsed = ++uses_;
    return known->second.font;
  }
  // A window dragged through many sizes would keep every face open at each:
  // the one used longest ago is closed first.
  if (open_.size() >= kOpenFonts) {
    const auto oldest = std::min_element(
        open_.begin(), open_.end(), [](const auto& a, const auto& b) { return a.second.lastUsed < b.second.lastUsed; });
    TTF_CloseFont(oldest->second.font);
    open_.erase(oldest);
  }
  TTF_Font* opened = TTF_OpenFontIndex(choice->file.c_str(), pixels, choice->index);
  if (opened != nullptr) {
    TTF_SetFontStyle(opened, choice->syntheticBold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
    TTF_SetFontHinting(opened, TTF_HINTING_LIGHT);
  }
  open_.emplace(key, Opened{opened, ++uses_});
  return opened;
}

TextSize TtfTextMeasurer::measure(const Font& font, std::string_view text) {
  TTF_Font* ttf = fonts_.open(font, frontend::pixelSize(font, 1.0));
  if (ttf == nullptr) return fallback_.measure(font, text);
  int width = 0;
  int height = 0;
  const std::string caption(text);
  if (TTF_SizeUTF8(ttf, caption.c_str(), &width, &height) != 0) return fallback_.measure(font, text);
  const auto perPixel = static_cast<float>(frontend::kTwipsPerPixel);
  return {static_cast<float>(width) * perPixel, static_cast<float>(TTF_FontHeight(ttf)) * perPixel};
}

}  // namespace tessaly::desktop
