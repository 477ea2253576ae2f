#include "tick_stats.h"

#ifdef _WIN32
#include <windows.h>
// psapi.h needs windows.h first
#include <psapi.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

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

#ifdef _WIN32
// The process's figures as Windows keeps them: times in 100 ns units, the
// working set as its resident memory.
Micros cpuMicros() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  const auto us = [](const FILETIME& t) {
    return static_cast<Micros>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10);
  };
  return us(kernel) + us(user);
}

namespace {
PROCESS_MEMORY_COUNTERS memory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}
}  // namespace

long peakRssKb() { return static_cast<long>(memory().PeakWorkingSetSize / 1024); }

long rssKb() { return static_cast<long>(memory().WorkingSetSize / 1024); }
#else
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

#endif

}  // namespace tessaly::live
