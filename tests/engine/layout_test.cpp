// The board's edges and the sizes and places of paddles and ball.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

TEST_F(GameTest, StandardBoardGivesTheLayoutTable) {
  expectBounds(g.c().paddle(0), 2640, 7800, 960, 180);
  expectBounds(g.c().paddle(1), 2640, 2160, 960, 180);
  expectBounds(g.c().paddle(2), 240, 4560, 180, 960);
  expectBounds(g.c().paddle(3), 5880, 4560, 180, 960);
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  EXPECT_EQ(s.boardtop, 2040.0f);
  EXPECT_EQ(s.boardbottom, 8040.0f);
  EXPECT_EQ(s.boardleft, 120.0f);
  EXPECT_EQ(s.boardright, 6120);
  // The board itself never moves.
  expectBounds(g.c().board, 120, 2040, 6000, 6000);
}

TEST_F(GameTest, WiderBoardScalesPaddleLengthsFromTheCellWidth) {
  g.c().board.setWidth(6010);
  s.cellwidth = 6010 / 25.0f;  // what the brick set-up makes of this board
  ASSERT_FLOAT_EQ(s.cellwidth, 240.4f);
  g.form.sizeobjects();
  EXPECT_EQ(s.boardright, 6130);
  expectBounds(g.c().paddle(0), 2644.5f, 7800, 961, 180);
  expectBounds(g.c().paddle(1), 2644.5f, 2160, 961, 180);
  expectBounds(g.c().paddle(2), 240, 4559.5f, 180, 961);
  expectBounds(g.c().paddle(3), 5880, 4559.5f, 180, 961);
  expectBounds(g.c().ball, 3065, 7680, 120, 120);
}

TEST_F(GameTest, RightEdgeRoundsTiesToEven) {
  g.c().board.setLeft(120.5f);
  g.form.sizeobjects();
  EXPECT_EQ(s.boardright, 6120);
  EXPECT_EQ(s.boardleft, 120.5f);
  g.c().board.setLeft(121.5f);
  g.form.sizeobjects();
  EXPECT_EQ(s.boardright, 6122);
  g.c().board.setLeft(121.25f);
  g.form.sizeobjects();
  EXPECT_EQ(s.boardright, 6121);
}

TEST_F(GameTest, HighScoreShowsSixDigits) {
  s.bestscore = 1230;
  g.form.sizeobjects();
  EXPECT_EQ(g.c().highscore.caption(), "001230");
  s.bestscore = 1234560;
  g.form.sizeobjects();
  EXPECT_EQ(g.c().highscore.caption(), "234560");
}

TEST_F(GameTest, ServeRecentresPaddlesAndBallWhereverTheyWere) {
  g.c().paddle(0).setLeft(120);
  g.c().paddle(1).setLeft(120);
  g.c().paddle(2).setTop(2040);
  g.c().paddle(3).setTop(7080);
  g.putBall(500, 3000);
  s.hdirection = 2;
  s.vdirection = 1;
  g.setSpeeds(-60, 60);
  g.form.start();
  expectBounds(g.c().paddle(0), 2640, 7800, 960, 180);
  expectBounds(g.c().paddle(1), 2640, 2160, 960, 180);
  expectBounds(g.c().paddle(2), 240, 4560, 180, 960);
  expectBounds(g.c().paddle(3), 5880, 4560, 180, 960);
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  EXPECT_EQ(s.hdirection, 0);
  EXPECT_EQ(s.vdirection, 0);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_EQ(s.ballstep, 60.0f);
}

TEST_F(GameTest, ServeCentresOnTheBoardObjectNotTheStoredEdges) {
  g.c().board.setLeft(240);  // the stored edges still say 120
  g.form.start();
  EXPECT_EQ(g.c().paddle(0).left(), 2760);
  EXPECT_EQ(g.c().ball.left(), 3180);
  EXPECT_EQ(s.boardleft, 120.0f);
}

TEST_F(GameTest, ThicknessAndOffsetsComeFromTheCellHeight) {
  g.c().board.setHeight(5000);
  s.cellheight = 5000 / 25.0f;  // 200, while the cells stay 240 wide
  g.form.sizeobjects();
  EXPECT_EQ(s.boardbottom, 7040.0f);
  expectBounds(g.c().paddle(0), 2640, 6840, 960, 150);
  expectBounds(g.c().paddle(1), 2640, 2140, 960, 150);
  expectBounds(g.c().paddle(2), 220, 4060, 150, 960);
  expectBounds(g.c().paddle(3), 4920, 4060, 150, 960);
  expectBounds(g.c().ball, 3070, 6740, 100, 100);
}

// A measurer that makes every character 100 twips wide and every line 300 high.
class BlockMeasurer final : public TextMeasurer {
 public:
  TextSize measure(const Font&, std::string_view text) override {
    return {100.0f * static_cast<float>(text.size()), 300};
  }
};

TEST(AutoSize, AutoSizeLabelsTakeTheSizeOfTheirCaption) {
  BlockMeasurer measurer;
  ScriptedGame game({.repeat = 0.0f}, measurer);
  Form1& form = game.form;
  form.open();
  expectBounds(form.controls().numbricks, 5400, 840, 300, 300);  // "141"
  expectBounds(form.controls().showscore, 1320, 120, 1695, 495);
  form.controls().numbricks.setCaption("0001");
  EXPECT_EQ(form.controls().numbricks.width(), 400);
  EXPECT_EQ(form.controls().numbricks.left(), 5400);
}

}  // namespace
}  // namespace tessaly::test
