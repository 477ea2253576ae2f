#include <limits>

#include "game/form1.h"

namespace tessaly {

void Form1::lostlife() {
  // Play after game over (F1/F2) keeps losing balls; the count stops at its
  // floor instead of wrapping round to a full set of lives.
  if (state.lives > std::numeric_limits<std::int16_t>::min()) state.lives = static_cast<std::int16_t>(state.lives - 1);
  if (state.lives < 0) {
    over();
    return;
  }
  controls().life(state.lives).setVisible(false);
  start();
}

void Form1::over() {
  controls().gameover.setVisible(true);
  runtimers(0);
}

// A new game: the window is thrown away and opened anew, keeping only the
// game state. The button that was clicked is gone after close().
void Form1::gameover_Click() {
  close();
  open();
}

}  // namespace tessaly
