#include "ui/desktop/frame_painter.h"

#include <algorithm>

namespace tessaly::desktop {

namespace {

constexpr std::size_t kTextCacheLimit = 192;

// Bevel colours of a raised push button, besides the dialog face.
constexpr Color kHighlight{255, 255, 255};
constexpr Color kLight{227, 227, 227};
constexpr Color kShadow{160, 160, 160};
constexpr Color kDarkShadow{105, 105, 105};

std::uint32_t packed(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

SDL_Rect intersection(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect out{};
  if (!SDL_IntersectRect(&a, &b, &out)) return {a.x, a.y, 0, 0};
  return out;
}

SDL_Rect inset(const SDL_Rect& r, int by) { return {r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

}  // namespace

void repaintAreas(const Viewport& view, const Changes& changes, int width, int height, std::vector<SDL_Rect>& areas) {
  constexpr int kMargin = 2;
  constexpr std::size_t kMostAreas = 12;  // past this, one area holding them all is cheaper
  const SDL_Rect whole{0, 0, width, height};
  areas.clear();
  if (changes.everything) {
    areas.push_back(whole);
    return;
  }
  for (const Rect& changed : changes.areas) {
    const SDL_Rect r = view.edges(changed);
    SDL_Rect area{r.x - kMargin, r.y - kMargin, r.w + 2 * kMargin, r.h + 2 * kMargin};
    if (!SDL_IntersectRect(&area, &whole, &area)) continue;
    // Whatever overlaps is painted once, as one.
    for (auto it = areas.begin(); it != areas.end();) {
      if (SDL_HasIntersection(&*it, &area)) {
        SDL_UnionRect(&*it, &area, &area);
        it = areas.erase(it);
      } else {
        ++it;
      }
    }
    areas.push_back(area);
  }
  if (areas.size() > kMostAreas) {
    SDL_Rect all = areas.front();
    for (const SDL_Rect& a : areas) SDL_UnionRect(&all, &a, &all);
    areas.assign(1, all);
  }
}

FramePainter::FramePainter(SDL_Renderer* renderer, FontBook& fonts) : renderer_(renderer), fonts_(fonts) {}

FramePainter::~FramePainter() {
  for (auto& [key, c] : texts_) SDL_DestroyTexture(c.texture);
  for (auto& [key, c] : shapes_) SDL_DestroyTexture(c.texture);
}

void FramePainter::paint(const Controls& controls, const Viewport& view, const SDL_Rect& area,
                         std::string_view pressedButton) {
  ++frame_;
  SDL_RenderSetClipRect(renderer_, &area);
  const SDL_Rect client = view.client();
  fill({area.x, area.y, area.w, client.y - area.y}, kLetterboxColor);
  fill({area.x, client.y + client.h, area.w, area.y + area.h - client.y - client.h}, kLetterboxColor);
  fill({area.x, client.y, client.x - area.x, client.h}, kLetterboxColor);
  fill({client.x + client.w, client.y, area.x + area.w - client.x - client.w, client.h}, kLetterboxColor);
  clip_ = intersection(area, client);
  if (clip_.w > 0 && clip_.h > 0) {
    clipTo(clip_);
    fill(clip_, kFaceColor);
    const auto touches = [&](const ScreenObject& o) {
      if (!o.visible()) return false;
      const SDL_Rect r = view.edges(o.bounds());
      // Outlines and captions never reach past the bounds.
      return SDL_HasIntersection(&r, &clip_) == SDL_TRUE;
    };
    for (const ScreenObject* o : controls.drawOrder()) {
      if (!touches(*o)) continue;
      if (o->kind() == ObjectKind::Shape) {
        drawShape(*o, view);
      } else {
        drawLabel(*o, view);
      }
    }
    for (const ScreenObject* b : controls.buttons())
      if (touches(*b)) drawButton(*b, view, b->name() == pressedButton);
  }
  SDL_RenderSetClipRect(renderer_, nullptr);
  trimTextCache();
}

void FramePainter::drawShape(const ScreenObject& o, const Viewport& view) {
  const Look& look = o.look();
  const int outline = view.pixels(look.outlineWidth);
  if (look.form == ShapeForm::Rectangle) {
    const SDL_Rect r = view.edges(o.bounds());
    fill(r, o.backColor());
    frame(r, outline, look.outline);
    return;
  }
  // Smooth shapes keep their size in pixels wherever they move, so that one
  // rasterised texture serves every position.
  const int w = view.pixels(o.width() / kTwipsPerPixel);
  const int h = view.pixels(o.height() / kTwipsPerPixel);
  const Cached* shape = shapeTexture({look.form, w, h, outline, o.backColor(), look.outline});
  if (shape == nullptr) return;
  const SDL_Rect at{view.x(o.left()), view.y(o.top()), w, h};
  SDL_RenderCopy(renderer_, shape->texture, nullptr, &at);
}

void FramePainter::drawLabel(const ScreenObject& o, const Viewport& view) {
  const Look& look = o.look();
  const SDL_Rect r = view.edges(o.bounds());
  const int line = view.pixels(1);
  if (!look.transparentBack) fill(r, o.backColor());
  drawText(look.font, o.caption(), look.textColor, view, r, look.alignment, false, look.border ? line : 0);
  if (look.border) frame(r, line, kTextColor);
}

void FramePainter::drawButton(const ScreenObject& o, const Viewport& view, bool pressed) {
  const SDL_Rect r = view.edges(o.bounds());
  const int line = view.pixels(1);
  fill(r, kFaceColor);
  const auto bevel = [&](const SDL_Rect& edge, Color topLeft, Color bottomRight) {
    fill({edge.x, edge.y, edge.w, line}, topLeft);
    fill({edge.x, edge.y, line, edge.h}, topLeft);
    fill({edge.x, edge.y + edge.h - line, edge.w, line}, bottomRight);
    fill({edge.x + edge.w - line, edge.y, line, edge.h}, bottomRight);
  };
  if (pressed) {
    bevel(r, kDarkShadow, kHighlight);
    bevel(inset(r, line), kShadow, kLight);
  } else {
    bevel(r, kHighlight, kDarkShadow);
    bevel(inset(r, line), kLight, kShadow);
  }
  // A pressed caption sinks by one line width.
  SDL_Rect box = inset(r, 2 * line);
  if (pressed) {
    box.x += line;
    box.y += line;
  }
  drawText(o.look().font, o.caption(), kTextColor, view, box, Alignment::Center, true, 0);
}

void FramePainter::drawText(const Font& font, std::string_view text, Color color, const Viewport& view,
                            const SDL_Rect& box, Alignment align, bool middle, int inset) {
  if (text.empty()) return;
  const Cached* t = textTexture(font, text, color, pixelSize(font, view.scale()));
  if (t == nullptr) return;
  int x = box.x + inset;
  if (align == Alignment::Right) x = box.x + box.w - inset - t->width;
  if (align == Alignment::Center) x = box.x + (box.w - t->width) / 2;
  const int y = middle ? box.y + (box.h - t->height) / 2 : box.y + inset;
  const SDL_Rect inside = intersection(clip_, {box.x + inset, box.y + inset, box.w - 2 * inset, box.h - 2 * inset});
  if (inside.w <= 0 || inside.h <= 0) return;
  clipTo(inside);
  const SDL_Rect at{x, y, t->width, t->height};
  SDL_RenderCopy(renderer_, t->texture, nullptr, &at);
  clipTo(clip_);
}

const FramePainter::Cached* FramePainter::textTexture(const Font& font, std::string_view text, Color color,
                                                      int pixels) {
  TTF_Font* ttf = fonts_.open(font, pixels);
  if (ttf == nullptr) return nullptr;
  TextKey key{fonts_.face(font), pixels, std::string(text), packed(color)};
  if (auto known = texts_.find(key); known != texts_.end()) {
    known->second.lastUsed = frame_;
    return &known->second;
  }
  SDL_Surface* surface = TTF_RenderUTF8_Blended(ttf, std::get<2>(key).c_str(), {color.r, color.g, color.b, 255});
  if (surface == nullptr) return nullptr;
  Cached made{SDL_CreateTextureFromSurface(renderer_, surface), surface->w, surface->h, frame_};
  SDL_FreeSurface(surface);
  if (made.texture == nullptr) return nullptr;
  SDL_SetTextureBlendMode(made.texture, SDL_BLENDMODE_BLEND);
  return &texts_.emplace(std::move(key), made).first->second;
}

const FramePainter::Cached* FramePainter::shapeTexture(const RasterShape& s) {
  const ShapeKey key{static_cast<int>(s.form), s.width, s.height, s.outlineWidth, packed(s.fill), packed(s.outline)};
  if (auto known = shapes_.find(key); known != shapes_.end()) return &known->second;
  SDL_Texture* texture =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, s.width, s.height);
  if (texture == nullptr) return nullptr;
  const auto pixels = rasteriseShape(s);
  SDL_UpdateTexture(texture, nullptr, pixels.data(), s.width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return &shapes_.emplace(key, Cached{texture, s.width, s.height, frame_}).first->second;
}

void FramePainter::fill(const SDL_Rect& r, Color c) {
  if (r.w <= 0 || r.h <= 0) return;
  SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, 255);
  SDL_RenderFillRect(renderer_, &r);
}

void FramePainter::frame(const SDL_Rect& r, int width, Color c) {
  const int w = std::min({width, r.w, r.h});
  if (w <= 0) return;
  fill({r.x, r.y, r.w, w}, c);
  fill({r.x, r.y + r.h - w, r.w, w}, c);
  fill({r.x, r.y, w, r.h}, c);
  fill({r.x + r.w - w, r.y, w, r.h}, c);
}

void FramePainter::clipTo(const SDL_Rect& r) { SDL_RenderSetClipRect(renderer_, &r); }

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
