#include "harness/autoplayer_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaly::autoplay {

namespace {

// Of a pair's stride with Space held, what it is counted on to cover per
// tick on the way to a later turn: a tenth is left for the ticks lost to
// stopping and setting off, so that a plan does not hang on every step.
constexpr double kReach = 0.9;
// Twips kept from the edges of a third: the flight model flies on at the
// mean jitter, and the ball it predicts drifts from the real one by up to
// 1.5 twips a tick at the base step, some 30 twips over a short flight.
constexpr double kMargin = 30;
// Turns closer than this are in a corner: at the base step (a quarter cell)
// the ball covers a pair's length (four cells) in 16 ticks.
constexpr int kCornerTicks = 16;
// What a turn in a corner costs, in brick hits: the thirds there mostly lead
// into the next corner or along an edge. Enough to prefer an open line that
// knocks out as much, small beside a lost ball.
constexpr double kCorner = 3;
// A straight shot past no breakable brick only comes back the same way: it
// costs a brick hit, so the search sends the ball somewhere new.
constexpr double kWaste = 1;
// At the look-ahead's end a ball in line with bricks is worth up to half a
// brick hit: enough to break ties, never to outweigh a brick knocked out.
constexpr double kAlign = 0.5;
// How fast that worth falls with the distance to the nearest line of
// bricks: to 1/e three cells off.
constexpr double kAlignCells = 3;
// Falling short at the turn at hand is nearly a lost ball: half of one, and
// a whole one more for every 1000 twips (about a pair's length) short.
constexpr double kShortLoss = 0.5;
constexpr double kShortTwipsPerLoss = 1000;
constexpr double kNone = -std::numeric_limits<double>::infinity();
// A tick long before any plan: a pair that turned then has not turned lately.
constexpr int kLongAgo = -1000;

// The start nearest `pos` in [from, to] that the pair can stop at for sure:
// it stops within `slack` (half its slow stride) of where it heads for.
double within(double pos, double from, double to, double slack) {
  const double middle = (from + to) / 2;
  const double play = std::max(0.0, (to - from) / 2 - slack);
  return std::clamp(pos, middle - play, middle + play);
}

}  // namespace

struct Search::Pair {
  double pos;
  int ready;   // the tick from which the pair stands at pos, free to move
  int turned;  // the tick of its last turn
  // A stretch of its track it must be out of at a tick, while the other
  // pair turns the ball.
  double keepOutFrom = 0;
  double keepOutTo = 0;
  int keepOutTick = kLongAgo;

  // How far the pair falls short of standing at `target` by `tick`; it may
  // not cross the stretch it must keep out of before it may.
  double shortfall(double target, int tick, double stride, bool soon = false) const {
    double from = pos;
    int at = ready;
    if (keepOutTick > ready) {
      const bool below = pos <= keepOutFrom;
      if (below ? target > keepOutFrom : target < keepOutTo) {
        from = below ? keepOutFrom : keepOutTo;
        at = keepOutTick;
      }
    }
    // The turn at hand is near enough to count on every step, at full speed.
    if (soon) return std::abs(target - from) - stride * (tick - at);
    return std::abs(target - from) - kReach * stride * (tick - at - 1);
  }
};

struct Search::Pairs {
  Pair across;
  Pair upright;
};

// Where the other pair must keep out of while this one turns the ball, where
// it goes to do so and how far it falls short of getting there in time.
struct Search::Clearance {
  double from;
  double to;
  double pos;
  double shortfall;
};

// A turn being tried: the ball as it comes into the band, and what every
// third there shares.
struct Search::Stage {
  int depth;
  const Flight& f;
  int tick;
  bool across;
  bool first;       // the turn at hand
  double cornered;  // what a turn here costs for being in a corner
  double late;      // how far the other pair falls short of clearing the ball
};

