#include <array>

#include "game/brick_grid.h"
#include "game/form1.h"
#include "game/numbers.h"

namespace tessaly {

namespace {

// Character `position` (from 1) of a pattern row as a number; a row too short
// for it, or a character that is no digit, reads as an empty cell.
std::int16_t patternDigit(std::string_view row, int position) {
  if (position < 1 || position > static_cast<int>(row.size())) return 0;
  const char ch = row[static_cast<std::size_t>(position - 1)];
  return ch >= '0' && ch <= '9' ? static_cast<std::int16_t>(ch - '0') : 0;
}

}  // namespace

void Form1::loadbricks() {
  Controls& c = controls();
  const ScreenObject& board = c.board;
  state.cellwidth = board.width() / static_cast<float>(kGridSize);
  state.cellheight = board.height() / static_cast<float>(kGridSize);
  int n = 0;
  for (int i = 0; i < kGridSize; ++i) {
    for (int j = 0; j < kGridSize; ++j) {
      ++n;
      ScreenObject& b = c.createBrick(n);
      // Width, height, left and top at once: the brick is hidden, so setting
      // them one by one would show nothing between.
      b.setBounds({board.left() + static_cast<float>(j) * state.cellwidth,
                   board.top() + static_cast<float>(i) * state.cellheight, state.cellwidth, state.cellheight});
      c.bringToFront(b);
      b.setVisible(true);
    }
  }
}

void Form1::grid() {
  Controls& c = controls();
  int n = 0;
  state.brickcount = 0;
  state.bricktotal = 0;
  for (int r = 1; r <= kGridSize; ++r) {
    for (int col = 1; col <= kGridSize; ++col) {
      ++n;
      if (inPatternWindow(col, r)) {
        const auto& rows = state.patternrows.at(static_cast<std::size_t>(state.patternnum));
        state.cells[col][r] = patternDigit(rows[static_cast<std::size_t>(r - kPatternOffset)], col - kPatternOffset);
      }
      c.brick(n).setVisible(false);
      colorbricks(n, col, r);
    }
  }
  state.bricktotal = roundTo<std::int16_t>(static_cast<double>(state.brickcount));
  c.numbricks.setCaption(threeDigitText(state.bricktotal));
}

void Form1::colorbricks(int n, int c, int r) {
  const std::int16_t v = state.cells.at(static_cast<std::size_t>(c)).at(static_cast<std::size_t>(r));
  if (v == 0 && state.bricktotal > 0) {
    // A brick has just been knocked out in play.
    controls().brick(n).setVisible(false);
    state.brickcount -= 1;
    if (state.brickcount == 0) nextlvl();
    controls().numbricks.setCaption(threeDigitText(state.brickcount));
  }
  ScreenObject& b = controls().brick(n);
  if (v > 0) {
    b.setVisible(true);
    if (v != kFixedBrick && state.bricktotal == 0) state.brickcount += 1;  // a layout is counting up
  }
  if (v >= 1 && v <= kFixedBrick) b.setBackColor(kBrickColors[static_cast<std::size_t>(v)]);
  b.setCaption(v == kFixedBrick ? std::string_view("!") : DecimalText::of(v).view());
}

}  // namespace tessaly
