// The paddle tick and the keys that steer it.

#include "game_fixture.h"

namespace tessaly::test {
namespace {

class PaddleTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    g.c().Timer2.setInterval(0);  // the ball stays on its paddle
  }
  void ticks(int n) { g.run(25 * n); }
  float horizontal() { return g.c().paddle(0).left(); }
  float vertical() { return g.c().paddle(2).top(); }
};

TEST_F(PaddleTest, RightReachesTheEdgeInTwentyOneTicksAndStays) {
  g.form.keyDown(key::Right);
  ticks(1);
  EXPECT_EQ(horizontal(), 2760);
  ticks(20);
  EXPECT_EQ(horizontal(), 5160);
  EXPECT_EQ(g.c().paddle(1).left(), 5160);
  ticks(1);  // would be 5280, which passes the right edge
  EXPECT_EQ(horizontal(), 5160);
  ticks(10);
  EXPECT_EQ(horizontal(), 5160);
  EXPECT_EQ(g.c().paddle(1).left(), 5160);
  EXPECT_EQ(g.c().paddle(0).top(), 7800);  // the other coordinate never changes
  EXPECT_EQ(g.c().paddle(1).top(), 2160);
  EXPECT_EQ(s.paddlex[0], 5160.0);
  EXPECT_EQ(s.paddlex[1], 5160.0);
}

TEST_F(PaddleTest, LeftStopsOnTheLeftEdge) {
  g.form.keyDown(key::Left);
  ticks(21);
  EXPECT_EQ(horizontal(), 120);
  ticks(1);
  EXPECT_EQ(horizontal(), 120);
  EXPECT_EQ(g.c().paddle(1).left(), 120);
}

TEST_F(PaddleTest, UpReachesTheTopEdgeAndStays) {
  g.form.keyDown(key::Up);
  ticks(21);
  EXPECT_EQ(vertical(), 2040);
  EXPECT_EQ(g.c().paddle(3).top(), 2040);
  ticks(2);
  EXPECT_EQ(vertical(), 2040);
  EXPECT_EQ(g.c().paddle(3).top(), 2040);
  EXPECT_EQ(g.c().paddle(2).left(), 240);
  EXPECT_EQ(g.c().paddle(3).left(), 5880);
}

TEST_F(PaddleTest, DownReachesTheBottomEdgeAndStays) {
  g.form.keyDown(key::Down);
  ticks(21);
  EXPECT_EQ(vertical(), 7080);
  ticks(1);
  EXPECT_EQ(vertical(), 7080);
  EXPECT_EQ(g.c().paddle(3).top(), 7080);
  EXPECT_EQ(s.paddley[0], 7080);
  EXPECT_EQ(s.paddley[1], 7080);
}

TEST_F(PaddleTest, SpaceMakesTheStepHalfAsLongAgain) {
  g.form.keyDown(key::Space);
  g.form.keyDown(key::Right);
  EXPECT_EQ(s.paddlespeed, 1.5);
  ticks(1);
  EXPECT_EQ(horizontal(), 2820);
  ticks(13);
  EXPECT_EQ(horizontal(), 5160);  // 14 steps of 180 end exactly on the edge
  g.form.keyDown(key::Up);
  ticks(1);
  EXPECT_EQ(vertical(), 4380);
}

TEST_F(PaddleTest, VerticalStepRoundsToEvenHorizontalKeepsFractions) {
  s.ballstep = 60.25f;  // a step of 120.5
  g.c().paddle(2).setTop(3000);
  g.c().paddle(3).setTop(3001);
  s.vdirection = 2;
  s.hdirection = 1;
  g.form.Timer1_Timer();
  EXPECT_EQ(g.c().paddle(2).top(), 3120);  // 3120.5 to even
  EXPECT_EQ(g.c().paddle(3).top(), 3122);  // 3121.5 to even
  EXPECT_EQ(g.c().paddle(0).left(), 2760.5f);
  EXPECT_EQ(g.c().paddle(1).left(), 2760.5f);

  s.vdirection = 1;
  g.c().paddle(2).setTop(3000.5f);  // a fractional Top is rounded first: 3000
  g.c().paddle(3).setTop(3001.5f);  // 3002
  g.form.Timer1_Timer();
  EXPECT_EQ(g.c().paddle(2).top(), 2880);  // 2879.5 to even
  EXPECT_EQ(g.c().paddle(3).top(), 2882);  // 2881.5 to even
}

TEST_F(PaddleTest, FractionalPaddleStopsExactlyOnTheRightEdge) {
  s.ballstep = 60.25f;
  s.hdirection = 1;
  g.c().paddle(0).setLeft(5100);
  g.c().paddle(1).setLeft(5100);
  g.form.Timer1_Timer();
  EXPECT_EQ(g.c().paddle(0).left(), 5160);
  EXPECT_EQ(g.c().paddle(1).left(), 5160);
}

TEST_F(PaddleTest, KeyUpOfAnyKeyStopsBothPairs) {
  g.form.keyDown(key::Left);
  g.form.keyDown(key::Up);
  g.form.keyDown(key::Space);
  ticks(1);
  EXPECT_EQ(horizontal(), 2460);
  EXPECT_EQ(vertical(), 4380);
  g.form.keyUp('A');  // a key that does nothing going down
  EXPECT_EQ(s.hdirection, 0);
  EXPECT_EQ(s.vdirection, 0);
  EXPECT_EQ(s.paddlespeed, 1.0);
  ticks(3);
  EXPECT_EQ(horizontal(), 2460);
  EXPECT_EQ(vertical(), 4380);
}

TEST_F(PaddleTest, LastKeyDownWinsAndUnknownKeysDoNothing) {
  g.form.keyDown(key::Left);
  g.form.keyDown(key::Right);
  EXPECT_EQ(s.hdirection, 1);
  g.form.keyDown(key::Down);
  g.form.keyDown(key::Up);
  EXPECT_EQ(s.vdirection, 1);
  g.form.keyDown('A');
  g.form.keyDown(16);  // Shift
  EXPECT_EQ(s.hdirection, 1);
  EXPECT_EQ(s.vdirection, 1);
  EXPECT_EQ(s.paddlespeed, 1.0);
  EXPECT_FALSE(g.c().pause.visible());
  EXPECT_EQ(s.patternnum, 1);
}

}  // namespace
}  // namespace tessaly::test
