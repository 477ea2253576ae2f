// libFuzzer target for the desktop front end, under SDL's offscreen video
// driver: each input starts a new game in the game window and hands it any
// sequence of SDL events through the window's own loop: keys up and down
// with any key code, known or not; mouse moves and buttons anywhere, inside
// the window or far outside; resizes to any size from 1 x 1 to wider than any
// screen, and so to any scale; window events with sizes that do not match;
// and time passing, so that frames are drawn. After every frame each
// repainted area must lie inside the surface, and at the end nothing outside
// the repainted areas may have changed. A crash, an exception or a sanitizer
// report is a finding.
//
// The window, like the game's, lives for the whole run, with the textures
// it keeps; each input finds it at its opening size with no button held.

#include <SDL2/SDL.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "frontend/core/game_loop.h"
#include "frontend/desktop/font_book.h"
#include "frontend/desktop/game_window.h"
#include "frontend/desktop/sdl_session.h"
#include "game/form1.h"
#include "harness/scripted_game.h"
#include "harness/virtual_time.h"

using namespace tessaly;
using namespace tessaly::desktop;
using namespace tessaly::frontend;

namespace {

// Game time one input may take: frames cost far more than the engine's ticks.
constexpr TimeMs kMaxGameTime = 500;
// Window sizes: any width and height up to what X allows, but mostly no more
// than 16,384 pixels in all (128 x 128, or 8192 x 2; a side past that gets a
// single row): a new size brings a new surface that SDL clears, and the
// sanitizer maps larger blocks afresh every time, which cost a millisecond
// each.
constexpr int kLargestSide = 32767;
constexpr long kMostPixels = 1L << 14;

constexpr std::array<SDL_Keycode, 12> kKeys{SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN,   SDLK_SPACE, SDLK_p,
                                            SDLK_F1,   SDLK_F2,    SDLK_a,  SDLK_LSHIFT, SDLK_KP_4,  SDLK_ESCAPE};

enum class Op : std::uint8_t {
  KeyDown,
  KeyUp,
  MouseMove,
  MouseDown,
  MouseUp,
  ClickButton,
  Resize,
  WindowEvent,
  Pad,
  Pass
};
// How often each comes: a resize brings a new surface, new textures and a
// whole frame, so it comes seldom enough for thousands of inputs a second.
constexpr std::array kOps{
    Op::KeyDown,   Op::KeyUp,       Op::KeyDown,     Op::KeyUp,       Op::KeyDown,     Op::KeyUp,       Op::MouseMove,
    Op::MouseMove, Op::MouseMove,   Op::MouseDown,   Op::MouseUp,     Op::MouseDown,   Op::MouseUp,     Op::MouseDown,
    Op::MouseUp,   Op::Pass,        Op::Pass,        Op::Pass,        Op::Pass,        Op::Pass,        Op::Pass,
    Op::Pass,      Op::Pass,        Op::Pass,        Op::ClickButton, Op::ClickButton, Op::ClickButton, Op::ClickButton,
    Op::Resize,    Op::WindowEvent, Op::WindowEvent, Op::KeyDown,     Op::Pad,         Op::Pad,         Op::Pad};

[[noreturn]] void finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

// A position in or around the window: mostly inside, sometimes on the edge,
// sometimes anywhere an int reaches.
int coordinate(FuzzedDataProvider& in, int extent) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return in.ConsumeBool() ? -1 : extent;
    default: return in.ConsumeIntegralInRange(0, std::max(extent - 1, 0));
  }
}

// A side of a window: mostly up to 2047 pixels, now and then up to X's limit.
int side(FuzzedDataProvider& in) {
  const int bits = in.ConsumeIntegralInRange(0, in.ConsumeBool() ? 11 : 15);
  return std::clamp(in.ConsumeIntegralInRange(1 << bits >> 1, (1 << bits) - 1), 1, kLargestSide);
}

// The window holds on to its game; each input brings a new one.
class NextGame final : public GamePort {
 public:
  Form1* form = nullptr;
  void keyDown(int keycode) override { form->keyDown(keycode); }
  void keyUp(int keycode) override { form->keyUp(keycode); }
  bool click(std::string_view name) override { return form->click(name); }
  std::optional<TimeMs> nextDue() const override { return form->nextDue(); }
  void dispatchDueTimers(CatchUp catchUp) override { form->dispatchDueTimers(catchUp); }
  bool isOpen() const override { return form->isOpen(); }
  const Controls& objects() const override { return form->objects(); }
  std::uint64_t revision() const override { return form->revision(); }
};

