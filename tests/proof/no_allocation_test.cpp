// Nothing allocates in a tick: every operator new in this program is counted,
// and ticks of real play (brick hits, lost balls, cleared levels, extra
// lives) and the automatic player's decisions must add none.

#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "harness/autoplayer.h"
#include "harness/replay.h"

using namespace tessaly;
using tessaly::test::allocationsSoFar;

namespace {

// The counter itself: were it not linked in, or not counting, the zeros below
// would prove nothing.
TEST(NoAllocation, TheCounterSeesOneNewInt) {
  const long before = allocationsSoFar();
  // Stored through a volatile pointer, the allocation cannot be elided.
  int* volatile kept = new int(7);
  const long counted = allocationsSoFar() - before;
  delete kept;
  EXPECT_EQ(counted, 1);
}

TEST(NoAllocation, TicksOfPlayAndThePlayerAllocateNothing) {
  HeadlessGame game(31);
  AutoPlayer player;
  player.setMissEvery(9);
  long inTicks = 0;
  long inPlayer = 0;
  long ticks = 0;
  long hits = 0;
  long lost = 0;
  while (ticks < 40'000) {
    long before = allocationsSoFar();
    const auto actions = player.decide(game.form());
    inPlayer += allocationsSoFar() - before;
    // Clicks may build a new game (the window reopens): not a tick.
    perform(actions, game.form());
    const Integer score = game.form().state.playerscore;
    const int lives = game.form().state.lives;
    before = allocationsSoFar();
    const bool ticked = game.runNextTick();
    inTicks += allocationsSoFar() - before;
    if (ticked) ++ticks;
    if (game.form().state.playerscore > score) ++hits;
    if (game.form().state.lives < lives) ++lost;
  }
  EXPECT_GT(hits, 100);
  EXPECT_GT(lost, 3);
  EXPECT_EQ(inTicks, 0);
  EXPECT_EQ(inPlayer, 0);
}

}  // namespace
