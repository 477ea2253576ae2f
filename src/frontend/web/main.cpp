// Tessaly in the browser: the game behind the page's canvas, behind one door.
// The page writes each of its events into the record the two share
// (page_record.h) and calls tessaly_event; the front-end core's loop takes
// the event, the ticks due and the frame, and the reply (how long the page
// may sleep, the beat after that, the frames shown) goes back into the record.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "base/platform.h"
#include "frontend/core/game_loop.h"
#include "frontend/core/viewport.h"
#include "frontend/web/canvas_painter.h"
#include "frontend/web/key_map.h"
#include "frontend/web/page_fonts.h"
#include "frontend/web/page_record.h"
#include "game/form1.h"

namespace {

using namespace tessaly;
using frontend::Event;

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
  frontend::GameSession session{form};
  web::CanvasPainter painter{fonts};
#ifdef TESSALY_PAGE_WATCH
  TESSALY_PAGE_WATCH watch{form, session};  // a test build's (tests/web/proof_main.cpp)
  frontend::GameLoop loop{session, clock, &watch};
#else
  frontend::GameLoop loop{session, clock};
#endif
};

std::unique_ptr<Page> page;
web::PageRecord record;

std::string_view keyName(const char* name, int length) {
  return {name, static_cast<std::size_t>(length > 0 && length <= web::kKeyNameBytes ? length : 0)};
}

// The event the page wrote, in the loop's terms; nothing for one the page
// cannot send (a click by a button's name is an automatic player's, and the
// page never quits).
std::optional<Event> recordedEvent() {
  record.gameKey = 0;
  using K = Event::Kind;
  if (record.kind < 0 || record.kind > static_cast<int>(K::Quit)) return std::nullopt;
  const auto kind = static_cast<K>(record.kind);
  if (kind == K::Click || kind == K::Quit) return std::nullopt;
  if (record.device < 0 || record.device > static_cast<int>(frontend::Device::Touch)) return std::nullopt;
  Event e{.kind = kind,
          .device = static_cast<frontend::Device>(record.device),
          .control = record.control,
          .x = record.x,
          .y = record.y,
          .leanX = record.leanX,
          .leanY = record.leanY};
  if ((kind == K::Press || kind == K::Release) && e.device == frontend::Device::Keyboard) {
    // A key comes by its names; the game's own are the browser's no longer.
    e.control = web::virtualKeyCode(keyName(record.key, record.keyLength), keyName(record.code, record.codeLength));
    record.gameKey = web::isGameKey(e.control) ? 1 : 0;
  }
  return e;
}

// One round for the event, its reply into the record.
void round(const Event& e) {
  if (e.kind == Event::Kind::Resize) page->painter.resized();  // the page's new size cleared the canvas
  page->loop.handle(e);
  const frontend::Round r = page->loop.endRound(page->painter);
  record.wait = r.wait ? static_cast<std::int32_t>(std::min<TimeMs>(*r.wait, 1'000'000)) : -1;
  record.beat = r.beat;
  record.frames = static_cast<double>(page->session.frames());
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE web::PageRecord* tessaly_record() { return &record; }

// The event in the record. The window opens with the first size the page
// gives it, once the page's faces are loaded.
EMSCRIPTEN_KEEPALIVE void tessaly_event() {
  const auto e = recordedEvent();
  if (!e || (!page && e->kind != Event::Kind::Resize)) return;
  if (!page) {
    page = std::make_unique<Page>();
    page->form.open();
  }
  page->clock.read();
  round(*e);
}

// The canvas for a page of `width` x `height` device pixels, its size into the record.
EMSCRIPTEN_KEEPALIVE void tessaly_canvas_size(int width, int height) {
  const frontend::PixelSize size = frontend::canvasSize(width, height);
  record.width = size.width;
  record.height = size.height;
}

}  // extern "C"
