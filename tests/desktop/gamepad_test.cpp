// A game controller on the desktop, as SDL's virtual controller under the
// offscreen driver: its buttons and stick play as the keyboard does, Start
// clicks the button on show, and unplugging it lets go of what it held.

#include <gtest/gtest.h>

#include <cstdlib>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;

namespace {

class Gamepad : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // The offscreen window never has the focus that a pad's events wait for.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  }

  void SetUp() override {
    g.form.open();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Tessaly test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr);
    index_ = index;
    pump();
  }
  void TearDown() override {
    if (joystick != nullptr) SDL_JoystickClose(joystick);
    if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    pump();
  }

  // Everything SDL has seen, through the window and the loop as in play.
  void pump() {
    SDL_JoystickUpdate();
    while (const auto input = window.poll()) loop.handle(*input);
  }
  void button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
    pump();
  }
  void tap(SDL_GameControllerButton b) {
    button(b, true);
    button(b, false);
  }
  void stick(Sint16 x, Sint16 y) {
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
    pump();
  }
  void unplug() {
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    SDL_JoystickDetachVirtual(index_);
    index_ = -1;
    pump();
  }

  SdlSession sdl{Headless::Allow};
  FontBook fonts;
  ScriptedGame g{{.repeat = 0.5f}};
  GameWindow window{fonts, 1.0};
  frontend::GameSession session{g.form};
  frontend::GameLoop loop{session, g.clock};
  SDL_Joystick* joystick = nullptr;
  int index_ = -1;
  GameState& s = g.form.state;
};

}  // namespace

TEST_F(Gamepad, ButtonsAndStickPlayAsTheKeysDo) {
  button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);  // serves, as Left does
  EXPECT_EQ(s.hdirection, hdirection::left);
  g.advance(50);
  EXPECT_NE(s.ballyspeed, 0);
  button(SDL_CONTROLLER_BUTTON_A, true);  // faster while held
  const double fast = s.paddlespeed;
  button(SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_GT(fast, s.paddlespeed);
  button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  EXPECT_EQ(s.hdirection, hdirection::still);

  stick(0, -30000);  // leaning up, past the dead zone
  EXPECT_EQ(s.vdirection, vdirection::up);
  stick(0, -12000);  // back inside it
  EXPECT_EQ(s.vdirection, vdirection::still);

  tap(SDL_CONTROLLER_BUTTON_START);  // P
  EXPECT_TRUE(g.form.controls().pause.visible());
  tap(SDL_CONTROLLER_BUTTON_START);  // a click on the Pause button on show
  EXPECT_FALSE(g.form.controls().pause.visible());

  tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);  // F1: the next pattern
  EXPECT_EQ(s.patternnum, 2);
  tap(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);  // F2: back again
  EXPECT_EQ(s.patternnum, 1);
}

TEST_F(Gamepad, UnpluggedWhileHeldItLetsGo) {
  button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(s.hdirection, hdirection::right);
  const double before = g.form.controls().paddle(paddle::bottom).left();
  unplug();
  EXPECT_EQ(s.hdirection, hdirection::still);
  g.advance(250);
  EXPECT_EQ(g.form.controls().paddle(paddle::bottom).left(), before);
}
