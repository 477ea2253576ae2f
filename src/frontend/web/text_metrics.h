#pragma once
// The vertical metrics of a line of text as the desktop's text renderer
// (SDL2_ttf over FreeType) works them out from a face's design units, so that
// a caption sits on the same baseline in the browser as on the desktop.

#include "ui/screen_object.h"

namespace tessaly::web {

// A face's design units as FreeType reports them; the descender is negative.
struct FaceUnits {
  int unitsPerEm = 0;
  int ascender = 0;
  int descender = 0;
  friend bool operator==(const FaceUnits&, const FaceUnits&) = default;
};

struct LineMetrics {
  int ascent = 0;  // pixels from the top of the line to the baseline
  int height = 0;  // pixels from the top of the line to its bottom
  friend bool operator==(const LineMetrics&, const LineMetrics&) = default;
};

// The face at an em size of `pixels`: FreeType's scale in 16.16 fixed point
// and its rounded products in 26.6, each rounded up to whole pixels.
LineMetrics lineMetrics(const FaceUnits& face, int pixels);

// A line of text as the browser measures it, in pixels from the pen's
// starting point: its advance, and how far its ink reaches left, right, up
// and down (left and down counted positive).
struct TextInk {
  double advance = 0;
  double left = 0;
  double right = 0;
  double ascent = 0;
  double descent = 0;
};

// The image the desktop's text renderer makes of a line: each glyph on a
// whole pixel, the image as wide as the advance or the ink (whichever
// reaches further) and at least a line high, the pen moved in where ink
// would fall outside it.
struct TextBox {
  int penX = 0;      // from the image's left edge to the pen's start
  int baseline = 0;  // from the image's top edge
  int width = 0;
  int height = 0;
  friend bool operator==(const TextBox&, const TextBox&) = default;
};

TextBox textBox(const TextInk& ink, const LineMetrics& line);

}  // namespace tessaly::web
