// The loop on a virtual clock: it sleeps exactly until the next tick, ticks
// never drift, a stall gives one tick and the old rhythm, frames are shown
// only when something visible changed, and an event handed in alone (as the
// page hands them) gets the same round.

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "frontend/core/game_loop.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::frontend;

namespace {

// Draws nothing: the frames are counted, not looked at.
struct NoSurface final : Surface {
  void clip(const PixelRect&) override {}
  void fill(const PixelRect&, Color) override {}
  void blitShape(const RasterShape&, PixelPoint) override {}
  std::optional<PixelSize> prepareCaption(const Font&, int, std::string_view, Color) override { return std::nullopt; }
  void drawCaption(PixelPoint, const PixelRect&) override {}
};

struct Game : ScriptedGame {
  GameSession session{form};
  Game() : ScriptedGame({.seed = 7, .start = 1000, .repeat = 0.5f}) { form.open(); }
};

// Sleeping moves the virtual clock; events arrive at the times a test set.
class VirtualHost final : public LoopHost {
 public:
  VirtualHost(Game& game, TimeMs end) : clock_(game.clock), session_(game.session), end_(end) {}

  void at(TimeMs t, Event e) { script_.push_back({t, e}); }
  // The next sleep oversleeps by `ms`, as a dragged window or a busy machine would.
  void stallOnce(TimeMs ms) { stall_ = ms; }

  std::optional<Event> wait(std::optional<TimeMs> timeout) override {
    sleeps.push_back(timeout);
    if (!timeout && !script_.empty()) {  // asleep until the next event
      clock_.set(std::max(clock_.now(), script_.front().first));
      return take();
    }
    if (!timeout || sleeps.size() > 100000) {  // asleep for good, or spinning: the run is over
      clock_.set(std::max(clock_.now(), end_));
      return Event::of(Event::Kind::Quit);
    }
    const TimeMs wake = clock_.now() + *timeout + stall_;
    stall_ = 0;
    if (!script_.empty() && script_.front().first <= wake) {
      clock_.set(std::max(clock_.now(), script_.front().first));
      return take();
    }
    if (wake > end_) {
      clock_.set(end_);
      return Event::of(Event::Kind::Quit);
    }
    clock_.set(wake);
    return std::nullopt;
  }
  std::optional<Event> poll() override {
    if (!script_.empty() && script_.front().first <= clock_.now()) return take();
    return std::nullopt;
  }
  Surface& frame() override { return nothing_; }
  void show(std::span<const PixelRect> areas) override {
    ++shown;
    const PixelSize size = session_.size();
    const bool full = areas.size() == 1 && areas[0] == PixelRect{0, 0, size.width, size.height};
    if (full) ++fullFrames;
    // Every frame shows a change: never the same revision twice unless all is drawn anew.
    const std::uint64_t revision = session_.game().revision();
    if (!full && revision == shownRevision) ++needless;
    shownRevision = revision;
  }

  std::vector<std::optional<TimeMs>> sleeps;
  int shown = 0;
  int fullFrames = 0;
  std::uint64_t shownRevision = 0;
  int needless = 0;

 private:
  Event take() {
    const Event e = script_.front().second;
    script_.pop_front();
    return e;
  }
  VirtualClock& clock_;
  GameSession& session_;
  NoSurface nothing_;
  TimeMs end_;
  TimeMs stall_ = 0;
  std::deque<std::pair<TimeMs, Event>> script_;
};

class TickLog final : public LoopObserver {
 public:
  explicit TickLog(const Clock& clock) : clock_(clock) {}
  void ticked(int timer) override { (timer == 1 ? timer1 : timer2).push_back(clock_.now()); }
  std::vector<TimeMs> timer1;
  std::vector<TimeMs> timer2;

 private:
  const Clock& clock_;
};

}  // namespace

TEST(GameLoop, TenSecondsHold400TicksOfEachTimerWithoutDrift) {
  Game g;
  VirtualHost host(g, 11000);
  host.at(1000, Event::keyDown(key::Left));  // the ball in flight
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, &log).run(host);

  ASSERT_EQ(log.timer1.size(), 400u);
  ASSERT_EQ(log.timer2.size(), 400u);
  for (std::size_t i = 0; i < 400; ++i) {
    EXPECT_EQ(log.timer1[i], 1025 + 25 * static_cast<TimeMs>(i));
    EXPECT_EQ(log.timer2[i], 1025 + 25 * static_cast<TimeMs>(i));
  }
}

TEST(GameLoop, SleepsUntilTheNextTickAndNeverSpins) {
  Game g;
  VirtualHost host(g, 2000);
  GameLoop(g.session, g.clock).run(host);
  // The first round draws the first frame at once; then one sleep per tick,
  // each the whole 25 ms: no polling in between.
  ASSERT_EQ(host.sleeps.size(), 42u);
  EXPECT_EQ(host.sleeps[0], 0);
  for (std::size_t i = 1; i < host.sleeps.size(); ++i) EXPECT_EQ(host.sleeps[i], 25) << i;
}

