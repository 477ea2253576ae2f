// Levels, pause, F1 and F2.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

// --- Levels ---

TEST_F(GameTest, ClearingLevelOneOffersLevelTwo) {
  s.playerscore = 4550;
  g.layOut({{13, 13, 1}});
  g.hitCell(13, 13);
  EXPECT_TRUE(g.c().nextlevel.visible());
  EXPECT_EQ(g.c().nextlevel.caption(), "Level: 2");
  EXPECT_EQ(s.levelnum, 2);
  EXPECT_EQ(s.patternnum, 2);
  EXPECT_EQ(g.c().Timer1.interval(), 0);
  EXPECT_EQ(g.c().Timer2.interval(), 0);

  EXPECT_TRUE(g.form.click("nextlevel"));
  EXPECT_FALSE(g.c().nextlevel.visible());
  EXPECT_EQ(s.lives, 4);
  EXPECT_FALSE(g.c().life(3).visible());  // its marker comes with the next hit
  EXPECT_EQ(g.c().numbricks.caption(), "225");
  EXPECT_EQ(s.brickcount, 225);
  EXPECT_EQ(g.c().showscore.caption(), "004560");  // the score carries over
  EXPECT_EQ(s.playerscore, 4560);
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.form.nextDue(), g.clock.now() + 25);

  g.hitCell(6, 6);
  expectMarkers(g.c(), 4);
}

TEST_F(GameTest, LevelNumbersKeepCountingWhilePatternsWrap) {
  s.levelnum = 9;
  s.patternnum = 5;
  g.layOut({{10, 10, 1}});
  g.hitCell(10, 10);
  EXPECT_EQ(g.c().nextlevel.caption(), "Level: 10");
  EXPECT_EQ(s.patternnum, 1);
  g.form.click("nextlevel");
  EXPECT_EQ(g.c().numbricks.caption(), "141");
  g.layOut({{10, 10, 1}});
  g.hitCell(10, 10);
  EXPECT_EQ(g.c().nextlevel.caption(), "Level: 11");
  EXPECT_EQ(s.patternnum, 2);
}

TEST_F(GameTest, NewLevelLifeIsLostBeforeItsMarkerShows) {
  g.layOut({{13, 13, 1}});
  g.hitCell(13, 13);
  g.form.click("nextlevel");
  ASSERT_EQ(s.lives, 4);
  g.form.lostlife();
  EXPECT_EQ(s.lives, 3);
  expectMarkers(g.c(), 3);
}

TEST_F(GameTest, LevelButtonGivesNoLifeBeyondEight) {
  s.lives = 8;
  g.layOut({{13, 13, 1}});
  g.hitCell(13, 13);
  g.form.click("nextlevel");
  EXPECT_EQ(s.lives, 8);
}

TEST_F(GameTest, FreshPatternBetweenLevelsLeavesTheLevelButtonOffered) {
  g.layOut({{13, 13, 1}});
  g.hitCell(13, 13);
  ASSERT_EQ(s.patternnum, 2);
  g.form.keyDown(key::F1);
  EXPECT_EQ(s.patternnum, 3);
  EXPECT_TRUE(g.c().nextlevel.visible());
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.playerscore, 0);
  EXPECT_EQ(g.c().numbricks.caption(), "139");
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  g.form.click("nextlevel");
  EXPECT_EQ(s.lives, 4);
  EXPECT_EQ(g.c().numbricks.caption(), "139");
  EXPECT_EQ(s.levelnum, 2);
}

// --- Pause ---

