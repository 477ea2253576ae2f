#include <gtest/gtest.h>

#include "frontend/web/key_map.h"
#include "game/form1.h"

using tessaly::web::isGameKey;
using tessaly::web::virtualKeyCode;
namespace key = tessaly::key;

TEST(WebKeyMap, GameKeysGetTheCodesTheHandlersExpectAndAreKeptFromTheBrowser) {
  EXPECT_EQ(virtualKeyCode(" ", "Space"), key::Space);
  EXPECT_EQ(virtualKeyCode("ArrowLeft", "ArrowLeft"), key::Left);
  EXPECT_EQ(virtualKeyCode("ArrowUp", "ArrowUp"), key::Up);
  EXPECT_EQ(virtualKeyCode("ArrowRight", "ArrowRight"), key::Right);
  EXPECT_EQ(virtualKeyCode("ArrowDown", "ArrowDown"), key::Down);
  EXPECT_EQ(virtualKeyCode("p", "KeyP"), key::P);
  EXPECT_EQ(virtualKeyCode("F1", "F1"), key::F1);
  EXPECT_EQ(virtualKeyCode("F2", "F2"), key::F2);
  for (int code : {key::Space, key::Left, key::Up, key::Right, key::Down, key::P, key::F1, key::F2})
    EXPECT_TRUE(isGameKey(code)) << code;
  for (int code : {0, 65, 13, 27, 114, 123}) EXPECT_FALSE(isGameKey(code)) << code;
}

TEST(WebKeyMap, TheModifierStateNeverEnters) {
  EXPECT_EQ(virtualKeyCode("P", "KeyP"), key::P);  // Shift or Caps Lock
  EXPECT_EQ(virtualKeyCode("!", "Digit1"), '1');
  EXPECT_EQ(virtualKeyCode(":", "Semicolon"), 186);
  EXPECT_EQ(virtualKeyCode("\xc3\xa9", "Digit2"), '2');  // a composed character types on the 2 key
  // The layout decides: on an AZERTY keyboard the key in Q's place types A.
  EXPECT_EQ(virtualKeyCode("a", "KeyQ"), 'A');
}

TEST(WebKeyMap, OtherKeysGetTheirUsualCodesOrNone) {
  EXPECT_EQ(virtualKeyCode("z", "KeyZ"), 90);
  EXPECT_EQ(virtualKeyCode("0", "Digit0"), 48);
  EXPECT_EQ(virtualKeyCode("F12", "F12"), 123);
  EXPECT_EQ(virtualKeyCode("F24", "F24"), 135);
  EXPECT_EQ(virtualKeyCode("Enter", "Enter"), 13);
  EXPECT_EQ(virtualKeyCode("Enter", "NumpadEnter"), 13);
  EXPECT_EQ(virtualKeyCode("Escape", "Escape"), 27);
  EXPECT_EQ(virtualKeyCode("Shift", "ShiftRight"), 16);
  EXPECT_EQ(virtualKeyCode("-", "Minus"), 189);
  // The keypad by its own codes, whatever Num Lock makes it type.
  EXPECT_EQ(virtualKeyCode("ArrowLeft", "Numpad4"), 100);
  EXPECT_EQ(virtualKeyCode("4", "Numpad4"), 100);
  EXPECT_EQ(virtualKeyCode("+", "NumpadAdd"), 107);
  EXPECT_EQ(virtualKeyCode("Unidentified", ""), 0);
  EXPECT_EQ(virtualKeyCode("F25", "F25"), 0);
  EXPECT_EQ(virtualKeyCode("F0", ""), 0);
}