// SDL, SDL2_ttf, the fonts and the window, once for the whole run.
struct Desktop {
  static constexpr double kOpeningScale = 0.25;
  SdlSession sdl{Headless::Allow};
  FontBook fonts;
  NextGame game;
  GameWindow window{fonts, kOpeningScale};
  GameSession session{game};
  int openingWidth = 0;
  int openingHeight = 0;
  std::vector<std::uint8_t> snapshot;
  Desktop() {
    // A window manager may shrink a window below the size it asks for. The
    // game keeps its window at half scale or more; the inputs start at a
    // quarter, whose frames and surfaces cost a quarter as much.
    SDL_SetWindowMinimumSize(window.window(), 1, 1);
    const PixelRect opening = Viewport::atScale(kOpeningScale).client();
    SDL_SetWindowSize(window.window(), opening.w, opening.h);
    SDL_GetWindowSize(window.window(), &openingWidth, &openingHeight);
  }
};

class Session final : public LoopObserver {
 public:
  Session(Desktop& desktop, FuzzedDataProvider& in)
      : desktop_(desktop),
        window_(desktop.window),
        measurer_(desktop.fonts),
        game_({.seed = in.ConsumeIntegral<std::uint32_t>(),
               .repeat = static_cast<float>(in.ConsumeIntegralInRange(0, 255)) / 256},
              measurer_),
        loop_(desktop.session, game_.clock, this) {
    desktop.game.form = &form_;
    // The window as it opened: its opening size, no button held down.
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_.window(), &w, &h);
    if (w != desktop.openingWidth || h != desktop.openingHeight)
      SDL_SetWindowSize(window_.window(), desktop.openingWidth, desktop.openingHeight);
    // Nothing drawn is current, and no button is held from the last input.
    desktop.session.pointerCancel();
    desktop.session.invalidate();
    drain();
    form_.open();
  }
  ~Session() override {
    drain();  // nothing waits for the next input
    for (const Device d : {Device::Keyboard, Device::Gamepad, Device::Touch}) desktop_.session.releaseAll(d);
    desktop_.game.form = nullptr;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // One event from the input, then a round of the loop. False once closed.
  bool play(FuzzedDataProvider& in) {
    const SDL_Surface* s = window_.surface();
    SDL_Event e{};
    const Op op = in.PickValueInArray(kOps);
    switch (op) {
      case Op::KeyDown:
      case Op::KeyUp:
        e.type = op == Op::KeyDown ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = in.ConsumeBool() ? kKeys[in.ConsumeIntegralInRange<std::size_t>(0, kKeys.size() - 1)]
                                            : in.ConsumeIntegral<SDL_Keycode>();
        e.key.keysym.scancode = static_cast<SDL_Scancode>(in.ConsumeIntegral<std::uint16_t>());
        e.key.repeat = in.ConsumeBool();
        break;
      case Op::MouseMove:
        e.type = SDL_MOUSEMOTION;
        e.motion.x = coordinate(in, s->w);
        e.motion.y = coordinate(in, s->h);
        break;
      case Op::MouseDown:
      case Op::MouseUp:
        e.type = op == Op::MouseDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = in.ConsumeBool() ? SDL_BUTTON_LEFT : in.ConsumeIntegral<Uint8>();
        e.button.x = coordinate(in, s->w);
        e.button.y = coordinate(in, s->h);
        break;
      case Op::ClickButton: return clickButton(in);
      case Op::Resize: {
        const int w = side(in);
        resize(w, side(in));
        return round();
      }
      case Op::WindowEvent:
        // What a window manager may send: sizes that match nothing, a new
        // exposure, or the close button.
        e.type = SDL_WINDOWEVENT;
        e.window.event = static_cast<Uint8>(in.PickValueInArray(
            {SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_RESIZED, SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_CLOSE}));
        e.window.data1 = in.ConsumeIntegral<Sint32>();
        e.window.data2 = in.ConsumeIntegral<Sint32>();
        break;
      case Op::Pad: padEvent(in, e); break;
      case Op::Pass: return pass(in.ConsumeIntegralInRange(1, 255));
    }
    SDL_PushEvent(&e);
    return round();
  }

  // A game controller's event, as SDL would deliver it or as no pad ever
  // sends it: any button, any axis and lean, pads coming and going by any
  // number.
  static void padEvent(FuzzedDataProvider& in, SDL_Event& e) {
    e.type = in.PickValueInArray({SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERAXISMOTION,
                                  SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED});
    if (e.type == SDL_CONTROLLERAXISMOTION) {
      e.caxis.axis = in.ConsumeBool() ? in.ConsumeIntegralInRange<Uint8>(0, 1) : in.ConsumeIntegral<Uint8>();
      e.caxis.value = in.ConsumeIntegral<Sint16>();
    } else if (e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP) {
      e.cbutton.button = in.ConsumeIntegral<Uint8>();
    } else {
      e.cdevice.which = in.ConsumeIntegral<Sint32>();
    }
  }

  // The last round, with every pixel outside its repainted areas watched.
  void finish() {
    watchPixels_ = true;
    if (round()) pass(25);
  }

  TimeMs now() const { return game_.clock.now(); }

  void presented() override {
    const SDL_Surface* s = window_.surface();
    for (const PixelRect& a : desktop_.session.repainted())
      if (a.empty() || a.x < 0 || a.y < 0 || a.x + a.w > s->w || a.y + a.h > s->h)
        finding("a repainted area reaches outside the window's surface");
    if (snapshotOf_ != nullptr) comparePixels();
  }

  bool between(GameLoop&) override {
    snapshotOf_ = nullptr;
    if (watchPixels_) takeSnapshot();
    return true;
  }

 private:
  // Every event waiting goes through the window and the loop.
  void drain() {
    while (const auto e = window_.poll()) loop_.handle(*e);
  }

  // A round of the loop that cannot sleep: a wake-up is waiting.
  bool round() {
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
    return loop_.step(window_);
  }

  // Lets `ms` pass, a round at every instant a tick falls due.
  bool pass(TimeMs ms) {
    const TimeMs end = std::min(now() + ms, kMaxGameTime);
    while (form_.isOpen()) {
      const auto due = form_.nextDue();
      if (!due || *due > end) break;
      game_.clock.set(*due);
      if (!round()) return false;
    }
    if (end > now()) game_.clock.set(end);
    return round();
  }

  // A press and release in the middle of a push button, shown or not: the
  // mouse's way to the buttons that random positions seldom find.
  bool clickButton(FuzzedDataProvider& in) {
    const std::string_view name = in.PickValueInArray(button::all);
    const ScreenObject* b = nullptr;
    for (const ScreenObject* o : form_.objects().buttons())
      if (o->name() == name) b = o;
    if (b == nullptr) return round();
    const PixelRect r = desktop_.session.viewport().edges(b->bounds());
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      SDL_Event e{};
      e.type = type;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = r.x + r.w / 2;
      e.button.y = r.y + r.h / 2;
      SDL_PushEvent(&e);
    }
    return round();
  }

  void resize(int w, int h) {
    if (static_cast<long>(w) * h > kMostPixels) h = std::max(1, static_cast<int>(kMostPixels / w));
    SDL_SetWindowSize(window_.window(), w, h);
  }

  void takeSnapshot() {
    const SDL_Surface* s = window_.surface();
    const auto* pixels = static_cast<const std::uint8_t*>(s->pixels);
    snapshot_.resize(static_cast<std::size_t>(s->h) * s->pitch);
    std::memcpy(snapshot_.data(), pixels, snapshot_.size());
    snapshotOf_ = s;
  }

  // Row by row, everything left and right of the repainted areas that cross
  // the row, and every row no area crosses, is as it was.
  void comparePixels() {
    const SDL_Surface* s = window_.surface();
    if (s != snapshotOf_ || snapshot_.size() != static_cast<std::size_t>(s->h) * s->pitch) return;
    const auto* pixels = static_cast<const std::uint8_t*>(s->pixels);
    const int bytes = s->format->BytesPerPixel;
    std::vector<std::pair<int, int>> spans;
    for (int y = 0; y < s->h; ++y) {
      spans.clear();
      for (const PixelRect& a : desktop_.session.repainted())
        if (y >= a.y && y < a.y + a.h) spans.emplace_back(a.x, a.x + a.w);
      std::sort(spans.begin(), spans.end());
      int x = 0;
      spans.emplace_back(s->w, s->w);
      for (const auto& [from, to] : spans) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y) * s->pitch + static_cast<std::ptrdiff_t>(x) * bytes;
        if (from > x && std::memcmp(pixels + at, snapshot_.data() + at, static_cast<std::size_t>(from - x) * bytes))
          finding("a frame drew outside the areas it repainted");
        x = std::max(x, to);
      }
    }
  }

  Desktop& desktop_;
  GameWindow& window_;
  TtfTextMeasurer measurer_;
  ScriptedGame game_;
  Form1& form_ = game_.form;
  GameLoop loop_;
  bool watchPixels_ = false;
  std::vector<std::uint8_t>& snapshot_ = desktop_.snapshot;  // kept: most inputs need no new memory
  const SDL_Surface* snapshotOf_ = nullptr;
};

Desktop& theDesktop() {
  static Desktop d;
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  theDesktop();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  try {
    Session session(theDesktop(), in);
    bool open = true;
    while (open && in.remaining_bytes() > 0 && session.now() < kMaxGameTime) open = session.play(in);
    if (open) session.finish();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "finding: exception %s\n", e.what());
    std::abort();
  }
  return 0;
}
