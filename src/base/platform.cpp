#include "base/platform.h"

#include <chrono>

namespace tessaly {

TimeMs SystemClock::now() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::uint64_t SystemClock::seed() const {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count());
}

void StdRandom::seed(std::uint64_t value) {
  std::seed_seq seq{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
  engine_.seed(seq);
}

float StdRandom::draw() {
  // 24 random bits fill a float's mantissa exactly: r = k / 2^24 < 1.
  return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace tessaly
