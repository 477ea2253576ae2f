// The opening window drawn off screen with the software renderer, checked
// pixel by pixel at known twip positions, at 1x and at 2x.

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <string>

#include "frontend/desktop/font_book.h"
#include "frontend/desktop/offscreen_frame.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;

namespace {

constexpr Color kGreen{128, 255, 128};
constexpr Color kRed{255, 0, 0};
constexpr Color kOrange{255, 128, 0};
constexpr Color kBlue{0, 0, 255};

// Cell (c, r) of the board, from 1 at its top-left; 240 twips a side.
float cellLeft(int c) { return 120.0f + 240.0f * static_cast<float>(c - 1); }
float cellTop(int r) { return 2040.0f + 240.0f * static_cast<float>(r - 1); }

std::string text(Color c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// Pixels inside `bounds` (twips) that are close to `color`.
int countNear(const OffscreenFrame& f, const Rect& bounds, Color color, int tolerance = 60) {
  const PixelRect r = f.viewport().edges(bounds);
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y) {
    for (int x = r.x; x < r.x + r.w; ++x) {
      const Color p = f.pixel(x, y);
      n += std::abs(p.r - color.r) + std::abs(p.g - color.g) + std::abs(p.b - color.b) <= tolerance;
    }
  }
  return n;
}

class Render : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    ASSERT_EQ(TTF_Init(), 0);
    fonts = std::make_unique<FontBook>();
    measurer = std::make_unique<TtfTextMeasurer>(*fonts);
    game = std::make_unique<ScriptedGame>(GameSetup{.seed = 3, .repeat = 0.25f}, *measurer);
    game->form.open();
    frame = std::make_unique<OffscreenFrame>(*fonts, GetParam());
    frame->draw(game->form);
  }
  void TearDown() override {
    frame.reset();
    game.reset();
    measurer.reset();
    fonts.reset();
    TTF_Quit();
  }
  Color at(float x, float y) const { return frame->pixelAtTwips(x, y); }
  void keep(const std::string& name) const {
    frame->saveBmp(name + "-" + std::to_string(static_cast<int>(GetParam())) + "x.bmp");
  }

  std::unique_ptr<FontBook> fonts;
  std::unique_ptr<TtfTextMeasurer> measurer;
  std::unique_ptr<ScriptedGame> game;
  std::unique_ptr<OffscreenFrame> frame;
};

}  // namespace

TEST_P(Render, OpeningWindowShowsTheBoardBricksPaddlesAndBall) {
  keep("opening");
  const PixelRect client = frame->viewport().client();
  EXPECT_EQ(client.w, static_cast<int>(415 * GetParam()));
  EXPECT_EQ(client.h, static_cast<int>(543 * GetParam()));

  // An empty margin cell shows the board's green.
  EXPECT_EQ(at(cellLeft(4) + 120, cellTop(4) + 120), kGreen) << text(at(cellLeft(4) + 120, cellTop(4) + 120));
  // Pattern 1 holds a brick at (6, 6): red, with its caption in black.
  EXPECT_EQ(at(cellLeft(6) + 45, cellTop(6) + 210), kRed) << text(at(cellLeft(6) + 45, cellTop(6) + 210));
  EXPECT_GT(countNear(*frame, {cellLeft(6) + 60, cellTop(6) + 15, 120, 210}, {0, 0, 0}), 3);
  // ... and none at (8, 6).
  EXPECT_EQ(at(cellLeft(8) + 120, cellTop(6) + 120), kGreen);
  // The four paddles around the board, the ball resting on the bottom one.
  EXPECT_EQ(at(3120, 7890), kOrange);
  EXPECT_EQ(at(3120, 2250), kOrange);
  EXPECT_EQ(at(330, 5040), kOrange);
  EXPECT_EQ(at(5970, 5040), kOrange);
  EXPECT_EQ(at(3120, 7740), kBlue) << text(at(3120, 7740));
  EXPECT_EQ(at(3120, 7640), kGreen);  // just above the ball
}

