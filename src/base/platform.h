#pragma once
// What the engine takes from its host: the one clock and the one source of
// randomness. Each front end passes real ones; the test harness scripts both.

#include <cstdint>
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

}  // namespace tessaly
