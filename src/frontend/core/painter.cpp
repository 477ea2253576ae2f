#include "frontend/core/painter.h"

#include <algorithm>
#include <cmath>

namespace tessaly::frontend {

namespace {

// Bevel colours of a raised push button, besides the dialog face.
constexpr Color kHighlight{255, 255, 255};
constexpr Color kLight{227, 227, 227};
constexpr Color kShadow{160, 160, 160};
constexpr Color kDarkShadow{105, 105, 105};

PixelRect inset(const PixelRect& r, int by) { return {r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

// One area's repaint: the surface, the scale and the clip it is drawn with.
class Painting {
 public:
  Painting(Surface& surface, const Viewport& view) : surface_(surface), view_(view) {}

  void clip(const PixelRect& area) {
    clip_ = area;
    surface_.clip(area);
  }

  void fill(const PixelRect& r, Color c) {
    if (!r.empty()) surface_.fill(r, c);
  }

  // A frame `width` pixels wide just inside `r`.
  void frame(const PixelRect& r, int width, Color c) {
    const int w = std::min({width, r.w, r.h});
    if (w <= 0) return;
    fill({r.x, r.y, r.w, w}, c);
    fill({r.x, r.y + r.h - w, r.w, w}, c);
    fill({r.x, r.y, w, r.h}, c);
    fill({r.x + r.w - w, r.y, w, r.h}, c);
  }

  // `r` filled with `inside` within a frame `width` pixels wide: two fills
  // rather than five, which a browser's canvas feels at the first frame's
  // hundred and fifty bricks; fine for small objects, whose pixels are
  // filled twice.
  void framed(const PixelRect& r, int width, Color frameColor, Color inside) {
    if (width > 0) fill(r, frameColor);
    fill(inset(r, std::max(width, 0)), inside);
  }

  // One ring of a button's bevel: `topLeft` along the top and left edges,
  // `bottomRight` along the others, one `line` wide.
  void bevel(const PixelRect& edge, int line, Color topLeft, Color bottomRight) {
    fill({edge.x, edge.y, edge.w, line}, topLeft);
    fill({edge.x, edge.y, line, edge.h}, topLeft);
    fill({edge.x, edge.y + edge.h - line, edge.w, line}, bottomRight);
    fill({edge.x + edge.w - line, edge.y, line, edge.h}, bottomRight);
  }

  void shape(const ScreenObject& o) {
    const Look& look = o.look();
    const int outline = view_.pixels(look.outlineWidth);
    if (look.form == ShapeForm::Rectangle) {
      // The board is the one large rectangle: filled once, its outline
      // drawn over the edges.
      const PixelRect r = view_.edges(o.bounds());
      fill(r, o.backColor());
      frame(r, outline, look.outline);
      return;
    }
    // Smooth shapes keep their size in pixels wherever they move, so that one
    // rasterised image serves every position.
    const int w = view_.pixels(o.width() / kTwipsPerPixel);
    const int h = view_.pixels(o.height() / kTwipsPerPixel);
    surface_.blitShape({look.form, w, h, outline, o.backColor(), look.outline}, {view_.x(o.left()), view_.y(o.top())});
  }

  void label(const ScreenObject& o) {
    const Look& look = o.look();
    const PixelRect r = view_.edges(o.bounds());
    const int line = view_.pixels(1);
    // The caption keeps inside the border, so the border may come first.
    if (look.border && !look.transparentBack) {
      framed(r, line, kTextColor, o.backColor());
    } else if (!look.transparentBack) {
      fill(r, o.backColor());
    }
    text(look.font, o.caption(), look.textColor, r, look.alignment, false, look.border ? line : 0);
    if (look.border && look.transparentBack) frame(r, line, kTextColor);
  }

  void button(const ScreenObject& o, bool pressed) {
    const PixelRect r = view_.edges(o.bounds());
    const int line = view_.pixels(1);
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
    text(o.look().font, o.caption(), kTextColor, box, Alignment::Center, true, 0);
  }

 private:
  // Draws `text` in `box`, `pad` pixels in from its edges; `align` places it
  // across, and it is top-aligned unless `middle`.
  void text(const Font& font, std::string_view text, Color color, const PixelRect& box, Alignment align, bool middle,
            int pad) {
    if (text.empty()) return;
    const PixelRect inside = intersect(clip_, inset(box, pad));
    if (inside.empty()) return;
    const auto size = surface_.prepareCaption(font, pixelSize(font, view_.scale()), text, color);
    if (!size) return;
    int x = box.x + pad;
    if (align == Alignment::Right) x = box.x + box.w - pad - size->width;
    if (align == Alignment::Center) x = box.x + (box.w - size->width) / 2;
    const int y = middle ? box.y + (box.h - size->height) / 2 : box.y + pad;
    surface_.drawCaption({x, y}, inside);
  }

  Surface& surface_;
  const Viewport& view_;
  PixelRect clip_;
};

}  // namespace

int pixelSize(const Font& font, double scale) {
  return std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0 * scale)));
}

void paintArea(Surface& surface, const Controls& controls, const Viewport& view, const PixelRect& area,
               std::string_view pressedButton) {
  Painting p(surface, view);
  const PixelRect& client = view.client();
  p.clip(area);
  p.fill({area.x, area.y, area.w, client.y - area.y}, kLetterboxColor);
  p.fill({area.x, client.y + client.h, area.w, area.y + area.h - client.y - client.h}, kLetterboxColor);
  p.fill({area.x, client.y, client.x - area.x, client.h}, kLetterboxColor);
  p.fill({client.x + client.w, client.y, area.x + area.w - client.x - client.w, client.h}, kLetterboxColor);
  const PixelRect inside = intersect(area, client);
  if (inside.empty()) return;
  p.clip(inside);
  p.fill(inside, kFaceColor);
  // Outlines and captions never reach past an object's bounds. Most objects
  // lie far from a small area: their twips rule them out before any rounding.
  const Rect reach = view.reach(inside);
  const auto touches = [&](const ScreenObject& o) {
    const Rect& b = o.bounds();
    if (!o.visible() || b.left > reach.right() || b.right() < reach.left || b.top > reach.bottom() ||
        b.bottom() < reach.top)
      return false;
    return overlaps(view.edges(b), inside);
  };
  for (const ScreenObject* o : controls.drawOrder()) {
    if (!touches(*o)) continue;
    if (o->kind() == ObjectKind::Shape) {
      p.shape(*o);
    } else {
      p.label(*o);
    }
  }
  for (const ScreenObject* b : controls.buttons())
    if (touches(*b)) p.button(*b, b->name() == pressedButton);
}

}  // namespace tessaly::frontend
