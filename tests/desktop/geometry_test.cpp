// The pure parts of the front end: where twips land in pixels, how shapes
// are rasterised, which faces stand in for the game's, the display's scale.

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include "frontend/core/painter.h"
#include "frontend/core/shape_raster.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/display_scale.h"
#include "frontend/desktop/font_book.h"

using namespace tessaly;
using namespace tessaly::desktop;
using namespace tessaly::frontend;

TEST(Viewport, FifteenTwipsMakeOnePixelAtScaleOne) {
  const Viewport v = Viewport::atScale(1);
  EXPECT_EQ(v.client().w, 415);
  EXPECT_EQ(v.client().h, 543);
  const PixelRect board = v.edges({120, 2040, 6000, 6000});
  EXPECT_EQ(board.x, 8);
  EXPECT_EQ(board.y, 136);
  EXPECT_EQ(board.w, 400);
  EXPECT_EQ(board.h, 400);
}

TEST(Viewport, DoubleScaleDoublesEveryEdge) {
  const Viewport v = Viewport::atScale(2);
  EXPECT_EQ(v.client().w, 830);
  EXPECT_EQ(v.client().h, 1086);
  const PixelRect ball = v.edges({3060, 7680, 120, 120});
  EXPECT_EQ(ball.x, 408);
  EXPECT_EQ(ball.y, 1024);
  EXPECT_EQ(ball.w, 16);
  EXPECT_EQ(v.pixels(1), 2);
}

TEST(Viewport, NeighbouringBricksShareTheirEdgeAtAnyScale) {
  for (double scale : {1.0, 1.25, 1.37, 1.5, 2.0, 2.6}) {
    const Viewport v = Viewport::atScale(scale);
    for (int j = 0; j < 24; ++j) {
      const PixelRect a = v.edges({120.0f + 240.0f * j, 2040, 240, 240});
      const PixelRect b = v.edges({120.0f + 240.0f * (j + 1), 2040, 240, 240});
      EXPECT_EQ(a.x + a.w, b.x) << "scale " << scale << " column " << j;
    }
  }
}

TEST(Viewport, FitLetterboxesUniformlyAndCentres) {
  // Twice as wide as needed: the height decides, the sides are letterbox.
  const Viewport wide = Viewport::fit(1660, 1086);
  EXPECT_DOUBLE_EQ(wide.scale(), 2.0);
  EXPECT_EQ(wide.client().w, 830);
  EXPECT_EQ(wide.client().x, 415);
  EXPECT_EQ(wide.client().y, 0);
  const Viewport tall = Viewport::fit(415, 1000);
  EXPECT_DOUBLE_EQ(tall.scale(), 1.0);
  EXPECT_EQ(tall.client().y, (1000 - 543) / 2);
}

TEST(Viewport, PixelsMapBackToTwipsAndTheLetterboxToNothing) {
  const Viewport v = Viewport::fit(1660, 1086);
  const auto inside = v.toTwips(415, 0);
  ASSERT_TRUE(inside);
  EXPECT_NEAR(inside->x, 3.75f, 0.01f);
  EXPECT_FALSE(v.toTwips(414, 10));
  EXPECT_FALSE(v.toTwips(415 + 830, 10));
}

// The repaint skips objects outside an area's reach before rounding their
// edges: none it skips may have a pixel in the area, at any scale, even
// with edges a hair from rounding the other way.
TEST(Viewport, ReachHoldsEveryObjectWhosePixelsMeetTheArea) {
  for (double scale : {0.37, 1.0, 1.37, 2.0, 2.6}) {
    const Viewport v = Viewport::fit(static_cast<int>(415 * scale) + 31, static_cast<int>(543 * scale) + 8);
    const PixelRect area{v.client().x + 40, v.client().y + 90, 9, 5};
    const Rect reach = v.reach(area);
    for (float left = reach.left - 40; left < reach.right() + 40; left += 0.7f) {
      for (float top = reach.top - 40; top < reach.bottom() + 40; top += 0.9f) {
        const Rect b{left, top, 22.5f, 7.5f};
        if (!overlaps(v.edges(b), area)) continue;
        ASSERT_FALSE(b.left > reach.right() || b.right() < reach.left || b.top > reach.bottom() ||
                     b.bottom() < reach.top)
            << scale << " " << left << " " << top;
      }
    }
  }
}

