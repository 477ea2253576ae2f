#include "tick_stats.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaly::live {

PeriodStats periods(const std::vector<Micros>& moments) {
  PeriodStats s;
  s.ticks = moments.size();
  if (moments.size() < 2) return s;
  std::vector<Micros> gaps(moments.size() - 1);
  for (std::size_t i = 1; i < moments.size(); ++i) gaps[i - 1] = moments[i] - moments[i - 1];
  s.meanMs = static_cast<double>(std::accumulate(gaps.begin(), gaps.end(), Micros{0})) / gaps.size() / 1000.0;
  std::sort(gaps.begin(), gaps.end());
  const auto rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(gaps.size())));
  s.p99Ms = gaps[std::max<std::size_t>(rank, 1) - 1] / 1000.0;
  return s;
}

Micros cpuMicros() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const auto us = [](const timeval& t) { return Micros{t.tv_sec} * 1'000'000 + t.tv_usec; };
  return us(u.ru_utime) + us(u.ru_stime);
}

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace tessaly::live
