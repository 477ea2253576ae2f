#include "ui/desktop/game_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ranges>

#include "ui/desktop/display_scale.h"
#include "ui/desktop/key_map.h"
#include "ui/desktop/sdl_session.h"

namespace tessaly::desktop {

namespace {

// Names that outlive any one set of objects: a new game rebuilds the buttons.
constexpr std::array<std::string_view, 3> kButtonNames{"pause", "gameover", "nextlevel"};

int scaled(float twips, double scale) { return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel)); }

}  // namespace

GameWindow::GameWindow(Form1& form, FontBook& fonts, double scale) : form_(form), fonts_(fonts) {
  window_ = SDL_CreateWindow("Form1", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, scaled(kClientWidthTwips, 1),
                             scaled(kClientHeightTwips, 1), SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (window_ == nullptr)
    throw StartError(std::string("the game window could not be opened (") + SDL_GetError() + ").");
  if (scale <= 0) scale = displayScale(window_);
  SDL_SetWindowSize(window_, scaled(kClientWidthTwips, scale), scaled(kClientHeightTwips, scale));
  SDL_SetWindowMinimumSize(window_, scaled(kClientWidthTwips, 0.5), scaled(kClientHeightTwips, 0.5));
  SDL_ShowWindow(window_);
  attachSurface();
}

GameWindow::~GameWindow() {
  painter_.reset();
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void GameWindow::attachSurface() {
  // A new size brings a new surface; the renderer and everything it drew
  // belong to the old one.
  painter_.reset();
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr)
    throw StartError(std::string("the game window has no surface to draw on (") + SDL_GetError() + ").");
  renderer_ = SDL_CreateSoftwareRenderer(surface_);
  if (renderer_ == nullptr) throw StartError(std::string("the game window has no renderer (") + SDL_GetError() + ").");
  painter_ = std::make_unique<FramePainter>(renderer_, fonts_);
  view_ = Viewport::fit(surface_->w, surface_->h);
}

std::optional<LoopEvent> GameWindow::wait(std::optional<TimeMs> timeout) {
  const Uint64 deadline = timeout ? SDL_GetTicks64() + static_cast<Uint64>(*timeout) : 0;
  for (;;) {
    int ms = -1;
    if (timeout) {
      const Uint64 now = SDL_GetTicks64();
      if (now >= deadline) return poll();
      ms = static_cast<int>(deadline - now);
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, ms) == 0) {
      if (timeout) return poll();
      continue;
    }
    if (auto input = translate(event)) return input;
  }
}

std::optional<LoopEvent> GameWindow::poll() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0)
    if (auto input = translate(event)) return input;
  return std::nullopt;
}

std::optional<LoopEvent> GameWindow::translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: return LoopEvent::quit();
    case SDL_USEREVENT: return LoopEvent::wake();
    case SDL_KEYDOWN: return LoopEvent::keyDown(virtualKeyCode(e.key.keysym.sym));  // repeats too
    case SDL_KEYUP: return LoopEvent::keyUp(virtualKeyCode(e.key.keysym.sym));
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION: return mouse(e);
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
  // A push button clicks when the left button goes down and comes up on it;
  // it shows pressed while the pointer stays on it.
  if (e.type == SDL_MOUSEBUTTONDOWN) {
    if (e.button.button != SDL_BUTTON_LEFT || !pressed_.empty()) return std::nullopt;
    pressed_ = buttonAt(e.button.x, e.button.y);
    pressedInside_ = !pressed_.empty();
    return pressed_.empty() ? std::nullopt : std::optional(LoopEvent::repaint());
  }
  if (pressed_.empty()) return std::nullopt;
  if (e.type == SDL_MOUSEMOTION) {
    const bool inside = buttonAt(e.motion.x, e.motion.y) == pressed_;
    if (inside == pressedInside_) return std::nullopt;
    pressedInside_ = inside;
    return LoopEvent::repaint();
  }
  if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
  const std::string_view released = pressed_;
  pressed_ = {};
  if (buttonAt(e.button.x, e.button.y) == released) return LoopEvent::click(released);
  return LoopEvent::repaint();
}

std::string_view GameWindow::buttonAt(int px, int py) const {
  const auto at = view_.toTwips(px, py);
  if (!at || !form_.isOpen()) return {};
  const auto buttons = form_.controls().buttons();
  for (const ScreenObject* b : std::views::reverse(buttons)) {
    if (!b->visible()) continue;
    const SDL_Rect r = view_.edges(b->bounds());
    const SDL_Point p{px, py};
    if (!SDL_PointInRect(&p, &r)) continue;
    const auto name = std::find(kButtonNames.begin(), kButtonNames.end(), b->name());
    return name != kButtonNames.end() ? *name : std::string_view{};
  }
  return {};
}

void GameWindow::present(bool everything) {
  if (!form_.isOpen()) return;
  if (everything) changes_.forget();
  const auto areas = repaintAreas(view_, changes_.collect(form_.controls()), surface_->w, surface_->h);
  if (areas.empty()) return;
  const std::string_view pressed = pressedInside_ ? pressed_ : std::string_view{};
  for (const SDL_Rect& area : areas) painter_->paint(form_.controls(), view_, area, pressed);
  SDL_RenderFlush(renderer_);
  SDL_UpdateWindowSurfaceRects(window_, areas.data(), static_cast<int>(areas.size()));
}

}  // namespace tessaly::desktop
