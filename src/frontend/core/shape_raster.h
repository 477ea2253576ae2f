#pragma once
// Smooth filled shapes with an outline, rasterised in software at the size
// they are shown, so they stay smooth at any scale.

#include <cstdint>
#include <vector>

#include "ui/screen_object.h"

namespace tessaly::frontend {

struct RasterShape {
  ShapeForm form = ShapeForm::Rectangle;
  int width = 0;   // pixels
  int height = 0;  // pixels
  int outlineWidth = 1;
  Color fill;
  Color outline;
  friend bool operator==(const RasterShape&, const RasterShape&) = default;
};

// Corner radius of a rounded rectangle: a quarter of its shorter side.
double cornerRadius(int width, int height);

// Row by row, one 0xAARRGGBB value a pixel with straight (not premultiplied)
// alpha: the layout of the window's own pixels, which SDL blends fastest.
// Edges are anti-aliased by their coverage of each pixel; a circle is
// inscribed in the bounds and centred in them.
std::vector<std::uint32_t> rasteriseShape(const RasterShape& shape);

}  // namespace tessaly::frontend
