// libFuzzer target: the input bytes become a game, seeded and played by
// keys, clicks, time passing and spells of automatic play, with every rule of
// the game checked after every event. A broken rule, an object array read out
// of range or any other exception aborts the run as a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "harness/autoplayer.h"
#include "harness/invariants.h"
#include "harness/replay.h"

using namespace tessaly;

namespace {

// Reads the input a byte at a time; past its end it reads zeros.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

constexpr int kKeys[] = {key::Space, key::Left, key::Up, key::Right, key::Down, key::P, key::F1, key::F2, 65, 16};
constexpr const char* kButtons[] = {"pause", "gameover", "nextlevel"};
// Game time one input may take, so that each run stays short.
constexpr TimeMs kMaxGameTime = 30 * 1000;

[[noreturn]] void finding(const HeadlessGame& game, const std::string& what) {
  std::fprintf(stderr, "finding at %lld ms: %s\n", static_cast<long long>(game.now()), what.c_str());
  std::abort();
}

void check(const HeadlessGame& game) {
  const std::string violation = checkInvariants(game.form());
  if (!violation.empty()) finding(game, violation);
}

void play(Bytes& in) {
  std::uint64_t seed = 0;
  for (int i = 0; i < 4; ++i) seed = seed << 8 | in.next();
  HeadlessGame game(seed);
  check(game);
  game.observe(check);
  AutoPlayer player;
  while (!in.empty() && game.now() < kMaxGameTime) {
    const std::uint8_t op = in.next();
    const std::uint8_t arg = in.next();
    switch (op % 8) {
      case 0: game.keyDown(kKeys[arg % std::size(kKeys)]); break;
      case 1: game.keyUp(kKeys[arg % std::size(kKeys)]); break;
      case 2: game.click(kButtons[arg % std::size(kButtons)]); break;
      case 3: game.runUntil(game.now() + arg); break;  // any instant, between ticks too
      case 4: game.runUntil(game.now() + 25 * static_cast<TimeMs>(arg)); break;
      case 5:
        // A spell of automatic play: reaches cleared levels, extra lives and
        // games over that random keys alone seldom do.
        player.setMissEvery(arg % 4);
        for (int tick = 0; tick < 25 * (arg % 16 + 1); ++tick) {
          perform(player.decide(game.form()), game);
          if (!game.runNextTick()) break;
        }
        break;
      case 6:
        // A key pressed and held: the repeats come every 33 ms.
        for (int i = 0; i < arg % 16; ++i) {
          game.keyDown(kKeys[op / 8 % std::size(kKeys)]);
          game.runUntil(game.now() + 33);
        }
        game.keyUp(kKeys[op / 8 % std::size(kKeys)]);
        break;
      default: game.runNextTick(); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  try {
    play(in);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "finding: exception %s\n", e.what());
    std::abort();
  }
  return 0;
}
