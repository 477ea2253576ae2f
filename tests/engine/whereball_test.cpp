// The collision pass: the four brick probes, `lastcell`, the loss lines.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

// Cells of 100 x 100 and a ball 50 across; the ball is placed by its box
// relative to the board (x0, y0). Every draw must be scripted.
class ProbeTest : public StrictGameTest {
 protected:
  void SetUp() override {
    StrictGameTest::SetUp();
    s.cellwidth = 100;
    s.cellheight = 100;
    g.c().ball.setWidth(50);
    g.c().ball.setHeight(50);
    s.lastcell = 0;
  }
  void boxAt(float x0, float y0) { g.putBall(kBoardLeft + x0, kBoardTop + y0); }
  void expectRedraw() {
    g.random.push(0.2f);
    g.random.push(0.4f);
  }
  void expectRedrawn() {
    EXPECT_DOUBLE_EQ(s.xjitter, jitterFor(0.2f));
    EXPECT_DOUBLE_EQ(s.yjitter, jitterFor(0.4f));
    EXPECT_EQ(g.random.remaining(), 0u);
  }
};

TEST_F(ProbeTest, WorkedExampleLeftProbeHitsTheBrickBelow) {
  g.layOut({{7, 9, 2}});
  boxAt(640, 790);
  g.setSpeeds(0, -60);
  expectRedraw();
  g.form.whereball();
  // score(207, 7, 9, 1, 0): cell (7, 9) worn, brick 207 redrawn, sent right.
  EXPECT_EQ(s.cells[7][9], 1);
  EXPECT_EQ(g.c().brick(207).caption(), "1");
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.lastcell, 207);
  EXPECT_EQ(s.playerscore, 10);
  expectRedrawn();
}

TEST_F(ProbeTest, ProbeInTheLastExaminedCellDoesNotHit) {
  g.layOut({{7, 8, 2}});
  boxAt(640, 790);  // probe 1 in cell 182, probes 2 to 4 in 207
  s.lastcell = 182;
  g.form.whereball();  // no draw scripted: a hit would throw
  EXPECT_EQ(s.cells[7][8], 2);
  EXPECT_EQ(s.lastcell, 207);
  // The same ball a tick later: probe 1 now follows probe 4's cell.
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][8], 1);
  EXPECT_EQ(s.lastcell, 182);
}

TEST_F(ProbeTest, TickWithoutHitEndsOnTheBottomProbesCell) {
  boxAt(640, 760);  // probes 1 to 3 in cell 182, probe 4 in 207
  g.layOut({});
  g.form.whereball();
  EXPECT_EQ(s.lastcell, 207);
}

TEST_F(ProbeTest, BrickStillUnderTheBallIsNotHitTwice) {
  g.layOut({{7, 8, 2}, {7, 9, 1}});
  boxAt(640, 760);  // probes 1 to 3 in (7, 8), probe 4 in (7, 9)
  g.setSpeeds(60, 60);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][8], 1);
  EXPECT_EQ(s.ballyspeed, -60);

  expectRedraw();
  g.form.whereball();  // probes 1 to 3 pass over the worn brick; probe 4 hits the other
  EXPECT_EQ(s.cells[7][8], 1);
  EXPECT_EQ(s.cells[7][9], 0);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.lastcell, 207);
  EXPECT_EQ(s.playerscore, 20);
}

TEST_F(ProbeTest, OnlyTheFirstProbeInOrderHits) {
  g.layOut({{7, 8, 3}, {7, 9, 3}});
  boxAt(640, 790);  // top probe on (7, 8), the other three on (7, 9)
  g.setSpeeds(-60, 60);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][8], 2);
  EXPECT_EQ(s.cells[7][9], 3);
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.playerscore, 10);
  expectRedrawn();
}

TEST_F(ProbeTest, HitSetsTheDirectionRatherThanReversingIt) {
  g.layOut({{7, 8, 3}});
  boxAt(640, 790);
  g.setSpeeds(60, -60);  // already moving down
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
}

TEST_F(ProbeTest, BounceUsesTheBaseStepRoundedToEven) {
  g.layOut({{7, 9, 3}});
  s.ballstep = 60.5f;
  boxAt(640, 790);  // the left probe hits: sent right at 60.5
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.ballxspeed, 60.5);

  boxAt(640, 850);  // every probe in (7, 9); the top one hits first
  s.lastcell = 0;
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.ballyspeed, -60);  // -60.5 to even
}

