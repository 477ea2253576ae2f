#include <algorithm>

#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::updatescore() {
  Controls& c = controls();
  state.playerscore = std::min(state.playerscore + kHitPoints, kMaxScore);
  countbonus();
  c.showscore.setCaption(sixDigitText(state.playerscore));
  if (state.playerscore > state.bestscore) {
    c.highscore.setCaption(c.showscore.caption());
    state.bestscore = roundTo<std::int32_t>(static_cast<double>(state.playerscore));
  }
}

// Every kSpareBallPoints counted earn a spare ball, up to kMaxLives; the newest
// spare's marker is shown on every hit, so a life won with a cleared level
// gets its marker with the first hit of the next.
void Form1::countbonus() {
  state.bonuspoints += kHitPoints;
  if (state.bonuspoints > kSpareBallPoints) {
    state.bonuspoints -= kSpareBallPoints;
    state.lives = static_cast<std::int16_t>(state.lives + 1);
    if (state.lives > kMaxLives) state.lives = kMaxLives;
  }
  if (state.lives > 0) controls().life(state.lives - 1).setVisible(true);
}

}  // namespace tessaly
