#pragma once
// The brick grid's constants: 25 x 25 cells over the board, the value of a
// fixed brick, and each value's colour.

#include <array>
#include <cstdint>

#include "ui/screen_object.h"

namespace tessaly {

inline constexpr int kGridSize = 25;
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
