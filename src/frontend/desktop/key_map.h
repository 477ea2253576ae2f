#pragma once
// SDL key codes to the virtual-key codes the game's key handlers expect.

#include <SDL2/SDL_keycode.h>

namespace tessaly::desktop {

// The virtual-key code of a key, or 0 for a key that has none. Keys are told
// apart by what they mean in the user's layout (the SDL keycode), as the
// virtual-key codes are; the modifier state never enters.
int virtualKeyCode(SDL_Keycode key);

}  // namespace tessaly::desktop
