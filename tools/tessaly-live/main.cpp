// tessaly-live: the real game window on the current display, measured.
//
//   tessaly-live [--seconds N] [--play-only]
//
// Runs the desktop front end for N seconds (10 by default) with the
// automatic player at the keys, then N seconds paused, then a bare SDL2
// window of the same size cleared and shown 40 times a second with the same
// software renderer, for comparison. Prints, per phase, CPU use (% of one
// core), frames drawn, ticks of both timers with the mean and 99th
// percentile of their periods, and the peak resident memory and the time to
// the first frame.

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "game/form1.h"
#include "harness/autoplayer.h"
#include "tick_stats.h"
#include "ui/desktop/font_book.h"
#include "ui/desktop/game_loop.h"
#include "ui/desktop/game_window.h"
#include "ui/desktop/sdl_session.h"
#include "ui/render/viewport.h"

using namespace tessaly;
using namespace tessaly::desktop;
using namespace tessaly::live;

namespace {

Micros nowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

const Micros kStarted = nowMicros();

// Wakes the loop when a phase ends, even while a paused game sleeps for good.
Uint32 wakeLoop(Uint32, void* window) {
  static_cast<GameWindow*>(window)->wake();
  return 0;
}

// The automatic player's keys and clicks as the window's own events;
// clicks are counted.
struct LoopInput {
  GameLoop& loop;
  long& clicks;
  void keyDown(int code) { loop.handle(LoopEvent::keyDown(code)); }
  void keyUp(int code) { loop.handle(LoopEvent::keyUp(code)); }
  void click(std::string_view name) {
    loop.handle(LoopEvent::click(name));
    ++clicks;
  }
};

class Phase final : public LoopObserver {
 public:
  Phase(GameLoop*& loop, GameWindow& window, Form1& form, std::size_t seconds, bool autoplay)
      : loop_(loop), form_(form), autoplay_(autoplay) {
    for (auto* m : {&timer1_, &timer2_}) m->reserve(seconds * 40 + 64);
    begin_ = nowMicros();
    end_ = begin_ + static_cast<Micros>(seconds) * 1'000'000;
    cpuAtBegin_ = cpuMicros();
    SDL_AddTimer(static_cast<Uint32>(seconds * 1000 + 1), wakeLoop, &window);
  }

  void ticked(int timer) override { (timer == 1 ? timer1_ : timer2_).push_back(nowMicros()); }
  void presented() override {
    ++frames_;
    if (firstFrame_ == 0) firstFrame_ = nowMicros();
  }
  bool between() override {
    if (autoplay_ && loop_ != nullptr) {
      // The player's keys and clicks take the window's own path.
      LoopInput input{*loop_, clicks_};
      perform(player_.decide(form_), input);
    }
    return nowMicros() < end_;
  }

  void report(const char* name) const {
    const Micros wall = nowMicros() - begin_;
    const double cpu = 100.0 * static_cast<double>(cpuMicros() - cpuAtBegin_) / static_cast<double>(wall);
    std::printf("%-7s %6.1f s  CPU %5.2f %% of one core  frames %5ld", name, wall / 1e6, cpu, frames_);
    if (autoplay_) std::printf("  player clicks %ld", clicks_);
    std::printf("\n");
    for (int t = 1; t <= 2; ++t) {
      const PeriodStats s = periods(t == 1 ? timer1_ : timer2_);
      std::printf("        Timer%d: %5zu ticks  period mean %6.2f ms  p99 %6.2f ms\n", t, s.ticks, s.meanMs, s.p99Ms);
    }
  }
  Micros firstFrame() const { return firstFrame_; }

 private:
  GameLoop*& loop_;
  Form1& form_;
  bool autoplay_;
  AutoPlayer player_;
  std::vector<Micros> timer1_;
  std::vector<Micros> timer2_;
  Micros begin_ = 0;
  Micros end_ = 0;
  Micros cpuAtBegin_ = 0;
  Micros firstFrame_ = 0;
  long frames_ = 0;
  long clicks_ = 0;
};

// The yardstick: an empty window of the game's size, redrawn 40 times a
// second by the same software renderer, sleeping between frames.
void bareWindow(std::size_t seconds) {
  SDL_Window* w = SDL_CreateWindow("bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 415, 543, 0);
  SDL_Renderer* r = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE);
  if (w == nullptr || r == nullptr) throw StartError(std::string("no bare window (") + SDL_GetError() + ").");
  const Micros begin = nowMicros();
  const Micros cpu = cpuMicros();
  const Micros end = begin + static_cast<Micros>(seconds) * 1'000'000;
  long frames = 0;
  for (Micros due = begin + 25'000; due < end; due += 25'000) {
    SDL_Event e;
    for (Micros left = due - nowMicros(); left > 0; left = due - nowMicros())
      SDL_WaitEventTimeout(&e, static_cast<int>((left + 999) / 1000));
    while (SDL_PollEvent(&e) != 0) {
    }
    SDL_SetRenderDrawColor(r, 240, 240, 240, 255);
    SDL_RenderClear(r);
    SDL_RenderPresent(r);
    ++frames;
  }
  const Micros wall = nowMicros() - begin;
  std::printf("bare    %6.1f s  CPU %5.2f %% of one core  frames %5ld\n", wall / 1e6,
              100.0 * static_cast<double>(cpuMicros() - cpu) / static_cast<double>(wall), frames);
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(w);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t seconds = 10;
  bool playOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::strtoul(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--play-only") == 0) {
      playOnly = true;
    } else {
      std::fprintf(stderr, "usage: tessaly-live [--seconds N] [--play-only]\n");
      return 2;
    }
  }
  if (seconds == 0) seconds = 1;
  try {
    SdlSession sdl;
    SDL_InitSubSystem(SDL_INIT_TIMER);
    {
      FontBook fonts;
      TtfTextMeasurer measurer(fonts);
      SystemClock clock;
      StdRandom random;
      Form1 form(clock, random, measurer);
      GameWindow window(form, fonts);
      form.open();
      GameLoop* current = nullptr;

      Phase play(current, window, form, seconds, true);
      GameLoop playing(form, clock, window, &play);
      current = &playing;
      while (playing.step()) {
      }
      std::printf("first frame %.1f ms after start; window at scale %.2f\n", (play.firstFrame() - kStarted) / 1000.0,
                  window.viewport().scale());
      play.report("play");
      if (!playOnly) {
        Phase paused(current, window, form, seconds, false);
        GameLoop resting(form, clock, window, &paused);
        current = &resting;
        resting.handle(LoopEvent::keyDown(key::P));
        resting.handle(LoopEvent::keyUp(key::P));
        while (resting.step()) {
        }
        paused.report("paused");
      }
      std::printf("peak RSS %ld KiB\n", peakRssKb());
    }
    if (!playOnly) bareWindow(seconds);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly-live: %s\n", e.what());
    return 1;
  }
}
