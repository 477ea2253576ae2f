#include "frontend/desktop/frame_painter.h"

#include <algorithm>
#include <cstring>

namespace tessaly::desktop {

namespace {

// A frame shows a few dozen distinct texts; beyond those the cache only
// holds read-outs that have moved on (each score its own picture), and at
// 192 of them it held a megabyte that the game never drew again.
constexpr std::size_t kTextCacheLimit = 64;
// A frame shows about twenty shapes (board, ball, paddles, markers, a brick
// of each colour); more are those of sizes the window has left.
constexpr std::size_t kShapeCacheLimit = 64;

std::uint32_t packed(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

std::uint32_t* rowOf(SDL_Surface* s, int y) {
  return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) +
                                          static_cast<std::ptrdiff_t>(y) * s->pitch);
}

// SDL blends a pixel with alpha one way where it has MMX (every x86-64) and
// another in plain C (ARM), a level or two apart on the edges of text and
// shapes. The game blends them itself with the MMX sums, so that a frame is
// the same on every platform; a target of another pixel layout goes to SDL.
void blend(SDL_Surface* source, SDL_Surface* target, SDL_Rect to) {
  const Uint32 layout = target->format->format;
  if (layout != SDL_PIXELFORMAT_XRGB8888 && layout != SDL_PIXELFORMAT_ARGB8888) {
    SDL_BlitSurface(source, nullptr, target, &to);
    return;
  }
  to.w = source->w;
  to.h = source->h;
  SDL_Rect clip;
  SDL_GetClipRect(target, &clip);
  SDL_Rect area;
  if (!SDL_IntersectRect(&to, &clip, &area)) return;
  if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
  for (int y = area.y; y < area.y + area.h; ++y) {
    const std::uint32_t* from = rowOf(source, y - to.y) + (area.x - to.x);
    std::uint32_t* onto = rowOf(target, y) + area.x;
    for (int x = 0; x < area.w; ++x) {
      const std::uint32_t s = from[x];
      const std::uint32_t a = s >> 24;
      if (a == 0) continue;
      if (a == 255) {
        onto[x] = s;
        continue;
      }
      const std::uint32_t d = onto[x];
      std::uint32_t out = ((a * 255 >> 8) + ((d >> 24) * (255 - a) >> 8)) << 24;
      for (int shift = 0; shift < 24; shift += 8)
        out |= ((((s >> shift) & 255) * a >> 8) + (((d >> shift) & 255) * (255 - a) >> 8)) << shift;
      onto[x] = out;
    }
  }
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

}  // namespace

FramePainter::FramePainter(FontBook& fonts) : fonts_(fonts) {}

FramePainter::~FramePainter() {
  for (auto& [key, c] : texts_) SDL_FreeSurface(c.surface);
  for (auto& [key, c] : shapes_) SDL_FreeSurface(c.surface);
}

void FramePainter::paint(SDL_Surface* target, const Controls& controls, const Viewport& view, const PixelRect& area,
                         std::string_view pressedButton) {
  onto(target).beginFrame();
  frontend::paintArea(*this, controls, view, area, pressedButton);
  endFrame();
}

void FramePainter::endFrame() {
  SDL_SetClipRect(target_, nullptr);
  trim(texts_, kTextCacheLimit);
  trim(shapes_, kShapeCacheLimit);
}

void FramePainter::clip(const PixelRect& area) {
  clip_ = toSdl(area);
  SDL_SetClipRect(target_, &clip_);
}

void FramePainter::fill(const PixelRect& r, Color c) {
  const Uint32 pixel = SDL_MapRGB(target_->format, c.r, c.g, c.b);
  SDL_Rect rect = toSdl(r);
  // SDL fills wide rows with stores that go around the cache, straight to
  // memory: a frame's few hundred fills of a surface that fits in the cache
  // took most of its painting. Four-byte pixels, as windows have, are filled
  // here; any other format by SDL.
  if (target_->format->BytesPerPixel != 4 || SDL_MUSTLOCK(target_)) {
    SDL_FillRect(target_, &rect, pixel);
    return;
  }
  SDL_Rect inside;
  if (!SDL_IntersectRect(&rect, &target_->clip_rect, &inside)) return;
  auto* row = static_cast<std::uint8_t*>(target_->pixels) + static_cast<std::ptrdiff_t>(inside.y) * target_->pitch +
              static_cast<std::ptrdiff_t>(inside.x) * 4;
  // A wide rectangle has its first row copied down, a call a row where the
  // fuzz build would count and check every pixel; short rows are filled.
  constexpr int kWideRow = 64;
  const std::uint8_t* first = row;
  const auto bytes = static_cast<std::size_t>(inside.w) * 4;
  std::fill_n(reinterpret_cast<Uint32*>(row), inside.w, pixel);
  for (int y = 1; y < inside.h; ++y) {
    row += target_->pitch;
    if (inside.w >= kWideRow) {
      std::memcpy(row, first, bytes);
    } else {
      std::fill_n(reinterpret_cast<Uint32*>(row), inside.w, pixel);
    }
  }
}

void FramePainter::blitShape(const frontend::RasterShape& shape, frontend::PixelPoint at) {
  const Cached* made = shapeSurface(shape);
  if (made == nullptr) return;
  blend(made->surface, target_, {at.x, at.y, shape.width, shape.height});
}

std::optional<frontend::PixelSize> FramePainter::prepareCaption(const Font& font, int pixels, std::string_view text,
                                                                Color color) {
  caption_ = nullptr;
  const void* face = fonts_.face(font);
  if (face == nullptr) return std::nullopt;
  if (auto known = texts_.find(CaptionKey<std::string_view>{face, pixels, packed(color), text});
      known != texts_.end()) {
    known->second.lastUsed = frame_;
    caption_ = &known->second;
    return frontend::PixelSize{caption_->width, caption_->height};
  }
  TTF_Font* ttf = fonts_.open(font, pixels);
  if (ttf == nullptr) return std::nullopt;
  TextKey key{face, pixels, packed(color), std::string(text)};
  SDL_Surface* surface = TTF_RenderUTF8_Blended(ttf, key.text.c_str(), {color.r, color.g, color.b, 255});
  if (surface == nullptr) return std::nullopt;
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
  const Cached made{surface, surface->w, surface->h, frame_};
  caption_ = &texts_.emplace(std::move(key), made).first->second;
  return frontend::PixelSize{caption_->width, caption_->height};
}

void FramePainter::drawCaption(frontend::PixelPoint at, const PixelRect& inside) {
  if (caption_ == nullptr) return;
  const SDL_Rect within = toSdl(inside);
  SDL_SetClipRect(target_, &within);
  blend(caption_->surface, target_, {at.x, at.y, caption_->width, caption_->height});
  SDL_SetClipRect(target_, &clip_);
}

const FramePainter::Cached* FramePainter::shapeSurface(const frontend::RasterShape& s) {
  const ShapeKey key{static_cast<int>(s.form), s.width, s.height, s.outlineWidth, packed(s.fill), packed(s.outline)};
  if (auto known = shapes_.find(key); known != shapes_.end()) {
    known->second.lastUsed = frame_;
    return &known->second;
  }
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, s.width, s.height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return nullptr;
  const auto pixels = frontend::rasteriseShape(s);
  const auto row = static_cast<std::size_t>(s.width) * sizeof(std::uint32_t);
  for (int y = 0; y < s.height; ++y)
    std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch,
                pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width), row);
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
  return &shapes_.emplace(key, Cached{surface, s.width, s.height, frame_}).first->second;
}

template <class Cache>
void FramePainter::trim(Cache& cache, std::size_t limit) {
  // Captions that change (the score) would pile up, and shapes of sizes the
  // window has left; drop what this frame did not use once there are many.
  if (cache.size() <= limit) return;
  for (auto it = cache.begin(); it != cache.end();) {
    if (it->second.lastUsed < frame_) {
      SDL_FreeSurface(it->second.surface);
      it = cache.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace tessaly::desktop
