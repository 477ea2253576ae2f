#pragma once
// The window's push buttons under a pointer (a mouse, a pen, a finger): which
// one a pixel falls on, and a press that becomes a click only when it comes
// up on the button it went down on.

#include <string_view>

#include "frontend/core/viewport.h"
#include "ui/game_port.h"

namespace tessaly::frontend {

// The frontmost shown push button at an output pixel, or empty (the letterbox
// has none). Names are those `button::all` spells, which outlive the objects:
// a new game rebuilds them while a button is still held.
std::string_view buttonAt(const GamePort& game, const Viewport& view, int x, int y);

// The frontmost shown push button anywhere on the window, or empty: what a
// key or a pad's button clicks.
std::string_view frontmostShownButton(const GamePort& game);

// One pointer pressing a push button: down on it, off and back on while held,
// up on it is one click; it shows pressed while the pointer stays on it. Each
// step is given the button under the pointer (empty for none) and answers
// whether the pressed look changed.
class ButtonPress {
 public:
  bool down(std::string_view under);
  bool move(std::string_view under);
  // The pointer came up over `under`: the button clicked, or empty.
  std::string_view up(std::string_view under);
  // The pointer went away (a cancelled touch): no click. Answers whether a
  // button was held.
  bool cancel();

  bool holding() const { return !held_.empty(); }
  // The button drawn pressed in, or empty.
  std::string_view shownPressed() const { return inside_ ? held_ : std::string_view{}; }

 private:
  std::string_view held_;  // the button held down, empty when none
  bool inside_ = false;    // the pointer is still over it
};

}  // namespace tessaly::frontend
