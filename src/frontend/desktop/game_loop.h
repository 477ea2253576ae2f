#pragma once
// The window's one thread: sleep until the next input or the next timer tick,
// hand inputs to the game, deliver the ticks that are due, and show what
// changed. Nothing here knows SDL, so tests drive it with a virtual clock.

#include <optional>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/game_session.h"

namespace tessaly::desktop {

using frontend::Device;

// An input in the game's own terms.
struct LoopEvent {
  enum class Kind {
    Press,
    Release,
    ReleaseAll,
    Stick,
    PointerDown,
    PointerMove,
    PointerUp,
    Click,
    Repaint,
    Wake,
    Quit
  };
  Kind kind = Kind::Repaint;
  Device device = Device::Keyboard;  // Press, Release, ReleaseAll
  int control = 0;                   // Press, Release: a virtual-key code, pad:: or touch::
  int x = 0, y = 0;                  // Pointer*: the output pixel
  double leanX = 0, leanY = 0;       // Stick: how far it leans, -1 to 1 (right, down)
  std::string_view button{};         // Click: the button's name

  static LoopEvent press(Device d, int control) { return {.kind = Kind::Press, .device = d, .control = control}; }
  static LoopEvent release(Device d, int control) { return {.kind = Kind::Release, .device = d, .control = control}; }
  static LoopEvent releaseAll(Device d) { return {.kind = Kind::ReleaseAll, .device = d}; }
  static LoopEvent keyDown(int code) { return press(Device::Keyboard, code); }
  static LoopEvent keyUp(int code) { return release(Device::Keyboard, code); }
  static LoopEvent stick(double x, double y) { return {.kind = Kind::Stick, .leanX = x, .leanY = y}; }
  static LoopEvent pointerDown(int x, int y) { return {.kind = Kind::PointerDown, .x = x, .y = y}; }
  static LoopEvent pointerMove(int x, int y) { return {.kind = Kind::PointerMove, .x = x, .y = y}; }
  static LoopEvent pointerUp(int x, int y) { return {.kind = Kind::PointerUp, .x = x, .y = y}; }
  // A click by the button's name, as the automatic player makes it.
  static LoopEvent click(std::string_view name) { return {.kind = Kind::Click, .button = name}; }
  static LoopEvent repaint() { return {.kind = Kind::Repaint}; }
  // Only ends the sleep, so that a watcher gets its turn (see LoopObserver).
  static LoopEvent wake() { return {.kind = Kind::Wake}; }
  static LoopEvent quit() { return {.kind = Kind::Quit}; }
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
  // Shows what changed in the window since the last frame.
  virtual void present() = 0;
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
  GameLoop(frontend::GameSession& session, const Clock& clock, LoopHost& host, LoopObserver* observer = nullptr);

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

  frontend::GameSession& session_;
  const Clock& clock_;
  LoopHost& host_;
  LoopObserver* observer_;
};

}  // namespace tessaly::desktop
