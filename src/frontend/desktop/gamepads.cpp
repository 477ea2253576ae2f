#include "frontend/desktop/gamepads.h"

#include <algorithm>
#include <array>

namespace tessaly::desktop {

namespace {

// SDL's buttons in its own order, by their place in the standard layout.
constexpr std::array<int, SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1> kStandardPlace{
    frontend::pad::South,          // A
    1,                             // B
    2,                             // X
    3,                             // Y
    8,                             // Back
    16,                            // Guide
    frontend::pad::Start,          // Start
    10,                            // left stick pressed
    11,                            // right stick pressed
    frontend::pad::LeftShoulder,   // left shoulder
    frontend::pad::RightShoulder,  // right shoulder
    frontend::pad::DpadUp,
    frontend::pad::DpadDown,
    frontend::pad::DpadLeft,
    frontend::pad::DpadRight,
};

double lean(Sint16 axis) { return std::clamp(axis / 32767.0, -1.0, 1.0); }

}  // namespace

int padButton(Uint8 sdlButton) { return sdlButton < kStandardPlace.size() ? kStandardPlace[sdlButton] : -1; }

Gamepads::~Gamepads() {
  for (SDL_GameController* pad : open_) SDL_GameControllerClose(pad);
}

std::optional<frontend::Event> Gamepads::translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) open_.push_back(pad);
      return std::nullopt;
    case SDL_CONTROLLERDEVICEREMOVED: {
      SDL_GameController* gone = SDL_GameControllerFromInstanceID(e.cdevice.which);
      const auto it = std::find(open_.begin(), open_.end(), gone);
      if (it == open_.end()) return std::nullopt;
      SDL_GameControllerClose(gone);
      open_.erase(it);
      stickX_ = stickY_ = 0;
      return frontend::Event::releaseAll(frontend::Device::Gamepad);
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const int button = padButton(e.cbutton.button);
      if (button < 0) return std::nullopt;
      return e.type == SDL_CONTROLLERBUTTONDOWN ? frontend::Event::press(frontend::Device::Gamepad, button)
                                                : frontend::Event::release(frontend::Device::Gamepad, button);
    }
    case SDL_CONTROLLERAXISMOTION:
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
        stickX_ = lean(e.caxis.value);
      else if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
        stickY_ = lean(e.caxis.value);
      else
        return std::nullopt;
      return frontend::Event::stick(stickX_, stickY_);
    default: return std::nullopt;
  }
}

}  // namespace tessaly::desktop
