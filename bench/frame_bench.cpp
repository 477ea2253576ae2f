// Drawing off screen, onto a surface as the game window draws:
// a full frame of the opening window at 1x and 2x, the first frame with
// nothing cached yet, and the part of a frame that one tick of play changes.

#include <SDL2/SDL_ttf.h>
#include <benchmark/benchmark.h>

#include "frontend/desktop/font_book.h"
#include "frontend/desktop/offscreen_frame.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;

namespace {

struct Fonts {
  Fonts() { TTF_Init(); }
  ~Fonts() { TTF_Quit(); }
};

struct OpenGame {
  Fonts ttf;
  FontBook fonts;
  TtfTextMeasurer measurer{fonts};
  SeededGame game{{.seed = 11}, measurer};
  Form1& form = game.form;
  OpenGame() { form.open(); }
};

void FullFrame(benchmark::State& state) {
  OpenGame g;
  OffscreenFrame frame(g.fonts, static_cast<double>(state.range(0)));
  frame.draw(g.form);  // text and shapes rasterised once, as in the game
  for (auto _ : state) frame.draw(g.form);
}
BENCHMARK(FullFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void FirstFrame(benchmark::State& state) {
  OpenGame g;
  for (auto _ : state) {
    OffscreenFrame frame(g.fonts, static_cast<double>(state.range(0)));
    frame.draw(g.form);
  }
}
BENCHMARK(FirstFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One 25 ms round of play (both timers) and the repaint of what it changed.
void PlayTickFrame(benchmark::State& state) {
  OpenGame g;
  OffscreenFrame frame(g.fonts, static_cast<double>(state.range(0)));
  frame.draw(g.form);
  std::int64_t round = 0;
  for (auto _ : state) {
    if (round++ % 40 == 0) g.form.keyDown(round % 80 == 1 ? key::Left : key::Right);  // serve again if lost
    g.game.advance(25);
    frame.drawChanges(g.form);
  }
}
BENCHMARK(PlayTickFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
