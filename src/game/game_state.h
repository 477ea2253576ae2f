#pragma once
// The one record of every game value that outlives a single event. It belongs
// to the window object and survives the close-and-reopen of a new game.

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/controls.h"

namespace tessaly {

// An "integer number" of the game: at least 32 bits, so scores never wrap.
using Integer = std::int64_t;

inline constexpr int kPatternSlots = 101;    // pattern numbers 0..100
inline constexpr int kPatternRowSlots = 21;  // row numbers 0..20
inline constexpr int kCellColumns = 31;      // column indices 0..30
inline constexpr int kCellRows = 36;         // row indices 0..35

// The built-in patterns, numbered from 1; levels/ holds their rows.
inline constexpr std::int16_t kPatternCount = 5;
static_assert(kPatternCount < kPatternSlots);

// Scores stop here: the largest value whose six-digit text can be formed in
// 32-bit arithmetic (value + 100,000,000 must still fit).
inline constexpr Integer kMaxScore = 2'047'483'647;

// Every brick hit scores the same, and so many points counted earn a spare
// ball.
inline constexpr Integer kHitPoints = 10;
inline constexpr Integer kSpareBallPoints = 5000;

// Spare balls: a game starts with as many as the window shows markers for,
// and holds at most one for every marker.
inline constexpr std::int16_t kOpeningLives = kLifeMarkersAtOpen;
inline constexpr std::int16_t kMaxLives = kLifeMarkers;

// The arrow held for each pair, as GameState keeps it: the horizontal pair
// in `hdirection`, the vertical pair in `vdirection`.
namespace hdirection {
inline constexpr std::int16_t still = 0;
inline constexpr std::int16_t right = 1;
inline constexpr std::int16_t left = 2;
}  // namespace hdirection
namespace vdirection {
inline constexpr std::int16_t still = 0;
inline constexpr std::int16_t up = 1;
inline constexpr std::int16_t down = 2;
}  // namespace vdirection

struct GameState {
  // Pattern rows are the built-in level texts; a view of them is enough.
  std::array<std::array<std::string_view, kPatternRowSlots>, kPatternSlots> patternrows{};
  Integer playerscore = 0;
  Integer bonuspoints = 0;
  std::int32_t bestscore = 0;
  Integer levelnum = 0;
  Integer patternnum = 0;
  std::int16_t patterncount = 0;
  Integer lastcell = 0;
  std::array<std::array<std::int16_t, kCellRows>, kCellColumns> cells{};  // cells[column][row]
  float cellwidth = 0;
  float cellheight = 0;
  float boardtop = 0;
  float boardbottom = 0;
  float boardleft = 0;
  std::int16_t boardright = 0;
  std::int16_t hdirection = hdirection::still;
  std::int16_t vdirection = vdirection::still;
  double paddlespeed = 0;
  double ballxspeed = 0;        // positive moves right
  std::int16_t ballyspeed = 0;  // positive moves up
  std::array<double, 2> paddlex{};
  std::array<std::int16_t, 2> paddley{};
  Integer brickcount = 0;
  std::int16_t bricktotal = 0;
  float ballstep = 0;
  double xjitter = 0;
  double yjitter = 0;
  std::int16_t lives = 0;
};

}  // namespace tessaly
