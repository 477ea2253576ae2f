// The paddle bands and the steering by thirds. Every draw must be scripted,
// so a paddle hit that touched the jitter factors would throw.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

class PaddleHitTest : public StrictGameTest {
 protected:
  // One collision pass with the ball at (left, top) and the given speeds.
  void pass(float left, float top, double xs, int ys) {
    g.putBall(left, top);
    g.setSpeeds(xs, ys);
    g.form.whereball();
  }
  // hitpaddle alone.
  void hit(float left, float top, double xs, int ys) {
    g.putBall(left, top);
    g.setSpeeds(xs, ys);
    g.form.hitpaddle();
  }
};

// Paddle 0 spans 2640..3600 (thirds at 2960 and 3280); a ball at Left 3060
// lies in its middle third, so a turn there sends it straight back.
TEST_F(PaddleHitTest, BottomBandIsBetween7680And7980) {
  pass(3060, 7680, 0, -60);  // resting on the paddle: not in the band
  EXPECT_EQ(s.ballyspeed, -60);
  pass(3060, 7681, 0, -60);
  EXPECT_EQ(s.ballyspeed, 60);
  pass(3060, 7919, 0, -60);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.lives, 3);

  s.lives = 0;  // past the loss line the game ends and keeps the speeds
  pass(3060, 7979, 0, -60);
  EXPECT_EQ(s.ballyspeed, 60);
  pass(3060, 7980, 0, -60);
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.xjitter, 1.0);
  EXPECT_EQ(s.yjitter, 1.0);
}

TEST_F(PaddleHitTest, TopBandIsBetween2160And2460) {
  pass(3060, 2161, 0, 60);
  EXPECT_EQ(s.ballyspeed, -60);
  pass(3060, 2459, 0, 60);
  EXPECT_EQ(s.ballyspeed, -60);
  pass(3060, 2460, 0, 60);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.lives, 3);
  s.lives = 0;
  pass(3060, 2160, 0, 60);  // on the loss line and out of the band
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_TRUE(g.c().gameover.visible());
}

// Paddles 2 and 3 span 4560..5520 (thirds at 4880 and 5200); a ball at Top
// 5000 lies in their middle third.
TEST_F(PaddleHitTest, LeftBandIsBetween120And420) {
  pass(121, 5000, -60, 0);
  EXPECT_EQ(s.ballxspeed, 60.0);
  pass(419, 5000, -60, 0);
  EXPECT_EQ(s.ballxspeed, 60.0);
  pass(420, 5000, -60, 0);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.lives, 3);
  s.lives = 0;
  pass(120, 5000, -60, 0);
  EXPECT_EQ(s.ballxspeed, -60.0);
}

TEST_F(PaddleHitTest, RightBandIsBetween5880And6180) {
  pass(5880, 5000, 60, 0);
  EXPECT_EQ(s.ballxspeed, 60.0);
  pass(5881, 5000, 60, 0);
  EXPECT_EQ(s.ballxspeed, -60.0);
  pass(5999, 5000, 60, 0);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.lives, 3);
  s.lives = 0;
  pass(6179, 5000, 60, 0);
  EXPECT_EQ(s.ballxspeed, -60.0);
  pass(6180, 5000, 60, 0);
  EXPECT_EQ(s.ballxspeed, 60.0);
}

TEST_F(PaddleHitTest, BandTestComparesSingleSums) {
  // 7680 + 120.0000076 is 7800 as a single: level with the paddle's top, not past it.
  g.c().ball.setHeight(120.0f + 1.0f / 131072);
  pass(3060, 7680, 0, -60);
  EXPECT_EQ(s.ballyspeed, -60);
}

