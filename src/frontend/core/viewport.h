#pragma once
// Where the window's client area of 6225 x 8145 twips lies in the output's
// pixels: one uniform scale, centred, the rest letterboxed. Both front ends
// round alike, so every object lands on the same pixel edges at the same
// scale. At scale 1, 15 twips make one pixel (415 x 543 pixels).

#include <optional>
#include <vector>

#include "frontend/core/change_tracker.h"
#include "ui/screen_object.h"

namespace tessaly::frontend {

inline constexpr float kClientWidthTwips = 6225;
inline constexpr float kClientHeightTwips = 8145;
inline constexpr double kTwipsPerPixel = 15;  // at scale 1, 96 dots per inch

// Whole output pixels: x and y of the top-left corner, width and height.
struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The overlap of two rectangles, empty when they do not meet.
PixelRect intersect(const PixelRect& a, const PixelRect& b);
bool overlaps(const PixelRect& a, const PixelRect& b);
// The smallest rectangle holding both.
PixelRect unite(const PixelRect& a, const PixelRect& b);

struct PixelPoint {
  int x = 0;
  int y = 0;
};

struct TwipPoint {
  float x = 0;
  float y = 0;
};

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The canvas for a page of `width` x `height` device pixels: the client
// area's shape, as large as fits (and never below the smallest scale). What
// is left around it is the letterbox.
PixelSize canvasSize(int width, int height);

class Viewport {
 public:
  // The client area at exactly `scale`, its top-left corner at the output's.
  static Viewport atScale(double scale);
  // The largest uniform scale at which the client area fits an output of
  // `width` x `height` pixels, centred in it.
  static Viewport fit(int width, int height);

  double scale() const { return scale_; }
  // The client area in output pixels.
  const PixelRect& client() const { return client_; }

  // A twip coordinate as a pixel edge: objects that share an edge in twips
  // share it in pixels, so bricks tile without seams at any scale.
  int x(double twips) const;
  int y(double twips) const;
  // An object's bounds as the pixels between its rounded edges.
  PixelRect edges(const Rect& bounds) const;
  // A length in pixels at this scale, at least one.
  int pixels(double lengthAtScale1) const;
  // The twip position of an output pixel's centre, or nothing in the letterbox.
  std::optional<TwipPoint> toTwips(int px, int py) const;
  // The twips whose edges may round into `area` or onto its border: it
  // reaches a pixel past the area each way, where rounding moves an edge by
  // half a pixel at most. Bounds wholly outside it have no pixel in the area.
  Rect reach(const PixelRect& area) const;

 private:
  Viewport(double scale, int originX, int originY);
  double scale_;
  PixelRect client_;
};

// Fills `areas` with the pixels to repaint for what changed, within an
// output of `width` x `height`: each changed area grown by the pixels that smooth
// edges may reach past an object's bounds, overlapping ones merged, and one
// area holding them all once there are many.
void repaintAreas(const Viewport& view, const Changes& changes, int width, int height, std::vector<PixelRect>& areas);

}  // namespace tessaly::frontend
