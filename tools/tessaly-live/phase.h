#pragma once
// One phase of a live run: the game's own loop watched tick by tick, with the
// automatic player at the keys if asked, and its figures.

#include <cstddef>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/game_window.h"
#include "game/form1.h"
#include "harness/autoplayer.h"
#include "tick_stats.h"

namespace tessaly::live {

Micros nowMicros();

// What a run is asked to hold to (--check): memory flat once settled, and
// both timers on their beat.
struct Limits {
  Micros settleMicros = 20'000'000;  // start-up, first textures and font caches: no stretch checked before
  long rssGrowthKb = 1024;
  double ticksPerSecondOff = 1;  // either way of the timers' own rate
};

struct PhaseOptions {
  std::size_t seconds = 10;
  bool autoplay = false;
  int missEvery = 0;            // the player lets every Nth ball go: games end and start anew
  std::size_t reportEvery = 0;  // seconds between progress lines; 0: none
  const Limits* limits = nullptr;
};

class Phase final : public frontend::LoopObserver {
 public:
  Phase(desktop::GameWindow& window, Form1& form, const PhaseOptions& options);

  void ticked(int timer) override;
  void presented() override;
  bool between(frontend::GameLoop& loop) override;

  void report(const char* name) const;
  Micros firstFrame() const { return firstFrame_; }
  // Breaches of the limits seen so far, each already printed.
  int breaches() const { return breaches_; }

 private:
  struct Count {
    Micros at = 0;
    std::size_t ticks[2] = {0, 0};
    long frames = 0;
    Micros cpu = 0;
  };
  Count now() const;
  void progress();
  void sampleMemory(Micros at);
  void finish();

  Form1& form_;
  PhaseOptions options_;
  AutoPlayer player_;
  PeriodRecorder timers_[2];
  Count begin_;
  Count stretch_;  // where the current progress stretch began
  Micros end_ = 0;
  Micros nextReport_ = 0;
  Micros nextSample_ = 0;
  Micros firstFrame_ = 0;
  long frames_ = 0;
  long clicks_ = 0;
  int interval_ = 0;  // the timers' Interval while they ran
  long rssSettled_ = 0;
  long rssHighest_ = 0;
  int breaches_ = 0;
  bool finished_ = false;
};

}  // namespace tessaly::live
