#include "frontend/desktop/game_window.h"

#include <algorithm>
#include <array>
#include <cmath>

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

GameWindow::GameWindow(GamePort& game, FontBook& fonts, double scale) : session_(game), painter_(fonts) {
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
  session_.resize(surface_->w, surface_->h);
}

std::optional<LoopEvent> GameWindow::wait(std::optional<TimeMs> timeout) {
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
    if (link_->sleep(ms)) return LoopEvent::wake();
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

std::optional<LoopEvent> GameWindow::poll() {
  SDL_Event event;
  std::optional<LoopEvent> input;
  while (!input && SDL_PollEvent(&event) != 0) input = translate(event);
  endIfDisplayFailed();
  return input;
}

void GameWindow::endIfDisplayFailed() const {
  if (const std::string_view why = displayFailure(); !why.empty()) throw DisplayLost(std::string(why));
}

std::optional<LoopEvent> GameWindow::translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: return LoopEvent::quit();
    case SDL_USEREVENT: return LoopEvent::wake();
    case SDL_SYSWMEVENT: link_->systemMessage(*e.syswm.msg); return std::nullopt;
    case SDL_KEYDOWN: return LoopEvent::keyDown(virtualKeyCode(e.key.keysym.sym));  // repeats too
    case SDL_KEYUP: return LoopEvent::keyUp(virtualKeyCode(e.key.keysym.sym));
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
        case SDL_WINDOWEVENT_CLOSE: return LoopEvent::quit();
        case SDL_WINDOWEVENT_SIZE_CHANGED: attachSurface(); return LoopEvent::repaint();
        case SDL_WINDOWEVENT_EXPOSED: return LoopEvent::repaint();
        default: return std::nullopt;
      }
    default: return std::nullopt;
  }
}

std::optional<LoopEvent> GameWindow::mouse(const SDL_Event& e) {
  // The left button presses the push buttons; the session keeps what it holds.
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      return e.button.button == SDL_BUTTON_LEFT ? std::optional(LoopEvent::pointerDown(e.button.x, e.button.y))
                                                : std::nullopt;
    case SDL_MOUSEBUTTONUP:
      return e.button.button == SDL_BUTTON_LEFT ? std::optional(LoopEvent::pointerUp(e.button.x, e.button.y))
                                                : std::nullopt;
    default:  // a pointer moving over the window matters only while it holds a button
      return session_.pointerHeld() ? std::optional(LoopEvent::pointerMove(e.motion.x, e.motion.y)) : std::nullopt;
  }
}

void GameWindow::present() {
  const auto areas = session_.present(painter_.onto(surface_));
  if (areas.empty()) return;
  shown_.clear();
  for (const PixelRect& area : areas) shown_.push_back(toSdl(area));
  SDL_UpdateWindowSurfaceRects(window_, shown_.data(), static_cast<int>(shown_.size()));
  endIfDisplayFailed();
}

}  // namespace tessaly::desktop
