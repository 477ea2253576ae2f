// The loop on a virtual clock: it sleeps exactly until the next tick, ticks
// never drift, a stall gives one tick and the old rhythm, and frames are
// shown only when something visible changed.

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "frontend/desktop/game_loop.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;
using frontend::PixelRect;

namespace {

// Draws nothing: the frames are counted, not looked at.
struct NoSurface final : frontend::Surface {
  void clip(const PixelRect&) override {}
  void fill(const PixelRect&, Color) override {}
  void blitShape(const frontend::RasterShape&, frontend::PixelPoint) override {}
  std::optional<frontend::PixelSize> prepareCaption(const Font&, int, std::string_view, Color) override {
    return std::nullopt;
  }
  void drawCaption(frontend::PixelPoint, const PixelRect&) override {}
};

struct Game : ScriptedGame {
  frontend::GameSession session{form};
  Game() : ScriptedGame({.seed = 7, .start = 1000, .repeat = 0.5f}) { form.open(); }
};

// Sleeping moves the virtual clock; inputs arrive at the times a test set.
class VirtualHost final : public LoopHost {
 public:
  VirtualHost(Game& game, TimeMs end) : clock_(game.clock), session_(game.session), end_(end) {}

  void at(TimeMs t, LoopEvent e) { script_.push_back({t, e}); }
  // The next sleep oversleeps by `ms`, as a dragged window or a busy machine would.
  void stallOnce(TimeMs ms) { stall_ = ms; }

  std::optional<LoopEvent> wait(std::optional<TimeMs> timeout) override {
    sleeps.push_back(timeout);
    if (!timeout && !script_.empty()) {  // asleep until the next input
      clock_.set(std::max(clock_.now(), script_.front().first));
      return take();
    }
    if (!timeout || sleeps.size() > 100000) {  // asleep for good, or spinning: the run is over
      clock_.set(std::max(clock_.now(), end_));
      return LoopEvent::quit();
    }
    const TimeMs wake = clock_.now() + *timeout + stall_;
    stall_ = 0;
    if (!script_.empty() && script_.front().first <= wake) {
      clock_.set(std::max(clock_.now(), script_.front().first));
      return take();
    }
    if (wake > end_) {
      clock_.set(end_);
      return LoopEvent::quit();
    }
    clock_.set(wake);
    return std::nullopt;
  }
  std::optional<LoopEvent> poll() override {
    if (!script_.empty() && script_.front().first <= clock_.now()) return take();
    return std::nullopt;
  }
  void present() override {
    ++presents;
    const bool full = session_.everythingDue();
    if (full) ++fullPresents;
    // Every frame shows a change: never the same revision twice unless asked.
    const std::uint64_t revision = session_.game().revision();
    if (!full && revision == shownRevision) ++needless;
    shownRevision = revision;
    session_.present(nothing_);
  }

  std::vector<std::optional<TimeMs>> sleeps;
  int presents = 0;
  int fullPresents = 0;
  std::uint64_t shownRevision = 0;
  int needless = 0;

