// The invariant checker must see each kind of broken rule, and must accept
// the one state that looks wrong but is the game's own: a life given by the
// level button whose marker waits for the next brick hit.

#include <gtest/gtest.h>

#include "game/numbers.h"
#include "harness/invariants.h"
#include "harness/replay.h"

using namespace tessaly;

namespace {

class Invariants : public ::testing::Test {
 protected:
  HeadlessGame game{5};
  Form1& form = game.form();
  GameState& s = form.state;
  Controls& c = form.controls();
  std::string check() { return checkInvariants(form); }
};

TEST_F(Invariants, HoldAfterStartUp) { EXPECT_EQ(check(), ""); }

TEST_F(Invariants, SeeTheBallLeaveTheBoard) {
  c.ball.move(s.boardleft - 1, 5000);
  EXPECT_NE(check().find("ball"), std::string::npos);
}

TEST_F(Invariants, SeeABallSpeedOffTheBaseStep) {
  s.ballxspeed = 61;
  EXPECT_NE(check().find("ballxspeed"), std::string::npos);
}

TEST_F(Invariants, SeePaddlesPartOrLeaveTheirTracks) {
  c.paddle(1).setLeft(c.paddle(0).left() + 1);
  EXPECT_NE(check().find("part"), std::string::npos);
  c.paddle(1).setLeft(c.paddle(0).left());
  c.paddle(3).setLeft(5881);
  EXPECT_NE(check().find("track"), std::string::npos);
  c.paddle(3).setLeft(5880);
  c.paddle(2).setTop(7081);
  c.paddle(3).setTop(7081);
  EXPECT_NE(check().find("leaves the board"), std::string::npos);
}

TEST_F(Invariants, SeeTheBrickCountDrift) {
  s.brickcount = 140;
  EXPECT_NE(check().find("brickcount"), std::string::npos);
  s.brickcount = 141;
  c.numbricks.setCaption("140");
  EXPECT_NE(check().find("numbricks"), std::string::npos);
}

TEST_F(Invariants, SeeBricksThatDisagreeWithTheirCells) {
  // Pattern 1 row 1 starts "11": grid cell (6, 6) is brick 131.
  c.brick(131).setVisible(false);
  EXPECT_NE(check().find("brick(131)"), std::string::npos);
  c.brick(131).setVisible(true);
  c.brick(131).setCaption("2");
  EXPECT_NE(check().find("brick(131)"), std::string::npos);
  c.brick(131).setCaption("1");
  c.brick(131).setBackColor({255, 127, 0});
  EXPECT_NE(check().find("colour"), std::string::npos);
}

TEST_F(Invariants, SeeCellsOutOfRange) {
  s.cells[6][6] = 10;
  EXPECT_NE(check().find("cells(6, 6)"), std::string::npos);
  s.cells[6][6] = 1;
  s.cells[3][3] = 1;
  EXPECT_NE(check().find("outside the pattern"), std::string::npos);
}

TEST_F(Invariants, SeeMarkersTheRulesDoNotAllow) {
  c.life(5).setVisible(true);
  EXPECT_NE(check().find("life(5)"), std::string::npos);
  c.life(5).setVisible(false);
  c.life(2).setVisible(false);
  EXPECT_NE(check().find("markers"), std::string::npos);
  c.life(2).setVisible(true);
  s.lives = 4;  // a life at level 1 with no marker: no rule gives that
  EXPECT_NE(check().find("markers"), std::string::npos);
}

TEST_F(Invariants, AcceptTheLevelLifeWhoseMarkerWaits) {
  form.nextlvl();
  EXPECT_EQ(check(), "");
  ASSERT_TRUE(game.click("nextlevel"));
  EXPECT_EQ(s.lives, 4);
  EXPECT_FALSE(c.life(3).visible());
  EXPECT_EQ(check(), "");
  // Once a brick is worn down the marker must show.
  s.cells[6][6] = 0;
  form.colorbricks(131, 6, 6);
  EXPECT_NE(check().find("markers"), std::string::npos);
}

TEST_F(Invariants, SeeLivesAboveEightAndGameOverWithoutItsButton) {
  s.lives = 9;
  EXPECT_NE(check().find("lives 9"), std::string::npos);
  s.lives = -1;
  for (int i = 0; i < 3; ++i) c.life(i).setVisible(false);
  EXPECT_NE(check().find("Game Over"), std::string::npos);
}

TEST_F(Invariants, SeeTimersOffTheirBeat) {
  c.Timer2.setInterval(30);
  EXPECT_NE(check().find("Interval"), std::string::npos);
  c.Timer2.setInterval(0);
  EXPECT_NE(check().find("Timer1 at 25 but Timer2 at 0"), std::string::npos);
  c.Timer1.setInterval(0);
  EXPECT_NE(check().find("no button"), std::string::npos);
  c.pause.setVisible(true);
  EXPECT_EQ(check(), "");
}

TEST_F(Invariants, SeeReadOutsThatDisagree) {
  s.playerscore = 20;
  s.bestscore = 20;
  c.highscore.setCaption(sixDigitText(20));
  c.showscore.setCaption("000040");
  EXPECT_NE(check().find("showscore"), std::string::npos);
  c.showscore.setCaption("000030");  // ten more is wrong too: a fixed brick scores nothing
  EXPECT_NE(check().find("showscore"), std::string::npos);
  c.showscore.setCaption("000020");
  EXPECT_EQ(check(), "");
  c.nextlevel.setCaption("Level: 3");
  EXPECT_NE(check().find("level button"), std::string::npos);
}

}  // namespace
