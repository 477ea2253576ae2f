// Tessaly: one window, one player, four paddles.

#include <SDL2/SDL_main.h>  // on Windows the program starts in SDL's WinMain

#include <exception>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "game/form1.h"

int main(int, char**) {
  using namespace tessaly;
  try {
    desktop::SdlSession sdl;
    desktop::FontBook fonts;
    desktop::TtfTextMeasurer measurer(fonts);
    SystemClock clock;
    StdRandom random;
    Form1 form(clock, random, measurer);
    desktop::GameWindow window(fonts);
    frontend::GameSession session(form);
    form.open();
    frontend::GameLoop(session, clock).run(window);
    return 0;
  } catch (const std::exception& e) {
    desktop::reportFailure(e.what());
    return 1;
  }
}
