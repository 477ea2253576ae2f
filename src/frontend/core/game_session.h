#pragma once
// The game as a front end drives and shows it, whatever the device and the
// drawing library: controls through the input map, a pointer pressing the
// push buttons, the timers' ticks, and frames presented when something moved.
// A front end turns its events into these calls and hands over a Surface.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/input_map.h"
#include "frontend/core/presenter.h"
#include "frontend/core/push_buttons.h"
#include "frontend/core/viewport.h"
#include "ui/game_port.h"

namespace tessaly::frontend {

class GameSession {
 public:
  explicit GameSession(GamePort& game) : game_(game) {}

  // --- Inputs ---
  void press(Device device, int control);
  void release(Device device, int control) { inputs_.release(game_, device, control); }
  void releaseAll(Device device) { inputs_.releaseAll(game_, device); }
  // A pad's left stick leaning, x to the right and y down, each -1 to 1:
  // past the dead zone it holds the arrow it leans towards.
  void stick(double x, double y);
  // The primary pointer button at an output pixel.
  void pointerDown(int x, int y);
  void pointerMove(int x, int y);
  void pointerUp(int x, int y);
  void pointerCancel();
  // A click on the named push button, as a player's automatic stand-in
  // makes it; false when it is not shown.
  bool click(std::string_view name);

  // --- Time ---
  // Delivers the ticks due by now; after a stall (a hidden page, a busy
  // machine) each timer ticks once and resumes its rhythm, no burst.
  void tick() { game_.dispatchDueTimers(CatchUp::OnceThenResume); }
  std::optional<TimeMs> nextDue() const { return game_.nextDue(); }
  // The ticks' beat: milliseconds from one tick to the next while every
  // running timer ticks at the same moments, 0 otherwise (none runs, or they
  // keep different times). On a beat a front end may wake on one repeating
  // timer instead of setting one for every tick.
  int beat() const;

  // --- Frames ---
  // The output is now `width` x `height` pixels; the next frame repaints it all.
  void resize(int width, int height);
  void invalidate() { presenter_.invalidate(); }
  bool due() const { return presenter_.due(game_); }
  bool everythingDue() const { return presenter_.everythingDue(); }
  // Paints what changed onto `surface`: the areas repainted, empty for none.
  std::span<const PixelRect> present(Surface& surface) {
    return presenter_.present(game_, view_, size_, surface, press_.shownPressed());
  }
  std::span<const PixelRect> repainted() const { return presenter_.repainted(); }
  std::uint64_t frames() const { return presenter_.frames(); }

  const Viewport& viewport() const { return view_; }
  PixelSize size() const { return size_; }
  // The push button drawn pressed in, or empty.
  std::string_view pressedButton() const { return press_.shownPressed(); }
  // The pointer holds a push button down.
  bool pointerHeld() const { return press_.holding(); }
  const GamePort& game() const { return game_; }

 private:
  GamePort& game_;
  InputMap inputs_;
  ButtonPress press_;
  Presenter presenter_;
  Viewport view_ = Viewport::atScale(1);
  PixelSize size_{view_.client().w, view_.client().h};
};

}  // namespace tessaly::frontend