TEST_P(Render, ThreeLifeMarkersShowAndTheFourthIsHidden) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(at(1440.0f + 480.0f * i + 187, 907), kRed) << i;
  EXPECT_EQ(at(2880 + 187, 907), kFaceColor);   // life(3): the heading's back shows
  EXPECT_EQ(at(1440 + 187, 1147), kFaceColor);  // the lower row is hidden
}

TEST_P(Render, ReadOutsAreRedInBorderedHeadings) {
  const auto& c = game->form.controls();
  // Six figures of the score and the high score, three of the brick count.
  EXPECT_GT(countNear(*frame, c.showscore.bounds(), kRed, 0), 60 * GetParam() * GetParam());
  EXPECT_GT(countNear(*frame, c.highscore.bounds(), kRed, 0), 60 * GetParam() * GetParam());
  EXPECT_GT(countNear(*frame, c.numbricks.bounds(), kRed, 0), 30 * GetParam() * GetParam());
  EXPECT_EQ(c.numbricks.caption(), "141");
  // The heading's single-line border, its back the dialog face.
  EXPECT_EQ(at(122, 300), kTextColor);
  EXPECT_EQ(at(1250, 560), kFaceColor);
  // The title's navy letters inside its grey box.
  EXPECT_GT(countNear(*frame, c.logo.bounds(), {0, 0, 128}, 40), 20 * GetParam() * GetParam());
  EXPECT_EQ(at(5800, 1620), (Color{192, 192, 192}));
}

TEST_P(Render, PauseShowsTheRaisedButtonInFrontOfTheBricks) {
  EXPECT_NE(at(2040 + 300, 3120 + 300), kFaceColor);
  game->form.keyDown(key::P);
  frame->draw(game->form);
  keep("paused");
  const ScreenObject& pause = game->form.controls().pause;
  EXPECT_EQ(at(pause.left() + 300, pause.top() + 300), kFaceColor);
  EXPECT_EQ(at(pause.left() + 3, pause.top() + 3), (Color{255, 255, 255}));  // raised: lit from the top left
  EXPECT_EQ(at(pause.bounds().right() - 3, pause.bounds().bottom() - 3), (Color{105, 105, 105}));
  EXPECT_GT(countNear(*frame, pause.bounds(), kTextColor, 30), 50 * GetParam() * GetParam());  // "Pause"
  // Held down it looks pressed in.
  frame->draw(game->form, "pause");
  EXPECT_EQ(at(pause.left() + 3, pause.top() + 3), (Color{105, 105, 105}));
}

TEST_P(Render, DrawingOnlyTheDamageGivesTheSameFrameAsDrawingAll) {
  int flying = 0;
  for (int t = 0; t < 300; ++t) {
    // Serve again whenever a ball is lost, steering both pairs of paddles.
    if (t % 40 == 0) game->form.keyDown(t % 80 == 0 ? key::Left : key::Right);
    if (t % 40 == 20) game->form.keyDown(t % 80 == 20 ? key::Up : key::Down);
    game->advance(25);
    flying += game->form.controls().ball.top() != 7680;
    frame->drawChanges(game->form);
  }
  ASSERT_GT(flying, 150);
  std::vector<std::uint32_t> partial(
      static_cast<std::uint32_t*>(frame->surface()->pixels),
      static_cast<std::uint32_t*>(frame->surface()->pixels) + frame->surface()->w * frame->surface()->h);
  frame->draw(game->form);
  const auto* full = static_cast<const std::uint32_t*>(frame->surface()->pixels);
  int differing = 0;
  for (std::size_t i = 0; i < partial.size(); ++i) differing += partial[i] != full[i];
  EXPECT_EQ(differing, 0);
}

TEST_P(Render, PatternTwoAfterF1FillsTheSquare) {
  game->form.keyDown(key::F1);
  frame->drawChanges(game->form);
  for (int r = 6; r <= 20; r += 2)
    for (int col = 6; col <= 20; col += 2)
      EXPECT_NE(at(cellLeft(col) + 45, cellTop(r) + 210), kGreen) << col << "," << r;
  EXPECT_EQ(at(cellLeft(8) + 45, cellTop(6) + 210), kRed);
}

INSTANTIATE_TEST_SUITE_P(Scales, Render, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return std::to_string(static_cast<int>(info.param)) + "x"; });
