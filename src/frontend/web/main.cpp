// Tessaly in the browser: the game behind the page's canvas. The page
// (page.js) calls these functions on its events; each returns how long the
// page may sleep before calling tessaly_tick, or -1 when nothing is due.

#include <emscripten/emscripten.h>

#include <memory>

#include "base/platform.h"
#include "frontend/core/viewport.h"
#include "frontend/web/key_map.h"
#include "frontend/web/page_fonts.h"
#include "frontend/web/web_game.h"
#include "game/form1.h"

namespace {

using namespace tessaly;

struct Page {
  SystemClock clock;
  StdRandom random;
  web::PageFonts fonts;
  web::PageTextMeasurer measurer{fonts};
  Form1 form{clock, random, measurer};
  web::WebGame game{form, clock, fonts};
};

std::unique_ptr<Page> page;

}  // namespace

extern "C" {

// Opens the window once the page's faces are loaded, and draws the first
// frame on a canvas of `width` x `height` device pixels.
EMSCRIPTEN_KEEPALIVE int tessaly_start(int width, int height) {
  page = std::make_unique<Page>();
  page->form.open();
  page->game.resize(width, height);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_resize(int width, int height) {
  page->game.resize(width, height);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_tick() {
  page->game.tick();
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_key_down(int virtualKey) {
  page->game.keyDown(virtualKey);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_key_up(int virtualKey) {
  page->game.keyUp(virtualKey);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_down(int x, int y) {
  page->game.pointerDown(x, y);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_move(int x, int y) {
  page->game.pointerMove(x, y);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_up(int x, int y) {
  page->game.pointerUp(x, y);
  return page->game.wakeIn();
}

EMSCRIPTEN_KEEPALIVE double tessaly_frames() { return static_cast<double>(page ? page->game.frames() : 0); }

// The virtual-key code of a key event, 0 for none.
EMSCRIPTEN_KEEPALIVE int tessaly_virtual_key(const char* key, const char* code) {
  return web::virtualKeyCode(key, code);
}

EMSCRIPTEN_KEEPALIVE int tessaly_is_game_key(int virtualKey) { return web::isGameKey(virtualKey) ? 1 : 0; }

// The canvas for a page of `width` x `height` device pixels, as width x 65536 + height.
EMSCRIPTEN_KEEPALIVE int tessaly_canvas_size(int width, int height) {
  const frontend::PixelSize size = frontend::canvasSize(width, height);
  return size.width * 65536 + size.height;
}

}  // extern "C"