TEST_F(GameTest, PauseStopsBothTimersUntilTheButtonIsClicked) {
  g.form.keyDown(key::Left);
  g.run(100);
  g.form.keyDown(key::P);
  EXPECT_TRUE(g.c().pause.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 0);
  EXPECT_EQ(g.c().Timer2.interval(), 0);
  const Rect ball = g.c().ball.bounds();
  const float paddle = g.c().paddle(0).left();
  g.form.keyDown(key::P);   // again: nothing changes
  g.form.keyDown(key::Up);  // the fields are set, nothing moves
  EXPECT_EQ(s.vdirection, 1);
  g.run(910);
  EXPECT_TRUE(g.c().pause.visible());
  EXPECT_EQ(g.c().ball.bounds(), ball);
  EXPECT_EQ(g.c().paddle(0).left(), paddle);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
  ASSERT_EQ(g.clock.now(), 1010);

  EXPECT_TRUE(g.form.click("pause"));
  EXPECT_FALSE(g.c().pause.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  EXPECT_EQ(g.form.nextDue(), 1035);
  g.run(24);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
  g.run(1);
  EXPECT_EQ(g.c().paddle(2).top(), 4440);
  EXPECT_NE(g.c().ball.bounds(), ball);
}

TEST_F(GameTest, FreshPatternWhilePausedRunsPlayWithTheButtonShown) {
  g.form.keyDown(key::P);
  g.form.keyDown(key::F1);
  EXPECT_TRUE(g.c().pause.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  g.run(10);
  EXPECT_TRUE(g.form.click("pause"));
  EXPECT_FALSE(g.c().pause.visible());
  EXPECT_EQ(g.c().Timer2.interval(), 25);
}

TEST_F(GameTest, PauseAfterGameOverThenResumeEndsTheGameAgainAtTheNextLoss) {
  s.lives = 0;
  g.form.lostlife();
  g.form.keyDown(key::P);
  EXPECT_TRUE(g.c().pause.visible());
  EXPECT_TRUE(g.c().gameover.visible());
  g.form.click("pause");
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  g.putBall(3000, 7920);
  g.form.whereball();
  EXPECT_EQ(s.lives, -2);
  EXPECT_EQ(g.c().Timer2.interval(), 0);
}

TEST_F(GameTest, PauseBetweenLevelsOnlyShowsTheButton) {
  g.layOut({{13, 13, 1}});
  g.hitCell(13, 13);
  ASSERT_TRUE(g.c().nextlevel.visible());
  g.form.keyDown(key::P);
  EXPECT_TRUE(g.c().pause.visible());
  EXPECT_TRUE(g.c().nextlevel.visible());
  EXPECT_FALSE(g.form.nextDue().has_value());
  EXPECT_EQ(s.patternnum, 2);
  EXPECT_EQ(s.levelnum, 2);
}

// --- F1 and F2 ---

TEST_F(GameTest, FunctionKeysStepThePatternAndWrap) {
  const int f1[] = {2, 3, 4, 5, 1};
  for (int expected : f1) {
    g.form.keyDown(key::F1);
    EXPECT_EQ(s.patternnum, expected);
  }
  g.form.keyDown(key::F2);
  EXPECT_EQ(s.patternnum, 5);
  g.form.keyDown(key::F2);
  EXPECT_EQ(s.patternnum, 4);
  EXPECT_EQ(g.c().numbricks.caption(), "100");
  EXPECT_EQ(s.levelnum, 1);
}

TEST_F(GameTest, FunctionKeyKeepsTheHighScoreAndStartsAFreshGame) {
  s.bestscore = 1200;
  g.c().highscore.setCaption("001200");
  s.playerscore = 4560;
  s.bonuspoints = 4560;
  s.lives = 5;
  g.form.keyDown(key::Space);
  g.form.keyDown(key::Left);
  g.run(250);  // the ball is served and the paddles move
  g.c().Timer1.setInterval(0);

  g.form.keyDown(key::F1);
  EXPECT_EQ(s.bestscore, 4560);
  EXPECT_EQ(g.c().highscore.caption(), "004560");
  EXPECT_EQ(g.c().showscore.caption(), "000000");
  EXPECT_EQ(s.playerscore, 0);
  EXPECT_EQ(s.bonuspoints, 0);
  EXPECT_EQ(s.lives, 5);
  EXPECT_EQ(s.paddlespeed, 1.5);
  EXPECT_EQ(s.hdirection, 0);
  EXPECT_EQ(g.c().numbricks.caption(), "225");
  expectBounds(g.c().paddle(0), 2640, 7800, 960, 180);
  expectBounds(g.c().ball, 3060, 7680, 120, 120);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.form.nextDue(), g.clock.now() + 25);

  s.playerscore = 100;  // below the high score now
  g.form.keyDown(key::F2);
  EXPECT_EQ(s.bestscore, 4560);
  EXPECT_EQ(g.c().highscore.caption(), "004560");
  EXPECT_EQ(s.patternnum, 1);
}

}  // namespace
}  // namespace tessaly::test
