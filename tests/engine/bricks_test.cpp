// The five patterns, the brick grid, its colours and its count.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

Color colorOf(int v) {
  switch (v) {
    case 1: return {255, 0, 0};
    case 2: return {255, 127, 0};
    case 3: return {255, 255, 0};
    case 4: return {0, 255, 0};
    case 5: return {0, 255, 255};
    case 6: return {0, 0, 255};
    case 7: return {255, 255, 255};
    case 8: return {191, 191, 191};
    default: return {255, 255, 255};  // 9, fixed
  }
}

struct Totals {
  int pattern;
  int empty;
  int bricks;
  int fixed;
  int hits;
  const char* readout;
  // Shown by pattern in the test's name, not as the struct's raw bytes.
  friend void PrintTo(const Totals& t, std::ostream* os) { *os << "pattern " << t.pattern; }
};

class PatternTotals : public GameTest, public ::testing::WithParamInterface<Totals> {};

TEST_P(PatternTotals, LayoutMatchesTheTotalsTable) {
  const Totals t = GetParam();
  s.patternnum = t.pattern;
  g.form.grid();

  int empty = 0, bricks = 0, fixed = 0, hits = 0;
  for (int r = 1; r <= 25; ++r) {
    for (int col = 1; col <= 25; ++col) {
      const int v = s.cells[col][r];
      const ScreenObject& b = g.c().brick(brickNumber(col, r));
      const bool inPattern = r >= 6 && r <= 20 && col >= 6 && col <= 20;
      if (!inPattern) {
        EXPECT_EQ(v, 0);
      } else if (v == 0) {
        ++empty;
      } else if (v == 9) {
        ++fixed;
      } else {
        ++bricks;
        hits += v;
      }
      EXPECT_EQ(b.visible(), v > 0) << col << "," << r;
      if (v == 0) {
        EXPECT_EQ(b.caption(), "0") << col << "," << r;
      } else {
        EXPECT_EQ(b.caption(), v == 9 ? std::string("!") : std::to_string(v));
        EXPECT_EQ(b.backColor(), colorOf(v)) << col << "," << r;
      }
    }
  }
  EXPECT_EQ(empty, t.empty);
  EXPECT_EQ(bricks, t.bricks);
  EXPECT_EQ(fixed, t.fixed);
  EXPECT_EQ(hits, t.hits);
  EXPECT_EQ(g.shownBricks(), t.bricks + t.fixed);
  EXPECT_EQ(s.brickcount, t.bricks);
  EXPECT_EQ(s.bricktotal, t.bricks);
  EXPECT_EQ(g.c().numbricks.caption(), t.readout);
}

INSTANTIATE_TEST_SUITE_P(AllFive, PatternTotals,
                         ::testing::Values(Totals{1, 84, 141, 0, 141, "141"}, Totals{2, 0, 225, 0, 423, "225"},
                                           Totals{3, 86, 139, 0, 652, "139"}, Totals{4, 112, 100, 13, 472, "100"},
                                           Totals{5, 48, 137, 40, 565, "137"}),
                         [](const auto& info) { return "Pattern" + std::to_string(info.param.pattern); });

TEST_F(GameTest, BricksTileTheBoardCornerToCorner) {
  expectBounds(g.c().brick(1), 120, 2040, 240, 240);
  expectBounds(g.c().brick(25), 5880, 2040, 240, 240);
  expectBounds(g.c().brick(601), 120, 7800, 240, 240);
  expectBounds(g.c().brick(625), 5880, 7800, 240, 240);
  expectBounds(g.c().brick(brickNumber(13, 13)), 120 + 12 * 240, 2040 + 12 * 240, 240, 240);
  // The template is never placed, shown or changed.
  expectBounds(g.c().brick(0), 360, 2040, 1935, 855);
  EXPECT_FALSE(g.c().brick(0).visible());
  EXPECT_EQ(g.c().brick(0).caption(), "4");
}

TEST_F(GameTest, FixedBricksOfPatternFiveFormItsCentreCross) {
  s.patternnum = 5;
  g.form.grid();
  for (auto [col, row] : {std::pair{13, 12}, {12, 13}, {13, 13}, {14, 13}, {13, 14}}) {
    EXPECT_EQ(s.cells[col][row], 9);
    const ScreenObject& b = g.c().brick(brickNumber(col, row));
    EXPECT_TRUE(b.visible());
    EXPECT_EQ(b.caption(), "!");
    EXPECT_EQ(b.backColor(), (Color{255, 255, 255}));
  }
  EXPECT_EQ(g.shownBricks(), 177);
}

