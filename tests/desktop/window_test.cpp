// The game window itself under SDL's offscreen video driver: refused unless
// asked for, drawn into its surface, resized with letterbox, and the mouse
// turned into clicks on the shown buttons only.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "game/form1.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;
using frontend::Device;
using K = Event::Kind;

namespace {

Color surfacePixel(SDL_Surface* s, int x, int y) {
  SDL_LockSurface(s);
  const auto* row = static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
  std::uint32_t value = 0;
  std::memcpy(&value, row + static_cast<std::ptrdiff_t>(x) * s->format->BytesPerPixel, s->format->BytesPerPixel);
  SDL_UnlockSurface(s);
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, s->format, &r, &g, &b);
  return {r, g, b};
}

SDL_Event mouseButton(Uint32 type, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = x;
  e.button.y = y;
  return e;
}

SDL_Event mouseMotion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.repeat = repeat ? 1 : 0;
  return e;
}

class Window : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
};

}  // namespace

TEST_F(Window, NoDisplayIsRefusedUnlessAskedFor) {
  try {
    SdlSession refused(Headless::Refuse);
    FAIL() << "an invisible window was accepted";
  } catch (const StartError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("no display"), std::string::npos) << what;
    EXPECT_EQ(what.find('\n'), std::string::npos);
  }
  SdlSession allowed(Headless::Allow);
  EXPECT_EQ(allowed.videoDriver(), "offscreen");
}

TEST_F(Window, DrawsTheGameIntoItsSurfaceAndFollowsANewSize) {
  SdlSession sdl(Headless::Allow);
  FontBook fonts;
  TtfTextMeasurer measurer(fonts);
  ScriptedGame g({.repeat = 0.5f}, measurer);
  Form1& form = g.form;
  GameWindow window(fonts, 1.0);
  frontend::GameSession session(form);
  frontend::GameLoop loop(session, g.clock);
  form.open();
  EXPECT_STREQ(SDL_GetWindowTitle(window.window()), "Form1");
  ASSERT_EQ(window.surface()->w, 415);
  ASSERT_EQ(window.surface()->h, 543);
  // Its first event is the size it opened at.
  const auto opened = window.poll();
  ASSERT_TRUE(opened);
  EXPECT_EQ(std::tuple(opened->kind, opened->x, opened->y), std::tuple(K::Resize, 415, 543));
  loop.step(window);
  EXPECT_EQ(surfacePixel(window.surface(), 208, 516), (Color{0, 0, 255}));  // the ball
  EXPECT_EQ(surfacePixel(window.surface(), 70, 200), (Color{128, 255, 128}));

  // Twice the height and more than twice the width: 2x, letterboxed sideways.
  SDL_SetWindowSize(window.window(), 1000, 1086);
  SDL_Event resized{};
  resized.type = SDL_WINDOWEVENT;
  resized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  const auto size = window.translate(resized);
  ASSERT_TRUE(size);
  EXPECT_EQ(std::tuple(size->kind, size->x, size->y), std::tuple(K::Resize, 1000, 1086));
  ASSERT_EQ(window.surface()->w, 1000);
  loop.handle(*size);
  EXPECT_DOUBLE_EQ(session.viewport().scale(), 2.0);
  EXPECT_EQ(session.viewport().client().x, 85);
  loop.step(window);
  EXPECT_EQ(surfacePixel(window.surface(), 85 + 416, 1032), (Color{0, 0, 255}));
  EXPECT_EQ(surfacePixel(window.surface(), 40, 500), (Color{0, 0, 0}));  // letterbox
}

TEST_F(Window, KeysArriveAsVirtualKeyCodesRepeatsIncluded) {
  SdlSession sdl(Headless::Allow);
  FontBook fonts;
  GameWindow window(fonts, 1.0);
  auto down = window.translate(keyEvent(SDL_KEYDOWN, SDLK_LEFT));
  ASSERT_TRUE(down);
  EXPECT_EQ(down->kind, K::Press);
  EXPECT_EQ(down->device, Device::Keyboard);
  EXPECT_EQ(down->control, 37);
  auto repeat = window.translate(keyEvent(SDL_KEYDOWN, SDLK_F1, true));
  EXPECT_EQ(repeat->kind, K::Press);
  EXPECT_EQ(repeat->control, 112);
  auto shiftUp = window.translate(keyEvent(SDL_KEYUP, SDLK_LSHIFT));
  EXPECT_EQ(shiftUp->kind, K::Release);
  EXPECT_EQ(shiftUp->control, 16);
  // A key without a code still releases: any key-up stops the paddles.
  auto other = window.translate(keyEvent(SDL_KEYUP, SDLK_AUDIOPLAY));
  ASSERT_TRUE(other);
  EXPECT_EQ(other->kind, K::Release);
  // Leaving the window lets the keys held come up.
  SDL_Event away{};
  away.type = SDL_WINDOWEVENT;
  away.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  EXPECT_EQ(window.translate(away)->kind, K::FocusLost);
}

