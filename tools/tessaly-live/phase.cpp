#include "phase.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tessaly::live {

using frontend::Event;

namespace {

constexpr Micros kSecond = 1'000'000;

// Wakes the loop when a phase ends, even while a paused game sleeps for good.
Uint32 wakeLoop(Uint32, void* window) {
  static_cast<desktop::GameWindow*>(window)->wake();
  return 0;
}

double seconds(Micros m) { return static_cast<double>(m) / 1e6; }

// The automatic player's keys and clicks as the window's own events;
// clicks are counted.
struct LoopInput {
  frontend::GameLoop& loop;
  long& clicks;
  void keyDown(int code) { loop.handle(Event::keyDown(code)); }
  void keyUp(int code) { loop.handle(Event::keyUp(code)); }
  void click(std::string_view name) {
    loop.handle(Event::click(name));
    ++clicks;
  }
};

}  // namespace

Micros nowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

Phase::Phase(desktop::GameWindow& window, Form1& form, const PhaseOptions& options) : form_(form), options_(options) {
  player_.setMissEvery(options.missEvery);
  begin_ = stretch_ = now();
  end_ = begin_.at + static_cast<Micros>(options.seconds) * kSecond;
  nextReport_ = begin_.at + static_cast<Micros>(options.reportEvery) * kSecond;
  nextSample_ = begin_.at + kSecond;
  SDL_AddTimer(static_cast<Uint32>(options.seconds * 1000 + 1), wakeLoop, &window);
}

Phase::Count Phase::now() const {
  return {nowMicros(), {timers_[0].ticks(), timers_[1].ticks()}, frames_, cpuMicros()};
}

void Phase::ticked(int timer) { timers_[timer == 1 ? 0 : 1].add(nowMicros()); }

void Phase::presented() {
  ++frames_;
  if (firstFrame_ == 0) firstFrame_ = nowMicros();
}

bool Phase::between(frontend::GameLoop& loop) {
  const Form1& form = form_;
  if (form.isOpen() && form.controls().Timer1.interval() > 0) interval_ = form.controls().Timer1.interval();
  if (options_.autoplay) {
    // The player's keys and clicks take the window's own path.
    LoopInput input{loop, clicks_};
    perform(player_.decide(form), input);
  }
  const Micros t = nowMicros();
  if (t >= nextSample_) {
    sampleMemory(t);
    nextSample_ += kSecond;
  }
  if (options_.reportEvery > 0 && t >= nextReport_) {
    progress();
    nextReport_ += static_cast<Micros>(options_.reportEvery) * kSecond;
  }
  if (t < end_) return true;
  finish();
  return false;
}

void Phase::sampleMemory(Micros at) {
  if (options_.limits == nullptr || at - begin_.at < options_.limits->settleMicros) return;
  const long rss = rssKb();
  if (rssSettled_ == 0) rssSettled_ = rss;
  rssHighest_ = std::max(rssHighest_, rss);
}

void Phase::progress() {
  const Count c = now();
  const double wall = seconds(c.at - stretch_.at);
  double rate[2];
  for (int i = 0; i < 2; ++i) rate[i] = static_cast<double>(c.ticks[i] - stretch_.ticks[i]) / wall;
  std::printf("at %6.0f s  RSS %6ld KiB  Timer1 %5.2f/s  Timer2 %5.2f/s  frames %5ld  CPU %5.2f %%  level %ld\n",
              seconds(c.at - begin_.at), rssKb(), rate[0], rate[1], c.frames - stretch_.frames,
              100.0 * static_cast<double>(c.cpu - stretch_.cpu) / static_cast<double>(c.at - stretch_.at),
              static_cast<long>(form_.state.levelnum));
  std::fflush(stdout);
  // Stretches within the start-up allowance may lose a tick or two to the
  // first paint and the font caches; the whole run's rate still counts them.
  if (options_.limits != nullptr && interval_ > 0 && stretch_.at - begin_.at >= options_.limits->settleMicros) {
    const double beat = 1000.0 / interval_;
    for (int i = 0; i < 2; ++i) {
      if (std::abs(rate[i] - beat) <= options_.limits->ticksPerSecondOff) continue;
      std::printf("check: Timer%d ticked %.2f times a second from %.0f s to %.0f s, not %.0f +- %.0f\n", i + 1, rate[i],
                  seconds(stretch_.at - begin_.at), seconds(c.at - begin_.at), beat,
                  options_.limits->ticksPerSecondOff);
      ++breaches_;
    }
  }
  stretch_ = c;
}

void Phase::finish() {
  if (finished_ || options_.limits == nullptr) return;
  finished_ = true;
  const Limits& limits = *options_.limits;
  const double wall = seconds(nowMicros() - begin_.at);
  if (interval_ > 0) {
    for (int i = 0; i < 2; ++i) {
      const double rate = static_cast<double>(timers_[i].ticks()) / wall;
      std::printf("check: Timer%d %.2f ticks a second over %.0f s\n", i + 1, rate, wall);
      if (std::abs(rate - 1000.0 / interval_) > limits.ticksPerSecondOff) ++breaches_;
    }
  }
  if (rssSettled_ == 0) {
    std::printf("check: too short to settle, memory not checked\n");
    return;
  }
  const long growth = rssHighest_ - rssSettled_;
  std::printf("check: RSS %ld KiB at %.0f s, at most %ld KiB after (%+ld KiB, limit %ld)\n", rssSettled_,
              seconds(limits.settleMicros), rssHighest_, growth, limits.rssGrowthKb);
  if (growth > limits.rssGrowthKb) ++breaches_;
}

void Phase::report(const char* name) const {
  const Micros wall = nowMicros() - begin_.at;
  const double cpu = 100.0 * static_cast<double>(cpuMicros() - begin_.cpu) / static_cast<double>(wall);
  std::printf("%-7s %6.1f s  CPU %5.2f %% of one core  frames %5ld", name, seconds(wall), cpu, frames_);
  if (options_.autoplay) std::printf("  player clicks %ld", clicks_);
  std::printf("  RSS %ld KiB\n", rssKb());
  for (int t = 0; t < 2; ++t) {
    const PeriodStats s = timers_[t].stats();
    std::printf("        Timer%d: %5zu ticks  period mean %6.2f ms  p99 %6.2f ms\n", t + 1, s.ticks, s.meanMs, s.p99Ms);
  }
}

}  // namespace tessaly::live