TEST_F(GameTest, EightBrickWearsDownThroughEveryColour) {
  s.patternnum = 4;
  g.form.grid();
  const ScreenObject& b = g.c().brick(brickNumber(13, 6));  // the 8 at the diamond's tip
  EXPECT_EQ(b.caption(), "8");
  EXPECT_EQ(b.backColor(), (Color{191, 191, 191}));
  for (int left = 7; left >= 1; --left) {
    g.hitCell(13, 6);
    EXPECT_EQ(s.cells[13][6], left);
    EXPECT_TRUE(b.visible());
    EXPECT_EQ(b.caption(), std::to_string(left));
    EXPECT_EQ(b.backColor(), colorOf(left)) << left;
    EXPECT_EQ(s.brickcount, 100);
  }
  g.hitCell(13, 6);
  EXPECT_EQ(s.cells[13][6], 0);
  EXPECT_FALSE(b.visible());
  EXPECT_EQ(b.caption(), "0");
  EXPECT_EQ(s.brickcount, 99);
  EXPECT_EQ(g.c().numbricks.caption(), "099");
  EXPECT_EQ(s.playerscore, 80);
}

TEST_F(GameTest, ThreeHitOnceTurnsOrangeAndStays) {
  g.layOut({{13, 13, 3}, {9, 9, 1}});
  ASSERT_EQ(s.brickcount, 2);
  g.hitCell(13, 13);
  const ScreenObject& b = g.c().brick(brickNumber(13, 13));
  EXPECT_EQ(s.cells[13][13], 2);
  EXPECT_TRUE(b.visible());
  EXPECT_EQ(b.caption(), "2");
  EXPECT_EQ(b.backColor(), (Color{255, 127, 0}));
  EXPECT_EQ(s.brickcount, 2);
  EXPECT_EQ(g.c().numbricks.caption(), "002");
  EXPECT_EQ(s.playerscore, 10);
}

TEST_F(GameTest, LastBreakableBrickEndsTheLevelOnce) {
  g.layOut({{13, 13, 1}, {12, 13, 9}, {14, 13, 9}});
  ASSERT_EQ(s.brickcount, 1);
  ASSERT_EQ(g.c().numbricks.caption(), "001");
  g.hitCell(13, 13);
  EXPECT_FALSE(g.c().brick(brickNumber(13, 13)).visible());
  EXPECT_EQ(s.brickcount, 0);
  EXPECT_EQ(g.c().numbricks.caption(), "000");
  EXPECT_EQ(s.levelnum, 2);  // nextlvl ran once
  EXPECT_TRUE(g.c().nextlevel.visible());
  EXPECT_TRUE(g.c().brick(brickNumber(12, 13)).visible());
  EXPECT_TRUE(g.c().brick(brickNumber(14, 13)).visible());
  EXPECT_EQ(g.c().Timer2.interval(), 0);
}

TEST_F(GameTest, LayoutInMidLevelStartsAFreshCountWithoutEndingTheLevel) {
  g.layOut({{13, 13, 1}});
  ASSERT_EQ(s.bricktotal, 1);
  g.form.loadpatterns();  // pattern 1 again
  g.form.grid();
  EXPECT_EQ(s.brickcount, 141);
  EXPECT_EQ(s.bricktotal, 141);
  EXPECT_EQ(g.shownBricks(), 141);
  EXPECT_EQ(s.levelnum, 1);
  EXPECT_FALSE(g.c().nextlevel.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 25);

  // Knocked-out bricks come back.
  g.hitCell(6, 6);  // pattern 1 starts with a 1 in its corner
  ASSERT_EQ(s.brickcount, 140);
  g.form.grid();
  EXPECT_TRUE(g.c().brick(brickNumber(6, 6)).visible());
  EXPECT_EQ(s.brickcount, 141);
  EXPECT_EQ(g.c().numbricks.caption(), "141");
}

TEST_F(GameTest, ColorbricksCountsUpOnlyDuringALayout) {
  s.bricktotal = 0;
  s.brickcount = 0;
  s.cells[13][13] = 4;
  g.form.colorbricks(brickNumber(13, 13), 13, 13);
  EXPECT_EQ(s.brickcount, 1);
  s.cells[13][13] = 9;
  g.form.colorbricks(brickNumber(13, 13), 13, 13);
  EXPECT_EQ(s.brickcount, 1);  // fixed bricks are not counted
  s.bricktotal = 5;
  s.cells[13][13] = 4;
  g.form.colorbricks(brickNumber(13, 13), 13, 13);
  EXPECT_EQ(s.brickcount, 1);  // in play a shown brick is not counted again
  EXPECT_EQ(g.c().brick(brickNumber(13, 13)).backColor(), (Color{0, 255, 0}));
}

}  // namespace
}  // namespace tessaly::test
