#pragma once
// One game on virtual time, for tests, fuzzers, benchmarks and replays: the
// clock, the draws and the text measurer, then the window that holds on to
// all three, built in that order and gone in the reverse one.
//
//   ScriptedGame g({.seed = 5, .repeat = 0.5f});  // any draw not pushed is 0.5
//   g.random.push(0.25f);                         // ... but the first is 0.25
//   g.form.open();                                // start-up takes its draws
//   g.advance(500);                               // every tick of 500 ms, in order
//
//   SeededGame bench({.seed = 42});               // the standard generator, as the real game draws
//   ScriptedGame shown({.seed = 3}, ttfMeasurer); // the caller's measurer (real fonts), which must outlive it
//
// The window is not opened here: some callers script draws or attach a
// window to it first.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <type_traits>

#include "base/platform.h"
#include "game/form1.h"
#include "harness/scripted_random.h"
#include "harness/virtual_time.h"
#include "ui/text_measure.h"

namespace tessaly {

struct GameSetup {
  std::uint64_t seed = 0;  // the clock's seed, which start-up seeds the draws with
  TimeMs start = 0;        // the clock's reading when the game is built
  // Scripted draws only: the draw handed out once the pushed ones are used
  // up; without it, running out throws.
  std::optional<float> repeat{};
};

// `Random` is ScriptedRandom (the draws a test writes down) or StdRandom
// (seeded from `GameSetup::seed` by start-up, as in the real game).
template <typename Random>
struct VirtualGame {
  // Sizes captions with the estimated measurer.
  explicit VirtualGame(GameSetup setup = {}) : VirtualGame(setup, estimated) {}
  // Sizes captions with `textMeasurer`, which must outlive the game.
  VirtualGame(GameSetup setup, TextMeasurer& textMeasurer)
      : clock(setup.seed, setup.start), measurer(textMeasurer), form(clock, random, measurer) {
    if (!setup.repeat) return;
    if constexpr (std::is_same_v<Random, ScriptedRandom>)
      random.repeatWhenEmpty(*setup.repeat);
    else
      throw std::invalid_argument("only scripted draws can repeat");
  }
  VirtualGame(const VirtualGame&) = delete;
  VirtualGame& operator=(const VirtualGame&) = delete;

  // Lets `ms` pass, delivering every tick that falls due, in time order.
  void advance(TimeMs ms) { tessaly::advance(form, clock, ms); }

  VirtualClock clock;
  Random random;
  EstimatedTextMeasurer estimated;  // unused when the caller brings a measurer
  TextMeasurer& measurer;
  Form1 form;
};

using ScriptedGame = VirtualGame<ScriptedRandom>;
using SeededGame = VirtualGame<StdRandom>;

}  // namespace tessaly
