#pragma once
// The automatic player's look-ahead. The ball flies straight between turns
// and bounces off the bricks as the ball tick makes it; at each paddle band
// each third the pair there can reach in time is tried, the bricks that line
// knocks out are counted (sooner ones more), and a line that runs the ball
// into a corner, along a band or past a pair that cannot get there counts as
// a lost ball. The best line's turns become the plan the steering follows.

#include <array>
#include <cstddef>
#include <optional>

#include "harness/autoplayer_flight.h"

namespace tessaly::autoplay {

// How many turns ahead the player looks, and how many when no brick is in
// reach that soon. Each turn tries three thirds, so a plan follows at most
// 27 lines, or 243 when the board is nearly bare.
inline constexpr int kLookahead = 3;
inline constexpr int kDeepLookahead = 5;

// What a lost ball is worth, in brick hits: more than any line of a few
// turns can knock out, so no line that loses the ball beats one that keeps
// it; finite, so that among lines that lose it the later loss ranks higher.
inline constexpr double kLoss = 40;

// One turn off a paddle pair, as planned: the pair across the board or the
// upright one, the ball tick it comes in, counted from the moment of
// planning, where the pair should stand, and the stretch the other pair must
// keep out of then, lest it turn the ball too.
struct Turn {
  bool across = true;
  int tick = 0;
  double target = 0;
  double keepOutFrom = 0;
  double keepOutTo = 0;
};

// The plan the look-ahead settles on: the arrow that serves a ball at rest,
// and the turns of the best line, soonest first.
struct Plan {
  std::array<Turn, kDeepLookahead> turns{};
  int planned = 0;
  int serveKey = 0;
};

// What the look-ahead works in, kept from plan to plan so that planning
// never allocates.
struct Scratch {
  BrickBoard board;
  // The best line found below each depth, and how many turns it holds.
  std::array<std::array<Turn, kDeepLookahead + 1>, kDeepLookahead + 2> lines{};
  std::array<int, kDeepLookahead + 2> lengths{};
};

class Search {
 public:
  // `whims` add to the worth of each third of the turn at hand (track start,
  // middle, end): the player's whims, when play has gone nowhere for a while.
  Search(const Court& court, Scratch& scratch, const std::array<double, 3>& whims)
      : court_(court), s_(scratch), whims_(whims) {}

  // Looks `depth` turns beyond the next one from `f`; a ball at rest is
  // served both ways, `firstKey` first. Leaves the best line in `plan` when
  // it beats the ones before and says what it is worth.
  double look(const Flight& f, bool atRest, int depth, int firstKey, Plan& plan);

 private:
  struct Pair;
  struct Pairs;
  struct Clearance;
  struct Stage;
  struct Range {
    double from;
    double to;
  };

  double turn(int depth, const Flight& f, int tick, bool across, const Pairs& pairs, bool first);
  double follow(const Stage& at, int third, double target, const Pairs& next, Leg& leg);
  void keepLine(const Stage& at, double target, const Clearance& clear, const Leg& leg);
  double reachable(const Flight& f, int tick, bool across, const Pairs& pairs) const;
  Clearance clearance(const Track& other, const Pair& pair, int tick) const;
  double cornerCost(const Track& track, const Pair& other, int tick) const;
  Range startsFor(const Track& track, int third) const;
  std::optional<double> targetFor(const Track& track, const Pair& pair, int third) const;
  bool bricksAlong(const Flight& f, bool across) const;
  double inLine(const Flight& f, bool across) const;

  const Court& court_;
  Scratch& s_;
  std::array<double, 3> whims_;
};

}  // namespace tessaly::autoplay
