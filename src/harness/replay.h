#pragma once
// Input logs and headless replay. A log is the random seed and the player's
// events, each stamped with the game time (milliseconds since the window
// opened) at which it happens. Replaying a log through the engine with a
// virtual clock and the standard generator, seeded from the log, always ends
// in the same state: the digest below proves it bit for bit.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/platform.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

namespace tessaly {

enum class InputKind : std::uint8_t {
  KeyDown,  // with a virtual-key code
  KeyUp,    // with a virtual-key code
  Click,    // on a push button, by name
  Pass,     // time passes up to the stamp, nothing else
};

struct InputEvent {
  TimeMs at = 0;
  InputKind kind = InputKind::Pass;
  int code = 0;             // key events
  std::string_view button;  // clicks: "pause", "gameover" or "nextlevel"
  friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

struct InputLog {
  std::uint64_t seed = 0;
  std::vector<InputEvent> events;  // in time order
  friend bool operator==(const InputLog&, const InputLog&) = default;
};

// The text form, one item a line:
//   tessaly-log 1
//   seed <decimal>
//   <ms> down <code> | <ms> up <code> | <ms> click <button> | <ms> pass
// Blank lines and lines starting with '#' are ignored.
std::string serialise(const InputLog& log);
// Throws std::invalid_argument naming the line at fault: unknown items,
// unknown buttons, codes out of range, or stamps that go back in time.
InputLog parseLog(std::string_view text);

// A 64-bit FNV-1a digest over the exact bits of the game state record and of
// every screen object's settings (the stacking order and the timers included).
std::uint64_t digest(const Form1& form);
std::string digestText(std::uint64_t value);  // 16 hex digits

// The game with nothing but virtual time, the standard generator and the
// estimated text sizes: the harness of replays, the soak and the fuzzer.
class HeadlessGame {
 public:
  // Called after every event the game handles: each instant of timer ticks,
  // each key, each click.
  using Observer = std::function<void(const HeadlessGame&)>;

  explicit HeadlessGame(std::uint64_t seed);
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  Form1& form() { return game_.form; }
  const Form1& form() const { return game_.form; }
  TimeMs now() const { return game_.clock.now(); }
  std::uint64_t ballTicks() const { return ballTicks_; }

  void observe(Observer observer) { observer_ = std::move(observer); }
  // Every event handled from now on is appended here (null stops it).
  void record(InputLog* log) { recording_ = log; }

  // Delivers the ticks due up to `t` one instant at a time; the clock ends at
  // `t`. Stamps in the past are taken as now.
  void runUntil(TimeMs t);
  // Runs to the next due tick instant, if a timer runs; says whether it did.
  bool runNextTick();

  void keyDown(int code);
  void keyUp(int code);
  bool click(std::string_view button);

  // Runs one event of a log: time passes up to its stamp, then it happens.
  void apply(const InputEvent& event);
  // Records that time has passed up to now, so a log ends where play stopped.
  void recordPass();

 private:
  void note(InputKind kind, int code, std::string_view button);
  void fireDue();
  void observed() const;

  SeededGame game_;
  Observer observer_;
  InputLog* recording_ = nullptr;
  std::uint64_t ballTicks_ = 0;
};

// Opens the game with the log's seed, runs every event and returns the
// digest of the end state.
std::uint64_t replay(const InputLog& log, const HeadlessGame::Observer& observer = {});

}  // namespace tessaly
