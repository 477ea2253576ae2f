// Score and extra lives, fixed bricks, lives and game over.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

// --- Score and extra lives ---

TEST_F(GameTest, FirstHitShowsTenPoints) {
  g.hitCell(6, 6);
  EXPECT_EQ(s.playerscore, 10);
  EXPECT_EQ(g.c().showscore.caption(), "000010");
  EXPECT_EQ(g.c().highscore.caption(), "000010");  // past the high score of 0
  EXPECT_EQ(s.bestscore, 10);
}

TEST_F(GameTest, HighScoreFollowsOnlyOnceTheScorePassesIt) {
  s.bestscore = 1200;
  g.c().highscore.setCaption("001200");
  g.form.updatescore();
  EXPECT_EQ(g.c().showscore.caption(), "000010");
  EXPECT_EQ(g.c().highscore.caption(), "001200");
  s.playerscore = 1200;
  g.form.updatescore();
  EXPECT_EQ(g.c().highscore.caption(), "001210");
  EXPECT_EQ(s.bestscore, 1210);
}

TEST_F(GameTest, ScoreLevelWithTheHighScoreDoesNotRaiseIt) {
  s.bestscore = 1200;  // the read-out still shows the zeros of start-up
  s.playerscore = 1190;
  g.form.updatescore();
  EXPECT_EQ(s.playerscore, 1200);
  EXPECT_EQ(s.bestscore, 1200);
  EXPECT_EQ(g.c().highscore.caption(), "000000");
}

TEST_F(GameTest, FiveHundredAndFirstHitAwardsALife) {
  for (int i = 0; i < 500; ++i) g.form.updatescore();
  EXPECT_EQ(s.bonuspoints, 5000);
  EXPECT_EQ(s.lives, 3);
  EXPECT_FALSE(g.c().life(3).visible());
  g.form.updatescore();
  EXPECT_EQ(s.bonuspoints, 10);
  EXPECT_EQ(s.lives, 4);
  EXPECT_EQ(s.playerscore, 5010);
  expectMarkers(g.c(), 4);
  for (int i = 0; i < 500; ++i) g.form.updatescore();
  EXPECT_EQ(s.lives, 5);  // the 1001st
  EXPECT_EQ(s.bonuspoints, 10);
}

TEST_F(GameTest, AwardWithEightLivesChangesNothing) {
  s.lives = 8;
  for (int i = 0; i < 8; ++i) g.c().life(i).setVisible(true);
  s.bonuspoints = 5000;
  g.form.updatescore();
  EXPECT_EQ(s.lives, 8);
  EXPECT_EQ(s.bonuspoints, 10);
  expectMarkers(g.c(), 8);
}

TEST_F(GameTest, AwardOnTheLastBallShowsTheFirstMarker) {
  s.lives = 0;
  for (int i = 0; i < 3; ++i) g.c().life(i).setVisible(false);
  s.bonuspoints = 5000;
  g.form.updatescore();
  EXPECT_EQ(s.lives, 1);
  expectMarkers(g.c(), 1);
}

TEST_F(GameTest, ScoresPastAMillionShowTheirLastSixDigits) {
  s.playerscore = 32760;
  g.form.updatescore();
  EXPECT_EQ(g.c().showscore.caption(), "032770");
  s.playerscore = 1234550;
  g.form.updatescore();
  EXPECT_EQ(s.playerscore, 1234560);
  EXPECT_EQ(g.c().showscore.caption(), "234560");
  EXPECT_EQ(g.c().highscore.caption(), "234560");
}

