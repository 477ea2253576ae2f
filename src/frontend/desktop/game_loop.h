#pragma once
// The window's one thread: sleep until the next input or the next timer tick,
// hand inputs to the game, deliver the ticks that are due, and show what
// changed. Nothing here knows SDL, so tests drive it with a virtual clock.

#include <optional>
#include <string_view>

#include "base/platform.h"
#include "ui/game_port.h"

namespace tessaly::desktop {

// An input in the game's own terms.
struct LoopEvent {
  enum class Kind { KeyDown, KeyUp, Click, Repaint, Wake, Quit };
  Kind kind = Kind::Repaint;
  int key = 0;              // KeyDown, KeyUp: the virtual-key code
  std::string_view button;  // Click: the button's name
  static LoopEvent keyDown(int code) { return {Kind::KeyDown, code, {}}; }
  static LoopEvent keyUp(int code) { return {Kind::KeyUp, code, {}}; }
  static LoopEvent click(std::string_view name) { return {Kind::Click, 0, name}; }
  static LoopEvent repaint() { return {Kind::Repaint, 0, {}}; }
  // Only ends the sleep, so that a watcher gets its turn (see LoopObserver).
  static LoopEvent wake() { return {Kind::Wake, 0, {}}; }
  static LoopEvent quit() { return {Kind::Quit, 0, {}}; }
};

// The platform under the loop: where inputs come from and frames go to.
class LoopHost {
 public:
  virtual ~LoopHost() = default;
  // Sleeps until an input arrives or `timeout` milliseconds have passed
  // (no limit when empty); nothing when the time ran out.
  virtual std::optional<LoopEvent> wait(std::optional<TimeMs> timeout) = 0;
  // An input already waiting, without sleeping.
  virtual std::optional<LoopEvent> poll() = 0;
  // Shows what changed in the window since the last frame, or all of it.
  virtual void present(bool everything) = 0;
};

// Watches a running loop; the live measurement tool and tests use it.
class LoopObserver {
 public:
  virtual ~LoopObserver() = default;
  virtual void ticked(int /*timer*/) {}  // 1 or 2, just after its handler ran
  virtual void presented() {}
  // Called once a round, after the ticks; false ends the loop.
  virtual bool between() { return true; }
};

// How long to sleep before the tick due at `due`: never negative, no limit
// while no timer runs.
std::optional<TimeMs> sleepBefore(std::optional<TimeMs> due, TimeMs now);

class GameLoop {
 public:
  GameLoop(GamePort& game, const Clock& clock, LoopHost& host, LoopObserver* observer = nullptr);

  // Runs until the player closes the window.
  void run();
  // One round: show what changed, sleep until an input or the next tick,
  // handle the inputs waiting, deliver the due ticks. False once closed.
  bool step();
  // Hands one input to the game as if it had come from the window; false
  // for Quit. A watcher may call it between rounds (an automatic player).
  bool handle(const LoopEvent& e);

 private:
  void showChanges();
  void deliverTicks();

  GamePort& game_;
  const Clock& clock_;
  LoopHost& host_;
  LoopObserver* observer_;
  std::uint64_t shownRevision_ = 0;
  bool fullRepaint_ = true;
};

}  // namespace tessaly::desktop