namespace {
std::uint32_t alphaAt(const std::vector<std::uint32_t>& px, int w, int x, int y) {
  return px[static_cast<std::size_t>(y) * w + x] >> 24;
}
std::uint32_t rgbAt(const std::vector<std::uint32_t>& px, int w, int x, int y) {
  return px[static_cast<std::size_t>(y) * w + x] & 0xFFFFFF;
}
}  // namespace

TEST(ShapeRaster, CircleIsOpaqueInsideClearOutsideAndSmoothBetween) {
  const RasterShape ball{ShapeForm::Circle, 16, 16, 2, {0, 0, 255}, {0, 0, 0}};
  const auto px = rasteriseShape(ball);
  ASSERT_EQ(px.size(), 16u * 16u);
  EXPECT_EQ(alphaAt(px, 16, 8, 8), 255);
  EXPECT_EQ(rgbAt(px, 16, 8, 8), 0x0000FFu);  // blue fill in the middle
  EXPECT_EQ(alphaAt(px, 16, 0, 0), 0);        // the corner lies outside
  // The rim is partly covered: neither empty nor full somewhere on it.
  bool partial = false;
  for (int x = 0; x < 16; ++x) partial |= alphaAt(px, 16, x, 2) > 0 && alphaAt(px, 16, x, 2) < 255;
  EXPECT_TRUE(partial);
  // The outline is black, two pixels wide, on the left edge of the middle row.
  EXPECT_EQ(rgbAt(px, 16, 0, 8), 0u);
}

TEST(ShapeRaster, RoundedRectangleCutsItsCornersOnly) {
  const RasterShape paddle{ShapeForm::RoundedRectangle, 64, 12, 1, {255, 128, 0}, {0, 0, 0}};
  const auto px = rasteriseShape(paddle);
  EXPECT_LT(alphaAt(px, 64, 0, 0), 64);
  EXPECT_EQ(alphaAt(px, 64, 32, 0), 255);
  EXPECT_EQ(alphaAt(px, 64, 0, 6), 255);
  EXPECT_EQ(rgbAt(px, 64, 32, 6), 0xFF8000u);
  EXPECT_DOUBLE_EQ(cornerRadius(64, 12), 3.0);
}

// The logo's box, a standing paddle and a life marker at 1x, pixel for pixel:
// any change in how an edge or a corner covers a pixel shows here.
TEST(ShapeRaster, RoundedRectanglesKeepEveryPixel) {
  const auto digest = [](const RasterShape& shape) {
    std::uint64_t h = 14695981039346656037ull;
    for (const std::uint32_t p : rasteriseShape(shape)) h = (h ^ p) * 1099511628211ull;
    return h;
  };
  EXPECT_EQ(digest({ShapeForm::RoundedRectangle, 401, 41, 1, {192, 192, 192}, {0, 0, 0}}), 0x23b4bbcc2412ea9full);
  EXPECT_EQ(digest({ShapeForm::RoundedRectangle, 17, 129, 3, {255, 128, 0}, {0, 0, 0}}), 0x3bcb2de43eb5b59full);
  EXPECT_EQ(digest({ShapeForm::RoundedRectangle, 25, 9, 2, {255, 0, 0}, {0, 0, 0}}), 0x82000e09f49b445full);
}

TEST(ShapeRaster, EmptyShapeHasNoPixels) { EXPECT_TRUE(rasteriseShape({ShapeForm::Circle, 0, 5, 1, {}, {}}).empty()); }

TEST(DisplayScale, ReadsXftDpiFromTheResourceDatabase) {
  EXPECT_DOUBLE_EQ(xftDpi("Xcursor.size:\t24\nXft.dpi:\t192\nXft.antialias:\t1\n"), 192);
  EXPECT_DOUBLE_EQ(xftDpi("Xft.dpi: 120"), 120);
  EXPECT_DOUBLE_EQ(xftDpi("Xft.hinting:\t1\n"), 0);
  EXPECT_DOUBLE_EQ(xftDpi("Xft.dpi:\tlarge\n"), 0);
  EXPECT_DOUBLE_EQ(xftDpi(""), 0);
  EXPECT_DOUBLE_EQ(xftDpi(nullptr), 0);
}

