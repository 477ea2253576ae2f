#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::nextlvl() {
  ScreenObject& button = controls().nextlevel;
  state.patternnum += 1;
  state.levelnum += 1;
  if (state.patternnum > state.patterncount) state.patternnum = 1;
  button.setVisible(true);
  // "Level:" and the number with its leading blank, built without the heap.
  char caption[32] = "Level: ";
  const DecimalText number = DecimalText::of(state.levelnum);
  number.view().copy(caption + 7, number.view().size());
  button.setCaption(std::string_view(caption, 7 + number.view().size()));
  runtimers(0);
}

void Form1::nextlevel_Click() {
  controls().nextlevel.setVisible(false);
  if (state.lives < 8) state.lives = static_cast<std::int16_t>(state.lives + 1);
  grid();
  start();
  runtimers(25);
}

}  // namespace tessaly
