// The live tool's figures: tick periods from the moments the ticks ran.

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <vector>

#include "tick_stats.h"

using namespace tessaly::live;

namespace {

PeriodStats periods(const std::vector<Micros>& moments) {
  auto recorder = std::make_unique<PeriodRecorder>();
  for (Micros m : moments) recorder->add(m);
  return recorder->stats();
}

}  // namespace

TEST(TickStats, EvenTicksHaveTheirIntervalAsMeanAndPercentile) {
  std::vector<Micros> moments;
  for (int i = 0; i < 401; ++i) moments.push_back(1'000'000 + 25'000 * i);
  const PeriodStats s = periods(moments);
  EXPECT_EQ(s.ticks, 401u);
  EXPECT_DOUBLE_EQ(s.meanMs, 25.0);
  EXPECT_DOUBLE_EQ(s.p99Ms, 25.0);
}

TEST(TickStats, OneLateTickInAHundredShowsInThe99thPercentileOnlyBeyondIt) {
  std::vector<Micros> moments{0};
  for (int i = 0; i < 100; ++i) moments.push_back(moments.back() + (i == 50 ? 40'000 : 25'000));
  const PeriodStats one = periods(moments);
  EXPECT_DOUBLE_EQ(one.p99Ms, 25.0);  // 1 gap in 100 lies above the 99th percentile
  moments.back() += 40'000;
  EXPECT_DOUBLE_EQ(periods(moments).p99Ms, 40.0);  // two slow gaps: the lesser is the 99th of 100
  EXPECT_NEAR(one.meanMs, 25.15, 1e-9);
  // Stalls past the histogram's reach show at their true length.
  moments.back() += 460'000;
  moments.push_back(moments.back() + 525'000);
  EXPECT_DOUBLE_EQ(periods(moments).p99Ms, 525.0);
}

TEST(TickStats, TooFewTicksForAPeriod) {
  EXPECT_EQ(periods({}).ticks, 0u);
  const PeriodStats single = periods({5});
  EXPECT_EQ(single.ticks, 1u);
  EXPECT_DOUBLE_EQ(single.meanMs, 0);
}

TEST(TickStats, ProcessFigures) {
  // 200 ms of CPU, as the C library's own process clock measures it, show in
  // cpuMicros(); the bounds allow for the two clocks' different grain.
  const Micros cpuBefore = cpuMicros();
  const std::clock_t start = std::clock();
  while (std::clock() - start < CLOCKS_PER_SEC / 5) {
  }
  const Micros burnt = cpuMicros() - cpuBefore;
  EXPECT_GE(burnt, 150'000);
  EXPECT_LE(burnt, 400'000);
  EXPECT_GT(peakRssKb(), 0);
  // 16 MiB written shows in the resident set at once.
  const long before = rssKb();
  std::vector<char> touched(16 << 20, 1);
  EXPECT_GE(rssKb() - before, 15 * 1024) << touched[touched.size() / 2];
}
