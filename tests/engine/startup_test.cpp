// The window as it opens, the start-up values, close-and-reopen and the timers.

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "game_fixture.h"

namespace tessaly::test {
namespace {

TEST_F(GameTest, StartUpSetsThePerGameValues) {
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.levelnum, 1);
  EXPECT_EQ(s.patternnum, 1);
  EXPECT_EQ(s.patterncount, 5);
  EXPECT_EQ(s.playerscore, 0);
  EXPECT_EQ(s.bonuspoints, 0);
  EXPECT_EQ(s.bestscore, 0);
  EXPECT_EQ(s.paddlespeed, 1.0);
  EXPECT_EQ(s.hdirection, 0);
  EXPECT_EQ(s.vdirection, 0);
  EXPECT_EQ(s.ballxspeed, 0.0);
  EXPECT_EQ(s.ballyspeed, 0);
  EXPECT_EQ(s.brickcount, 141);
  EXPECT_EQ(s.bricktotal, 141);
  EXPECT_EQ(s.cellwidth, 240.0f);
  EXPECT_EQ(s.cellheight, 240.0f);
  EXPECT_EQ(s.ballstep, 60.0f);
  EXPECT_EQ(s.boardleft, 120.0f);
  EXPECT_EQ(s.boardtop, 2040.0f);
  EXPECT_EQ(s.boardright, 6120);
  EXPECT_EQ(s.boardbottom, 8040.0f);
  EXPECT_EQ(g.random.timesSeeded(), 1);
}

TEST(StartUp, ServeDrawsBothFactorsXFirst) {
  Rig g(false);
  g.random.push(0.5f);
  g.random.push(0.25f);
  g.form.open();
  EXPECT_DOUBLE_EQ(g.s.xjitter, 0.975);
  EXPECT_DOUBLE_EQ(g.s.yjitter, 0.9875);
  EXPECT_EQ(g.random.remaining(), 0u);
}

TEST(StartUp, LivesAreAlwaysThreeAfterStartUpButSetvariablesKeepsACount) {
  Rig g;
  g.s.lives = 6;  // left from an earlier game: start-up sets -1 first
  g.form.open();
  EXPECT_EQ(g.s.lives, 3);
  g.s.lives = 0;
  g.form.setvariables();
  EXPECT_EQ(g.s.lives, 0);
  g.s.lives = -2;
  g.form.setvariables();
  EXPECT_EQ(g.s.lives, 3);
}

TEST_F(GameTest, PatternTableHoldsFivePatternsOfFifteenRows) {
  EXPECT_EQ(s.patternrows[1][1], "110011101110011");
  EXPECT_EQ(s.patternrows[5][15], "000009999900000");
  for (int r = 0; r <= 20; ++r) EXPECT_TRUE(s.patternrows[0][r].empty()) << r;
  for (int p = 1; p <= 5; ++p) {
    EXPECT_TRUE(s.patternrows[p][0].empty());
    for (int r = 1; r <= 15; ++r) EXPECT_EQ(s.patternrows[p][r].size(), 15u) << p << "," << r;
    for (int r = 16; r <= 20; ++r) EXPECT_TRUE(s.patternrows[p][r].empty());
  }
  for (int p = 6; p <= 100; ++p) EXPECT_TRUE(s.patternrows[p][1].empty()) << p;
}

// The objects as the window builds them, before any start-up step moves them.
class OpeningObjects : public ::testing::Test {
 protected:
  VirtualClock clock;
  EstimatedTextMeasurer measurer;
  Controls c{clock, measurer};
};

TEST_F(OpeningObjects, ShapesHaveTheirPlacesColoursAndForms) {
  expectBounds(c.board, 120, 2040, 6000, 6000);
  EXPECT_EQ(c.board.backColor(), (Color{128, 255, 128}));
  EXPECT_EQ(c.board.look().form, ShapeForm::Rectangle);
  EXPECT_TRUE(c.board.visible());

  expectBounds(c.paddle(0), 3240, 6360, 1935, 255);
  expectBounds(c.paddle(1), 3480, 2160, 1935, 255);
  expectBounds(c.paddle(2), 720, 3480, 1935, 255);
  expectBounds(c.paddle(3), 3360, 5040, 1935, 255);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(c.paddle(i).backColor(), (Color{255, 128, 0}));
    EXPECT_EQ(c.paddle(i).look().form, ShapeForm::RoundedRectangle);
    EXPECT_TRUE(c.paddle(i).visible());
  }

  expectBounds(c.ball, 960, 5760, 255, 255);
  EXPECT_EQ(c.ball.backColor(), (Color{0, 0, 255}));
  EXPECT_EQ(c.ball.look().form, ShapeForm::Circle);

