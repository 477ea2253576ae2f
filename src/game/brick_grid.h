#pragma once
// The brick grid: 25 x 25 cells over the board, the 15 x 15 window in its
// middle that a pattern fills, the value of a fixed brick, and each value's
// colour.

#include <array>
#include <cstdint>

#include "ui/screen_object.h"

namespace tessaly {

inline constexpr int kGridSize = 25;  // cells per side of the board

// A pattern fills cells 6 to 20 of each row and column, so its row r and
// character c land on cell r + kPatternOffset, c + kPatternOffset.
inline constexpr int kPatternOffset = 5;
inline constexpr int kPatternFirstCell = kPatternOffset + 1;
inline constexpr int kPatternLastCell = kPatternOffset + 15;
inline constexpr bool inPatternWindow(int column, int row) {
  return column >= kPatternFirstCell && column <= kPatternLastCell && row >= kPatternFirstCell &&
         row <= kPatternLastCell;
}

// The brick over cell (column, row), both counted from 1: bricks are numbered
// row by row from the top left.
inline constexpr std::int64_t cellNumber(int column, int row) {
  return column + kGridSize * static_cast<std::int64_t>(row - 1);
}
inline constexpr std::int16_t kFixedBrick = 9;

// Background colour by cell value 1 to 9 (index 0 unused); orange is 127
// green, the grey 191.
inline constexpr std::array<Color, 10> kBrickColors{{
    {0, 0, 0},
    {255, 0, 0},
    {255, 127, 0},
    {255, 255, 0},
    {0, 255, 0},
    {0, 255, 255},
    {0, 0, 255},
    {255, 255, 255},
    {191, 191, 191},
    {255, 255, 255},
}};

}  // namespace tessaly
