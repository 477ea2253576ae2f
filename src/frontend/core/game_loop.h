#pragma once
// The one loop both front ends run. A front end turns its device's events
// into Events and hands them in; the loop alone decides the rest: a round is
// the events waiting, then the ticks due, then what changed painted, and it
// answers how long to sleep before the next round (no limit while no timer
// runs, or while the game is out of sight). The desktop, which can block,
// lets run() wait on its window; the page, which cannot, hands in one event
// a call and sleeps as each round answers.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/game_session.h"

namespace tessaly::frontend {

// Every kind of event, in the order of their numbers (the page's event record
// numbers them so: its script's tables are made from this list).
#define TESSALY_EVENT_KINDS(X)                                                           \
  X(Press)         /* device's control went down (again with each repeat) */             \
  X(Release)       /* device's control came up */                                        \
  X(ReleaseAll)    /* everything device holds comes up: a pad gone */                    \
  X(Stick)         /* a pad's left stick leans leanX, leanY */                           \
  X(PointerDown)   /* the primary pointer button at output pixel x, y */                 \
  X(PointerMove)   /*   moved */                                                         \
  X(PointerUp)     /*   came up */                                                       \
  X(PointerCancel) /* the pointer was taken away: no click */                            \
  X(Click)         /* a click on the push button named button (an automatic player's) */ \
  X(Resize)        /* the output is now x by y pixels */                                 \
  X(Expose)        /* what was shown is lost: everything is drawn again */               \
  X(FocusLost)     /* the keys held come up */                                           \
  X(Hidden)        /* out of sight: no tick until Shown */                               \
  X(Shown)         /* in sight again: each timer ticks once and keeps its rhythm */      \
  X(Tick)          /* only time passed (a timer, a wake) */                              \
  X(Quit)          /* the player closed the game */

struct Event {
#define TESSALY_EVENT_KIND(name) name,
  enum class Kind : std::int32_t { TESSALY_EVENT_KINDS(TESSALY_EVENT_KIND) };
#undef TESSALY_EVENT_KIND
  Kind kind = Kind::Tick;
  Device device = Device::Keyboard;  // Press, Release, ReleaseAll
  int control = 0;                   // Press, Release: a virtual-key code, pad:: or touch::
  int x = 0, y = 0;                  // Pointer*: the output pixel; Resize: the size
  double leanX = 0, leanY = 0;       // Stick: -1 to 1, right and down
  std::string_view button{};         // Click: the button's name

  static Event press(Device d, int control) { return {.kind = Kind::Press, .device = d, .control = control}; }
  static Event release(Device d, int control) { return {.kind = Kind::Release, .device = d, .control = control}; }
  static Event releaseAll(Device d) { return {.kind = Kind::ReleaseAll, .device = d}; }
  static Event keyDown(int code) { return press(Device::Keyboard, code); }
  static Event keyUp(int code) { return release(Device::Keyboard, code); }
  static Event stick(double x, double y) { return {.kind = Kind::Stick, .leanX = x, .leanY = y}; }
  static Event pointer(Kind k, int x, int y) { return {.kind = k, .x = x, .y = y}; }
  static Event click(std::string_view name) { return {.kind = Kind::Click, .button = name}; }
  static Event resize(int width, int height) { return {.kind = Kind::Resize, .x = width, .y = height}; }
  static Event of(Kind k) { return {.kind = k}; }
};

class GameLoop;

// Watches a running loop: the live measurement tool, the page's proof build
// and tests.
class LoopObserver {
 public:
  virtual ~LoopObserver() = default;
  virtual void ticked(int /*timer*/) {}  // 1 or 2, just after its handler ran
  virtual void presented() {}
  // Once a round, after its ticks and before its frame; an automatic player
  // hands its events to `loop` here. False ends a run().
  virtual bool between(GameLoop& /*loop*/) { return true; }
};

// A front end that can sleep: where a run()'s events come from and its
// frames go to.
class LoopHost {
 public:
  virtual ~LoopHost() = default;
  // Sleeps until an event arrives or `timeout` ms have passed (no limit when
  // empty); nothing when the time ran out.
  virtual std::optional<Event> wait(std::optional<TimeMs> timeout) = 0;
  // An event already waiting, without sleeping.
  virtual std::optional<Event> poll() = 0;
  // Where a frame is painted, and then its areas shown.
  virtual Surface& frame() = 0;
  virtual void show(std::span<const PixelRect> areas) = 0;
};

// How a round ended.
struct Round {
  std::span<const PixelRect> repainted;  // the areas painted, to be shown
  std::optional<TimeMs> wait;            // sleep this long; empty: until the next event
  int beat = 0;                          // then the ticks' beat (GameSession::beat), 0 for none
  bool goOn = true;                      // false once an observer ended the run
};

class GameLoop {
 public:
  GameLoop(GameSession& session, const Clock& clock, LoopObserver* observer = nullptr);

  // Hands one event to the game; false for Quit.
  bool handle(const Event& e);
  // Ends a round: the ticks due by now (after a stall, one a timer and no
  // burst), the observer's turn, and what changed painted onto `surface`.
  Round endRound(Surface& surface);

  // Rounds on `host` until the player closes the game or the observer ends it.
  void run(LoopHost& host);
  // One round on `host`: sleep as the last round said, the events waiting,
  // then endRound, the areas shown. False once closed or ended.
  bool step(LoopHost& host);

  GameSession& session() { return session_; }

 private:
  std::optional<TimeMs> wait() const;
  void tick();

  GameSession& session_;
  const Clock& clock_;
  LoopObserver* observer_;
  bool hidden_ = false;
  std::optional<TimeMs> sleep_ = 0;  // what the last round answered: the first does not wait
};

}  // namespace tessaly::frontend
