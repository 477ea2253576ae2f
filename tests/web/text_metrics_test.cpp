// The page places captions with line metrics worked out from a face's design
// units; the desktop takes them from SDL2_ttf. For every face the desktop
// draws the game's fonts with, at every size up to 4x, the two must agree.

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include "desktop_faces.h"
#include "frontend/core/painter.h"
#include "frontend/desktop/font_book.h"

using namespace tessaly;
using namespace tessaly::web;
using namespace tessaly::manifest;

TEST(WebTextMetrics, AgreeWithTheDesktopsForEveryFaceAndSize) {
  ASSERT_EQ(TTF_Init(), 0);
  {
    desktop::FontBook book;
    const auto fonts = gameFonts();
    EXPECT_EQ(fonts.size(), 6u);  // Arial bold, Times New Roman and its bold, Impact, MS Song, Lucida Handwriting
    for (const Font& font : fonts) {
      const desktop::FaceChoice* face = book.face(font);
      ASSERT_NE(face, nullptr) << font.face;
      const auto units = readFaceUnits(face->file, face->index);
      ASSERT_TRUE(units) << face->file;
      for (int pixels = 1; pixels <= 160; ++pixels) {
        TTF_Font* ttf = book.open(font, pixels);
        ASSERT_NE(ttf, nullptr);
        EXPECT_EQ(lineMetrics(*units, pixels), (LineMetrics{TTF_FontAscent(ttf), TTF_FontHeight(ttf)}))
            << face->file << " at " << pixels << " px";
      }
    }
  }
  TTF_Quit();
}

TEST(WebTextMetrics, RoundUpLikeFreeType) {
  const FaceUnits liberationSans{2048, 1854, -434};
  EXPECT_EQ(lineMetrics(liberationSans, 26), (LineMetrics{24, 30}));  // 23.54 and 29.05 pixels
  EXPECT_EQ(lineMetrics(liberationSans, 2048), (LineMetrics{1854, 2288}));
  EXPECT_EQ(lineMetrics({1000, 0, 0}, 12), (LineMetrics{0, 0}));
  EXPECT_EQ(lineMetrics({0, 800, -200}, 12), (LineMetrics{}));
  EXPECT_EQ(frontend::pixelSize(Font{"Arial", 7.5f, true, 0}, 1.0), 10);
  EXPECT_EQ(frontend::pixelSize(Font{"Arial", 19.5f, true, 0}, 1.5), 39);
  EXPECT_EQ(frontend::pixelSize(Font{"Impact", 21.75f, true, 0}, 2.0), 58);
}

TEST(WebTextMetrics, TextSitsWhereTheDesktopsRendererPutsIt) {
  const LineMetrics line{24, 30};
  // "000000" in Liberation Sans Bold at 26 px: glyphs on whole pixels, as wide as the advance.
  EXPECT_EQ(textBox({86.76, -1.1, 85.6, 18.9, 0.3}, line), (TextBox{0, 24, 86, 30}));
  // Ink past the advance widens the image; ink left of the pen moves the pen in.
  EXPECT_EQ(textBox({5.56, 0, 5.2, 7.1, 0}, {9, 12}), (TextBox{0, 9, 6, 12}));
  EXPECT_EQ(textBox({40.2, 1.3, 41.5, 18, 5}, line), (TextBox{2, 24, 44, 30}));
  // Ink above the ascent moves the baseline down; below the line, the image grows.
  EXPECT_EQ(textBox({50, 0, 50, 25.2, 7.5}, line), (TextBox{0, 26, 50, 34}));
}
