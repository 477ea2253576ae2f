#pragma once
// The ball's rules as one ball tick applies them: the brick probes and the
// cells they fall in, the bounce off a brick, the paddle band tests, the turn
// off a paddle pair and the loss lines. `whereball`, `score` and `hitpaddle`
// apply them to the game; the automatic player's flight model applies the
// same code to the ball it imagines, so its predictions hold to the rounding.
// Every type and every order of operations here is part of the rule.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "game/brick_grid.h"
#include "game/game_state.h"
#include "game/numbers.h"
#include "ui/controls.h"

namespace tessaly {

// Cell index of a point along one axis, counted from 1; far-off points stop
// at a bound well outside the cell table rather than overflowing.
inline int cellIndex(double offset, float cellSize) {
  const double index = std::floor(offset / cellSize) + 1;
  if (!(index > -1000)) return -1000;
  if (index > 1000) return 1000;
  return static_cast<int>(index);
}

// The cell a point relative to the board lies in, and its number.
struct Cell {
  int column;
  int row;
  Integer number;
};
inline Cell cellAt(double x, double y, float cellWidth, float cellHeight) {
  const int column = cellIndex(x, cellWidth);
  const int row = cellIndex(y, cellHeight);
  return {column, row, cellNumber(column, row)};
}

// The ball's box relative to the board, in double precision.
struct BallBox {
  double x0, x1, xc;
  double y0, y1, yc;
};
inline BallBox ballBox(float left, float top, float width, float height, float boardLeft, float boardTop) {
  BallBox b{};
  b.x0 = static_cast<double>(left) - boardLeft;
  b.x1 = b.x0 + width;
  b.xc = (b.x0 + b.x1) / 2;
  b.y0 = static_cast<double>(top) - boardTop;
  b.y1 = b.y0 + height;
  b.yc = (b.y0 + b.y1) / 2;
  return b;
}

// A probe point, with the way a brick hit there sends the ball.
struct Probe {
  double x;
  double y;
  int xbounce;
  int ybounce;
};
// The four probes in the order they are examined.
inline std::array<Probe, 4> probes(const BallBox& b) {
  return {{
      {b.xc, b.y0, 0, -1},  // top centre sends the ball down
      {b.x0, b.yc, 1, 0},   // left middle sends it right
      {b.x1, b.yc, -1, 0},  // right middle sends it left
      {b.xc, b.y1, 0, 1},   // bottom centre sends it up
  }};
}

struct BrickHit {
  Cell cell;
  int xbounce;
  int ybounce;
};

// At most one brick per tick: the first probe, in order, whose cell holds a
// brick and differs from the cell examined just before it goes to `onHit`.
// `lastcell` follows every probe examined.
template <class OnHit>
void probeBricks(const BallBox& box, float cellWidth, float cellHeight, const decltype(GameState::cells)& cells,
                 Integer& lastcell, OnHit&& onHit) {
  for (const Probe& probe : probes(box)) {
    const Cell cell = cellAt(probe.x, probe.y, cellWidth, cellHeight);
    // A point outside the cell table lies on no brick.
    const bool inTable = cell.column >= 0 && cell.column < kCellColumns && cell.row >= 0 && cell.row < kCellRows;
    const bool hit = cell.number != lastcell && inTable &&
                     cells[static_cast<std::size_t>(cell.column)][static_cast<std::size_t>(cell.row)] > 0;
    lastcell = cell.number;
    if (hit) {
      onHit(BrickHit{cell, probe.xbounce, probe.ybounce});
      return;
    }
  }
}

// Away from the brick at the base step; the other component keeps its value.
inline void bounceOffBrick(int xbounce, int ybounce, float ballstep, double& xspeed, std::int16_t& yspeed) {
  if (xbounce == 1) xspeed = ballstep;
  if (xbounce == -1) xspeed = -static_cast<double>(ballstep);
  if (ybounce == 1) yspeed = roundTo<std::int16_t>(ballstep);
  if (ybounce == -1) yspeed = roundTo<std::int16_t>(-static_cast<double>(ballstep));
}

// The paddle band tests: whether the ball is level with a paddle's row or
// column, given the ball's Top (the horizontal pair) or Left (the vertical
// pair). The bottom and left paddles test a plain overlap; the top and right
// ones take the ball's extent as running back from its Top or Left by its own
// size. Sums and differences of
// two lengths are single precision before comparing.
struct PaddleBands {
  float ballWidth, ballHeight;
  float bottomTop, bottomHeight;
  float topTop, topHeight;
  float leftLeft, leftWidth;
  float rightLeft, rightWidth;

