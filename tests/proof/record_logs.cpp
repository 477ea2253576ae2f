// Records the replay fixtures of the proof tests: plays each scenario
// headless, writes its input log and the digest its replay ends in.
// Usage: record_logs <directory>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "harness/autoplayer.h"
#include "harness/invariants.h"
#include "harness/replay.h"

using namespace tessaly;

namespace {

struct Recording {
  explicit Recording(std::uint64_t seed) : game(seed) {
    log.seed = seed;
    game.record(&log);
  }
  HeadlessGame game;
  InputLog log;
};

// Start-up, then a serve with the Left arrow and a few seconds of flight.
InputLog startupAndServe() {
  Recording r(1001);
  r.game.runUntil(500);
  r.game.keyDown(key::Left);
  r.game.runUntil(525);
  r.game.keyUp(key::Left);
  r.game.runUntil(1000);
  r.game.recordPass();
  return r.log;
}

// The automatic player clears the whole first level in one game, then takes
// the next level.
bool clearFirstLevel(std::uint64_t seed, InputLog& out) {
  Recording r(seed);
  AutoPlayer player;
  while (r.game.now() < 20 * 60 * 1000) {
    const Controls& c = r.game.form().controls();
    if (c.gameover.visible()) return false;
    if (c.nextlevel.visible()) {
      r.game.runUntil(r.game.now() + 1000);
      r.game.click("nextlevel");
      r.game.runUntil(r.game.now() + 1000);
      r.game.recordPass();
      out = r.log;
      return true;
    }
    perform(player.decide(r.game.form()), r.game);
    r.game.runNextTick();
  }
  return false;
}

// Every ball let go until the game is over, then a new game and its serve.
InputLog gameOverAndNewGame() {
  Recording r(1003);
  AutoPlayer player;
  player.setMissEvery(1);
  while (!r.game.form().controls().gameover.visible()) {
    perform(player.decide(r.game.form()), r.game);
    r.game.runNextTick();
  }
  r.game.runUntil(r.game.now() + 1500);
  r.game.click("gameover");
  r.game.runUntil(r.game.now() + 300);
  r.game.keyDown(key::Right);
  r.game.runUntil(r.game.now() + 100);
  r.game.keyUp(key::Right);
  r.game.runUntil(r.game.now() + 500);
  r.game.recordPass();
  return r.log;
}

// F1 and F2 in play and while paused, keys while paused, the pause button.
InputLog functionKeysAndPause() {
  Recording r(1004);
  HeadlessGame& g = r.game;
  AutoPlayer player;
  const auto play = [&](TimeMs ms) {
    const TimeMs end = g.now() + ms;
    while (g.now() < end) {
      perform(player.decide(g.form()), g);
      if (!g.runNextTick()) g.runUntil(end);
    }
  };
  play(8000);
  g.keyDown(key::F1);
  g.keyUp(key::F1);
  play(5000);
  g.keyDown(key::F1);
  g.keyDown(key::F1);  // held: the repeat steps again
  g.keyUp(key::F1);
  play(3000);
  g.keyDown(key::P);
  g.runUntil(g.now() + 1000);
  g.keyDown(key::Up);  // paused: directions are set but nothing moves
  g.keyDown(key::Space);
  g.runUntil(g.now() + 500);
  g.keyUp(key::Up);
  g.keyDown(key::F2);  // play runs again with the pause button still up
  g.keyUp(key::F2);
  g.runUntil(g.now() + 800);
  g.click("pause");
  play(3000);
  g.keyDown(key::P);
  g.keyDown(key::P);
  g.runUntil(g.now() + 700);
  g.click("pause");
  g.keyDown(key::F2);
  g.keyUp(key::F2);
  play(4000);
  g.recordPass();
  return r.log;
}

void write(const std::string& dir, const std::string& name, const InputLog& log) {
  std::string violation;
  const std::uint64_t d = replay(log, [&](const HeadlessGame& h) {
    if (violation.empty()) violation = checkInvariants(h.form());
  });
  if (!violation.empty()) std::fprintf(stderr, "%s: %s\n", name.c_str(), violation.c_str());
  std::ofstream(dir + "/" + name + ".log") << "# " << name << ": recorded by record_logs\n" << serialise(log);
  std::ofstream(dir + "/" + name + ".digest") << digestText(d) << "\n";
  std::printf("%s: %zu events, %lld ms, digest %s\n", name.c_str(), log.events.size(),
              static_cast<long long>(log.events.empty() ? 0 : log.events.back().at), digestText(d).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: record_logs <directory>\n");
    return 2;
  }
  const std::string dir = argv[1];
  write(dir, "startup_serve", startupAndServe());
  InputLog cleared;
  std::uint64_t seed = 2000;
  while (!clearFirstLevel(seed, cleared)) ++seed;
  std::printf("first level cleared in one game with seed %llu\n", static_cast<unsigned long long>(seed));
  write(dir, "cleared_level", cleared);
  write(dir, "gameover_newgame", gameOverAndNewGame());
  write(dir, "function_keys_pause", functionKeysAndPause());
  return 0;
}
