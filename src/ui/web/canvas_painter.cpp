#include "ui/web/canvas_painter.h"

#include <algorithm>

#include "ui/web/canvas.h"

namespace tessaly::web {

namespace {

// Bevel colours of a raised push button, besides the dialog face.
constexpr Color kHighlight{255, 255, 255};
constexpr Color kLight{227, 227, 227};
constexpr Color kShadow{160, 160, 160};
constexpr Color kDarkShadow{105, 105, 105};

PixelRect inset(const PixelRect& r, int by) { return {r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

}  // namespace

// Everything is cut to the area being repainted here, so that the canvas
// draws only what shows and needs no clipping of its own.
void CanvasPainter::fill(const PixelRect& r, Color c) const { canvas::fill(intersect(r, clip_), c); }

void CanvasPainter::frame(const PixelRect& r, int width, Color c) const {
  const int w = std::min({width, r.w, r.h});
  if (w <= 0) return;
  fill({r.x, r.y, r.w, w}, c);
  fill({r.x, r.y + r.h - w, r.w, w}, c);
  fill({r.x, r.y, w, r.h}, c);
  fill({r.x + r.w - w, r.y, w, r.h}, c);
}

void CanvasPainter::bevel(const PixelRect& edge, int line, Color topLeft, Color bottomRight) const {
  fill({edge.x, edge.y, edge.w, line}, topLeft);
  fill({edge.x, edge.y, line, edge.h}, topLeft);
  fill({edge.x, edge.y + edge.h - line, edge.w, line}, bottomRight);
  fill({edge.x + edge.w - line, edge.y, line, edge.h}, bottomRight);
}

void CanvasPainter::paint(const Controls& controls, const Viewport& view, const PixelRect& area,
                          std::string_view pressedButton) {
  const PixelRect& client = view.client();
  clip_ = area;
  fill({area.x, area.y, area.w, client.y - area.y}, kLetterboxColor);
  fill({area.x, client.y + client.h, area.w, area.y + area.h - client.y - client.h}, kLetterboxColor);
  fill({area.x, client.y, client.x - area.x, client.h}, kLetterboxColor);
  fill({client.x + client.w, client.y, area.x + area.w - client.x - client.w, client.h}, kLetterboxColor);
  clip_ = intersect(area, client);
  if (!clip_.empty()) {
    fill(clip_, kFaceColor);
    // Outlines and captions never reach past an object's bounds.
    const auto touches = [&](const ScreenObject& o) { return o.visible() && overlaps(view.edges(o.bounds()), clip_); };
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
}

void CanvasPainter::resized() {
  canvas::resized();
  shapes_.clear();
  nextImage_ = 0;
}

void CanvasPainter::drawShape(const ScreenObject& o, const Viewport& view) {
  const Look& look = o.look();
  const int outline = view.pixels(look.outlineWidth);
  if (look.form == ShapeForm::Rectangle) {
    const PixelRect r = view.edges(o.bounds());
    fill(r, o.backColor());
    frame(r, outline, look.outline);
    return;
  }
  // Smooth shapes keep their size in pixels wherever they move, so that one
  // rasterised image serves every position.
  const int w = view.pixels(o.width() / kTwipsPerPixel);
  const int h = view.pixels(o.height() / kTwipsPerPixel);
  const int image = shapeImage({look.form, w, h, outline, o.backColor(), look.outline});
  const PixelRect at{view.x(o.left()), view.y(o.top()), w, h};
  const PixelRect shown = intersect(at, clip_);
  if (!shown.empty()) canvas::drawImage(image, {shown.x - at.x, shown.y - at.y, shown.w, shown.h}, shown);
}

void CanvasPainter::drawLabel(const ScreenObject& o, const Viewport& view) {
  const Look& look = o.look();
  const PixelRect r = view.edges(o.bounds());
  const int line = view.pixels(1);
  if (!look.transparentBack) fill(r, o.backColor());
  drawText(look.font, o.caption(), look.textColor, view, r, look.alignment, false, look.border ? line : 0);
  if (look.border) frame(r, line, kTextColor);
}

void CanvasPainter::drawButton(const ScreenObject& o, const Viewport& view, bool pressed) {
  const PixelRect r = view.edges(o.bounds());
  const int line = view.pixels(1);
  fill(r, kFaceColor);
  if (pressed) {
    bevel(r, line, kDarkShadow, kHighlight);
    bevel(inset(r, line), line, kShadow, kLight);
  } else {
    bevel(r, line, kHighlight, kDarkShadow);
    bevel(inset(r, line), line, kLight, kShadow);
  }
  // A pressed caption sinks by one line width.
  PixelRect box = inset(r, 2 * line);
  if (pressed) {
    box.x += line;
    box.y += line;
  }
  drawText(o.look().font, o.caption(), kTextColor, view, box, Alignment::Center, true, 0);
}

void CanvasPainter::drawText(const Font& font, std::string_view text, Color color, const Viewport& view,
                             const PixelRect& box, Alignment align, bool middle, int inset) {
  if (text.empty()) return;
  const PixelRect inside = intersect(clip_, web::inset(box, inset));
  if (inside.empty()) return;
  const int pixels = pixelSize(font, view.scale());
  const TextBox t = fonts_.box(font, pixels, text);
  int x = box.x + inset;
  if (align == Alignment::Right) x = box.x + box.w - inset - t.width;
  if (align == Alignment::Center) x = box.x + (box.w - t.width) / 2;
  const int y = middle ? box.y + (box.h - t.height) / 2 : box.y + inset;
  // Most captions lie well inside their box: clipping costs, so only the rest are clipped.
  const bool within = intersect(inside, {x, y, t.width, t.height}) == PixelRect{x, y, t.width, t.height};
  if (!within) canvas::beginClip(inside);
  canvas::text(fonts_.face(font).index, font.bold, pixels, text, color, x + t.penX, y + t.baseline);
  if (!within) canvas::endClip();
}

int CanvasPainter::shapeImage(const desktop::RasterShape& s) {
  const ShapeKey key{static_cast<int>(s.form), s.width, s.height, s.outlineWidth, canvas::packed(s.fill),
                     canvas::packed(s.outline)};
  if (const auto known = shapes_.find(key); known != shapes_.end()) return known->second;
  const int id = nextImage_++;
  const auto pixels = desktop::rasteriseShape(s);
  canvas::keepImage(id, pixels.data(), s.width, s.height);
  shapes_.emplace(key, id);
  return id;
}

}  // namespace tessaly::web
