#pragma once
// The game controllers SDL knows (its own mapping database, and any mapping
// given in SDL_GAMECONTROLLERCONFIG), opened as they are plugged in and
// closed as they go, their buttons and left stick turned into the game's
// controls. A pad that goes away lets go of everything it held.

#include <SDL2/SDL.h>

#include <optional>
#include <vector>

#include "frontend/core/game_loop.h"

namespace tessaly::desktop {

class Gamepads {
 public:
  Gamepads() = default;
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // What an SDL controller event means to the game, if anything.
  std::optional<frontend::Event> translate(const SDL_Event& e);
  // Some pad is plugged in and open.
  bool any() const { return !open_.empty(); }

 private:
  std::vector<SDL_GameController*> open_;
  double stickX_ = 0;  // the left stick's lean, -1 to 1 (right, down)
  double stickY_ = 0;
};

// A controller button as the standard layout numbers it (pad:: in the input
// map), or -1 for one it has no place for.
int padButton(Uint8 sdlButton);

}  // namespace tessaly::desktop
