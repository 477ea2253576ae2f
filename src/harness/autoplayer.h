#pragma once
// A player for soak runs, replays and live measurements: between ticks it
// looks at the board, steers the paddle pairs with the arrow keys, serves,
// and clicks the buttons that wait for the player. It plays the same way
// every time from the same state and never allocates.
//
// It plays by looking ahead: the ball flies straight between turns, so the
// player follows it over the bricks to the next paddle band, tries each third
// the pair there could present, follows each outcome a few turns further, and
// steers both pairs toward the line of turns that knocks out the most bricks
// soonest without running the ball into a corner.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "game/form1.h"

namespace tessaly {

class AutoPlayer {
 public:
  struct Action {
    enum class Kind : std::uint8_t { KeyDown, KeyUp, Click } kind = Kind::KeyDown;
    int code = 0;             // key actions
    std::string_view button;  // clicks
  };

  // Decides and performs this moment's actions on the form.
  void play(Form1& form);
  // Decides only: the actions to perform now, in order, valid until the next
  // call. For hosts that route input through their own event path.
  std::span<const Action> decide(const Form1& form);

  // Every how many serves the player lets a ball go by on purpose (0: never;
  // 1: every ball, from the one in play on), so that long runs also lose
  // balls and games.
  void setMissEvery(int serves) { missEvery_ = serves; }
  // How many calls without a point scored the player sits through before it
  // lets a ball that goes nowhere go.
  static constexpr int kPatience = 1200;
  // How many turns ahead the player looks, and how many when no brick is in
  // reach that soon.
  static constexpr int kLookahead = 3;
  static constexpr int kDeepLookahead = 5;

  // One turn off a paddle pair, as planned: the pair across the board (the
  // bottom and top paddles) or the upright one, the ball tick it comes in,
  // counted from the moment of planning, where the pair should stand, and the
  // stretch the other pair must keep out of then, lest it turn the ball too.
  struct Turn {
    bool across = true;
    int tick = 0;
    double target = 0;
    double keepOutFrom = 0;
    double keepOutTo = 0;
  };

 private:
  // The bricks as the look-ahead knocks them out, and how to put them back.
  struct Knock {
    std::int16_t column;
    std::int16_t row;
  };
  using Cells = decltype(GameState::cells);
  static constexpr std::size_t kKnocks = 1024;
  struct Scratch {
    Cells cells{};
    std::array<Knock, kKnocks> knocks{};
    std::size_t knocked = 0;
    std::array<double, 2> bricksFrom{};  // where bricks lie, relative to the board
    std::array<double, 2> bricksTo{};
    // The best line found below each depth, and how many turns it holds.
    std::array<std::array<Turn, kDeepLookahead + 1>, kDeepLookahead + 2> lines{};
    std::array<int, kDeepLookahead + 2> lengths{};
  };
  struct Search;  // the look-ahead, kept out of the header

  void push(Action::Kind kind, int code, std::string_view button = {});
  void steer(const Form1& form);
  void plan(const Form1& form);
  bool planHolds(const Form1& form) const;
  int elapsedTicks(const Form1& form) const;
  int whim();

  std::array<Action, 8> actions_{};
  std::size_t count_ = 0;
  std::uint64_t serves_ = 0;
  std::uint64_t lcg_ = 0x853c49e6748fea9bULL;  // the player's own whims, the same every run
  int missEvery_ = 0;
  bool missing_ = false;  // letting the current ball go
  // Calls since the score last moved: a ball that only bounces between the
  // paddles and the walls, or off fixed bricks, is let go after a while.
  int quiet_ = 0;
  Integer lastScore_ = -1;
  Integer lastLevel_ = -1;

  // The plan and the line of flight it was made for: it holds while the ball
  // keeps that line.
  std::array<Turn, kDeepLookahead> turns_{};
  int planned_ = 0;
  bool planMade_ = false;
  int serveKey_ = 0;
  bool resting_ = false;
  float planLeft_ = 0;
  float planTop_ = 0;
  double planXSpeed_ = 0;
  std::int16_t planYSpeed_ = 0;
  double planXJitter_ = 0;
  double planYJitter_ = 0;
  Integer planBricks_ = -1;
  Integer planLevel_ = -1;
  Scratch scratch_;
};

}  // namespace tessaly
