// Whole stretches of play on virtual time: keys, ticks and every draw 0, so
// the ball moves exactly 60 twips along each axis per tick.

#include "allocation_counter.h"
#include "game_fixture.h"

namespace tessaly::test {
namespace {

class ScenarioTest : public GameTest {
 protected:
  // Runs until `t` milliseconds after the window opened.
  void runUntil(TimeMs t) { g.run(t - g.clock.now()); }
  // Knocks out every brick of the layout except the one at (column, row),
  // the way hits do, one brick at a time.
  void clearAllBut(int column, int row) {
    for (int r = 6; r <= 20; ++r)
      for (int col = 6; col <= 20; ++col)
        if ((col != column || r != row) && s.cells[col][r] > 0 && s.cells[col][r] < 9) {
          s.cells[col][r] = 0;
          g.form.colorbricks(brickNumber(col, r), col, r);
        }
  }
};

// Served with Left, up and to the right: tick k puts the ball at
// (3060 + 60k, 7680 - 60k). The first tick also moves the paddles one step left.
TEST_F(ScenarioTest, ServedBallKnocksOutBricksAndTurnsOffThePaddle) {
  g.form.keyDown(key::Left);
  runUntil(25);
  g.form.keyUp(key::Left);
  EXPECT_EQ(g.c().paddle(0).left(), 2520);
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, 60);

  runUntil(450);
  EXPECT_EQ(s.playerscore, 0);
  runUntil(475);  // tick 19: the top probe meets the brick at (18, 19)
  EXPECT_EQ(s.playerscore, 10);
  EXPECT_EQ(g.c().showscore.caption(), "000010");
  EXPECT_EQ(s.cells[18][19], 0);
  EXPECT_FALSE(g.c().brick(brickNumber(18, 19)).visible());
  EXPECT_EQ(g.c().numbricks.caption(), "140");
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  expectBounds(g.c().ball, 4200, 6540, 120, 120);

  runUntil(525);  // tick 21: the right probe meets the brick at (19, 20)
  EXPECT_EQ(s.playerscore, 20);
  EXPECT_EQ(s.cells[19][20], 0);
  EXPECT_EQ(g.c().numbricks.caption(), "139");
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.ballyspeed, -60);

  runUntil(950);
  EXPECT_EQ(s.ballyspeed, -60);
  runUntil(975);  // tick 39: down onto the right third of paddle 0
  expectBounds(g.c().ball, 3240, 7740, 120, 120);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.playerscore, 20);
}

// Served with Right while the key stays down: the ball flies up and to the
// left, the paddles run off to the right, and the ball comes down beside them.
TEST_F(ScenarioTest, BallLostBesideThePaddlesIsServedAgain) {
  g.form.keyDown(key::Right);
  runUntil(475);  // tick 19: the top probe meets the brick at (8, 19)
  EXPECT_EQ(s.playerscore, 10);
  EXPECT_EQ(s.cells[8][19], 0);
  runUntil(550);  // tick 22: the left probe meets the brick at (7, 20)
  EXPECT_EQ(s.playerscore, 20);
  EXPECT_EQ(s.cells[7][20], 0);
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(g.c().paddle(0).left(), 5160);

  runUntil(1025);
  EXPECT_EQ(s.lives, 3);
  expectBounds(g.c().ball, 2880, 7860, 120, 120);
  runUntil(1050);  // tick 42: the ball's lower side reaches the board's edge
  EXPECT_EQ(s.lives, 2);
  EXPECT_FALSE(g.c().life(2).visible());
  EXPECT_TRUE(g.c().life(1).visible());
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  EXPECT_EQ(g.c().paddle(0).left(), 2640);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.hdirection, 0);

  runUntil(1200);  // the key is still down, but only its next repeat serves
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  g.form.keyDown(key::Right);
  runUntil(1225);
  EXPECT_EQ(s.ballxspeed, -60.0);
  expectBounds(g.c().ball, 3000, 7620, 120, 120);
  EXPECT_EQ(s.playerscore, 20);
}

TEST_F(ScenarioTest, ClearedLevelLeadsToTheNextPattern) {
  clearAllBut(18, 19);
  ASSERT_EQ(s.brickcount, 1);
  ASSERT_EQ(g.c().numbricks.caption(), "001");
  ASSERT_FALSE(g.c().nextlevel.visible());

  g.form.keyDown(key::Left);
  runUntil(25);
  g.form.keyUp(key::Left);
  runUntil(475);  // the last brick goes
  EXPECT_EQ(s.brickcount, 0);
  EXPECT_EQ(g.c().numbricks.caption(), "000");
  EXPECT_TRUE(g.c().nextlevel.visible());
  EXPECT_EQ(g.c().nextlevel.caption(), "Level: 2");
  EXPECT_EQ(s.patternnum, 2);
  EXPECT_FALSE(g.form.nextDue().has_value());
  const Rect frozen = g.c().ball.bounds();
  g.form.keyDown(key::Up);
  runUntil(1475);
  EXPECT_EQ(g.c().ball.bounds(), frozen);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
  g.form.keyUp(key::Up);

  ASSERT_TRUE(g.form.click("nextlevel"));
  EXPECT_EQ(s.lives, 4);
  EXPECT_EQ(g.c().numbricks.caption(), "225");
  g.form.keyDown(key::Left);
  runUntil(1500);
  g.form.keyUp(key::Left);
  runUntil(1825);
  EXPECT_FALSE(g.c().life(3).visible());
  runUntil(1850);  // tick 15 of the new level: the bottom row of pattern 2 is full
  EXPECT_EQ(s.playerscore, 20);
  EXPECT_EQ(s.cells[17][20], 0);
  EXPECT_TRUE(g.c().life(3).visible());
  EXPECT_EQ(g.c().numbricks.caption(), "224");
}

TEST_F(ScenarioTest, GameOverAndANewGame) {
  s.lives = 0;
  g.form.keyDown(key::Right);
  runUntil(1050);  // as above: the ball is lost at tick 42, the last one
  EXPECT_EQ(s.lives, -1);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(s.bestscore, 20);
  const Rect frozen = g.c().ball.bounds();
  expectBounds(g.c().ball, 2940, 7920, 120, 120);
  runUntil(2000);
  EXPECT_EQ(g.c().ball.bounds(), frozen);

  ASSERT_TRUE(g.form.click("gameover"));
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(g.c().highscore.caption(), "000020");
  EXPECT_EQ(g.c().showscore.caption(), "000000");
  EXPECT_EQ(g.c().numbricks.caption(), "141");
  g.form.keyDown(key::Right);
  runUntil(2475);
  EXPECT_EQ(s.playerscore, 10);
  runUntil(2550);
  EXPECT_EQ(s.playerscore, 20);  // level with the high score: not past it
  EXPECT_EQ(g.c().highscore.caption(), "000020");
  EXPECT_EQ(s.bestscore, 20);
}

TEST_F(ScenarioTest, PlayAllocatesNothing) {
  clearAllBut(18, 19);
  g.form.keyDown(key::Left);
  const long before = allocationsSoFar();
  runUntil(25);
  g.form.keyUp(key::Left);
  runUntil(475);              // hits, the level's end and its button caption
  g.form.click("nextlevel");  // the layout and the serve
  g.form.keyDown(key::Right);
  runUntil(3000);  // more hits, a lost ball
  g.form.keyDown(key::P);
  g.form.click("pause");
  const long during = allocationsSoFar() - before;
  EXPECT_EQ(during, 0);
  EXPECT_GT(s.playerscore, 10);
}

}  // namespace
}  // namespace tessaly::test
