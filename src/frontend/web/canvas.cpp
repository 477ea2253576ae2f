#include "frontend/web/canvas.h"

#include <array>

#include "frontend/web/canvas_commands.h"

// Implemented by canvas_library.js.
extern "C" {
void tessaly_canvas_resized();
void tessaly_canvas_draw(const std::int32_t* commands, int words);
int tessaly_canvas_face(const char* face, int faceLength, int bold, int charset);
// The library fills these structs by its layout tables ($TessalyLayout),
// which page_engine.test.mjs holds to the structs' own.
void tessaly_canvas_face_units(int face, tessaly::web::FaceUnits* units);
void tessaly_canvas_text_ink(int face, int bold, int pixels, const char* text, int length, tessaly::web::TextInk* ink);
void tessaly_canvas_keep_caption(int id, int face, int bold, int pixels, const char* text, int length,
                                 std::uint32_t rgb);
void tessaly_canvas_keep_image(int id, const std::uint32_t* rgba, int width, int height);
}

namespace tessaly::web::canvas {

namespace {

// The frame's commands so far: a full frame of 625 bricks takes a few
// thousand words, so a larger one is flushed on the way.
std::array<std::int32_t, 16384> commands;
std::size_t used = 0;
bool lastIsFill = false;  // the list's last command is a fill

template <const command::Shape& shape, typename... Args>
void put(Args... args) {
  static_assert(shape.words == 1 + sizeof...(Args));
  if (used + shape.words > commands.size()) flush();
  commands[used++] = shape.code;
  ((commands[used++] = static_cast<std::int32_t>(args)), ...);
  lastIsFill = &shape == &command::kFill;
}

}  // namespace

std::uint32_t packed(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

void resized() {
  used = 0;  // drawn for the old size
  lastIsFill = false;
  tessaly_canvas_resized();
}

void flush() {
  if (used == 0) return;
  tessaly_canvas_draw(commands.data(), static_cast<int>(used));
  used = 0;
  lastIsFill = false;
}

void fill(const PixelRect& r, Color c) {
  if (r.empty()) return;
  // A fill that covers the one just before it hides it: a repaint fills its
  // area with the window's face, then the board over the same pixels.
  if (lastIsFill) {
    const std::int32_t* last = &commands[used - command::kFill.words + 1];
    const PixelRect hidden{last[0], last[1], last[2], last[3]};
    if (intersect(hidden, r) == hidden) used -= command::kFill.words;
  }
  put<command::kFill>(r.x, r.y, r.w, r.h, packed(c));
}

void beginClip(const PixelRect& r) { put<command::kClip>(r.x, r.y, r.w, r.h); }
void endClip() { put<command::kUnclip>(); }

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

void keepCaption(int id, int face, bool bold, int pixels, std::string_view text, Color c) {
  tessaly_canvas_keep_caption(id, face, bold, pixels, text.data(), static_cast<int>(text.size()), packed(c));
}

void drawCaption(int id, int x, int baseline) { put<command::kCaption>(id, x, baseline); }

void keepImage(int id, std::span<std::uint32_t> argb, int width, int height) {
  // A canvas image is R, G, B, A in memory: on the little-endian heap that is
  // each word with red and blue swapped. Swapped here, the page copies the
  // bytes as they stand instead of walking them in JavaScript.
  for (std::uint32_t& p : argb) p = (p & 0xff00ff00u) | ((p >> 16) & 0xffu) | ((p & 0xffu) << 16);
  tessaly_canvas_keep_image(id, argb.data(), width, height);
}

void drawImage(int id, const PixelRect& from, const PixelRect& to) {
  put<command::kImage>(id, from.x, from.y, to.w, to.h, to.x, to.y);
}

}  // namespace tessaly::web::canvas
