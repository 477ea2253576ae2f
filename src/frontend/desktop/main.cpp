// Tessaly: one window, one player, four paddles.

#include <cstdio>
#include <exception>

#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_loop.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "game/form1.h"

int main() {
  using namespace tessaly;
  try {
    desktop::SdlSession sdl;
    desktop::FontBook fonts;
    desktop::TtfTextMeasurer measurer(fonts);
    SystemClock clock;
    StdRandom random;
    Form1 form(clock, random, measurer);
    desktop::GameWindow window(form, fonts);
    form.open();
    desktop::GameLoop(window.session(), clock, window).run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly: %s\n", e.what());
    return 1;
  }
}