  const float markerLeft[4] = {1440, 1920, 2400, 2880};
  for (int i = 0; i < 8; ++i) {
    const ScreenObject& m = c.life(i);
    expectBounds(m, markerLeft[i % 4], i < 4 ? 840.0f : 1080.0f, 375, 135);
    EXPECT_EQ(m.backColor(), (Color{255, 0, 0}));
    EXPECT_EQ(m.look().form, ShapeForm::RoundedRectangle);
    EXPECT_EQ(m.look().outlineWidth, 2);
    EXPECT_EQ(m.visible(), i < 3) << "life(" << i << ")";
  }

  expectBounds(c.logobox, 120, 1320, 6015, 615);
  EXPECT_EQ(c.logobox.backColor(), (Color{192, 192, 192}));
  EXPECT_EQ(c.logobox.look().form, ShapeForm::RoundedRectangle);
}

TEST_F(OpeningObjects, LabelsHaveTheirCaptionsFontsAndBacks) {
  const ScreenObject& b0 = c.brick(0);
  expectBounds(b0, 360, 2040, 1935, 855);
  EXPECT_EQ(b0.backColor(), (Color{255, 255, 255}));
  EXPECT_EQ(b0.caption(), "4");
  EXPECT_EQ(b0.look().font, (Font{"Arial", 7.5f, true, 0}));
  EXPECT_TRUE(b0.look().border);
  EXPECT_EQ(b0.look().alignment, Alignment::Center);
  EXPECT_FALSE(b0.look().transparentBack);
  EXPECT_FALSE(b0.visible());

  const Font readout{"Arial", 19.5f, true, 0};
  struct Readout {
    const ScreenObject& o;
    float left, top, width, height;
    const char* caption;
    bool autoSize;
  };
  for (const Readout& r : {Readout{c.showscore, 1320, 120, 1695, 495, "000000", false},
                           Readout{c.highscore, 4320, 120, 1695, 495, "000000", false},
                           Readout{c.numbricks, 5400, 840, 630, 450, "000", true}}) {
    expectBounds(r.o, r.left, r.top, r.width, r.height);
    EXPECT_EQ(r.o.caption(), r.caption);
    EXPECT_EQ(r.o.look().font, readout);
    EXPECT_EQ(r.o.look().textColor, (Color{255, 0, 0}));
    EXPECT_EQ(r.o.look().alignment, Alignment::Right);
    EXPECT_TRUE(r.o.look().transparentBack);
    EXPECT_EQ(r.o.look().autoSize, r.autoSize);
    EXPECT_TRUE(r.o.visible());
  }

  expectBounds(c.logo, 1320, 1440, 3300, 405);
  EXPECT_EQ(c.logo.caption(), "TESSALY!");
  EXPECT_EQ(c.logo.look().font, (Font{"Times New Roman", 18.0f, false, 0}));
  EXPECT_EQ(c.logo.look().textColor, (Color{0, 0, 128}));
  EXPECT_TRUE(c.logo.look().transparentBack);
  EXPECT_TRUE(c.logo.look().autoSize);

  const Font heading{"Impact", 21.75f, true, 0};
  struct Heading {
    const ScreenObject& o;
    float left, top, width, height;
    const char* caption;
    Color text;
  };
  for (const Heading& h : {Heading{c.Label3, 120, 0, 3015, 615, "  Score", {0, 0, 64}},
                           Heading{c.Label7, 3360, 0, 2775, 615, " High", {0, 0, 64}},
                           Heading{c.Label2, 120, 720, 3255, 615, " Lives", kTextColor},
                           Heading{c.Label4, 3600, 720, 2535, 615, " Bricks", kTextColor}}) {
    expectBounds(h.o, h.left, h.top, h.width, h.height);
    EXPECT_EQ(h.o.caption(), h.caption);
    EXPECT_EQ(h.o.look().font, heading);
    EXPECT_EQ(h.o.look().textColor, h.text);
    EXPECT_TRUE(h.o.look().border);
    EXPECT_TRUE(h.o.visible());
  }
  expectBounds(c.Label5, 0, 1920, 6255, 6255);
  EXPECT_EQ(c.Label5.caption(), "");
  EXPECT_TRUE(c.Label5.look().border);
}

