#pragma once
// A game window on virtual time with scripted random draws, and the small
// helpers the engine tests share: laying out bricks, placing the ball, and
// reading objects back.

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "game/form1.h"
#include "harness/scripted_game.h"
#include "ui/controls.h"

namespace tessaly::test {

// The board as the window opens: 6000 twips square at (120, 2040), cells of 240.
inline constexpr float kBoardLeft = 120;
inline constexpr float kBoardTop = 2040;
inline constexpr float kCell = 240;

struct BrickAt {
  int column;  // grid column, 6..20
  int row;     // grid row, 6..20
  int value;   // 1..9
};

inline void expectBounds(const ScreenObject& o, float left, float top, float width, float height) {
  EXPECT_EQ(o.left(), left) << o.name() << "(" << o.index() << ") Left";
  EXPECT_EQ(o.top(), top) << o.name() << "(" << o.index() << ") Top";
  EXPECT_EQ(o.width(), width) << o.name() << "(" << o.index() << ") Width";
  EXPECT_EQ(o.height(), height) << o.name() << "(" << o.index() << ") Height";
}

// The spare-ball markers: the first `shown` lit, the rest dark.
inline void expectMarkers(Controls& c, int shown) {
  for (int i = 0; i < kLifeMarkers; ++i) EXPECT_EQ(c.life(i).visible(), i < shown) << "life(" << i << ")";
}

// The expected factor for a draw r, worked out the way the game states it.
inline double jitterFor(float r) { return 1.0 - static_cast<double>(r) * 0.05; }

// Brick number of a grid cell.
inline int brickNumber(int column, int row) { return (row - 1) * 25 + column; }

// The window, not yet opened. With `drawsRepeat` every draw the test did not
// script is 0 (factors exactly 1); without it an unscripted draw throws, so a
// test sees every draw the game makes.
class Rig {
 public:
  explicit Rig(bool drawsRepeat = true) : game(drawsRepeat ? GameSetup{.repeat = 0.0f} : GameSetup{}) {}

  std::array<std::string, 15> rows;  // outlives the form, whose pattern table may point here
  ScriptedGame game;
  VirtualClock& clock = game.clock;
  ScriptedRandom& random = game.random;
  Form1& form = game.form;
  GameState& s = form.state;

  Controls& c() { return form.controls(); }
  void run(TimeMs ms) { game.advance(ms); }

  // Replaces the pattern in play by one holding just these bricks and lays it out.
  void layOut(std::initializer_list<BrickAt> bricks) {
    for (std::string& row : rows) row.assign(15, '0');
    for (const BrickAt& b : bricks)
      rows[static_cast<std::size_t>(b.row - 6)][static_cast<std::size_t>(b.column - 6)] =
          static_cast<char>('0' + b.value);
    for (std::size_t r = 0; r < rows.size(); ++r)
      s.patternrows[static_cast<std::size_t>(s.patternnum)][r + 1] = rows[r];
    form.grid();
  }

  void putBall(float left, float top) { c().ball.move(left, top); }

  // Puts the ball (120 across) in the middle of a cell, so that all four
  // probes fall inside it.
  void putBallInCell(int column, int row) {
    putBall(kBoardLeft + static_cast<float>(column - 1) * kCell + kCell / 4,
            kBoardTop + static_cast<float>(row - 1) * kCell + kCell / 4);
  }

  void setSpeeds(double xs, int ys) {
    s.ballxspeed = xs;
    s.ballyspeed = static_cast<std::int16_t>(ys);
  }

  // One collision pass with the ball in the middle of that cell, as after a
  // move that brought it there from another cell.
  void hitCell(int column, int row) {
    s.lastcell = 0;
    putBallInCell(column, row);
    form.whereball();
  }

  int shownBricks() {
    int n = 0;
    for (int i = 1; i <= 625; ++i) n += c().brick(i).visible() ? 1 : 0;
    return n;
  }
};

// An opened window whose draws are all 0.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override { g.form.open(); }
  Rig g;
  GameState& s = g.s;
};

// An opened window that hands out only scripted draws; the start-up serve
// has taken its two (both 0).
class StrictGameTest : public ::testing::Test {
 protected:
  StrictGameTest() : g(false) {}
  void SetUp() override {
    g.random.push(0.0f);
    g.random.push(0.0f);
    g.form.open();
    ASSERT_EQ(g.random.remaining(), 0u);
  }
  Rig g;
  GameState& s = g.s;
};

}  // namespace tessaly::test
