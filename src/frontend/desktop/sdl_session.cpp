#include "frontend/desktop/sdl_session.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdio>

#include "frontend/desktop/display_errors.h"
#include "frontend/desktop/display_link.h"

namespace tessaly::desktop {

bool isHeadlessDriver(const std::string& driver) { return driver == "offscreen" || driver == "dummy"; }

SdlSession::SdlSession(Headless headless) {
  chooseDisplayHints();
  // The game draws into the window's own pixels, sent to the
  // display as they are; left to itself SDL would load an OpenGL stack just
  // to copy them through a texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    throw StartError(std::string("no display is available for the game window (SDL: ") + SDL_GetError() + ").");
  const char* name = SDL_GetCurrentVideoDriver();
  driver_ = name != nullptr ? name : "";
  if (isHeadlessDriver(driver_) && headless == Headless::Refuse) {
    SDL_Quit();
    throw StartError(std::string("no display is available for the game window (") + displayAdvice() + ").");
  }
  if (driver_ == "x11") watchDisplayErrors();
  if (TTF_Init() != 0) {
    const std::string why = TTF_GetError();
    SDL_Quit();
    throw StartError("the font renderer could not start (" + why + ").");
  }
  SDL_StopTextInput();  // keys only: no input method in the way
  // Gamepads are welcome but not needed: without them the game plays on.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

SdlSession::~SdlSession() {
  TTF_Quit();
  // After the display failed, SDL's goodbye to it would hand the errors still
  // on their way back to Xlib's own handler, which prints its dump and ends
  // the program before the game has said why.
  if (displayFailure().empty()) SDL_Quit();
}

void reportFailure(const std::string& sentence) {
  std::fprintf(stderr, "tessaly: %s\n", sentence.c_str());
#ifdef _WIN32
  // A program started from the Start menu has no console to read stderr in.
  const std::string text = "Tessaly cannot start: " + sentence;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Tessaly", text.c_str(), nullptr);
#endif
}

}  // namespace tessaly::desktop
