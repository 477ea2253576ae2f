// libFuzzer target for the engine: each input is a short game, a few seconds
// of game time at most, played by keys (any code), clicks (any name), time
// passing to any instant, spells of automatic play and random draws written
// into the input itself. The ball and the paddles are checked after every
// event, every rule of the game after each event that changed the play (a
// hit, a lost ball, a level, a stop) and at the end; a broken rule, an
// exception or a sanitizer report is a finding.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "harness/autoplayer.h"
#include "harness/invariants.h"
#include "harness/scripted_game.h"

using namespace tessaly;

namespace {

// Game time one input may take: enough for a serve, a few hits and a lost
// ball, short enough for thousands of inputs a second.
constexpr TimeMs kMaxGameTime = 5000;

constexpr std::array kKeys{key::Space, key::Left, key::Up, key::Right, key::Down, key::P, key::F1, key::F2};
constexpr std::array<std::string_view, 5> kButtons{button::pause, button::gameover, button::nextlevel, "", "Form1"};

// What each step of an input does; the byte that picks it comes first.
enum class Op : std::uint8_t { KeyDown, KeyUp, Click, Pass, NextTick, Draws, AutoPlay, HoldKey, kMaxValue = HoldKey };

// A draw r with 0 <= r < 1 on the 24-bit grid the real source uses.
float drawFrom(FuzzedDataProvider& in) {
  return static_cast<float>(in.ConsumeIntegralInRange<std::uint32_t>(0, (1u << 24) - 1)) / (1u << 24);
}

// A key the game knows, most of the time; any code now and then.
int keyFrom(FuzzedDataProvider& in) {
  const std::uint8_t pick = in.ConsumeIntegral<std::uint8_t>();
  return pick < 2 * kKeys.size() ? kKeys[pick % kKeys.size()] : pick;
}

// What an event changes when it changes more than positions and keys held:
// the score, the bricks, the balls, the level, the timers and the buttons.
// Checking every rule (625 bricks among them) after every event would take
// most of each run; they are checked whenever this moved, and at the end.
struct Play {
  Integer score, best, level, pattern, bricks, lives;
  int timer1, timer2;
  bool paused, over, cleared;
  bool operator==(const Play&) const = default;
};

Play playOf(const Form1& form) {
  const GameState& s = form.state;
  const Controls& c = form.controls();
  return {
      s.playerscore,       s.bestscore,         s.levelnum,        s.patternnum,         s.brickcount,         s.lives,
      c.Timer1.interval(), c.Timer2.interval(), c.pause.visible(), c.gameover.visible(), c.nextlevel.visible()};
}

class Game {
 public:
  Game(std::uint64_t seed, float fallbackDraw) : game_({.seed = seed, .repeat = fallbackDraw}) {
    // Spells of automatic play are there to keep rallies going and to lose
    // balls on purpose; choosing lines for the bricks they knock out turns
    // later would take most of each input.
    player_.setLookahead(1);
    game_.form.open();
    check();
  }

  TimeMs now() const { return game_.clock.now(); }

  void play(FuzzedDataProvider& in) {
    switch (in.ConsumeEnum<Op>()) {
      case Op::KeyDown: game_.form.keyDown(keyFrom(in)); break;
      case Op::KeyUp: game_.form.keyUp(keyFrom(in)); break;
      case Op::Click: game_.form.click(kButtons[in.ConsumeIntegralInRange<std::size_t>(0, kButtons.size() - 1)]); break;
      case Op::Pass: pass(in.ConsumeIntegral<std::uint8_t>()); break;  // any instant, between ticks too
      case Op::NextTick:
        if (const auto due = game_.form.nextDue()) pass(*due - now());
        break;
      case Op::Draws:
        for (int n = in.ConsumeIntegralInRange(1, 4); n > 0; --n) game_.random.push(drawFrom(in));
        break;
      case Op::AutoPlay: {
        const int ticks = in.ConsumeIntegralInRange(1, 40);
        autoplay(ticks, in.ConsumeIntegralInRange(0, 3));
        break;
      }
      case Op::HoldKey: {
        // A held key repeats every 33 ms until it is let go.
        const int code = keyFrom(in);
        for (int n = in.ConsumeIntegralInRange(1, 8); n > 0; --n) {
          game_.form.keyDown(code);
          checkEvent();
          pass(33);
        }
        game_.form.keyUp(code);
        break;
      }
    }
    checkEvent();
  }

  // Every rule, whatever changed.
  void check() {
    found(checkInvariants(game_.form));
    play_ = playOf(game_.form);
  }

 private:
  // Lets `ms` pass, checking at every instant a tick fell due.
  void pass(TimeMs ms) {
    runDueInstants(game_.form, game_.clock, now() + ms, [this] {
      game_.form.dispatchDueTimers(CatchUp::EveryTick);
      checkEvent();
    });
  }

  // A spell of automatic play: reaches cleared levels, extra balls and games
  // over that random keys alone seldom do.
  void autoplay(int ticks, int missEvery) {
    player_.setMissEvery(missEvery);
    for (; ticks > 0 && now() < kMaxGameTime; --ticks) {
      perform(player_.decide(game_.form), game_.form);
      checkEvent();
      const auto due = game_.form.nextDue();
      if (!due) return;
      pass(*due - now());
    }
  }

  // After an event: every rule if the play changed, else what moves.
  void checkEvent() {
    if (!game_.form.isOpen() || playOf(game_.form) != play_) return check();
    found(checkMotion(game_.form));
  }
  void found(const std::string& broken) const {
    if (broken.empty()) return;
    std::fprintf(stderr, "finding at %lld ms: %s\n", static_cast<long long>(now()), broken.c_str());
    std::abort();
  }

  ScriptedGame game_;
  AutoPlayer player_;
  Play play_{};  // as of the last check of every rule
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  try {
    const auto seed = in.ConsumeIntegral<std::uint32_t>();
    Game game(seed, drawFrom(in));
    while (in.remaining_bytes() > 0 && game.now() < kMaxGameTime) game.play(in);
    game.check();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "finding: exception %s\n", e.what());
    std::abort();
  }
  return 0;
}