TEST_F(Window, OnlyAShownButtonTakesAClickAndOnlyOnRelease) {
  SdlSession sdl(Headless::Allow);
  FontBook fonts;
  ScriptedGame g({.repeat = 0.5f});
  Form1& form = g.form;
  GameWindow window(fonts, 1.0);
  frontend::GameSession session(form);
  frontend::GameLoop loop(session, g.clock);
  form.open();
  // The pause button's middle, in pixels at 1x.
  const int px = (2040 + 2415 / 2) / 15;
  const int py = (3120 + 1455 / 2) / 15;

  const auto feed = [&](const SDL_Event& e) {
    if (const auto input = window.translate(e)) loop.handle(*input);
  };
  const auto clickAt = [&](int x, int y) {
    feed(mouseButton(SDL_MOUSEBUTTONDOWN, x, y));
    feed(mouseButton(SDL_MOUSEBUTTONUP, x, y));
  };
  feed(mouseMotion(px, py));  // nothing held: moving presses nothing
  EXPECT_TRUE(session.pressedButton().empty());
  SDL_Event right = mouseButton(SDL_MOUSEBUTTONDOWN, px, py);
  right.button.button = SDL_BUTTON_RIGHT;
  EXPECT_FALSE(window.translate(right));

  form.keyDown(key::P);
  feed(mouseButton(SDL_MOUSEBUTTONDOWN, px, py));
  EXPECT_EQ(session.pressedButton(), "pause");
  feed(mouseMotion(5, 5));
  EXPECT_TRUE(session.pressedButton().empty());  // no longer looks pressed
  feed(mouseMotion(px, py));
  EXPECT_EQ(session.pressedButton(), "pause");
  EXPECT_TRUE(form.controls().pause.visible());  // not before the release
  feed(mouseButton(SDL_MOUSEBUTTONUP, px, py));
  EXPECT_FALSE(form.controls().pause.visible());

  // Dragged off before release: no click.
  form.keyDown(key::P);
  feed(mouseButton(SDL_MOUSEBUTTONDOWN, px, py));
  feed(mouseMotion(5, 5));
  feed(mouseButton(SDL_MOUSEBUTTONUP, 5, 5));
  EXPECT_TRUE(form.controls().pause.visible());
  EXPECT_TRUE(session.pressedButton().empty());

  // Where pause and gameover overlap, pause is in front.
  form.controls().gameover.setVisible(true);
  clickAt(px, py);
  EXPECT_FALSE(form.controls().pause.visible());
  EXPECT_TRUE(form.controls().gameover.visible());
  // Gameover's own strip below pause belongs to it: a new game.
  form.state.playerscore = 70;
  clickAt(px, (2760 + 1935 - 100) / 15);
  EXPECT_FALSE(form.controls().gameover.visible());
  EXPECT_EQ(form.state.playerscore, 0);
}

TEST_F(Window, ClosingTheWindowQuits) {
  SdlSession sdl(Headless::Allow);
  FontBook fonts;
  GameWindow window(fonts, 1.0);
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_EQ(window.translate(close)->kind, K::Quit);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(window.translate(quit)->kind, K::Quit);
}

TEST_F(Window, WakeEndsAWaitWithoutATimeLimit) {
  SdlSession sdl(Headless::Allow);
  FontBook fonts;
  GameWindow window(fonts, 1.0);
  while (window.poll()) {
  }
  EXPECT_FALSE(window.wait(5));  // nothing happens: the time runs out
  window.wake();
  const auto woken = window.wait(std::nullopt);
  ASSERT_TRUE(woken);
  EXPECT_EQ(woken->kind, K::Tick);
}