TEST_F(PaddleHitTest, HorizontalPairSteersByThirds) {
  // Straight down onto the middle, the right and the left third.
  hit(3060, 7700, 0, -60);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, 60);
  hit(3200, 7700, 0, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  hit(2700, 7700, 0, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  // Left third: moving right it leaves left; moving left it keeps going.
  hit(2700, 7700, 60, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  hit(2700, 7700, -60, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  // Right third: moving left it leaves right.
  hit(3200, 7700, -60, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  hit(3200, 7700, 60, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  // The component across the paddle is always negated, even moving away.
  hit(3060, 7700, 0, 60);
  EXPECT_EQ(s.ballyspeed, -60);
}

TEST_F(PaddleHitTest, HorizontalEdgeExactlyOnAMark) {
  hit(2960, 7700, 0, -60);  // left edge on the first mark
  EXPECT_EQ(s.ballxspeed, 60.0);
  hit(2960, 7700, -60, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  hit(3160, 7700, 0, -60);  // right edge on the second mark
  EXPECT_EQ(s.ballxspeed, 60.0);
  hit(3160, 7700, -60, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
}

TEST_F(PaddleHitTest, BallOverTheEndOfThePaddleIsNotTurned) {
  hit(2640, 7700, 60, -60);  // left edges level
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, 60.0);
  hit(3480, 7700, 60, -60);  // right edges level
  EXPECT_EQ(s.ballyspeed, -60);
  pass(2600, 7700, 60, -60);  // in the band but over the end
  EXPECT_EQ(s.ballyspeed, -60);
}

TEST_F(PaddleHitTest, VerticalPairSteersByThirds) {
  hit(5900, 4600, 60, 0);  // upper third
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.ballyspeed, 60);
  hit(5900, 4600, 60, -60);
  EXPECT_EQ(s.ballyspeed, 60);
  hit(5900, 4600, 60, 60);
  EXPECT_EQ(s.ballyspeed, 60);
  hit(5900, 5000, 60, 60);  // middle third
  EXPECT_EQ(s.ballyspeed, 0);
  hit(5900, 5100, 60, 0);  // lower third
  EXPECT_EQ(s.ballyspeed, -60);
  hit(5900, 5100, 60, 60);
  EXPECT_EQ(s.ballyspeed, -60);
  hit(5900, 5100, 60, -60);
  EXPECT_EQ(s.ballyspeed, -60);
  hit(5900, 4880, 60, 0);  // top edge on the first mark
  EXPECT_EQ(s.ballyspeed, 60);
  hit(5900, 4880, 60, -60);
  EXPECT_EQ(s.ballyspeed, -60);
  hit(5900, 5080, 60, 0);  // lower edge on the second mark
  EXPECT_EQ(s.ballyspeed, 60);
  hit(5900, 4560, 60, 0);  // top edges level: not within the span
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, 0);
  hit(5900, 5400, 60, 0);  // lower edges level
  EXPECT_EQ(s.ballxspeed, 60.0);
}

TEST_F(PaddleHitTest, VerticalTurnGivesTheStepRoundedToEven) {
  s.ballstep = 60.5f;
  hit(5900, 4600, 60.5, 0);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.ballxspeed, -60.5);
}

TEST_F(PaddleHitTest, TwoBandsInOneTickTurnTwice) {
  g.c().paddle(0).setLeft(120);  // the horizontal pair at the far left
  g.c().paddle(1).setLeft(120);
  // Bands 0 and 2 both hold; the ball is in paddle 0's left third.
  pass(300, 7700, -60, -60);
  EXPECT_EQ(s.ballyspeed, -60);  // turned up, then down again
  EXPECT_EQ(s.ballxspeed, -60.0);
  pass(300, 7700, 60, -60);  // the third rule turns it left on the first call
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.xjitter, 1.0);
  EXPECT_EQ(s.yjitter, 1.0);
}

TEST_F(PaddleHitTest, LeftBandAlsoTurnsByTheHorizontalPairWhenWithinIt) {
  g.c().paddle(0).setLeft(120);
  g.c().paddle(1).setLeft(120);
  pass(300, 5000, 60, 60);
  // Block A: up turns down, the left third turns it left; block B: turned
  // right, middle third flattens it.
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, 0);
}

TEST_F(PaddleHitTest, BottomBandAlsoTurnsByTheVerticalPairWhenWithinIt) {
  g.c().paddle(2).setTop(7080);  // the vertical pair at the bottom
  g.c().paddle(3).setTop(7080);
  pass(3060, 7700, 0, -60);
  // Block A turns it up and straight; block B sees its lower third and sends it down.
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, -60);
}

TEST_F(PaddleHitTest, BallStillInTheBandIsTurnedEveryTick) {
  pass(3060, 7700, 0, -60);
  EXPECT_EQ(s.ballyspeed, 60);
  g.form.whereball();
  EXPECT_EQ(s.ballyspeed, -60);
}

}  // namespace
}  // namespace tessaly::test
