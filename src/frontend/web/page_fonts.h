#pragma once
// The faces the page serves for the game's fonts, with their line metrics,
// and the text measurer of auto-size labels built on them.

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "frontend/web/text_metrics.h"
#include "ui/screen_object.h"
#include "ui/text_measure.h"

namespace tessaly::web {

class PageFonts {
 public:
  struct Face {
    int index = -1;  // in the page's table; -1 for the generic stand-in
    FaceUnits units;
  };

  // The page's face for `font`, asked of the page once.
  const Face& face(const Font& font);
  LineMetrics metrics(const Font& font, int pixels);
  // Where the desktop would put `text`'s pixels; kept, as a caption is
  // drawn again and again.
  TextBox box(const Font& font, int pixels, std::string_view text);

 private:
  struct Known {
    Font font;
    Face face;
  };
  std::vector<Known> known_;
  // By face, weight, pixels and caption; looked up with a view of the caption.
  std::map<std::tuple<int, bool, int, std::string>, TextBox, std::less<>> boxes_;
};

// Auto-size labels measured with the served faces at scale 1, in twips: the
// caption's width and the face's line height, as on the desktop.
class PageTextMeasurer final : public TextMeasurer {
 public:
  explicit PageTextMeasurer(PageFonts& fonts) : fonts_(fonts) {}
  TextSize measure(const Font& font, std::string_view text) override;

 private:
  PageFonts& fonts_;
};

}  // namespace tessaly::web
