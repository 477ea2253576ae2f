#include <gtest/gtest.h>

#include "frontend/core/viewport.h"

using namespace tessaly;
using namespace tessaly::frontend;

TEST(WebViewport, TheCanvasKeepsTheClientAreasShapeAsLargeAsFits) {
  EXPECT_EQ(canvasSize(415, 543), (PixelSize{415, 543}));
  EXPECT_EQ(canvasSize(830, 1086), (PixelSize{830, 1086}));
  // Wide windows are limited by their height, tall ones by their width.
  EXPECT_EQ(canvasSize(1280, 720), (PixelSize{550, 720}));
  EXPECT_EQ(canvasSize(2560, 1440), (PixelSize{1101, 1440}));
  EXPECT_EQ(canvasSize(400, 2000), (PixelSize{400, 523}));
  EXPECT_EQ(canvasSize(0, 0), (PixelSize{4, 5}));  // no room: the smallest scale there is
}

TEST(WebViewport, ObjectsLandOnTheDesktopsPixelEdgesAtEveryScale) {
  const Viewport one = Viewport::fit(415, 543);
  EXPECT_EQ(one.scale(), 1.0);
  EXPECT_EQ(one.client(), (PixelRect{0, 0, 415, 543}));
  EXPECT_EQ(one.edges({120, 2040, 6000, 6000}), (PixelRect{8, 136, 400, 400}));  // the board
  const Viewport two = Viewport::fit(830, 1086);
  EXPECT_EQ(two.edges({120, 2040, 6000, 6000}), (PixelRect{16, 272, 800, 800}));
  EXPECT_EQ(two.pixels(1), 2);
  // Neighbours share their edge at an odd scale: no seam, no overlap.
  const Viewport odd = Viewport::fit(550, 720);
  const PixelRect a = odd.edges({1320, 3240, 240, 240});
  const PixelRect b = odd.edges({1560, 3240, 240, 240});
  EXPECT_EQ(a.x + a.w, b.x);
  // A window of another shape centres the client area.
  EXPECT_EQ(Viewport::fit(515, 543).client(), (PixelRect{50, 0, 415, 543}));
}

TEST(WebViewport, RepaintAreasGrowMergeAndCollapse) {
  const Viewport view = Viewport::fit(415, 543);
  std::vector<PixelRect> areas;
  Changes changes;
  changes.areas = {{1500, 1500, 150, 150}, {1575, 1575, 150, 150}, {4500, 6000, 150, 150}};
  repaintAreas(view, changes, 415, 543, areas);
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(areas[0], (PixelRect{98, 98, 19, 19}));  // the two overlapping ones as one, 2 pixels wider each way
  EXPECT_EQ(areas[1], (PixelRect{298, 398, 14, 14}));
  changes.areas = {{-300, -300, 150, 150}};  // outside the canvas: nothing
  repaintAreas(view, changes, 415, 543, areas);
  EXPECT_TRUE(areas.empty());
  changes.areas.clear();
  for (int i = 0; i < 13; ++i) changes.areas.push_back({300.0f * i, 0, 150, 150});
  repaintAreas(view, changes, 415, 543, areas);
  EXPECT_EQ(areas, (std::vector<PixelRect>{{0, 0, 252, 12}}));
  changes.everything = true;
  repaintAreas(view, changes, 415, 543, areas);
  EXPECT_EQ(areas, (std::vector<PixelRect>{{0, 0, 415, 543}}));
}