TEST(Fonts, PointsAt96DotsPerInchScaledByTheWindow) {
  EXPECT_EQ(pixelSize({"Arial", 7.5f, true, 0}, 1.0), 10);
  EXPECT_EQ(pixelSize({"Arial", 19.5f, true, 0}, 1.0), 26);
  EXPECT_EQ(pixelSize({"Impact", 21.75f, true, 0}, 1.0), 29);
  EXPECT_EQ(pixelSize({"Arial", 7.5f, true, 0}, 2.0), 20);
  EXPECT_EQ(pixelSize({"Times New Roman", 27.75f, true, 0}, 1.5), 56);
}

TEST(Fonts, EveryFaceFallsBackToTheNamedStandInsThenAGenericFamily) {
  const auto impact = fallbackFamilies("Impact");
  EXPECT_EQ(impact.front(), "Impact");
  EXPECT_EQ(impact[1], "Roboto Condensed");
  EXPECT_EQ(impact.back(), "sans-serif");
  EXPECT_EQ(fallbackFamilies("Arial")[1], "Liberation Sans");
  EXPECT_EQ(fallbackFamilies("Times New Roman")[1], "Liberation Serif");
  EXPECT_EQ(fallbackFamilies("Lucida Handwriting")[1], "Dancing Script");
  EXPECT_EQ(fallbackFamilies("MS Song")[1], "AR PL UMing CN");
  EXPECT_EQ(fallbackFamilies("No Such Face").back(), "sans-serif");
}

class FontBookTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TTF_Init(), 0); }
  void TearDown() override { TTF_Quit(); }
};

TEST_F(FontBookTest, FindsTheInstalledStandIns) {
  FontBook fonts;
  const FaceChoice* arial = fonts.face({"Arial", 7.5f, true, 0});
  ASSERT_NE(arial, nullptr);
  EXPECT_EQ(arial->family, "Liberation Sans");
  EXPECT_FALSE(arial->syntheticBold);
  const FaceChoice* impact = fonts.face({"Impact", 21.75f, true, 0});
  ASSERT_NE(impact, nullptr);
  EXPECT_EQ(impact->family, "Roboto Condensed");
  EXPECT_FALSE(impact->syntheticBold);  // its own bold cut
  const FaceChoice* song = fonts.face({"MS Song", 24.0f, true, 134});
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->family, "AR PL UMing CN");
  EXPECT_TRUE(song->syntheticBold);  // the Ming face has no bold of its own
}

TEST_F(FontBookTest, AFaceNobodyHasStillOpensAndMeasures) {
  FontBook fonts;
  const Font missing{"Tessaly Nonexistent Face", 12.0f, false, 0};
  ASSERT_NE(fonts.face(missing), nullptr);
  EXPECT_NE(fonts.open(missing, 16), nullptr);
  TtfTextMeasurer measurer(fonts);
  const TextSize size = measurer.measure(missing, "000");
  EXPECT_GT(size.width, 0);
  EXPECT_GT(size.height, 0);
}

// A window dragged through many sizes asks for every face at each of them.
TEST_F(FontBookTest, KeepsAFewSizesOpenAndReopensOldOnes) {
  FontBook fonts;
  const Font heading{"Impact", 18.0f, true, 0};
  ASSERT_NE(fonts.open(heading, 10), nullptr);
  for (int pixels = 11; pixels < 200; ++pixels) ASSERT_NE(fonts.open(heading, pixels), nullptr);
  EXPECT_LE(fonts.openFonts(), 24u);
  TTF_Font* again = fonts.open(heading, 10);
  ASSERT_NE(again, nullptr);
  const int small = TTF_FontHeight(again);
  EXPECT_LT(small, TTF_FontHeight(fonts.open(heading, 199)));
}

TEST_F(FontBookTest, MeasuresInTwipsWithTheRealMetrics) {
  FontBook fonts;
  TtfTextMeasurer measurer(fonts);
  const Font readout{"Arial", 19.5f, true, 0};
  const TextSize three = measurer.measure(readout, "000");
  const TextSize six = measurer.measure(readout, "000000");
  // Whole pixels of 15 twips; six figures twice as wide as three.
  EXPECT_EQ(static_cast<int>(three.width) % 15, 0);
  EXPECT_EQ(static_cast<int>(three.height) % 15, 0);
  EXPECT_NEAR(six.width, 2 * three.width, 30);
  // A 26-pixel bold face: figures about 14 pixels wide, lines about 30 high.
  EXPECT_NEAR(three.width, 3 * 14.5 * 15, 60);
  EXPECT_NEAR(three.height, 30 * 15, 45);
}
