// Tessaly in the browser: the game behind the page's canvas. The page's
// engine module (page/engine.js) calls these functions on its events, each
// event one call. A call that changes the game answers how long the page may
// sleep before calling tessaly_tick, or -1 when nothing is due; a reply of
// more than one value goes into the page's record (page_record.h).

#include <emscripten/emscripten.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/viewport.h"
#include "frontend/web/key_map.h"
#include "frontend/web/page_fonts.h"
#include "frontend/web/page_record.h"
#include "frontend/web/web_game.h"
#include "game/form1.h"

namespace {

using namespace tessaly;

#ifdef TESSALY_PAGE_GAME
using PageGame = TESSALY_PAGE_GAME;  // a test build's game (tests/web/proof_main.cpp)
#else
using PageGame = web::WebGame;
#endif

// The page's time, read once as each of its events begins: every rule an event
// runs sees the same time, and reading it costs the page one call per event
// rather than one per timer looked at.
class PageClock final : public Clock {
 public:
  PageClock() { read(); }
  void read() { now_ = static_cast<TimeMs>(emscripten_get_now()); }
  TimeMs now() const override { return now_; }
  std::uint64_t seed() const override { return system_.seed(); }

 private:
  SystemClock system_;
  TimeMs now_ = 0;
};

struct Page {
  PageClock clock;
  StdRandom random;
  web::PageFonts fonts;
  web::PageTextMeasurer measurer{fonts};
  Form1 form{clock, random, measurer};
  PageGame game{form, clock, fonts};
};

std::unique_ptr<Page> page;

// The game, as one of the page's events begins.
PageGame& game() {
  page->clock.read();
  return page->game;
}
web::PageRecord record;

// The reply to every call that changes the game: how long the page may sleep,
// with the beat the ticks keep after that into the record.
int reply() {
  record.beat = page->game.beat();
  return page->game.wakeIn();
}

std::string_view keyName(const char* name, int length) {
  return {name, static_cast<std::size_t>(length > 0 && length <= web::kKeyNameBytes ? length : 0)};
}

// The virtual-key code of the key event whose names the page wrote into the record.
int recordedKey(int keyLength, int codeLength) {
  return web::virtualKeyCode(keyName(record.key, keyLength), keyName(record.code, codeLength));
}

// A device as the page numbers it (frontend/core/input_map.h), or nothing for a number that is none.
std::optional<frontend::Device> deviceOf(int device) {
  if (device < 0 || device > static_cast<int>(frontend::Device::Touch)) return std::nullopt;
  return static_cast<frontend::Device>(device);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE web::PageRecord* tessaly_record() { return &record; }

// Opens the window once the page's faces are loaded, and draws the first
// frame on a canvas of `width` x `height` device pixels.
EMSCRIPTEN_KEEPALIVE int tessaly_start(int width, int height) {
  page = std::make_unique<Page>();
  page->form.open();
  game().resize(width, height);
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_resize(int width, int height) {
  game().resize(width, height);
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_tick() {
  game().tick();
  return reply();
}

// A key event, its `key` and `code` in the record, `keyLength` and
// `codeLength` bytes long (0 for a name too long for it). Replies with the
// wait and whether it was one of the game's keys.
EMSCRIPTEN_KEEPALIVE void tessaly_key_down(int keyLength, int codeLength) {
  const int virtualKey = recordedKey(keyLength, codeLength);
  game().keyDown(virtualKey);
  record.gameKey = web::isGameKey(virtualKey) ? 1 : 0;
  record.wait = reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_key_up(int keyLength, int codeLength) {
  game().keyUp(recordedKey(keyLength, codeLength));
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_down(int x, int y) {
  game().pointerDown(x, y);
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_move(int x, int y) {
  game().pointerMove(x, y);
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_pointer_up(int x, int y) {
  game().pointerUp(x, y);
  return reply();
}

// A control of any device went down or came up, numbered as the front-end
// core's input map numbers them: the keyboard's virtual-key codes, a pad's
// buttons, the touch screen's controls.
EMSCRIPTEN_KEEPALIVE int tessaly_press(int device, int control) {
  if (const auto d = deviceOf(device)) game().press(*d, control);
  return reply();
}

EMSCRIPTEN_KEEPALIVE int tessaly_release(int device, int control) {
  if (const auto d = deviceOf(device)) game().release(*d, control);
  return reply();
}

// Everything a device holds comes up: the page lost the focus, a pad went away.
EMSCRIPTEN_KEEPALIVE int tessaly_release_all(int device) {
  if (const auto d = deviceOf(device)) game().releaseAll(*d);
  return reply();
}

// A pad's left stick, x to the right and y down, each -1 to 1; the engine
// decides what counts as leaning.
EMSCRIPTEN_KEEPALIVE int tessaly_stick(double x, double y) {
  game().stick(x, y);
  return reply();
}

// The browser took the pointer away: a push button held down comes up without a click.
EMSCRIPTEN_KEEPALIVE int tessaly_pointer_cancel() {
  game().pointerCancel();
  return reply();
}

EMSCRIPTEN_KEEPALIVE double tessaly_frames() { return static_cast<double>(page ? page->game.frames() : 0); }

// The canvas for a page of `width` x `height` device pixels, its size into the record.
EMSCRIPTEN_KEEPALIVE void tessaly_canvas_size(int width, int height) {
  const frontend::PixelSize size = frontend::canvasSize(width, height);
  record.width = size.width;
  record.height = size.height;
}

}  // extern "C"
