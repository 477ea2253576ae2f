// Only what moved is repainted: the tracker reports each changed object's old
// and new place, and everything when the objects were rebuilt.

#include <gtest/gtest.h>

#include "frontend/core/change_tracker.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::frontend;

namespace {
struct Game : ScriptedGame {
  Game() : ScriptedGame({.seed = 5, .repeat = 0.5f}) { form.open(); }
};
}  // namespace

TEST(ChangeTracker, FirstLookIsEverythingThenNothingUntilSomethingMoves) {
  Game g;
  ChangeTracker t;
  EXPECT_TRUE(t.collect(g.form.controls()).everything);
  EXPECT_TRUE(t.collect(g.form.controls()).none());
  g.advance(500);  // ticks with nothing to move
  EXPECT_TRUE(t.collect(g.form.controls()).none());
}

TEST(ChangeTracker, AMovedObjectGivesItsOldAndNewPlaceInOneArea) {
  Game g;
  ChangeTracker t;
  t.collect(g.form.controls());
  g.form.controls().ball.move(3000, 7000);
  const Changes& c = t.collect(g.form.controls());
  ASSERT_EQ(c.areas.size(), 1u);
  EXPECT_EQ(c.areas[0], (Rect{3000, 7000, 180, 800}));  // from (3060, 7680), 120 across
}

TEST(ChangeTracker, PaddlePairsAreTwoSmallAreasNotTheSpanBetweenThem) {
  Game g;
  ChangeTracker t;
  t.collect(g.form.controls());
  g.form.keyDown(key::Right);
  g.advance(25);
  g.form.keyUp(key::Right);
  const Changes& c = t.collect(g.form.controls());
  ASSERT_FALSE(c.everything);
  ASSERT_GE(c.areas.size(), 2u);
  for (const Rect& a : c.areas) EXPECT_LT(a.height, 400) << a.top;
}

TEST(ChangeTracker, ShownAndHiddenObjectsAndNewCaptionsCount) {
  Game g;
  ChangeTracker t;
  t.collect(g.form.controls());
  g.form.controls().life(0).setVisible(false);
  g.form.controls().showscore.setCaption("000010");
  g.form.controls().pause.setVisible(true);
  EXPECT_EQ(t.collect(g.form.controls()).areas.size(), 3u);
  // A hidden object that changes is not drawn: nothing to repaint.
  g.form.controls().life(5).setLeft(100);
  EXPECT_TRUE(t.collect(g.form.controls()).none());
}

TEST(ChangeTracker, ANewGameIsEverything) {
  Game g;
  ChangeTracker t;
  g.form.controls().ball.move(1000, 3000);
  g.form.controls().gameover.setVisible(true);
  t.collect(g.form.controls());
  g.form.close();
  g.form.open();
  // Rebuilt objects, even where the allocator puts the new window where the
  // old one lay: the old ball and button never stay drawn.
  const Changes& c = t.collect(g.form.controls());
  EXPECT_FALSE(c.none());
  EXPECT_TRUE(t.collect(g.form.controls()).none());
}

TEST(ChangeTracker, AnObjectMovedManyTimesIsOneAreaFromWhereItShowedToWhereItIs) {
  Game g;
  ChangeTracker t;
  Controls& c = g.form.controls();
  t.collect(c);
  for (int step = 1; step <= 40; ++step) c.ball.move(3060.0f - 10.0f * step, 7680.0f);
  c.ball.setVisible(false);
  c.ball.setVisible(true);
  EXPECT_EQ(c.changes().size(), 1u);
  const Changes& moved = t.collect(c);
  ASSERT_EQ(moved.areas.size(), 1u);
  EXPECT_EQ(moved.areas[0], (Rect{2660, 7680, 520, 120}));
  EXPECT_TRUE(c.changes().empty());
  // Made and restacked bricks change what lies in front of what.
  g.form.controls().bringToFront(c.ball);
  EXPECT_TRUE(t.collect(c).everything);
}
