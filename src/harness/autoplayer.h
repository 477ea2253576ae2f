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
// soonest without running the ball into a corner. The flight model is
// autoplayer_flight, the look-ahead autoplayer_search, the steering
// autoplayer_steering.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "game/form1.h"
#include "harness/autoplayer_search.h"

namespace tessaly {

namespace autoplay {
struct Aim;   // where the steering sends each pair
struct Keys;  // the keys it wants held
}  // namespace autoplay

class AutoPlayer {
 public:
  struct Action {
    enum class Kind : std::uint8_t { KeyDown, KeyUp, Click } kind = Kind::KeyDown;
    int code = 0;             // key actions
    std::string_view button;  // clicks
  };

  // The actions to perform now, in order, valid until the next call; the
  // caller performs them (see `perform` below) through whichever event path
  // it watches.
  std::span<const Action> decide(const Form1& form);

  // Every how many serves the player lets a ball go by on purpose (0: never;
  // 1: every ball, from the one in play on), so that long runs also lose
  // balls and games.
  void setMissEvery(int serves) { missEvery_ = serves; }

  // How many turns ahead the player looks at most (1 to
  // autoplay::kDeepLookahead; the default looks as far as it can). One turn
  // still meets most balls, and costs a small part of a deep look; it only
  // stops choosing lines for the bricks they knock out later.
  void setLookahead(int turns);

 private:
  // What the plan was made for: it holds while the ball keeps that line.
  struct PlannedFor {
    bool made = false;
    float left = 0;
    float top = 0;
    double xspeed = 0;
    std::int16_t yspeed = 0;
    double xjitter = 0;
    double yjitter = 0;
    Integer bricks = -1;
    Integer level = -1;
  };
  void push(Action::Kind kind, int code, std::string_view button = {});
  void steer(const Form1& form);
  void noteProgress(const GameState& s);
  autoplay::Aim aimAtPlan(const autoplay::Court& court, int elapsed) const;
  void press(const GameState& s, const autoplay::Keys& want);
  void plan(const Form1& form);
  bool planHolds(const Form1& form) const;
  int elapsedTicks(const Form1& form) const;
  int whim();

  std::array<Action, 8> actions_{};
  std::size_t count_ = 0;
  std::uint64_t serves_ = 0;
  std::uint64_t lcg_ = 0x853c49e6748fea9bULL;  // the player's own whims, the same every run
  int missEvery_ = 0;
  int lookahead_ = autoplay::kDeepLookahead;
  bool missing_ = false;  // letting the current ball go
  // Calls since the score last moved: a ball that only bounces between the
  // paddles and the walls, or off fixed bricks, is let go after a while.
  int quiet_ = 0;
  Integer lastScore_ = -1;
  Integer lastLevel_ = -1;
  bool resting_ = false;

  autoplay::Plan plan_;
  PlannedFor plannedFor_;
  autoplay::Scratch scratch_;
};

// What takes the player's keys and clicks as the game does: the form itself
// (a GamePort), the headless game, which also records and observes them, or
// a front end's own event path.
template <class Input>
concept PlayerInput = requires(Input& input, int code, std::string_view name) {
  input.keyDown(code);
  input.keyUp(code);
  input.click(name);
};

// Performs the player's actions on `input`, in order.
template <PlayerInput Input>
void perform(std::span<const AutoPlayer::Action> actions, Input& input) {
  for (const AutoPlayer::Action& a : actions) {
    switch (a.kind) {
      case AutoPlayer::Action::Kind::KeyDown: input.keyDown(a.code); break;
      case AutoPlayer::Action::Kind::KeyUp: input.keyUp(a.code); break;
      case AutoPlayer::Action::Kind::Click: input.click(a.button); break;
    }
  }
}

}  // namespace tessaly
