#include "frontend/desktop/game_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "frontend/desktop/display_errors.h"
#include "frontend/desktop/display_link.h"
#include "frontend/desktop/display_scale.h"
#include "frontend/desktop/key_map.h"
#include "frontend/desktop/sdl_session.h"

namespace tessaly::desktop {

namespace {

// The client area's size in pixels at `scale`.
SDL_Point clientSize(double scale) {
  const PixelRect client = Viewport::atScale(scale).client();
  return {client.w, client.h};
}

// A HiDPI scale can ask for more than the screen has (2x is 1086 pixels
// high): the window then opens as large as fits, leaving room for a frame.
double largestScaleOnScreen(SDL_Window* window) {
  SDL_Rect usable;
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return 4;
  const double across = 0.95 * usable.w * frontend::kTwipsPerPixel / frontend::kClientWidthTwips;
  const double down = 0.92 * usable.h * frontend::kTwipsPerPixel / frontend::kClientHeightTwips;
  return std::max(1.0, std::min(across, down));
}

}  // namespace

GameWindow::GameWindow(FontBook& fonts, double scale) : painter_(fonts) {
  // Without a single face the window would show a game without a word on it.
  if (fonts.face(Font{"sans-serif", 10}) == nullptr)
    throw StartError("no usable font is installed (" + std::string(whereFacesAreLooked()) + ").");
  const SDL_Point opening = clientSize(1);
  window_ = SDL_CreateWindow("Form1", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, opening.x, opening.y,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (window_ == nullptr)
    throw StartError(std::string("the game window could not be opened (") + SDL_GetError() + ").");
  if (scale <= 0) scale = std::min(displayScale(window_), largestScaleOnScreen(window_));
  const SDL_Point size = clientSize(scale);
  SDL_SetWindowSize(window_, size.x, size.y);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  const SDL_Point smallest = clientSize(0.5);
  SDL_SetWindowMinimumSize(window_, smallest.x, smallest.y);
  SDL_ShowWindow(window_);
  attachSurface();
  link_ = std::make_unique<DisplayLink>(window_);
}

GameWindow::~GameWindow() {
  link_.reset();
  // A window the display has lost is left alone: SDL would first hide it and
  // wait a second for the display to confirm what can no longer happen.
  if (window_ != nullptr && displayFailure().empty()) SDL_DestroyWindow(window_);
}

void GameWindow::attachSurface() {
  // A new size brings a new surface; what the painter keeps is drawn on it.
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr)
    throw StartError(std::string("the game window has no surface to draw on (") + SDL_GetError() + ").");
  resized_ = Event::resize(surface_->w, surface_->h);
}

std::optional<Event> GameWindow::wait(std::optional<TimeMs> timeout) {
  const Uint64 deadline = timeout ? SDL_GetTicks64() + static_cast<Uint64>(*timeout) : 0;
  for (;;) {
    if (auto input = poll()) return input;
    int ms = -1;
    if (timeout) {
      const Uint64 now = SDL_GetTicks64();
      if (now >= deadline) return std::nullopt;
      ms = static_cast<int>(deadline - now);
    }
    ms = padSlice(ms);
    if (!link_->sleepsOnDisplay()) {
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, ms) != 0)
        if (auto input = translate(event)) return input;
      continue;
    }
    if (link_->sleep(ms)) return Event::of(Event::Kind::Tick);
  }
}

int GameWindow::padSlice(int ms) const {
  // A pad's events reach SDL through devices of their own that the display's
  // connection knows nothing of: while one is open the sleep is cut into
  // slices short enough for a press to act at once, and otherwise a pad
  // plugged in during a pause is still noticed within a second.
  if (!link_->sleepsOnDisplay()) return ms;
  const int slice = pads_.any() ? kPadSliceMs : kPlugSliceMs;
  return ms < 0 ? slice : std::min(ms, slice);
}

void GameWindow::wake() { link_->wake(); }

std::optional<Event> GameWindow::poll() {
  if (resized_) return std::exchange(resized_, std::nullopt);
  SDL_Event event;
  std::optional<Event> input;
  while (!input && SDL_PollEvent(&event) != 0) input = translate(event);
  endIfDisplayFailed();
  return input;
}

void GameWindow::endIfDisplayFailed() const {
  if (const std::string_view why = displayFailure(); !why.empty()) throw DisplayLost(std::string(why));
}

std::optional<Event> GameWindow::translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: return Event::of(Event::Kind::Quit);
    case SDL_USEREVENT: return Event::of(Event::Kind::Tick);
    case SDL_SYSWMEVENT: link_->systemMessage(*e.syswm.msg); return std::nullopt;
    case SDL_KEYDOWN: return Event::keyDown(virtualKeyCode(e.key.keysym.sym));  // repeats too
    case SDL_KEYUP: return Event::keyUp(virtualKeyCode(e.key.keysym.sym));
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION: return mouse(e);
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION: return pads_.translate(e);
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: return Event::of(Event::Kind::Quit);
        case SDL_WINDOWEVENT_SIZE_CHANGED: attachSurface(); return std::exchange(resized_, std::nullopt);
        case SDL_WINDOWEVENT_EXPOSED: return Event::of(Event::Kind::Expose);
        case SDL_WINDOWEVENT_FOCUS_LOST: return Event::of(Event::Kind::FocusLost);
        default: return std::nullopt;
      }
    default: return std::nullopt;
  }
}

std::optional<Event> GameWindow::mouse(const SDL_Event& e) {
  // The left button is the pointer's; the loop decides what a move means.
  using K = Event::Kind;
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
      return Event::pointer(e.type == SDL_MOUSEBUTTONDOWN ? K::PointerDown : K::PointerUp, e.button.x, e.button.y);
    default: return Event::pointer(K::PointerMove, e.motion.x, e.motion.y);
  }
}

void GameWindow::show(std::span<const PixelRect> areas) {
  shown_.clear();
  for (const PixelRect& area : areas) shown_.push_back(toSdl(area));
  SDL_UpdateWindowSurfaceRects(window_, shown_.data(), static_cast<int>(shown_.size()));
  endIfDisplayFailed();
}

}  // namespace tessaly::desktop
