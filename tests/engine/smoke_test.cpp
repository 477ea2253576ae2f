#include <gtest/gtest.h>

#include "game/form1.h"
#include "game/virtual_time.h"

using namespace tessaly;

TEST(Smoke, OpensAndPlays) {
  VirtualClock clock;
  ScriptedRandom random;
  random.repeatWhenEmpty(0.0f);
  EstimatedTextMeasurer measurer;
  Form1 form(clock, random, measurer);
  form.open();
  EXPECT_EQ(form.state.lives, 3);
  EXPECT_EQ(form.state.brickcount, 141);
  EXPECT_EQ(form.controls().numbricks.caption(), "141");
  EXPECT_EQ(form.controls().ball.left(), 3060);
  EXPECT_EQ(form.controls().ball.top(), 7680);
  form.keyDown(key::Left);
  advance(form, clock, 1000);
  EXPECT_NE(form.controls().ball.top(), 7680);
}