TEST_F(ProbeTest, PointOnTopBoundaryBelongsToTheCellBelow) {
  g.layOut({{7, 9, 3}});
  boxAt(600, 800);  // the top probe lies on the line between rows 8 and 9
  g.setSpeeds(0, 60);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][9], 2);
  EXPECT_EQ(s.ballyspeed, -60);  // the top probe hit
  EXPECT_EQ(s.ballxspeed, 0.0);
}

TEST_F(ProbeTest, PointOnLeftBoundaryBelongsToTheCellRightOfIt) {
  g.layOut({{7, 9, 3}});
  boxAt(600, 790);  // the left probe lies on the line between columns 6 and 7
  g.setSpeeds(-60, 0);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.ballxspeed, 60.0);  // the left probe hit
}

TEST_F(ProbeTest, PointOnRightBoundaryBelongsToTheNextCell) {
  g.layOut({{7, 9, 3}});
  boxAt(550, 790);  // the right probe lies on the line between columns 6 and 7
  g.setSpeeds(60, 0);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][9], 2);
  EXPECT_EQ(s.ballxspeed, -60.0);  // the right probe hit
}

TEST_F(ProbeTest, PointOnBottomBoundaryBelongsToTheNextCell) {
  g.layOut({{7, 10, 3}});
  boxAt(640, 850);  // the bottom probe lies on the line between rows 9 and 10
  g.setSpeeds(0, -60);
  expectRedraw();
  g.form.whereball();
  EXPECT_EQ(s.cells[7][10], 2);
  EXPECT_EQ(s.ballyspeed, 60);
}

// A ball off the board (never reached in play) finds no brick and breaks nothing.
TEST_F(GameTest, ProbesOutsideTheCellTableCountAsEmpty) {
  const GameState before = s;
  for (auto [left, top] : {std::pair{7400.0f, 2100.0f},   // column 31, row 1
                           std::pair{-300.0f, 2100.0f},   // column -1
                           std::pair{3000.0f, 11000.0f},  // row 38
                           std::pair{-50000.0f, -1.0e6f}, std::pair{1.0e9f, 1.0e9f}}) {
    s.lastcell = 0;
    g.putBall(left, top);
    EXPECT_NO_THROW(g.form.whereball()) << left << "," << top;
    EXPECT_EQ(s.playerscore, 0);
    EXPECT_EQ(s.bonuspoints, 0);
    EXPECT_EQ(s.cells, before.cells);
    EXPECT_EQ(s.cellwidth, 240.0f);
  }
}

TEST_F(GameTest, ProbeOnTheBoardsOuterCellsIsEmpty) {
  g.putBall(20, 5000);  // the left probe falls in column 0
  g.form.whereball();
  EXPECT_EQ(s.playerscore, 0);
}

// Loss lines with the standard board, paddles centred.
TEST_F(GameTest, LossLinesOfTheFourEdges) {
  struct Case {
    float left, top;
    bool lost;
  };
  for (const Case& k :
       {Case{1000, 7920, true}, Case{1000, 7919, false}, Case{1000, 2160, true}, Case{1000, 2161, false},
        Case{120, 3000, true}, Case{121, 3000, false}, Case{6000, 3000, true}, Case{5999, 3000, false}}) {
    s.lives = 3;
    g.putBall(k.left, k.top);
    g.form.whereball();
    EXPECT_EQ(s.lives, k.lost ? 2 : 3) << k.left << "," << k.top;
    if (k.lost) {
      EXPECT_FALSE(g.c().life(2).visible());
      EXPECT_EQ(g.c().ball.top(), 7680);  // served again
      g.c().life(2).setVisible(true);
    }
  }
}

TEST_F(GameTest, LossTestsCompareSingleSums) {
  // 7920 + 119.99988 is 8039.99988, which as a single is 8040: lost.
  g.c().ball.setHeight(120.0f - 1.0f / 8192);
  g.putBall(1000, 7920);
  g.form.whereball();
  EXPECT_EQ(s.lives, 2);
}

TEST_F(GameTest, CornerBallOnTheLastLifeLosesTwice) {
  s.lives = 0;
  g.putBall(120, 2100);  // meets the top and the left loss lines
  g.form.whereball();
  EXPECT_EQ(s.lives, -2);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 0);
  EXPECT_EQ(g.c().Timer2.interval(), 0);
  EXPECT_EQ(g.c().ball.left(), 120);  // not served again
}

TEST_F(GameTest, LostBallWithSparesReadsTheServedBallForTheRemainingTests) {
  g.putBall(120, 2100);  // top and left, with lives to spare
  g.form.whereball();
  EXPECT_EQ(s.lives, 2);  // the served ball meets no further test
}

}  // namespace
}  // namespace tessaly::test
