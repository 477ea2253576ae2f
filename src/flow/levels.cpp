#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::nextlvl() {
  ScreenObject& button = controls().nextlevel;
  state.patternnum += 1;
  state.levelnum += 1;
  if (state.patternnum > state.patterncount) state.patternnum = 1;
  button.setVisible(true);
  button.setCaption(levelCaption(state.levelnum));
  runtimers(0);
}

void Form1::nextlevel_Click() {
  controls().nextlevel.setVisible(false);
  if (state.lives < kMaxLives) state.lives = static_cast<std::int16_t>(state.lives + 1);
  grid();
  start();
  runtimers(kTickMs);
}

}  // namespace tessaly
