// The headings drawn in their own letters: "  Score" with its lower case
// and its two leading blanks, every heading inside its border, at 1x and 2x.
// A capitals-only stand-in for Impact ("SCORE") fails here.

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "frontend/desktop/font_book.h"
#include "frontend/desktop/offscreen_frame.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;

namespace {

// The navy of the "  Score" and " High" captions blended into the grey back:
// told from the black border, the red read-outs and the grey by its blue cast.
bool navyInk(Color c) { return c.b > c.r + 24 && c.b > c.g + 24; }

// Where a caption's ink lies, column by column, in frame pixels.
struct Ink {
  int left = -1;
  int right = -1;
  int top = 1 << 20;
  int bottom = -1;
  std::vector<int> columnTops;  // the topmost inked row of each inked column
};

Ink navyInkIn(const OffscreenFrame& f, const PixelRect& r) {
  Ink ink;
  for (int x = r.x; x < r.x + r.w; ++x) {
    int columnTop = -1;
    for (int y = r.y; y < r.y + r.h; ++y) {
      if (!navyInk(f.pixel(x, y))) continue;
      if (columnTop < 0) columnTop = y;
      ink.bottom = std::max(ink.bottom, y);
    }
    if (columnTop < 0) continue;
    if (ink.left < 0) ink.left = x;
    ink.right = x;
    ink.top = std::min(ink.top, columnTop);
    ink.columnTops.push_back(columnTop);
  }
  return ink;
}

class HeadingLetters : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override { ASSERT_EQ(TTF_Init(), 0); }
  void TearDown() override { TTF_Quit(); }
};

}  // namespace

TEST_P(HeadingLetters, ScoreIsWrittenInLowerCaseAfterTwoBlanksAndEveryHeadingFitsItsBorder) {
  const double scale = GetParam();
  FontBook fonts;
  TtfTextMeasurer measurer(fonts);
  ScriptedGame game({.seed = 3, .repeat = 0.25f}, measurer);
  Form1& form = game.form;
  form.open();
  OffscreenFrame frame(fonts, scale);
  frame.draw(form);
  frame.saveBmp("headings-" + std::to_string(static_cast<int>(scale)) + "x.bmp");

  const auto& c = form.controls();
  const int line = frame.viewport().pixels(1);
  const auto inside = [&](const ScreenObject& o) {
    const PixelRect r = frame.viewport().edges(o.bounds());
    return PixelRect{r.x + line, r.y + line, r.w - 2 * line, r.h - 2 * line};
  };

  // "  Score": the S stands a capital's height, c, o, r and e only an
  // x-height, so most inked columns start well below the word's top.
  ASSERT_EQ(c.Label3.caption(), "  Score");
  const PixelRect score = inside(c.Label3);
  const Ink word =
      navyInkIn(frame, {score.x, score.y, frame.viewport().edges(c.showscore.bounds()).x - score.x, score.h});
  ASSERT_GT(word.columnTops.size(), 20 * scale);
  const int capHeight = word.bottom - word.top + 1;
  const auto lowered = std::count_if(word.columnTops.begin(), word.columnTops.end(),
                                     [&](int top) { return top - word.top >= capHeight / 4; });
  EXPECT_GE(2 * lowered, static_cast<long>(word.columnTops.size()))
      << lowered << " of " << word.columnTops.size() << " inked columns below the capital's top";

  // The leading blanks keep their width: the first letter starts after them.
  const auto blanks = [&](const ScreenObject& o) {
    const auto n = o.caption().find_first_not_of(' ');
    return static_cast<int>(std::lround(measurer.measure(o.look().font, o.caption().substr(0, n)).width /
                                        frontend::kTwipsPerPixel * scale));
  };
  const Ink high = navyInkIn(frame, inside(c.Label7));
  ASSERT_GE(high.left, 0);
  for (const auto& [ink, label] : {std::pair{word, &c.Label3}, std::pair{high, &c.Label7}}) {
    const int offset = ink.left - inside(*label).x;
    EXPECT_GE(offset, blanks(*label) - static_cast<int>(scale)) << label->caption();
    EXPECT_LE(offset, blanks(*label) + static_cast<int>(4 * scale)) << label->caption();
  }

  // A caption taller or wider than its heading would be cut at the border:
  // the ring of pixels just inside every border shows only the grey back.
  for (const ScreenObject* label : {&c.Label3, &c.Label7, &c.Label2, &c.Label4}) {
    const PixelRect r = inside(*label);
    int inked = 0;
    for (int x = r.x; x < r.x + r.w; ++x)
      inked += (frame.pixel(x, r.y) != kFaceColor) + (frame.pixel(x, r.y + r.h - 1) != kFaceColor);
    for (int y = r.y; y < r.y + r.h; ++y)
      inked += (frame.pixel(r.x, y) != kFaceColor) + (frame.pixel(r.x + r.w - 1, y) != kFaceColor);
    EXPECT_EQ(inked, 0) << "ink at the border of \"" << label->caption() << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, HeadingLetters, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return std::to_string(static_cast<int>(info.param)) + "x"; });