 private:
  LoopEvent take() {
    const LoopEvent e = script_.front().second;
    script_.pop_front();
    return e;
  }
  VirtualClock& clock_;
  frontend::GameSession& session_;
  NoSurface nothing_;
  TimeMs end_;
  TimeMs stall_ = 0;
  std::deque<std::pair<TimeMs, LoopEvent>> script_;
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

TEST(SleepBefore, WaitsUntilTheDueTimeNeverLessThanNothing) {
  EXPECT_EQ(sleepBefore(1025, 1000), 25);
  EXPECT_EQ(sleepBefore(1000, 1000), 0);
  EXPECT_EQ(sleepBefore(990, 1000), 0);
  EXPECT_FALSE(sleepBefore(std::nullopt, 1000));
}

TEST(GameLoop, TenSecondsHold400TicksOfEachTimerWithoutDrift) {
  Game g;
  VirtualHost host(g, 11000);
  host.at(1000, LoopEvent::keyDown(key::Left));  // the ball in flight
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, host, &log).run();

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
  GameLoop(g.session, g.clock, host).run();
  // One sleep per tick round, each the whole 25 ms: no polling in between.
  ASSERT_EQ(host.sleeps.size(), 41u);
  for (std::size_t i = 0; i + 1 < host.sleeps.size(); ++i) EXPECT_EQ(host.sleeps[i], 25) << i;
}

TEST(GameLoop, AfterAStallEachTimerFiresOnceAndKeepsItsBeat) {
  Game g;
  VirtualHost host(g, 2000);
  host.at(1000, LoopEvent::keyDown(key::Left));
  TickLog log(g.clock);
  GameLoop loop(g.session, g.clock, host, &log);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(loop.step());  // the key, then ticks at 1025..1100
  ASSERT_EQ(log.timer2.back(), 1100);
  host.stallOnce(310);  // wakes at 1435 instead of 1125
  ASSERT_TRUE(loop.step());
  EXPECT_EQ(log.timer1.back(), 1435);
  EXPECT_EQ(log.timer2.back(), 1435);
  EXPECT_EQ(log.timer2.size(), 5u);  // one tick for the whole stall, no burst
  // The rhythm resumes on the old beat: 1450 is 1000 + 18 x 25.
  ASSERT_TRUE(loop.step());
  EXPECT_EQ(log.timer2.back(), 1450);
  EXPECT_EQ(host.sleeps.back(), 15);
}

TEST(GameLoop, ShowsAFrameOnlyWhenSomethingVisibleChanged) {
  Game g;
  // The ball rests on its paddle and no key is down: ticks run, nothing moves.
  VirtualHost idle(g, 3000);
  GameLoop(g.session, g.clock, idle).run();
  EXPECT_EQ(idle.presents, 1);  // the first frame only

  Game h;
  VirtualHost playing(h, 3000);
  playing.at(1000, LoopEvent::keyDown(key::Left));
  GameLoop(h.session, h.clock, playing).run();
  EXPECT_GT(playing.presents, 20);  // a frame per tick while the ball flies
  EXPECT_LE(playing.presents, 81);  // never more than one per tick round
  EXPECT_EQ(playing.needless, 0);
  EXPECT_EQ(playing.fullPresents, 1);
}

TEST(GameLoop, PausedGameSleepsWithoutATimeLimit) {
  Game g;
  VirtualHost host(g, 5000);
  host.at(1000, LoopEvent::keyDown(key::Left));
  host.at(1500, LoopEvent::keyDown(key::P));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, host, &log).run();
  EXPECT_TRUE(g.form.controls().pause.visible());
  ASSERT_FALSE(host.sleeps.empty());
  EXPECT_FALSE(host.sleeps.back().has_value());  // nothing due: sleep until an input
  // Inputs go first: the tick due with the P never runs.
  EXPECT_EQ(log.timer2.back(), 1475);
  EXPECT_EQ(log.timer2.size(), 19u);
}

TEST(GameLoop, ClicksReachTheButtonsAndRepaintEverything) {
  Game g;
  VirtualHost host(g, 3000);
  host.at(1000, LoopEvent::keyDown(key::P));
  host.at(1200, LoopEvent::click("gameover"));  // hidden: takes no click
  host.at(1300, LoopEvent::click("pause"));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, host, &log).run();
  EXPECT_FALSE(g.form.controls().pause.visible());
  EXPECT_EQ(host.fullPresents, 2);  // the first frame and the one after the click
  // Ticks resume one Interval after the click.
  EXPECT_EQ(log.timer1.front(), 1325);
}

TEST(GameLoop, GameOverClickRebuildsTheObjectsAndPlayGoesOn) {
  Game g;
  g.form.state.lives = -1;
  g.form.over();
  ASSERT_TRUE(g.form.controls().gameover.visible());
  VirtualHost host(g, 2000);
  host.at(1100, LoopEvent::click("gameover"));
  TickLog log(g.clock);
  GameLoop(g.session, g.clock, host, &log).run();
  EXPECT_FALSE(g.form.controls().gameover.visible());
  EXPECT_EQ(g.form.state.lives, 3);
  EXPECT_EQ(log.timer1.front(), 1125);
  EXPECT_EQ(host.fullPresents, 2);
}
