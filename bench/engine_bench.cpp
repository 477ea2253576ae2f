// The engine's hot paths, headless: the ball tick over a full brick field,
// the paddle tick, a whole layout and the whole start-up.
// Targets on the 2-core reference machine: ball tick <= 1 us, grid <= 50 us,
// start-up <= 2 ms.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "base/platform.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;

namespace {

// The standard generator's draws, as the real game makes them.
struct Engine : SeededGame {
  Engine() : SeededGame({.seed = 42}) { form.open(); }
};

// One ball tick with the ball in flight over pattern 2, whose 225 bricks fill
// the whole pattern square: the tick probes the cells, mostly hits a brick,
// scores, recolours it and bounces. The ball starts each tick from one of a
// set of places spread over the field, so hits, misses and kills all count;
// the field is laid out anew (untimed) before it wears thin.
void BM_BallTickFullField(benchmark::State& st) {
  Engine e;
  Form1& f = e.form;
  f.keyDown(key::F1);  // pattern 2
  std::vector<std::array<float, 2>> places;
  for (float y = 3240; y < 6840; y += 97)
    for (float x = 1320; x < 4920; x += 89) places.push_back({x, y});
  std::size_t i = 0;
  for (auto _ : st) {
    const auto& p = places[i++ % places.size()];
    f.controls().ball.move(p[0], p[1]);
    f.state.ballxspeed = (i & 1) ? 60 : -60;
    f.state.ballyspeed = (i & 2) ? 60 : -60;
    f.Timer2_Timer();
    if (f.state.brickcount < 180) {
      st.PauseTiming();
      f.grid();
      st.ResumeTiming();
    }
  }
  st.counters["bricks_left"] = static_cast<double>(f.state.brickcount);
}
BENCHMARK(BM_BallTickFullField);

// One paddle tick with both pairs moving, turning at the board's ends.
void BM_PaddleTick(benchmark::State& st) {
  Engine e;
  Form1& f = e.form;
  int n = 0;
  for (auto _ : st) {
    if (n++ % 40 == 0) {
      const bool forth = (n / 40) % 2 == 0;
      f.state.hdirection = forth ? 1 : 2;
      f.state.vdirection = forth ? 1 : 2;
    }
    f.Timer1_Timer();
  }
}
BENCHMARK(BM_PaddleTick);

// A whole layout of pattern 2: all 625 bricks hidden, recoloured, recaptioned.
void BM_Grid(benchmark::State& st) {
  Engine e;
  Form1& f = e.form;
  f.state.patternnum = 2;
  for (auto _ : st) f.grid();
}
BENCHMARK(BM_Grid)->Unit(benchmark::kMicrosecond);

// The whole start-up: the window's objects built, 625 bricks created, the
// patterns stored, laid out, sized and served. Closing is not timed.
void BM_StartUp(benchmark::State& st) {
  SeededGame game({.seed = 42});
  Form1& form = game.form;
  for (auto _ : st) {
    form.open();
    st.PauseTiming();
    form.close();
    st.ResumeTiming();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
