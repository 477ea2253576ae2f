#pragma once
// A player for soak runs, replays and live measurements: between ticks it
// looks at the board, steers the paddle pairs with the arrow keys, serves,
// and clicks the buttons that wait for the player. It plays the same way
// every time from the same state and never allocates.

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

  // Every how many serves the player lets a ball go by on purpose (0: never),
  // so that long runs also lose balls and games.
  void setMissEvery(int serves) { missEvery_ = serves; }
  // How many calls without a point scored the player sits through before it
  // lets a ball that goes nowhere go.
  static constexpr int kPatience = 600;
  // How many calls a ball may spend in a corner of the board.
  static constexpr int kCornered = 60;

 private:
  void push(Action::Kind kind, int code, std::string_view button = {});
  void steer(const Form1& form);
  int whim();

  std::array<Action, 8> actions_{};
  std::size_t count_ = 0;
  std::uint64_t serves_ = 0;
  std::uint64_t lcg_ = 0x853c49e6748fea9bULL;  // the player's own whims, the same every run
  // Per pair: the side the ball last headed for, and the third chosen for it
  // (1 back toward the middle, 0 straight out, -1 away).
  int rowApproach_ = 0;
  int columnApproach_ = 0;
  int aimAcross_ = 1;
  int aimUpright_ = 1;
  int cornered_ = 0;
  int missEvery_ = 0;
  bool missing_ = false;  // letting the current ball go
  // Calls since the score last moved: a ball that only bounces between the
  // paddles and the walls, or off fixed bricks, is let go after a while.
  int quiet_ = 0;
  Integer lastScore_ = -1;
  Integer lastLevel_ = -1;
};

}  // namespace tessaly
