#include <gtest/gtest.h>

#include "frontend/desktop/key_map.h"
#include "game/form1.h"

using tessaly::desktop::virtualKeyCode;
namespace key = tessaly::key;

TEST(KeyMap, GameKeysGetTheCodesTheHandlersExpect) {
  EXPECT_EQ(virtualKeyCode(SDLK_SPACE), key::Space);
  EXPECT_EQ(virtualKeyCode(SDLK_LEFT), key::Left);
  EXPECT_EQ(virtualKeyCode(SDLK_UP), key::Up);
  EXPECT_EQ(virtualKeyCode(SDLK_RIGHT), key::Right);
  EXPECT_EQ(virtualKeyCode(SDLK_DOWN), key::Down);
  EXPECT_EQ(virtualKeyCode(SDLK_p), key::P);
  EXPECT_EQ(virtualKeyCode(SDLK_F1), key::F1);
  EXPECT_EQ(virtualKeyCode(SDLK_F2), key::F2);
}

TEST(KeyMap, LettersAreCapitalsDigitsAreTheirCharacters) {
  for (SDL_Keycode k = SDLK_a; k <= SDLK_z; ++k) EXPECT_EQ(virtualKeyCode(k), 'A' + (k - SDLK_a)) << k;
  EXPECT_EQ(virtualKeyCode(SDLK_a), 65);
  EXPECT_EQ(virtualKeyCode(SDLK_z), 90);
  for (SDL_Keycode k = SDLK_0; k <= SDLK_9; ++k) EXPECT_EQ(virtualKeyCode(k), 48 + (k - SDLK_0)) << k;
}

TEST(KeyMap, FunctionKeysRunFrom112) {
  EXPECT_EQ(virtualKeyCode(SDLK_F3), 114);
  EXPECT_EQ(virtualKeyCode(SDLK_F12), 123);
  EXPECT_EQ(virtualKeyCode(SDLK_F13), 124);
  EXPECT_EQ(virtualKeyCode(SDLK_F24), 135);
}

TEST(KeyMap, CommonKeysGetTheirUsualCodes) {
  EXPECT_EQ(virtualKeyCode(SDLK_RETURN), 13);
  EXPECT_EQ(virtualKeyCode(SDLK_KP_ENTER), 13);
  EXPECT_EQ(virtualKeyCode(SDLK_ESCAPE), 27);
  EXPECT_EQ(virtualKeyCode(SDLK_BACKSPACE), 8);
  EXPECT_EQ(virtualKeyCode(SDLK_TAB), 9);
  EXPECT_EQ(virtualKeyCode(SDLK_HOME), 36);
  EXPECT_EQ(virtualKeyCode(SDLK_DELETE), 46);
  EXPECT_EQ(virtualKeyCode(SDLK_KP_0), 96);
  EXPECT_EQ(virtualKeyCode(SDLK_KP_9), 105);
  EXPECT_EQ(virtualKeyCode(SDLK_KP_PLUS), 107);
  EXPECT_EQ(virtualKeyCode(SDLK_SEMICOLON), 186);
  EXPECT_EQ(virtualKeyCode(SDLK_QUOTE), 222);
}

TEST(KeyMap, ModifierKeysHaveCodesOfTheirOwnSoTheirReleaseStopsThePaddles) {
  EXPECT_EQ(virtualKeyCode(SDLK_LSHIFT), 16);
  EXPECT_EQ(virtualKeyCode(SDLK_RSHIFT), 16);
  EXPECT_EQ(virtualKeyCode(SDLK_LCTRL), 17);
  EXPECT_EQ(virtualKeyCode(SDLK_RCTRL), 17);
  EXPECT_EQ(virtualKeyCode(SDLK_LALT), 18);
  EXPECT_EQ(virtualKeyCode(SDLK_RALT), 18);
}

TEST(KeyMap, KeysWithoutACodeGiveZeroAndNoGameKey) {
  EXPECT_EQ(virtualKeyCode(SDLK_UNKNOWN), 0);
  EXPECT_EQ(virtualKeyCode(SDLK_AUDIOPLAY), 0);
  // No other key stands in for one of the game's keys.
  const int gameKeys[] = {key::Space, key::Left, key::Up, key::Right, key::Down, key::P, key::F1, key::F2};
  for (SDL_Keycode k : {SDLK_KP_4, SDLK_KP_8, SDLK_KP_6, SDLK_KP_2, SDLK_KP_SPACE, SDLK_AC_BACK, SDLK_PAGEUP})
    for (int game : gameKeys) EXPECT_NE(virtualKeyCode(k), game) << k;
}
