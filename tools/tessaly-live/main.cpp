// tessaly-live: the real game window on the current display, measured.
//
//   tessaly-live [--seconds N] [--play-only] [--every S] [--miss-every N] [--check]
//
// Runs the desktop front end for N seconds (10 by default) with the
// automatic player at the keys, then N seconds paused, then a bare SDL2
// window of the same size cleared and shown 40 times a second with SDL's
// software renderer, for comparison. Prints, per phase, CPU use (% of one
// core), frames drawn, ticks of both timers with the mean and 99th
// percentile of their periods, the resident memory, and the time to the
// first frame.
//
// --every S prints a line every S seconds of play: resident memory, each
// timer's ticks a second, frames and CPU over that stretch. --miss-every N
// lets every Nth ball go, so that games end and begin anew. --check ends
// with status 1 unless play kept both timers within one tick a second of
// their rate over every stretch and the whole, and the resident memory grew
// by at most 1 MiB after the first 20 s.

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "frontend/core/game_loop.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "game/form1.h"
#include "phase.h"

using namespace tessaly;
using namespace tessaly::desktop;
using namespace tessaly::live;
using frontend::Event;
using frontend::GameLoop;

namespace {

const Micros kStarted = nowMicros();

// The yardstick: an empty window of the game's size, redrawn 40 times a
// second by SDL's software renderer, sleeping between frames.
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

struct Options {
  PhaseOptions play;
  bool playOnly = false;
  bool check = false;
};

bool parse(int argc, char** argv, Options& o) {
  const auto number = [&](int& i) { return i + 1 < argc ? std::strtoul(argv[++i], nullptr, 10) : 0UL; };
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      o.play.seconds = number(i);
    } else if (std::strcmp(argv[i], "--every") == 0 && i + 1 < argc) {
      o.play.reportEvery = number(i);
    } else if (std::strcmp(argv[i], "--miss-every") == 0 && i + 1 < argc) {
      o.play.missEvery = static_cast<int>(number(i));
    } else if (std::strcmp(argv[i], "--play-only") == 0) {
      o.playOnly = true;
    } else if (std::strcmp(argv[i], "--check") == 0) {
      o.check = true;
    } else {
      return false;
    }
  }
  if (o.play.seconds == 0) o.play.seconds = 1;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: tessaly-live [--seconds N] [--play-only] [--every S] [--miss-every N] [--check]\n");
    return 2;
  }
  const Limits limits;
  options.play.autoplay = true;
  if (options.check) options.play.limits = &limits;
  try {
    SdlSession sdl;
    SDL_InitSubSystem(SDL_INIT_TIMER);
    int breaches = 0;
    {
      FontBook fonts;
      TtfTextMeasurer measurer(fonts);
      SystemClock clock;
      StdRandom random;
      Form1 form(clock, random, measurer);
      GameWindow window(fonts);
      frontend::GameSession session(form);
      form.open();

      Phase play(window, form, options.play);
      GameLoop(session, clock, &play).run(window);
      std::printf("first frame %.1f ms after start; window at scale %.2f\n", (play.firstFrame() - kStarted) / 1000.0,
                  session.viewport().scale());
      play.report("play");
      breaches = play.breaches();
      if (!options.playOnly) {
        Phase paused(window, form, {.seconds = options.play.seconds});
        GameLoop resting(session, clock, &paused);
        resting.handle(Event::keyDown(key::P));
        resting.handle(Event::keyUp(key::P));
        resting.run(window);
        paused.report("paused");
      }
      std::printf("peak RSS %ld KiB\n", peakRssKb());
    }
    if (!options.playOnly) bareWindow(options.play.seconds);
    if (breaches > 0) std::printf("check failed: %d breach%s\n", breaches, breaches == 1 ? "" : "es");
    return breaches > 0 ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly-live: %s\n", e.what());
    return 1;
  }
}
