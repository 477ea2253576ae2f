#pragma once
// The page's 2D canvas as the painter sees it: the few drawing calls it
// makes, carried out in JavaScript (canvas_library.js). A frame's fills,
// clips, images and captions are kept as commands and cross to the page
// together, once, when the frame is flushed; only what is made once (a
// shape's image, a caption, a measurement) crosses on its own. Colours go as
// 0xRRGGBB, rectangles and positions in the canvas's device pixels.

#include <cstdint>
#include <span>
#include <string_view>

#include "frontend/core/viewport.h"
#include "frontend/web/text_metrics.h"
#include "ui/screen_object.h"

namespace tessaly::web::canvas {

using frontend::PixelRect;

std::uint32_t packed(Color c);

// The page gave the canvas a new size, which clears it and resets its
// settings; the images and captions kept for it are dropped.
void resized();
// Draws what the frame asked for so far.
void flush();

// Fills a rectangle with one colour.
void fill(const PixelRect& r, Color c);
// Everything drawn from here to endClip() stays inside `r`; clips nest.
void beginClip(const PixelRect& r);
void endClip();

// The page's face for a game font: an index into its table of served faces,
// or -1 where it has none (a generic family stands in).
int face(const Font& font);
// The design units of a served face.
FaceUnits faceUnits(int face);
// How `text` measures at an em of `pixels`.
TextInk textInk(int face, bool bold, int pixels, std::string_view text);
// Keeps `text` at an em of `pixels` in colour `c` as caption `id`.
void keepCaption(int id, int face, bool bold, int pixels, std::string_view text, Color c);
// Draws caption `id` with its baseline's left end at (x, baseline).
void drawCaption(int id, int x, int baseline);

// Keeps `argb` (row by row, 0xAARRGGBB with straight alpha) as image `id`;
// the pixels are reordered in place on the way.
void keepImage(int id, std::span<std::uint32_t> argb, int width, int height);
// Draws the part `from` of image `id` (image pixels) at `to`, of the same size.
void drawImage(int id, const PixelRect& from, const PixelRect& to);

}  // namespace tessaly::web::canvas
