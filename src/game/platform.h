#pragma once
// What the engine takes from its host: the one clock and the one source of
// randomness. The desktop game passes real ones; tests script both.

#include <cstdint>
#include <deque>
#include <random>

namespace tessaly {

using TimeMs = std::int64_t;

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic milliseconds; timers are due against this.
  virtual TimeMs now() const = 0;
  // What the start-up sequence seeds the random generator with.
  virtual std::uint64_t seed() const = 0;
};

// The clock of the real game: steady time for the timers, the time of day for
// the seed, so that each run plays differently.
class SystemClock final : public Clock {
 public:
  TimeMs now() const override;
  std::uint64_t seed() const override;
};

// A clock that only moves when told to; see advance() in game/virtual_time.h.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint64_t seed = 0, TimeMs start = 0) : now_(start), seed_(seed) {}
  TimeMs now() const override { return now_; }
  std::uint64_t seed() const override { return seed_; }
  void set(TimeMs t) { now_ = t; }

 private:
  TimeMs now_;
  std::uint64_t seed_;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void seed(std::uint64_t value) = 0;
  // A single-precision draw r with 0 <= r < 1.
  virtual float draw() = 0;
};

// The standard library's Mersenne Twister; a draw takes its top 24 bits, so r
// is an exact float in [0, 1) on every platform.
class StdRandom final : public RandomSource {
 public:
  void seed(std::uint64_t value) override;
  float draw() override;

 private:
  std::mt19937 engine_;
};

// Hands out exactly the draws a test scripted. Running out is an error the
// test sees (std::logic_error), unless the test asked for a value to repeat.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}
  void push(float r) { draws_.push_back(r); }
  void repeatWhenEmpty(float r) {
    fallback_ = r;
    hasFallback_ = true;
  }
  void seed(std::uint64_t) override { ++seeded_; }
  float draw() override;
  std::size_t remaining() const { return draws_.size(); }
  int timesSeeded() const { return seeded_; }

 private:
  std::deque<float> draws_;
  float fallback_ = 0;
  bool hasFallback_ = false;
  int seeded_ = 0;
};

}  // namespace tessaly
