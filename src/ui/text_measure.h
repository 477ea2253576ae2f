#pragma once
// Auto-size labels take the size of their caption. The front end measures with
// the real fonts; headless, a deterministic estimate stands in.

#include <string_view>

#include "ui/screen_object.h"

namespace tessaly {

struct TextSize {
  float width = 0;  // twips
  float height = 0;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual TextSize measure(const Font& font, std::string_view text) = 0;
};

// Every character as wide as a typical figure (0.55 em) and a line 1.15 em
// high, each rounded to whole pixels of 15 twips at 96 dpi. "000" in Arial
// 19.5 bold comes out at 630 x 450, the size the window gives `numbricks`.
class EstimatedTextMeasurer final : public TextMeasurer {
 public:
  TextSize measure(const Font& font, std::string_view text) override;
};

}  // namespace tessaly
