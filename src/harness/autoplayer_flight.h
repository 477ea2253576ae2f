#pragma once
// The automatic player's flight model: the ball as the ball tick moves it,
// over a scratch copy of the bricks that the look-ahead knocks out and puts
// back. The probes, the bounces, the paddle bands, the turns off the pairs
// and the loss lines are the engine's own (game/ball_rules.h); only the
// jitter a brick hit draws is taken at its mean, and the pair that turns the
// ball stands where the plan puts it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/ball_rules.h"
#include "game/form1.h"

namespace tessaly::autoplay {

// A brick hit `t` ball ticks ahead counts discount(t) of one now. The ball
// crosses the board in about 100 ticks at the base step; 0.996 a tick
// leaves a brick one crossing away two thirds of its worth, so bricks soon
// come first without those a few turns away being ignored.
inline constexpr double kDiscount = 0.996;
double discount(int tick);

// The speed factor a brick hit draws is uniform in (0.95, 1]: the model
// flies on with its mean.
inline constexpr double kMeanJitter = 0.975;

// The longest flight followed between two turns: four crossings of the
// board. A ball that meets no band in that time is loose among fixed bricks,
// and the look-ahead stops there.
inline constexpr int kFlightTicks = 400;

// A pair's step per paddle tick is two ball steps times its speed factor,
// which Space raises to 1.5 (the paddle tick and the keyboard).
inline constexpr double kSlowSpeed = 1.0;
inline constexpr double kSpaceSpeed = 1.5;
inline double paddleStride(float ballstep, double speed) { return 2.0 * ballstep * speed; }

// The ball in flight as the ball tick sees it.
struct Flight {
  float left = 0;
  float top = 0;
  double vx = 0;        // positive moves right
  std::int16_t vy = 0;  // positive moves up
  double xj = 1;
  double yj = 1;
  Integer lastcell = 0;

  static Flight of(const Form1& form);  // the ball as it is now
  // One ball tick's move, before the bricks and the bands have their say.
  void move() {
    left = static_cast<float>(left + vx * xj);
    top = static_cast<float>(top - vy * yj);
  }
};

// Which paddle bands a ball is in, and whether it still moves toward the
// edge the band guards: then the pair there has yet to turn it.
struct BandsAt {
  bool bottom;  // of the two row bands, the bottom one
  bool row;
  bool left;  // of the two column bands, the left one
  bool column;

  BandsAt(const PaddleBands& bands, float ballLeft, float ballTop);
  bool rowInbound(std::int16_t vy) const { return bottom ? vy < 0 : vy > 0; }
  bool columnInbound(double vx) const { return left ? vx < 0 : vx > 0; }
};

// Where the ball lies along one pair's track (from `at`, `size` long), how
// long the pair is, and where it may start (`lo` to `hi`).
struct Track {
  double at;
  double size;
  double length;
  double lo;
  double hi;
};

// The board's measures, read from the form once per plan. `across` names
// the pair that runs across the board (bottom and top, standing for both by
// the bottom paddle), the upright pair is the left and right one (by the
// right paddle).
struct Court {
  PaddleBands bands;
  float ballW, ballH;
  double acrossW, uprightH;  // the pairs' lengths along their tracks
  double acrossMin, acrossMax, uprightMin, uprightMax;
  double acrossAt, uprightAt;  // where the pairs start now
  float boardLeft, boardTop, boardBottom, cellW, cellH;
  std::int16_t boardRight;
  float step;
  std::int16_t yStep;
  double stride;  // a pair's step with Space held

  explicit Court(const Form1& form);
  Track track(const Flight& f, bool across) const;
  bool lost(const Flight& f) const;
};

// The bricks as the look-ahead knocks them out, and how to put them back.
class BrickBoard {
 public:
  using Cells = decltype(GameState::cells);

  // Copies the game's bricks and notes the span of the board they lie in.
  void reset(const GameState& s);
  const Cells& cells() const { return cells_; }
  // Whether a ball with this box lies wholly outside the span of bricks.
  bool clearOf(const BallBox& box) const;
  // Wears a breakable brick down by one; says whether it did (fixed bricks
  // never wear, and a full log knocks out no more).
  bool knock(int column, int row);
  std::size_t mark() const { return knocked_; }
  void restore(std::size_t mark);
  // Whether a column (`across`) or row of the grid holds a breakable brick.
  bool breakableIn(int line, bool across) const;

 private:
  struct Knock {
    std::int16_t column;
    std::int16_t row;
  };
  // Far more hits than a look-ahead of a few turns meets in play; past it
  // the bricks stay whole, which only makes the line look worse.
  static constexpr std::size_t kKnocks = 1024;
  Cells cells_{};
  std::array<Knock, kKnocks> knocks_{};
  std::size_t knocked_ = 0;
  std::array<double, 2> bricksFrom_{};  // where bricks lie, relative to the board
  std::array<double, 2> bricksTo_{};
};

// How a flight ends: in a band where the pair across or the upright pair
// must turn it, lost, or still open after kFlightTicks.
enum class End : std::uint8_t { AcrossTurn, UprightTurn, Lost, Open };
struct Leg {
  End end;
  int tick;
  double gain;  // the discounted worth of the bricks knocked out on the way
};

// Flies the ball from `tick` to the next band it must be turned in,
// knocking bricks out on `board`.
Leg fly(Flight& f, int tick, const Court& court, BrickBoard& board);
// A ball at rest served with the arrow key `arrow`.
void serve(Flight& f, const Court& court, int arrow);
// The turn off the pair across (`across`) or the upright pair, standing at
// `start` along its track, by the ball tick's own rule.
void turnOff(Flight& f, const Court& court, bool across, double start);

}  // namespace tessaly::autoplay