TEST(GameLoop, AfterAStallEachTimerFiresOnceAndKeepsItsBeat) {
  Game g;
  VirtualHost host(g, 2000);
  host.at(1000, Event::keyDown(key::Left));
  TickLog log(g.clock);
  GameLoop loop(g.session, g.clock, &log);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(loop.step(host));  // the key, then ticks at 1025..1100
  ASSERT_EQ(log.timer2.back(), 1100);
  host.stallOnce(310);  // wakes at 1435 instead of 1125
  ASSERT_TRUE(loop.step(host));
  EXPECT_EQ(log.timer1.back(), 1435);
  EXPECT_EQ(log.timer2.back(), 1435);
  EXPECT_EQ(log.timer2.size(), 5u);  // one tick for the whole stall, no burst
  // The rhythm resumes on the old beat: 1450 is 1000 + 18 x 25.
  ASSERT_TRUE(loop.step(host));
  EXPECT_EQ(log.timer2.back(), 1450);
  EXPECT_EQ(host.sleeps.back(), 15);
}

TEST(GameLoop, ShowsAFrameOnlyWhenSomethingVisibleChanged) {
  Game g;
  // The ball rests on its paddle and no key is down: ticks run, nothing moves.
  VirtualHost idle(g, 3000);
  GameLoop(g.session, g.clock).run(idle);
  EXPECT_EQ(idle.shown, 1);  // the first frame only

  Game h;
  VirtualHost playing(h, 3000);
  playing.at(1000, Event::keyDown(key::Left));
  GameLoop(h.session, h.clock).run(playing);
  EXPECT_GT(playing.shown, 20);  // a frame per tick while the ball flies
  EXPECT_LE(playing.shown, 81);  // never more than one per round
  EXPECT_EQ(playing.needless, 0);
  EXPECT_EQ(playing.fullFrames, 1);
}

TEST(GameLoop, PausedGameSleepsWithoutATimeLimit) {
  Game g;
  VirtualHost host(g, 5000);
  host.at(1000, Event::keyDown(key::Left));
  host.at(1500, Event::keyDown(key::P));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, &log).run(host);
  EXPECT_TRUE(g.form.controls().pause.visible());
  ASSERT_FALSE(host.sleeps.empty());
  EXPECT_FALSE(host.sleeps.back().has_value());  // nothing due: sleep until an event
  // Events go first: the tick due with the P never runs.
  EXPECT_EQ(log.timer2.back(), 1475);
  EXPECT_EQ(log.timer2.size(), 19u);
}

TEST(GameLoop, ClicksReachTheButtonsAndRepaintEverything) {
  Game g;
  VirtualHost host(g, 3000);
  host.at(1000, Event::keyDown(key::P));
  host.at(1200, Event::click("gameover"));  // hidden: takes no click
  host.at(1300, Event::click("pause"));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, &log).run(host);
  EXPECT_FALSE(g.form.controls().pause.visible());
  EXPECT_EQ(host.fullFrames, 2);  // the first frame and the one after the click
  // Ticks resume one Interval after the click.
  EXPECT_EQ(log.timer1.front(), 1325);
}

TEST(GameLoop, GameOverClickRebuildsTheObjectsAndPlayGoesOn) {
  Game g;
  g.form.state.lives = -1;
  g.form.over();
  ASSERT_TRUE(g.form.controls().gameover.visible());
  VirtualHost host(g, 2000);
  host.at(1100, Event::click("gameover"));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, &log).run(host);
  EXPECT_FALSE(g.form.controls().gameover.visible());
  EXPECT_EQ(g.form.state.lives, 3);
  EXPECT_EQ(log.timer1.front(), 1125);
  EXPECT_EQ(host.fullFrames, 2);
}

// The page's way: one event a call, each round answering the wait and the beat.
TEST(GameLoop, OneEventARoundAnswersTheWaitAndSleepsForGoodOutOfSight) {
  Game g;
  NoSurface canvas;
  GameLoop loop(g.session, g.clock);
  ASSERT_TRUE(loop.handle(Event::resize(830, 1086)));
  Round r = loop.endRound(canvas);
  ASSERT_EQ(r.repainted.size(), 1u);
  EXPECT_EQ(r.repainted[0], (PixelRect{0, 0, 830, 1086}));
  EXPECT_EQ(r.wait, 25);
  EXPECT_EQ(r.beat, 25);
  EXPECT_TRUE(r.goOn);

  g.clock.set(1010);
  loop.handle(Event::keyDown(key::Left));
  r = loop.endRound(canvas);
  EXPECT_EQ(r.wait, 15);
  // Late: the tick due at 1025 comes with the next event, after it.
  g.clock.set(1040);
  loop.handle(Event::keyUp(key::Left));
  r = loop.endRound(canvas);
  EXPECT_EQ(r.wait, 10);

  loop.handle(Event::of(Event::Kind::Hidden));
  EXPECT_EQ(loop.endRound(canvas).wait, std::nullopt);
  g.clock.set(1500);  // nothing ticks out of sight, whatever comes
  loop.handle(Event::keyDown(key::Right));
  EXPECT_EQ(loop.endRound(canvas).wait, std::nullopt);
  const double bottom = g.form.controls().paddle(paddle::bottom).left();
  loop.handle(Event::of(Event::Kind::Shown));  // one tick, then the old beat: 1525 is 1000 + 21 x 25
  r = loop.endRound(canvas);
  EXPECT_NE(g.form.controls().paddle(paddle::bottom).left(), bottom);
  EXPECT_EQ(r.wait, 25);
  EXPECT_FALSE(loop.handle(Event::of(Event::Kind::Quit)));
}
