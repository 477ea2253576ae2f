#include "frontend/desktop/offscreen_frame.h"

#include <cmath>

#include "frontend/desktop/sdl_session.h"

namespace tessaly::desktop {

OffscreenFrame::OffscreenFrame(FontBook& fonts, double scale) : view_(Viewport::atScale(scale)), painter_(fonts) {
  const PixelRect& client = view_.client();
  surface_ = SDL_CreateRGBSurfaceWithFormat(0, client.w, client.h, 32, SDL_PIXELFORMAT_XRGB8888);
  if (surface_ == nullptr) throw StartError(std::string("no off-screen surface (") + SDL_GetError() + ").");
}

OffscreenFrame::~OffscreenFrame() { SDL_FreeSurface(surface_); }

void OffscreenFrame::draw(const GamePort& game, std::string_view pressedButton) {
  presenter_.invalidate();
  presenter_.present(game, view_, {surface_->w, surface_->h}, painter_.onto(surface_), pressedButton);
}

std::size_t OffscreenFrame::drawChanges(const GamePort& game) {
  return presenter_.present(game, view_, {surface_->w, surface_->h}, painter_.onto(surface_), {}).size();
}

Color OffscreenFrame::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return {};
  const auto* row =
      static_cast<const std::uint8_t*>(surface_->pixels) + static_cast<std::ptrdiff_t>(y) * surface_->pitch;
  const auto value = reinterpret_cast<const std::uint32_t*>(row)[x];
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, surface_->format, &r, &g, &b);
  return {r, g, b};
}

Color OffscreenFrame::pixelAtTwips(float x, float y) const {
  const double perTwip = view_.scale() / frontend::kTwipsPerPixel;
  return pixel(static_cast<int>(std::floor(x * perTwip)), static_cast<int>(std::floor(y * perTwip)));
}

bool OffscreenFrame::saveBmp(const std::string& path) const { return SDL_SaveBMP(surface_, path.c_str()) == 0; }

}  // namespace tessaly::desktop
