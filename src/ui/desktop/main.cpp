// Tessaly: one window, one player, four paddles.

#include <cstdio>
#include <exception>

#include "game/form1.h"
#include "ui/desktop/font_book.h"
#include "ui/desktop/game_loop.h"
#include "ui/desktop/game_window.h"
#include "ui/desktop/sdl_session.h"

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
    desktop::GameLoop(form, clock, window).run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly: %s\n", e.what());
    return 1;
  }
}
