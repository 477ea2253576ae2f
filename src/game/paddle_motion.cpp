#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::Timer1_Timer() {
  Controls& c = controls();
  const double step = 2 * static_cast<double>(state.ballstep) * state.paddlespeed;

  // The horizontal pair keeps fractional positions.
  if (state.hdirection != hdirection::still) {
    for (int i : paddle::horizontalPair) {
      ScreenObject& p = c.paddle(i);
      double& x = state.paddlex[static_cast<std::size_t>(i - paddle::bottom)];
      x = p.left();
      if (state.hdirection == hdirection::right) {
        x += step;
        if (x + p.width() > state.boardright) x = static_cast<float>(state.boardright) - p.width();
      }
      if (state.hdirection == hdirection::left) {
        x -= step;
        if (x < state.boardleft) x = state.boardleft;
      }
      p.setLeft(static_cast<float>(x));
    }
  }

  // The vertical pair is held in whole twips, rounded at every step.
  if (state.vdirection != vdirection::still) {
    for (int i : paddle::verticalPair) {
      ScreenObject& p = c.paddle(i);
      std::int16_t& y = state.paddley[static_cast<std::size_t>(i - paddle::left)];
      y = roundTo<std::int16_t>(p.top());
      if (state.vdirection == vdirection::down) {
        y = roundTo<std::int16_t>(y + step);
        if (static_cast<float>(y) + p.height() > state.boardbottom)
          y = roundTo<std::int16_t>(state.boardbottom - p.height());
      }
      if (state.vdirection == vdirection::up) {
        y = roundTo<std::int16_t>(y - step);
        if (y < state.boardtop) y = roundTo<std::int16_t>(state.boardtop);
      }
      p.setTop(y);
    }
  }
}

}  // namespace tessaly