TEST_F(OpeningObjects, ButtonsAreHiddenAndTimersRun) {
  struct Button {
    const ScreenObject& o;
    float left, top, width, height;
    const char* caption;
    Font font;
  };
  for (const Button& b :
       {Button{c.pause, 2040, 3120, 2415, 1455, "Pause", {"MS Song", 24.0f, true, 134}},
        Button{c.gameover, 2040, 2760, 2415, 1935, "Game Over", {"Lucida Handwriting", 27.75f, true, 0}},
        Button{c.nextlevel, 1560, 5400, 3495, 975, "Level: 1", {"Times New Roman", 27.75f, true, 0}}}) {
    expectBounds(b.o, b.left, b.top, b.width, b.height);
    EXPECT_EQ(b.o.kind(), ObjectKind::Button);
    EXPECT_EQ(b.o.caption(), b.caption);
    EXPECT_EQ(b.o.look().font, b.font);
    EXPECT_FALSE(b.o.visible());
  }
  EXPECT_EQ(c.Timer1.interval(), 25);
  EXPECT_EQ(c.Timer2.interval(), 25);
}

TEST_F(OpeningObjects, StackingOrderFrontToBack) {
  const ScreenObject* frontToBack[] = {&c.life(7),   &c.life(0),   &c.paddle(3), &c.paddle(2), &c.paddle(1),
                                       &c.ball,      &c.paddle(0), &c.life(3),   &c.life(1),   &c.life(2),
                                       &c.showscore, &c.highscore, &c.logo,      &c.numbricks, &c.life(4),
                                       &c.life(5),   &c.life(6),   &c.Label2,    &c.Label3,    &c.logobox,
                                       &c.Label7,    &c.Label4,    &c.brick(0),  &c.board,     &c.Label5};
  const auto order = c.drawOrder();
  ASSERT_EQ(order.size(), std::size(frontToBack));
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(order[order.size() - 1 - i], frontToBack[i]) << "position " << i << " from the front";

  // Buttons lie in front of everything drawn; pause in front of gameover.
  const auto buttons = c.buttons();
  ASSERT_EQ(buttons.size(), 3u);
  const auto at = [&](const ScreenObject* b) { return std::find(buttons.begin(), buttons.end(), b) - buttons.begin(); };
  EXPECT_LT(at(&c.gameover), at(&c.pause));
  EXPECT_LT(at(&c.nextlevel), 3);
  EXPECT_EQ(c.button("gameover"), &c.gameover);
  EXPECT_EQ(c.button("board"), nullptr);
}

TEST_F(OpeningObjects, MissingArrayMembersAreErrors) {
  EXPECT_THROW(c.brick(1), std::out_of_range);
  EXPECT_THROW(c.brick(-1), std::out_of_range);
  EXPECT_THROW(c.paddle(4), std::out_of_range);
  EXPECT_THROW(c.life(8), std::out_of_range);
  EXPECT_THROW(c.life(-1), std::out_of_range);
  EXPECT_NO_THROW(c.brick(0));
  EXPECT_EQ(c.brick.count(), 1);
}

TEST_F(OpeningObjects, CreatedBrickCopiesTheTemplateHidden) {
  c.brick(0).setCaption("7");
  ScreenObject& b = c.createBrick(12);
  EXPECT_EQ(b.index(), 12);
  EXPECT_FALSE(b.visible());
  EXPECT_EQ(b.caption(), "7");
  expectBounds(b, 360, 2040, 1935, 855);
  EXPECT_EQ(b.look().font, c.brick(0).look().font);
  EXPECT_EQ(&c.brick(12), &b);
  EXPECT_THROW(c.brick(11), std::out_of_range);
  EXPECT_THROW(c.createBrick(12), std::out_of_range);
  EXPECT_EQ(c.drawOrder().back(), &b);
}

TEST_F(GameTest, BricksAreStackedInFrontOfBallAndPaddles) {
  const auto order = g.c().drawOrder();
  ASSERT_EQ(order.size(), 25u + 625u);
  for (int n = 1; n <= 625; ++n) EXPECT_EQ(order[24 + static_cast<std::size_t>(n)], &g.c().brick(n)) << n;
  EXPECT_EQ(order[24], &g.c().life(7));
  EXPECT_EQ(g.c().brick.count(), 626);
  EXPECT_THROW(g.c().brick(626), std::out_of_range);
}

TEST_F(GameTest, OpenWindowShowsThreeMarkersAndNoButton) {
  for (int i = 0; i < 8; ++i) EXPECT_EQ(g.c().life(i).visible(), i < 3) << i;
  for (const ScreenObject* b : g.c().buttons()) EXPECT_FALSE(b->visible()) << b->name();
  EXPECT_EQ(g.c().showscore.caption(), "000000");
  EXPECT_EQ(g.c().highscore.caption(), "000000");
  EXPECT_EQ(g.c().numbricks.caption(), "141");
}

