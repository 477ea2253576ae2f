// The serve, the ball's step and the four walls.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

TEST_F(StrictGameTest, LeftArrowServesUpAndToTheRight) {
  g.form.keyDown(key::Left);
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(g.c().ball.left(), 3120);  // the serving tick already moves the ball
  EXPECT_EQ(g.c().ball.top(), 7620);
}

TEST_F(StrictGameTest, RightArrowServesUpAndToTheLeft) {
  g.form.keyDown(key::Right);
  g.run(25);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(g.c().ball.left(), 3000);
  EXPECT_EQ(g.c().ball.top(), 7620);
}

TEST(Serve, FirstStepIsScaledByTheDrawnFactors) {
  Rig g(false);
  g.random.push(0.5f);
  g.random.push(0.999f);
  g.form.open();
  g.form.keyDown(key::Left);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.left(), 3118.5f);
  const float top = g.c().ball.top();
  EXPECT_EQ(top, static_cast<float>(7680 - 60 * jitterFor(0.999f)));
  EXPECT_GT(7680 - top, 57.0f);
  EXPECT_LE(7680 - top, 60.0f);
}

TEST_F(StrictGameTest, HalfTwipStepServesAnEvenVerticalSpeed) {
  s.ballstep = 60.5f;
  g.form.keyDown(key::Left);
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_EQ(s.ballxspeed, 60.5);
  g.random.push(0);
  g.random.push(0);
  g.form.start();
  s.ballstep = 60.5f;  // start sets it from the cell again
  g.form.keyDown(key::Right);
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballxspeed, -60.5);
}

TEST_F(StrictGameTest, UpAndDownNeverServe) {
  g.form.keyDown(key::Up);
  g.form.Timer2_Timer();
  g.form.keyDown(key::Down);
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_EQ(g.c().ball.left(), 3060);
  EXPECT_EQ(g.c().ball.top(), 7680);
  // The tick still ran the collision pass: the bottom probe's cell (13, 25).
  EXPECT_EQ(s.lastcell, 13 + 25 * 24);
}

TEST_F(StrictGameTest, ServeWaitsForTheArrowAfterALostBall) {
  g.form.keyDown(key::Left);
  g.form.Timer2_Timer();
  ASSERT_EQ(s.ballyspeed, 60);
  g.random.push(0);
  g.random.push(0);
  g.putBall(3000, 7920);  // on the bottom loss line
  g.form.whereball();
  EXPECT_EQ(s.lives, 2);
  EXPECT_EQ(s.hdirection, 0);  // the key is still held, but start cleared it
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_EQ(g.c().ball.top(), 7680);
  g.form.keyDown(key::Left);  // the key's next repeat
  g.form.Timer2_Timer();
  EXPECT_EQ(s.ballyspeed, 60);
}

// With no spare ball the loss that follows a wall ends the game and leaves the
// speeds as the wall set them.
class WallTest : public StrictGameTest {
 protected:
  void SetUp() override {
    StrictGameTest::SetUp();
    s.lives = 0;
  }
};

TEST_F(WallTest, LeftWallClampsFlipsAndRedrawsOnlyTheXFactor) {
  g.putBall(130, 5000);
  g.setSpeeds(-60, 0);
  g.random.push(0.2f);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.left(), 120);
  EXPECT_EQ(g.c().ball.top(), 5000);
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_DOUBLE_EQ(s.xjitter, jitterFor(0.2f));
  EXPECT_EQ(s.yjitter, 1.0);
  EXPECT_EQ(g.random.remaining(), 0u);
  EXPECT_TRUE(g.c().gameover.visible());
}

TEST_F(WallTest, RightWallPutsTheBallsRightSideOnTheEdge) {
  g.putBall(5990, 3000);
  g.setSpeeds(60, 0);
  g.random.push(0.4f);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.left(), 6000);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_DOUBLE_EQ(s.xjitter, jitterFor(0.4f));
  EXPECT_EQ(s.yjitter, 1.0);
}

TEST_F(WallTest, TopWallFlipsTheVerticalStepAndRedrawsTheYFactor) {
  g.putBall(1000, 2050);
  g.setSpeeds(0, 60);
  g.random.push(0.6f);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.top(), 2040);
  EXPECT_EQ(g.c().ball.left(), 1000);
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.xjitter, 1.0);
  EXPECT_DOUBLE_EQ(s.yjitter, jitterFor(0.6f));
}

TEST_F(WallTest, BottomWallPutsTheBallsLowerSideOnTheEdge) {
  g.putBall(1000, 7900);
  g.setSpeeds(0, -60);
  g.random.push(0.8f);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.top(), 7920);
  EXPECT_EQ(s.ballyspeed, 60);
  EXPECT_DOUBLE_EQ(s.yjitter, jitterFor(0.8f));
}

TEST_F(WallTest, CornerDrawsForTheSideWallFirst) {
  g.putBall(125, 2045);
  g.setSpeeds(-60, 60);
  g.random.push(0.2f);
  g.random.push(0.6f);
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.left(), 120);
  EXPECT_EQ(g.c().ball.top(), 2040);
  EXPECT_EQ(s.ballxspeed, 60.0);
  EXPECT_EQ(s.ballyspeed, -60);
  EXPECT_DOUBLE_EQ(s.xjitter, jitterFor(0.2f));
  EXPECT_DOUBLE_EQ(s.yjitter, jitterFor(0.6f));
  // Both the top and the left loss tests held: two lost balls.
  EXPECT_EQ(s.lives, -2);
}

TEST_F(WallTest, TouchingAWallIsNotABounce) {
  g.putBall(180, 5000);
  g.setSpeeds(-60, 0);
  g.form.Timer2_Timer();  // no draw scripted: a bounce would throw
  EXPECT_EQ(g.c().ball.left(), 120);
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_TRUE(g.c().gameover.visible());  // but the loss test takes it
}

TEST_F(StrictGameTest, FreeFlightDrawsNothingAndUsesTheFactors) {
  g.putBall(1000, 5000);
  g.setSpeeds(-60, -60);
  s.xjitter = 0.96;
  s.yjitter = 0.98;
  g.form.Timer2_Timer();
  EXPECT_EQ(g.c().ball.left(), static_cast<float>(1000 - 60 * 0.96));
  EXPECT_EQ(g.c().ball.top(), static_cast<float>(5000 + 60 * 0.98));
  EXPECT_EQ(s.ballxspeed, -60.0);
  EXPECT_EQ(s.ballyspeed, -60);
}

TEST_F(StrictGameTest, StoppedBallTimerFreezesTheBall) {
  g.putBall(1000, 5000);
  g.setSpeeds(60, 60);
  g.c().Timer2.setInterval(0);
  g.run(500);
  EXPECT_EQ(g.c().ball.left(), 1000);
  EXPECT_EQ(g.c().ball.top(), 5000);
  EXPECT_EQ(s.ballxspeed, 60.0);
}

}  // namespace
}  // namespace tessaly::test
