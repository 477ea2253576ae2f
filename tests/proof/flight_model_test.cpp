// The automatic player predicts the ball with the engine's own rules: from a
// serve, its flight model must knock out the same bricks and reach the same
// paddle bands at the same ticks, to the bit, as the ball tick itself, and
// its turns there must leave the speeds the engine's leave. Every draw is
// 0.5, so each brick hit's fresh jitter is the model's mean.

#include <gtest/gtest.h>

#include <string>

#include "harness/autoplayer.h"
#include "harness/autoplayer_flight.h"
#include "harness/replay.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::autoplay;

namespace {

TEST(FlightModel, FliesAndTurnsTheBallAsTheBallTickDoes) {
  int turned = 0;
  double gained = 0;
  // The pairs stand at a few places along their tracks; each serve goes off
  // both ways, and the flight is followed from band to band.
  for (const float shift : {-1200.0f, 0.0f, 840.0f}) {
    for (const int arrow : {key::Left, key::Right}) {
      ScriptedGame game({.repeat = 0.5f});
      Form1& form = game.form;
      form.open();
      Controls& c = form.controls();
      for (int i : {0, 1}) c.paddle(i).setLeft(c.paddle(i).left() + shift);
      for (int i : {2, 3}) c.paddle(i).setTop(c.paddle(i).top() - shift);
      c.ball.setLeft(c.ball.left() + shift);
      ASSERT_EQ(form.state.xjitter, kMeanJitter);

      const Court court(form);
      BrickBoard board;
      board.reset(form.state);
      Flight f = Flight::of(form);
      serve(f, court, arrow);
      form.state.hdirection = arrow == key::Right ? 1 : 2;  // held for the serve; the paddles stand still
      int tick = 0;
      for (int leg = 0; leg < 6; ++leg) {
        const Leg flown = fly(f, tick, court, board);
        if (flown.end != End::AcrossTurn && flown.end != End::UprightTurn) break;
        for (; tick < flown.tick; ++tick) form.Timer2_Timer();
        const std::string where = "shift " + std::to_string(shift) + ", tick " + std::to_string(tick);
        ASSERT_EQ(c.ball.left(), f.left) << where;
        ASSERT_EQ(c.ball.top(), f.top) << where;
        ASSERT_EQ(form.state.lastcell, f.lastcell) << where;
        ASSERT_TRUE(form.state.cells == board.cells()) << where;

        const bool across = flown.end == End::AcrossTurn;
        const Flight before = f;
        turnOff(f, court, across, across ? court.acrossAt : court.uprightAt);
        ASSERT_EQ(form.state.ballxspeed, f.vx) << where;
        ASSERT_EQ(form.state.ballyspeed, f.vy) << where;
        gained += flown.gain;
        // A pair that does not span the ball lets it go: the model follows
        // turns, not lost balls.
        if (across ? f.vy == before.vy : f.vx == before.vx) break;
        ++turned;
      }
    }
  }
  // Rallies, not just serves: turns off the pairs, bricks on the way.
  EXPECT_GT(turned, 6);
  EXPECT_GT(gained, 5);
}

}  // namespace

// The fuzzer plays with the shortest look: it must still keep rallies going.
// Over these 200 s the full look loses 2 balls, one turn 5, and a player
// letting every ball go 169.
TEST(AutoPlayer, LookingOneTurnAheadStillMeetsMostBalls) {
  HeadlessGame game(5);
  AutoPlayer player;
  player.setLookahead(1);
  int lost = 0;
  while (game.ballTicks() < 8000) {
    perform(player.decide(game.form()), game);
    const int lives = game.form().state.lives;
    game.runNextTick();
    if (game.form().state.lives < lives) ++lost;
  }
  EXPECT_LE(lost, 8);
  EXPECT_GT(game.form().state.playerscore, 0);
}