TEST_F(GameTest, CloseAndReopenRebuildsObjectsAndKeepsState) {
  g.c().life(5).setVisible(true);
  g.c().gameover.setVisible(true);
  g.c().Timer1.setInterval(0);
  s.bestscore = 1230;
  s.lastcell = 77;
  g.form.close();
  EXPECT_FALSE(g.form.isOpen());
  EXPECT_FALSE(g.form.nextDue().has_value());
  EXPECT_FALSE(g.form.click("pause"));

  g.form.open();
  EXPECT_TRUE(g.form.isOpen());
  EXPECT_EQ(g.c().brick.count(), 626);
  EXPECT_FALSE(g.c().life(5).visible());
  EXPECT_FALSE(g.c().gameover.visible());
  EXPECT_EQ(g.c().Timer1.interval(), 25);
  EXPECT_EQ(g.c().drawOrder().size(), 650u);
  EXPECT_EQ(s.bestscore, 1230);
  EXPECT_EQ(g.c().highscore.caption(), "001230");
  EXPECT_EQ(s.lastcell, 77);
  EXPECT_EQ(g.random.timesSeeded(), 2);
}

TEST(Timers, IntervalZeroStopsAndASettingSchedulesOneIntervalLater) {
  VirtualClock clock(0, 1000);
  Timer t(clock);
  EXPECT_FALSE(t.due().has_value());
  t.setInterval(25);
  EXPECT_EQ(t.due(), 1025);
  clock.set(1010);
  t.setInterval(25);  // every setting restarts the count
  EXPECT_EQ(t.due(), 1035);
  t.setInterval(0);
  EXPECT_FALSE(t.running());
  EXPECT_FALSE(t.due().has_value());
}

TEST(Timers, RhythmDoesNotDriftAndCatchUpSkipsOnlyWhenAsked) {
  VirtualClock clock;
  Timer t(clock);
  t.setInterval(25);
  clock.set(31);
  t.advance(clock.now(), false);
  EXPECT_EQ(t.due(), 50);
  clock.set(140);
  t.advance(clock.now(), true);  // 75, 100 and 125 are gone; the beat stays on 25s
  EXPECT_EQ(t.due(), 150);
}

TEST_F(GameTest, VirtualTimeDeliversEveryDueTick) {
  g.c().Timer2.setInterval(0);  // the ball stays out of it
  g.form.keyDown(key::Down);
  g.run(24);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
  g.run(1);
  EXPECT_EQ(g.c().paddle(2).top(), 4680);
  g.run(225);  // ticks at 50 .. 250
  EXPECT_EQ(g.c().paddle(2).top(), 4560 + 10 * 120);
  EXPECT_EQ(g.clock.now(), 250);
  EXPECT_EQ(g.form.nextDue(), 275);
}

TEST_F(GameTest, StoppedTimersRaiseNoTicks) {
  g.form.keyDown(key::Down);
  g.form.keyDown(key::Left);
  g.c().Timer1.setInterval(0);
  g.c().Timer2.setInterval(0);
  EXPECT_FALSE(g.form.nextDue().has_value());
  g.run(1000);
  EXPECT_EQ(g.c().paddle(2).top(), 4560);
  EXPECT_EQ(g.c().paddle(0).left(), 2640);
  EXPECT_EQ(g.c().ball.top(), 7680);
  g.c().Timer1.setInterval(25);
  EXPECT_EQ(g.form.nextDue(), 1025);
  g.run(25);
  EXPECT_EQ(g.c().paddle(2).top(), 4680);
}

// Paddle 0 moves under a ball in its band only if Timer1 runs first.
TEST_F(GameTest, Timer1TicksBeforeTimer2WhenBothAreDue) {
  g.putBall(2600, 7650);
  g.setSpeeds(0, -60);  // straight down, so no serve
  g.form.keyDown(key::Left);
  g.run(25);
  EXPECT_EQ(g.c().paddle(0).left(), 2520);
  EXPECT_EQ(g.c().ball.top(), 7710);
  EXPECT_EQ(s.ballyspeed, 60);  // turned by the paddle that had just arrived
}

TEST_F(GameTest, RealTimeCatchUpFiresOnceThenResumes) {
  g.c().Timer2.setInterval(0);
  g.form.keyDown(key::Down);
  g.clock.set(130);  // ticks at 25 .. 125 are overdue
  g.form.dispatchDueTimers(CatchUp::OnceThenResume);
  EXPECT_EQ(g.c().paddle(2).top(), 4680);
  EXPECT_EQ(g.form.nextDue(), 150);
}

TEST_F(GameTest, OnlyVisibleChangesBumpTheRevision) {
  const auto before = g.c().revision();
  g.c().showscore.setCaption("000000");  // same text: nothing to redraw
  g.c().life(5).setLeft(100);            // hidden: nothing to redraw
  EXPECT_EQ(g.c().revision(), before);
  g.c().ball.move(3000, 7000);
  EXPECT_GT(g.c().revision(), before);
}

}  // namespace
}  // namespace tessaly::test
