#include "frontend/web/canvas.h"

// Implemented by canvas_library.js.
extern "C" {
void tessaly_canvas_resized();
void tessaly_canvas_fill(int x, int y, int w, int h, std::uint32_t rgb);
void tessaly_canvas_begin_clip(int x, int y, int w, int h);
void tessaly_canvas_end_clip();
int tessaly_canvas_face(const char* face, int faceLength, int bold, int charset);
// The library fills these structs by its layout tables ($TessalyLayout),
// which page_engine.test.mjs holds to the structs' own.
void tessaly_canvas_face_units(int face, tessaly::web::FaceUnits* units);
void tessaly_canvas_text_ink(int face, int bold, int pixels, const char* text, int length, tessaly::web::TextInk* ink);
void tessaly_canvas_text(int face, int bold, int pixels, const char* text, int length, std::uint32_t rgb, int x,
                         int baseline);
void tessaly_canvas_keep_image(int id, const std::uint32_t* rgba, int width, int height);
void tessaly_canvas_draw_image(int id, int fromX, int fromY, int w, int h, int x, int y);
}

namespace tessaly::web::canvas {

std::uint32_t packed(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

void resized() { tessaly_canvas_resized(); }

void fill(const PixelRect& r, Color c) {
  if (!r.empty()) tessaly_canvas_fill(r.x, r.y, r.w, r.h, packed(c));
}

void beginClip(const PixelRect& r) { tessaly_canvas_begin_clip(r.x, r.y, r.w, r.h); }
void endClip() { tessaly_canvas_end_clip(); }

int face(const Font& font) {
  return tessaly_canvas_face(font.face.data(), static_cast<int>(font.face.size()), font.bold, font.charset);
}

FaceUnits faceUnits(int face) {
  FaceUnits units;
  tessaly_canvas_face_units(face, &units);
  return units;
}

TextInk textInk(int face, bool bold, int pixels, std::string_view text) {
  TextInk ink;
  tessaly_canvas_text_ink(face, bold, pixels, text.data(), static_cast<int>(text.size()), &ink);
  return ink;
}

void text(int face, bool bold, int pixels, std::string_view text, Color c, int x, int baseline) {
  tessaly_canvas_text(face, bold, pixels, text.data(), static_cast<int>(text.size()), packed(c), x, baseline);
}

void keepImage(int id, std::span<std::uint32_t> argb, int width, int height) {
  // A canvas image is R, G, B, A in memory: on the little-endian heap that is
  // each word with red and blue swapped. Swapped here, the page copies the
  // bytes as they stand instead of walking them in JavaScript.
  for (std::uint32_t& p : argb) p = (p & 0xff00ff00u) | ((p >> 16) & 0xffu) | ((p & 0xffu) << 16);
  tessaly_canvas_keep_image(id, argb.data(), width, height);
}

void drawImage(int id, const PixelRect& from, const PixelRect& to) {
  tessaly_canvas_draw_image(id, from.x, from.y, to.w, to.h, to.x, to.y);
}

}  // namespace tessaly::web::canvas
