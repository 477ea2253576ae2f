#pragma once
// Browser key events to the virtual-key codes the game's key handlers expect.

#include <string_view>

namespace tessaly::web {

// The virtual-key code of a key event, from its `key` (what the key means in
// the user's layout) and, where that names a shifted or composed character,
// its `code` (the key's place); 0 for a key that has none. The modifier state
// never enters: P and Shift+P are both P, Shift+1 is 1.
int virtualKeyCode(std::string_view key, std::string_view code);

// The game's own keys (the arrows, Space, P, F1, F2): the page keeps the
// browser from acting on them (scrolling, help).
bool isGameKey(int virtualKey);

}  // namespace tessaly::web
