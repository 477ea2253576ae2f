#include "tick_stats.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessaly::live {

void PeriodRecorder::add(Micros moment) {
  if (ticks_++ > 0) {
    const Micros gap = moment - last_;
    gaps_[std::min(static_cast<std::size_t>(std::max<Micros>(gap, 0) / kBinMicros), kBins)]++;
    sum_ += gap;
    longest_ = std::max(longest_, gap);
  }
  last_ = moment;
}

PeriodStats PeriodRecorder::stats() const {
  PeriodStats s;
  s.ticks = ticks_;
  if (ticks_ < 2) return s;
  const std::size_t count = ticks_ - 1;
  s.meanMs = static_cast<double>(sum_) / static_cast<double>(count) / 1000.0;
  const auto rank = std::max<std::size_t>(static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(count))), 1);
  std::size_t seen = 0;
  for (std::size_t bin = 0; bin < kBins; ++bin) {
    seen += gaps_[bin];
    if (seen >= rank) {
      s.p99Ms = static_cast<double>(static_cast<Micros>(bin) * kBinMicros) / 1000.0;
      return s;
    }
  }
  s.p99Ms = static_cast<double>(longest_) / 1000.0;
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

long rssKb() {
  // statm: total and resident pages, then more.
  const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char text[128] = {};
  const ssize_t got = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (got <= 0) return 0;
  char* rest = nullptr;
  std::strtol(text, &rest, 10);
  const long pages = std::strtol(rest, nullptr, 10);
  return pages * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace tessaly::live
