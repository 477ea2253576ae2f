#include <cmath>

#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

void Form1::sizeobjects() {
  Controls& c = controls();
  const ScreenObject& b = c.board;
  const double w = state.cellwidth;
  const double h = state.cellheight;
  const double boardLeft = b.left();
  const double boardTop = b.top();
  const double boardWidth = b.width();
  const double boardHeight = b.height();

  state.boardtop = b.top();
  state.boardbottom = static_cast<float>(boardHeight + boardTop);
  state.boardleft = b.left();
  state.boardright = roundTo<std::int16_t>(boardWidth + boardLeft);

  // The four paddles are one rectangle turned: four cells long from the cell
  // width, three quarters of a cell thick from the cell height.
  const auto length = static_cast<float>(std::floor(4 * w));
  const auto thickness = static_cast<float>(std::floor(0.75 * h));

  for (int i : paddle::horizontalPair) {
    ScreenObject& p = c.paddle(i);
    p.setTop(static_cast<float>(boardTop + (i == paddle::bottom ? 24 * h : 0.5 * h)));
    p.setWidth(length);
    p.setHeight(thickness);
    p.setLeft(static_cast<float>(boardWidth / 2 + boardLeft - p.width() / 2.0));
  }
  for (int i : paddle::verticalPair) {
    ScreenObject& p = c.paddle(i);
    p.setLeft(static_cast<float>(boardLeft + (i == paddle::left ? 0.5 * h : 24 * h)));
    p.setWidth(thickness);
    p.setHeight(length);
    p.setTop(static_cast<float>(boardHeight / 2 + boardTop - p.height() / 2.0));
  }

  ScreenObject& ball = c.ball;
  const ScreenObject& bottom = c.paddle(paddle::bottom);
  ball.setWidth(static_cast<float>(std::floor(h / 2)));
  ball.setHeight(ball.width());
  ball.setLeft(static_cast<float>(bottom.width() / 2.0 + bottom.left() - ball.width() / 2.0));
  ball.setTop(static_cast<float>(static_cast<double>(bottom.top()) - ball.height()));

  c.highscore.setCaption(sixDigitText(state.bestscore));
}

}  // namespace tessaly
