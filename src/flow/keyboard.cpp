#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::Form_KeyDown(int keycode) {
  switch (keycode) {
    case key::Space: state.paddlespeed = 1.5; break;
    case key::Left: state.hdirection = hdirection::left; break;
    case key::Up: state.vdirection = vdirection::up; break;
    case key::Right: state.hdirection = hdirection::right; break;
    case key::Down: state.vdirection = vdirection::down; break;
    case key::P:
      controls().pause.setVisible(true);
      runtimers(0);
      break;
    case key::F1: steppattern(+1); break;
    case key::F2: steppattern(-1); break;
    default: break;
  }
}

// Any key released stops both pairs and drops the speed-up.
void Form1::Form_KeyUp(int /*keycode*/) {
  state.hdirection = hdirection::still;
  state.vdirection = vdirection::still;
  state.paddlespeed = 1;
}

void Form1::steppattern(int delta) {
  Controls& c = controls();
  state.patternnum += delta;
  if (state.patternnum > state.patterncount) state.patternnum = 1;
  if (state.patternnum < 1) state.patternnum = state.patterncount;

  if (state.playerscore > state.bestscore) {
    state.bestscore = roundTo<std::int32_t>(static_cast<double>(state.playerscore));
    c.highscore.setCaption(sixDigitText(state.bestscore));
  }
  state.playerscore = 0;
  state.bonuspoints = 0;
  c.showscore.setCaption("000000");

  grid();
  start();
  runtimers(kTickMs);
}

}  // namespace tessaly
