#pragma once
// Figures of a run: periods between timer ticks, CPU use, memory.

#include <cstdint>
#include <vector>

namespace tessaly::live {

using Micros = std::int64_t;

// Mean and 99th percentile of the gaps between successive moments.
struct PeriodStats {
  std::size_t ticks = 0;
  double meanMs = 0;
  double p99Ms = 0;
};
// `moments` in microseconds, ascending; the percentile is the nearest rank.
PeriodStats periods(const std::vector<Micros>& moments);

// CPU time (user and system) used by the process so far, in microseconds.
Micros cpuMicros();
// The largest resident set the process has had, in kilobytes.
long peakRssKb();

}  // namespace tessaly::live