  explicit PaddleBands(const Controls& c)
      : PaddleBands(c.ball, c.paddle(paddle::bottom), c.paddle(paddle::top), c.paddle(paddle::left),
                    c.paddle(paddle::right)) {}
  PaddleBands(const ScreenObject& ball, const ScreenObject& bottom, const ScreenObject& top, const ScreenObject& left,
              const ScreenObject& right)
      : ballWidth(ball.width()),
        ballHeight(ball.height()),
        bottomTop(bottom.top()),
        bottomHeight(bottom.height()),
        topTop(top.top()),
        topHeight(top.height()),
        leftLeft(left.left()),
        leftWidth(left.width()),
        rightLeft(right.left()),
        rightWidth(right.width()) {}

  bool bottom(float top) const { return top + ballHeight > bottomTop && bottomTop + bottomHeight > top; }
  bool top(float top) const { return topTop + topHeight > top - ballHeight && top > topTop; }
  bool left(float left) const { return left + ballWidth > leftLeft && leftLeft + leftWidth > left; }
  bool right(float left) const { return rightLeft + rightWidth > left - ballWidth && left > rightLeft; }
};

// The marks of a paddle's thirds, each rounded to single precision before it
// is compared: the length over 3 in single precision, over 1.5 in double.
inline float firstThird(float start, float length) { return static_cast<float>(start + length / 3.0f); }
inline float secondThird(float start, float length) { return static_cast<float>(start + length / 1.5); }

// The turn off the horizontal pair, which starts at `left` and is `width`
// long, for a ball from `ballLeft` to `ballRight`: only a ball wholly within
// the pair's span turns, and the third it meets steers it.
inline void turnOffHorizontalPair(float left, float width, float ballLeft, float ballRight, float ballstep,
                                  double& xspeed, std::int16_t& yspeed) {
  if (!(ballLeft > left && left + width > ballRight)) return;
  yspeed = static_cast<std::int16_t>(-yspeed);
  if (xspeed == 0) xspeed = ballstep;
  const float m1 = firstThird(left, width);
  const float m2 = secondThird(left, width);
  if (m1 > ballLeft && xspeed > 0) xspeed = -xspeed;
  if (m1 < ballLeft && m2 > ballRight) xspeed = 0;
  if (m2 < ballRight && xspeed < 0) xspeed = -xspeed;
}

// The same off the vertical pair, from `top` and `height` long, for a ball
// from `ballTop` to `ballBottom`; positive `yspeed` moves the ball up.
inline void turnOffVerticalPair(float top, float height, float ballTop, float ballBottom, float ballstep,
                                double& xspeed, std::int16_t& yspeed) {
  if (!(ballTop > top && top + height > ballBottom)) return;
  xspeed = -xspeed;
  if (yspeed == 0) yspeed = roundTo<std::int16_t>(ballstep);
  const float k1 = firstThird(top, height);
  const float k2 = secondThird(top, height);
  if (k1 > ballTop && yspeed < 0) yspeed = static_cast<std::int16_t>(-yspeed);
  if (k1 < ballTop && k2 > ballBottom) yspeed = 0;
  if (k2 < ballBottom && yspeed > 0) yspeed = static_cast<std::int16_t>(-yspeed);
}

// The loss lines, for the ball as it is when each is tested. The top line
// lies one ball height inside the board's top edge.
inline bool pastBottom(float top, float height, float boardBottom) { return top + height >= boardBottom; }
inline bool pastTop(float top, float height, float boardTop) { return top - height <= boardTop; }
inline bool pastLeft(float left, float boardLeft) { return left <= boardLeft; }
inline bool pastRight(float left, float width, std::int16_t boardRight) {
  return left + width >= static_cast<float>(boardRight);
}

}  // namespace tessaly
