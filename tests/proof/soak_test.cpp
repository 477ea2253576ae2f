// An hour of game time headless: the automatic player plays 144,000 ball
// ticks through levels, extra lives and games over, with F1, F2 and pauses
// now and then, and every rule is checked after every event.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "harness/autoplayer.h"
#include "harness/invariants.h"
#include "harness/replay.h"

using namespace tessaly;

namespace {

constexpr std::uint64_t kBallTicks = 144'000;  // one hour at 25 ms
constexpr std::uint64_t kSeed = 2;

// Another run can be asked for with TESSALY_SOAK_SEED.
std::uint64_t soakSeed() {
  const char* text = std::getenv("TESSALY_SOAK_SEED");
  return text != nullptr ? std::strtoull(text, nullptr, 10) : kSeed;
}

// What a run's events added up to, and the first rule broken.
struct Tally {
  explicit Tally(const HeadlessGame& g) : lives(g.form().state.lives) {}

  void see(const HeadlessGame& g) {
    ++events;
    if (violation.empty()) {
      violation = checkInvariants(g.form());
      violationAt = g.now();
    }
    const GameState& s = g.form().state;
    const Controls& c = g.form().controls();
    if (c.nextlevel.visible() && !levelShown) ++levelsCleared;
    if (c.gameover.visible() && !overShown) ++gamesOver;
    const bool newGame = overShown && !c.gameover.visible();
    if (!newGame && s.lives > lives) livesWon += s.lives - lives;
    if (!newGame && s.lives < lives) ballsLost += lives - s.lives;
    if (s.playerscore > score) hits += (s.playerscore - score) / kHitPoints;
    levelShown = c.nextlevel.visible();
    overShown = c.gameover.visible();
    lives = s.lives;
    score = s.playerscore;
    topLevel = std::max(topLevel, s.levelnum);
    bestScore = s.bestscore;
  }

  long events = 0;
  long levelsCleared = 0;
  long livesWon = 0;
  long ballsLost = 0;
  long gamesOver = 0;
  long hits = 0;
  Integer topLevel = 1;
  std::int32_t bestScore = 0;
  std::string violation;
  TimeMs violationAt = 0;

 private:
  // What the last event left, to count what changed.
  int lives;
  Integer score = 0;
  bool levelShown = false;
  bool overShown = false;
};

// What the player does now and then between rallies: F1 and F2, a pause,
// and, since it seldom loses a ball of its own accord, letting every ball go
// until the game is over.
struct Interludes {
  static constexpr std::uint64_t kFunctionKeyEvery = 30'000;  // ticks: every 12 1/2 minutes
  static constexpr std::uint64_t kPauseEvery = 5'000;
  static constexpr std::uint64_t kGiveUpEvery = 40'000;

  void before(HeadlessGame& game, AutoPlayer& player) {
    if (!givingUp && game.ballTicks() >= nextGiveUp) {
      nextGiveUp += kGiveUpEvery;
      givingUp = true;
      player.setMissEvery(1);
    }
    if (givingUp && game.form().controls().gameover.visible()) {
      givingUp = false;
      player.setMissEvery(0);
    }
    if (game.ballTicks() >= nextFunctionKey) {
      nextFunctionKey += kFunctionKeyEvery;
      const int k = functionKeys++ % 2 == 0 ? key::F1 : key::F2;
      game.keyDown(k);
      game.keyUp(k);
    }
    if (game.ballTicks() >= nextPause) {
      nextPause += kPauseEvery;
      ++pauses;
      game.keyDown(key::P);
      game.runUntil(game.now() + 2000);  // the player comes back and clicks
    }
  }

  long functionKeys = 0;
  long pauses = 0;

 private:
  std::uint64_t nextFunctionKey = kFunctionKeyEvery;
  std::uint64_t nextPause = kPauseEvery;
  std::uint64_t nextGiveUp = kGiveUpEvery;
  bool givingUp = false;
};

TEST(Soak, AnHourOfPlayKeepsEveryRule) {
  const std::uint64_t seed = soakSeed();
  HeadlessGame game(seed);
  AutoPlayer player;
  Tally tally(game);
  game.observe([&](const HeadlessGame& g) { tally.see(g); });
  Interludes now;
  try {
    while (game.ballTicks() < kBallTicks && tally.violation.empty()) {
      now.before(game, player);
      perform(player.decide(game.form()), game);
      if (!game.runNextTick()) {
        // Play stopped: the player must have a button to click.
        ASSERT_FALSE(player.decide(game.form()).empty()) << "play stopped with nothing to click at " << game.now();
      }
    }
  } catch (const std::exception& e) {
    FAIL() << "exception at " << game.now() << " ms: " << e.what();
  }
  const long functionKeys = now.functionKeys;
  const long pauses = now.pauses;

  std::printf(
      "soak: seed %llu\n"
      "soak: %llu ball ticks (%.1f minutes of game time), %ld events checked\n"
      "soak: %ld levels cleared (highest level %lld), %ld lives won, %ld balls lost, %ld games over\n"
      "soak: %ld brick hits, high score %d, %ld F1/F2 presses, %ld pauses\n",
      static_cast<unsigned long long>(seed), static_cast<unsigned long long>(game.ballTicks()),
      static_cast<double>(game.now()) / 60000.0, tally.events, tally.levelsCleared,
      static_cast<long long>(tally.topLevel), tally.livesWon, tally.ballsLost, tally.gamesOver, tally.hits,
      tally.bestScore, functionKeys, pauses);

  EXPECT_EQ(tally.violation, "") << "at " << tally.violationAt << " ms";
  EXPECT_GE(game.ballTicks(), kBallTicks);
  // The run must have been through the whole game flow, not just rallies:
  // several levels, lives won and lost, games ended and begun again.
  EXPECT_GE(tally.levelsCleared, 3);
  EXPECT_GE(tally.topLevel, 3);
  EXPECT_GE(tally.livesWon, 1);
  EXPECT_GE(tally.ballsLost, 4);
  EXPECT_GE(tally.gamesOver, 2);
  EXPECT_GE(functionKeys, 4);
}

}  // namespace
