#include "ui/desktop/frame_painter.h"

namespace tessaly::desktop {

namespace {

// A frame shows a few dozen distinct texts; beyond those the cache only
// holds read-outs that have moved on (each score its own texture), and at
// 192 of them it held a megabyte that the game never drew again.
constexpr std::size_t kTextCacheLimit = 64;

std::uint32_t packed(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

}  // namespace

FramePainter::FramePainter(SDL_Renderer* renderer, FontBook& fonts) : renderer_(renderer), fonts_(fonts) {}

FramePainter::~FramePainter() {
  for (auto& [key, c] : texts_) SDL_DestroyTexture(c.texture);
  for (auto& [key, c] : shapes_) SDL_DestroyTexture(c.texture);
}

void FramePainter::paint(const Controls& controls, const Viewport& view, const PixelRect& area,
                         std::string_view pressedButton) {
  ++frame_;
  render::paintArea(*this, controls, view, area, pressedButton);
  SDL_RenderSetClipRect(renderer_, nullptr);
  trimTextCache();
}

void FramePainter::clip(const PixelRect& area) {
  clip_ = toSdl(area);
  SDL_RenderSetClipRect(renderer_, &clip_);
}

void FramePainter::fill(const PixelRect& r, Color c) {
  const SDL_Rect rect = toSdl(r);
  SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, 255);
  SDL_RenderFillRect(renderer_, &rect);
}

void FramePainter::blitShape(const render::RasterShape& shape, render::PixelPoint at) {
  const Cached* made = shapeTexture(shape);
  if (made == nullptr) return;
  const SDL_Rect to{at.x, at.y, shape.width, shape.height};
  SDL_RenderCopy(renderer_, made->texture, nullptr, &to);
}

std::optional<render::PixelSize> FramePainter::prepareCaption(const Font& font, int pixels, std::string_view text,
                                                              Color color) {
  caption_ = nullptr;
  TTF_Font* ttf = fonts_.open(font, pixels);
  if (ttf == nullptr) return std::nullopt;
  const void* face = fonts_.face(font);
  if (auto known = texts_.find(std::tuple(face, pixels, text, packed(color))); known != texts_.end()) {
    known->second.lastUsed = frame_;
    caption_ = &known->second;
    return render::PixelSize{caption_->width, caption_->height};
  }
  TextKey key{face, pixels, text, packed(color)};
  SDL_Surface* surface = TTF_RenderUTF8_Blended(ttf, std::get<2>(key).c_str(), {color.r, color.g, color.b, 255});
  if (surface == nullptr) return std::nullopt;
  Cached made{SDL_CreateTextureFromSurface(renderer_, surface), surface->w, surface->h, frame_};
  SDL_FreeSurface(surface);
  if (made.texture == nullptr) return std::nullopt;
  SDL_SetTextureBlendMode(made.texture, SDL_BLENDMODE_BLEND);
  caption_ = &texts_.emplace(std::move(key), made).first->second;
  return render::PixelSize{caption_->width, caption_->height};
}

void FramePainter::drawCaption(render::PixelPoint at, const PixelRect& inside) {
  if (caption_ == nullptr) return;
  const SDL_Rect within = toSdl(inside);
  SDL_RenderSetClipRect(renderer_, &within);
  const SDL_Rect to{at.x, at.y, caption_->width, caption_->height};
  SDL_RenderCopy(renderer_, caption_->texture, nullptr, &to);
  SDL_RenderSetClipRect(renderer_, &clip_);
}

const FramePainter::Cached* FramePainter::shapeTexture(const render::RasterShape& s) {
  const ShapeKey key{static_cast<int>(s.form), s.width, s.height, s.outlineWidth, packed(s.fill), packed(s.outline)};
  if (auto known = shapes_.find(key); known != shapes_.end()) return &known->second;
  SDL_Texture* texture =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, s.width, s.height);
  if (texture == nullptr) return nullptr;
  const auto pixels = render::rasteriseShape(s);
  SDL_UpdateTexture(texture, nullptr, pixels.data(), s.width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return &shapes_.emplace(key, Cached{texture, s.width, s.height, frame_}).first->second;
}

void FramePainter::trimTextCache() {
  // Captions that change (the score) would pile up; drop what this frame did
  // not use once there are many.
  if (texts_.size() <= kTextCacheLimit) return;
  for (auto it = texts_.begin(); it != texts_.end();) {
    if (it->second.lastUsed < frame_) {
      SDL_DestroyTexture(it->second.texture);
      it = texts_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace tessaly::desktop
