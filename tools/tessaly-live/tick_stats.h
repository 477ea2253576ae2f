#pragma once
// Figures of a run: periods between timer ticks, CPU use, memory.

#include <array>
#include <cstdint>

namespace tessaly::live {

using Micros = std::int64_t;

// Mean and 99th percentile of the gaps between successive moments.
struct PeriodStats {
  std::size_t ticks = 0;
  double meanMs = 0;
  double p99Ms = 0;
};

// Gathers the gaps between successive moments (microseconds, ascending) as
// they come, in a histogram of fixed size: an hour of ticks takes no more
// memory than a second, so the recorder itself never makes the process grow.
class PeriodRecorder {
 public:
  void add(Micros moment);
  std::size_t ticks() const { return ticks_; }
  // The percentile is the nearest rank, to the histogram's 10 µs; past its
  // reach the longest gap stands for all.
  PeriodStats stats() const;

 private:
  static constexpr Micros kBinMicros = 10;
  static constexpr std::size_t kBins = 20'000;  // gaps up to 200 ms; longer ones share the last bin
  std::array<std::uint32_t, kBins + 1> gaps_{};
  std::size_t ticks_ = 0;
  Micros last_ = 0;
  Micros sum_ = 0;
  Micros longest_ = 0;
};

// CPU time (user and system) used by the process so far, in microseconds.
Micros cpuMicros();
// The largest resident set the process has had, in kilobytes.
long peakRssKb();
// The resident set now, in kilobytes; read without allocating.
long rssKb();

}  // namespace tessaly::live