TEST_F(GameTest, ScoreAndHighScoreStopAtTheirCap) {
  s.playerscore = 2'047'483'640;
  s.bestscore = 2'047'483'640;
  g.hitCell(6, 6);
  EXPECT_EQ(s.playerscore, 2'047'483'647);
  EXPECT_EQ(s.bestscore, 2'047'483'647);
  EXPECT_EQ(g.c().showscore.caption(), "483647");
  EXPECT_EQ(g.c().highscore.caption(), "483647");
  g.hitCell(7, 6);
  EXPECT_EQ(s.playerscore, 2'047'483'647);
  EXPECT_EQ(s.bestscore, 2'047'483'647);
  EXPECT_EQ(s.bonuspoints, 20);
}

// --- Fixed bricks ---

class FixedBrickTest : public StrictGameTest {
 protected:
  void SetUp() override {
    StrictGameTest::SetUp();
    s.patternnum = 4;
    g.form.grid();
    ASSERT_EQ(s.cells[13][11], 9);  // the tip of the fixed centre
    s.playerscore = 4550;
    s.bestscore = 4550;
    g.c().showscore.setCaption("004550");
    g.c().highscore.setCaption("004550");
    g.random.push(0.2f);
    g.random.push(0.4f);
  }
};

TEST_F(FixedBrickTest, HitLeavesScoreAndHighScoreAsTheyWere) {
  g.setSpeeds(-60, 60);
  g.hitCell(13, 11);
  EXPECT_EQ(s.playerscore, 4550);
  EXPECT_EQ(g.c().showscore.caption(), "004550");
  EXPECT_EQ(s.bestscore, 4550);
  EXPECT_EQ(g.c().highscore.caption(), "004550");
  EXPECT_EQ(s.bonuspoints, 10);
  EXPECT_EQ(s.cells[13][11], 9);
  const ScreenObject& b = g.c().brick(brickNumber(13, 11));
  EXPECT_TRUE(b.visible());
  EXPECT_EQ(b.caption(), "!");
  EXPECT_EQ(b.backColor(), (Color{255, 255, 255}));
  EXPECT_EQ(s.brickcount, 100);
  // Bounced like any brick, both factors drawn anew.
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_DOUBLE_EQ(s.xjitter, jitterFor(0.2f));
  EXPECT_DOUBLE_EQ(s.yjitter, jitterFor(0.4f));
}

TEST_F(FixedBrickTest, HitStillCountsTowardsAnExtraLife) {
  s.bonuspoints = 5000;
  g.hitCell(13, 11);
  EXPECT_EQ(s.lives, 4);
  EXPECT_EQ(s.bonuspoints, 10);
  expectMarkers(g.c(), 4);
  EXPECT_EQ(s.playerscore, 4550);
}

// --- Lives and game over ---

TEST_F(GameTest, LostBallsPutMarkersOutInOrderThenTheGameEnds) {
  g.form.lostlife();
  expectMarkers(g.c(), 2);
  g.form.lostlife();
  expectMarkers(g.c(), 1);
  g.form.lostlife();
  expectMarkers(g.c(), 0);
  EXPECT_EQ(s.lives, 0);
  EXPECT_FALSE(g.c().gameover.visible());
  g.form.lostlife();
  EXPECT_EQ(s.lives, -1);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 0);
  EXPECT_EQ(g.c().Timer2.interval(), 0);
  EXPECT_FALSE(g.form.nextDue().has_value());
}

TEST_F(GameTest, LostBallWithEightLivesHidesTheEighthMarker) {
  s.lives = 8;
  for (int i = 0; i < 8; ++i) g.c().life(i).setVisible(true);
  g.form.lostlife();
  EXPECT_EQ(s.lives, 7);
  expectMarkers(g.c(), 7);
}

TEST_F(GameTest, GameOverFreezesPlay) {
  g.form.keyDown(key::Left);
  g.run(100);
  s.lives = 0;
  g.form.lostlife();
  const Rect ball = g.c().ball.bounds();
  const float paddle = g.c().paddle(0).left();
  g.form.keyDown(key::Right);
  g.form.keyDown(key::Up);
  g.run(2000);
  EXPECT_EQ(g.c().ball.bounds(), ball);
  EXPECT_EQ(g.c().paddle(0).left(), paddle);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
}

TEST_F(GameTest, LivesStopAtTheirFloor) {
  s.lives = -32768;
  g.putBall(3000, 7920);
  g.form.whereball();
  EXPECT_EQ(s.lives, -32768);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer2.interval(), 0);
}

TEST_F(GameTest, GameOverClickStartsANewGameKeepingTheHighScore) {
  s.bestscore = 1200;
  g.c().highscore.setCaption("001200");
  s.playerscore = 4550;
  g.form.updatescore();
  ASSERT_EQ(s.bestscore, 4560);
  s.patternnum = 3;
  s.levelnum = 3;
  s.lives = 0;
  g.form.lostlife();
  ASSERT_TRUE(g.c().gameover.visible());

  EXPECT_TRUE(g.form.click("gameover"));
  ASSERT_TRUE(g.form.isOpen());
  EXPECT_FALSE(g.c().gameover.visible());
  EXPECT_EQ(g.c().showscore.caption(), "000000");
  EXPECT_EQ(g.c().highscore.caption(), "004560");
  EXPECT_EQ(g.c().numbricks.caption(), "141");
  expectMarkers(g.c(), 3);
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.patternnum, 1);
  EXPECT_EQ(s.levelnum, 1);
  EXPECT_EQ(s.playerscore, 0);
  EXPECT_EQ(s.bonuspoints, 0);
  EXPECT_EQ(s.bestscore, 4560);
  EXPECT_EQ(g.c().brick.count(), 626);
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  expectBounds(g.c().ball, 3060, 7680, 120, 120);

  // The new game plays on the rebuilt window.
  g.form.keyDown(key::Left);
  g.run(50);
  EXPECT_LT(g.c().ball.top(), 7680);
}

TEST_F(GameTest, HiddenOrUnknownButtonsTakeNoClick) {
  EXPECT_FALSE(g.form.click("gameover"));
  EXPECT_FALSE(g.form.click("pause"));
  EXPECT_FALSE(g.form.click("nextlevel"));
  EXPECT_FALSE(g.form.click("board"));
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(g.random.timesSeeded(), 1);
}

TEST_F(GameTest, FreshPatternAfterGameOverKeepsPlayingWithoutLives) {
  s.lives = 0;
  g.form.lostlife();
  g.form.keyDown(key::F1);
  EXPECT_EQ(s.lives, -1);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.c().Timer2.interval(), 25);
  EXPECT_EQ(s.patternnum, 2);
  g.form.lostlife();
  EXPECT_EQ(s.lives, -2);
  EXPECT_TRUE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer2.interval(), 0);
}

}  // namespace
}  // namespace tessaly::test