double Search::look(const Flight& f, bool atRest, int depth, int firstKey, Plan& plan) {
  const Pairs pairs{{court_.acrossAt, 0, kLongAgo}, {court_.uprightAt, 0, kLongAgo}};
  double best = kNone;
  for (int k : {firstKey, firstKey == key::Left ? key::Right : key::Left}) {
    Flight g = f;
    if (atRest) serve(g, court_, k);
    const Leg leg = fly(g, 0, court_, s_.board);
    const bool turns = leg.end == End::AcrossTurn || leg.end == End::UprightTurn;
    double value = leg.gain;
    if (leg.end == End::Lost) value -= kLoss;
    if (turns) value += turn(depth, g, leg.tick, leg.end == End::AcrossTurn, pairs, !atRest);
    s_.board.restore(0);
    if (value > best) {
      best = value;
      plan.serveKey = k;
      const auto d = static_cast<std::size_t>(depth);
      const int n = s_.lengths[d];
      for (int i = 0; i < n; ++i) plan.turns[static_cast<std::size_t>(i)] = s_.lines[d][static_cast<std::size_t>(i)];
      plan.planned = turns ? n : 0;
    }
    if (!atRest) break;  // in flight there is only the line it is on
  }
  return best;
}

// The ball has just come into a band at `tick`: tries each third of the pair
// there and returns the best line's worth, leaving its turns in
// lines[depth]. `first` marks the turn at hand, which is tried even when the
// pair looks too far, since there is nothing else to do.
double Search::turn(int depth, const Flight& f, int tick, bool across, const Pairs& pairs, bool first) {
  s_.lengths[static_cast<std::size_t>(depth)] = 0;
  const Pair& mine = across ? pairs.across : pairs.upright;
  const Pair& other = across ? pairs.upright : pairs.across;
  const Track track = court_.track(f, across);
  // The other pair must not span the ball now, or it turns it as well.
  const Clearance clear = clearance(court_.track(f, !across), other, tick);
  if (clear.shortfall > 0 && !first) return kLoss * -discount(tick);
  const Stage stage{depth, f, tick, across, first, cornerCost(track, other, tick), std::max(0.0, clear.shortfall)};

  double best = kNone;
  for (int third = -1; third <= 1; ++third) {
    const std::optional<double> target = targetFor(track, mine, third);
    if (!target) continue;
    const double shortfall = mine.shortfall(*target, tick, court_.stride, first);
    if (shortfall > 0 && !first) continue;

    Pairs next = pairs;
    (across ? next.across : next.upright) = {*target, tick, tick};
    (across ? next.upright : next.across) = {
        clear.pos, clear.pos == other.pos ? other.ready : tick, other.turned, clear.from, clear.to, tick};
    Leg leg{};
    double value = follow(stage, third, *target, next, leg);
    const double missed = stage.late + std::max(0.0, shortfall);
    if (missed > 0) value -= kLoss * (kShortLoss + missed / kShortTwipsPerLoss);
    const int slot = third + 1;
    if (first) value += whims_[static_cast<std::size_t>(slot)];
    if (value > best) {
      best = value;
      keepLine(stage, *target, clear, leg);
    }
  }
  if (best == kNone) return kLoss * -discount(tick);
  return best;
}

// Turns the ball off `third` of the pair standing at `target` and follows
// it: the bricks it knocks out and the turns beyond, less what the turn costs.
double Search::follow(const Stage& at, int third, double target, const Pairs& next, Leg& leg) {
  const double waste = third == 0 && !bricksAlong(at.f, at.across) ? kWaste * discount(at.tick) : 0;
  const std::size_t mark = s_.board.mark();
  Flight g = at.f;
  turnOff(g, court_, at.across, target);
  leg = fly(g, at.tick, court_, s_.board);
  double value = leg.gain - at.cornered - waste;
  if (leg.end == End::Lost) {
    value -= kLoss * discount(leg.tick);
  } else if (leg.end != End::Open) {
    const bool nextAcross = leg.end == End::AcrossTurn;
    value += at.depth > 0 ? turn(at.depth - 1, g, leg.tick, nextAcross, next, false)
                          : reachable(g, leg.tick, nextAcross, next);
  }
  s_.board.restore(mark);
  return value;
}

// The best line so far at this depth: this turn, then the best line below.
void Search::keepLine(const Stage& at, double target, const Clearance& clear, const Leg& leg) {
  const auto depth = static_cast<std::size_t>(at.depth);
  auto& line = s_.lines[depth];
  line[0] = {at.across, at.tick, target, clear.from, clear.to};
  int n = 1;
  if (depth > 0 && leg.end != End::Lost && leg.end != End::Open) {
    const auto& below = s_.lines[depth - 1];
    for (int i = 0; i < s_.lengths[depth - 1]; ++i)
      line[static_cast<std::size_t>(n++)] = below[static_cast<std::size_t>(i)];
  }
  s_.lengths[depth] = n;
}

