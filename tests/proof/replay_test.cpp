// Recorded play replays to the bit: the fixtures' digests are checked in, so
// any change to how the game plays shows here, and a build that computes
// differently (Debug against Release, gcc against clang) fails too.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "game/numbers.h"
#include "harness/autoplayer.h"
#include "harness/invariants.h"
#include "harness/replay.h"

using namespace tessaly;

namespace {

std::string logPath(const std::string& name) { return std::string(TESSALY_LOG_DIR) + "/" + name; }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Replays a fixture with the invariants checked after every event, then
// returns the game for a look at where it ended.
struct Replayed {
  explicit Replayed(const std::string& name) : log(parseLog(readFile(logPath(name + ".log")))), game(log.seed) {
    game.observe([this](const HeadlessGame& g) {
      ++events;
      if (violation.empty()) violation = checkInvariants(g.form());
    });
    for (const InputEvent& e : log.events) game.apply(e);
    expected = readFile(logPath(name + ".digest"));
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
  }
  InputLog log;
  HeadlessGame game;
  std::string violation;
  std::string expected;
  long events = 0;
  const GameState& state() const { return game.form().state; }
  const Controls& controls() const { return game.form().controls(); }
};

class Fixture : public ::testing::TestWithParam<const char*> {};

TEST_P(Fixture, EndsInTheRecordedDigestWithEveryRuleHeld) {
  Replayed r(GetParam());
  EXPECT_EQ(r.violation, "");
  EXPECT_GT(r.events, 0);
  EXPECT_EQ(digestText(digest(r.game.form())), r.expected);
}

TEST_P(Fixture, ReplaysTwiceToTheSameDigest) {
  const InputLog log = parseLog(readFile(logPath(std::string(GetParam()) + ".log")));
  EXPECT_EQ(replay(log), replay(log));
}

TEST_P(Fixture, TextFormRoundTrips) {
  const InputLog log = parseLog(readFile(logPath(std::string(GetParam()) + ".log")));
  EXPECT_EQ(parseLog(serialise(log)), log);
}

INSTANTIATE_TEST_SUITE_P(Logs, Fixture,
                         ::testing::Values("startup_serve", "cleared_level", "gameover_newgame",
                                           "function_keys_pause"));

TEST(Fixtures, StartupAndServeSendsTheBallUpAndRightIntoTheBricks) {
  Replayed r("startup_serve");
  EXPECT_EQ(r.state().lives, 3);
  EXPECT_EQ(r.state().levelnum, 1);
  // Served up and right, then sent back down by the bottom row of bricks.
  EXPECT_EQ(r.state().ballxspeed, 60);
  EXPECT_EQ(r.state().ballyspeed, -60);
  EXPECT_EQ(r.state().playerscore, 10);
  EXPECT_EQ(r.state().brickcount, 140);
  EXPECT_GT(r.controls().ball.left(), 3060.0f);
}

TEST(Fixtures, ClearedLevelReachesLevelTwoWithItsLife) {
  Replayed r("cleared_level");
  EXPECT_EQ(r.state().levelnum, 2);
  EXPECT_EQ(r.state().patternnum, 2);
  EXPECT_EQ(r.state().bricktotal, 225);
  EXPECT_FALSE(r.controls().nextlevel.visible());
  EXPECT_EQ(r.controls().nextlevel.caption(), "Level: 2");
  EXPECT_GE(r.state().playerscore, 1410);
}

TEST(Fixtures, GameOverThenANewGameKeepsTheHighScore) {
  Replayed r("gameover_newgame");
  EXPECT_EQ(r.state().lives, 3);
  EXPECT_NE(r.state().ballyspeed, 0);
  EXPECT_FALSE(r.controls().gameover.visible());
  EXPECT_EQ(r.controls().highscore.caption(), sixDigitText(r.state().bestscore).view());
  EXPECT_EQ(r.state().patternnum, 1);
}

TEST(Fixtures, FunctionKeysAndPauseEndRunning) {
  Replayed r("function_keys_pause");
  // F1, F1 twice, F2, F2: back to pattern 2.
  EXPECT_EQ(r.state().patternnum, 2);
  EXPECT_FALSE(r.controls().pause.visible());
  EXPECT_EQ(r.controls().Timer1.interval(), 25);
  EXPECT_EQ(r.controls().Timer2.interval(), 25);
}

TEST(LogText, ParsesEveryKindOfEvent) {
  const InputLog log = parseLog(
      "# a comment\n"
      "tessaly-log 1\n"
      "seed 18446744073709551615\n"
      "\n"
      "0 down 37\n"
      "25 up 37\r\n"
      "25 click nextlevel\n"
      "1000 pass\n");
  EXPECT_EQ(log.seed, 18446744073709551615ULL);
  ASSERT_EQ(log.events.size(), 4u);
  EXPECT_EQ(log.events[0], (InputEvent{0, InputKind::KeyDown, 37, {}}));
  EXPECT_EQ(log.events[1], (InputEvent{25, InputKind::KeyUp, 37, {}}));
  EXPECT_EQ(log.events[2], (InputEvent{25, InputKind::Click, 0, "nextlevel"}));
  EXPECT_EQ(log.events[3], (InputEvent{1000, InputKind::Pass, 0, {}}));
}

TEST(LogText, RejectsWhatItCannotReplay) {
  const std::string head = "tessaly-log 1\nseed 1\n";
  for (const char* bad :
       {"", "tessaly-log 2\nseed 1\n", "seed 1\n", "tessaly-log 1\nseed x\n",
        "tessaly-log 1\nseed 1\n10 down 37\n5 up 37\n", "tessaly-log 1\nseed 1\n0 click start\n",
        "tessaly-log 1\nseed 1\n0 down 256\n", "tessaly-log 1\nseed 1\n0 down\n", "tessaly-log 1\nseed 1\n0 jump\n",
        "tessaly-log 1\nseed 1\n-5 pass\n", "tessaly-log 1\nseed 1\n0 pass now\n"})
    EXPECT_THROW(parseLog(bad), std::invalid_argument) << bad;
  EXPECT_NO_THROW(parseLog(head));
}

TEST(Digest, SeesEveryKindOfChange) {
  HeadlessGame a(7);
  HeadlessGame b(7);
  EXPECT_EQ(digest(a.form()), digest(b.form()));
  b.form().controls().brick(300).setCaption("x");
  EXPECT_NE(digest(a.form()), digest(b.form()));

  HeadlessGame c(7);
  c.form().state.xjitter = std::nextafter(c.form().state.xjitter, 0.0);
  EXPECT_NE(digest(a.form()), digest(c.form()));

  HeadlessGame d(7);
  d.form().controls().bringToFront(d.form().controls().ball);
  EXPECT_NE(digest(a.form()), digest(d.form()));

  HeadlessGame e(8);  // another seed draws other jitter
  EXPECT_NE(digest(a.form()), digest(e.form()));
}

TEST(Recording, ALogReplaysToTheGameItWasRecordedFrom) {
  InputLog log;
  log.seed = 99;
  HeadlessGame game(99);
  game.record(&log);
  AutoPlayer player;
  player.setMissEvery(3);
  while (game.ballTicks() < 6000) {
    perform(player.decide(game.form()), game);
    game.runNextTick();
  }
  game.click("nosuchbutton");  // not a button: not recorded
  game.recordPass();
  EXPECT_EQ(replay(parseLog(serialise(log))), digest(game.form()));
}

}  // namespace