// Where the look-ahead stops: a turn that no third can make is a lost ball;
// otherwise a little for bricks in line.
double Search::reachable(const Flight& f, int tick, bool across, const Pairs& pairs) const {
  const Pair& mine = across ? pairs.across : pairs.upright;
  const Track track = court_.track(f, across);
  for (int third = -1; third <= 1; ++third) {
    const std::optional<double> target = targetFor(track, mine, third);
    if (target && mine.shortfall(*target, tick, court_.stride) <= 0) {
      return kAlign * inLine(f, across) * discount(tick);
    }
  }
  return kLoss * -discount(tick);
}

Search::Clearance Search::clearance(const Track& other, const Pair& pair, int tick) const {
  Clearance c{other.at + other.size - other.length - kMargin, other.at + kMargin, pair.pos, 0};
  if (c.pos > c.from && c.pos < c.to) {
    const bool below = c.from >= other.lo;
    const bool above = c.to <= other.hi;
    if (below && (!above || c.pos - c.from < c.to - c.pos)) {
      c.pos = c.from;
    } else if (above) {
      c.pos = c.to;
    }
    c.shortfall = std::abs(c.pos - pair.pos) - kReach * court_.stride * (tick - pair.ready);
  }
  return c;
}

// A turn hard on the other pair's is a ball in a corner; so is one where the
// pair cannot send the ball back toward the middle.
double Search::cornerCost(const Track& track, const Pair& other, int tick) const {
  const double middle = (track.lo + track.hi + track.length) / 2;
  const int inward = track.at + track.size / 2 < middle ? 1 : -1;
  const Range back = startsFor(track, inward);
  const bool trapped = back.from > back.to;
  return tick - other.turned < kCornerTicks || trapped ? kCorner * discount(tick) : 0;
}

// Where the pair may start so that the ball meets the third that sends it
// toward the track's start (-1), straight out (0) or toward its end (1), with
// kMargin to spare and on the track: empty when `from` passes `to`.
Search::Range Search::startsFor(const Track& track, int third) const {
  const double t = track.length / 3;
  Range r{track.at + track.size - track.length, track.at + track.size - 2 * t};
  if (third < 0) r = {track.at - t, track.at};
  if (third == 0) r = {track.at + track.size - 2 * t, track.at - t};
  return {std::max(r.from + kMargin, track.lo), std::min(r.to - kMargin, track.hi)};
}

std::optional<double> Search::targetFor(const Track& track, const Pair& pair, int third) const {
  const Range r = startsFor(track, third);
  if (r.from > r.to) return std::nullopt;
  return within(pair.pos, r.from, r.to, court_.step);
}

// Whether a straight shot from where the ball is, up or down the board
// (`across`) or over it, passes a breakable brick: the lines under its
// probes, all the way along.
bool Search::bricksAlong(const Flight& f, bool across) const {
  const double near = across ? f.left - court_.boardLeft : f.top - court_.boardTop;
  const double cell = across ? court_.cellW : court_.cellH;
  const int first = std::max(1, cellIndex(near, static_cast<float>(cell)));
  const int last =
      std::min(kGridSize, cellIndex(near + (across ? court_.ballW : court_.ballH), static_cast<float>(cell)));
  for (int line = first; line <= last; ++line)
    if (s_.board.breakableIn(line, across)) return true;
  return false;
}

// How close the ball comes to lining up with a breakable brick, from 0 to 1:
// at a turn across the board a straight shot drills the column it is in, at
// an upright turn the row.
double Search::inLine(const Flight& f, bool across) const {
  const double centre =
      across ? f.left - court_.boardLeft + court_.ballW / 2.0 : f.top - court_.boardTop + court_.ballH / 2.0;
  const double cell = across ? court_.cellW : court_.cellH;
  double nearest = std::numeric_limits<double>::infinity();
  for (int line = 1; line <= kGridSize; ++line)
    if (s_.board.breakableIn(line, across)) nearest = std::min(nearest, std::abs(centre - (line - 0.5) * cell));
  return std::exp(-nearest / (kAlignCells * cell));
}

}  // namespace tessaly::autoplay
