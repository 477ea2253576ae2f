#pragma once
// A frame's drawing as the page replays it: a list of commands in the
// module's memory, each its code and then its arguments, every word an int32.
// The page's canvas library (canvas_library.js) reads them by a table made
// from this list when the page is built.

#include <cstdint>

namespace tessaly::web::command {

struct Shape {
  std::int32_t code;
  int words;  // the code and its arguments
};

// name, code, words
#define TESSALY_CANVAS_COMMANDS(X)                                           \
  X(Fill, 1, 6)    /* x, y, w, h, 0xRRGGBB */                                \
  X(Clip, 2, 5)    /* x, y, w, h: what follows stays inside, until Unclip */ \
  X(Unclip, 3, 1)  /* */                                                     \
  X(Image, 4, 8)   /* image, from x, from y, w, h, to x, to y */             \
  X(Caption, 5, 4) /* caption, x, baseline */

#define TESSALY_CANVAS_COMMAND(name, code, words) inline constexpr Shape k##name{code, words};
TESSALY_CANVAS_COMMANDS(TESSALY_CANVAS_COMMAND)
#undef TESSALY_CANVAS_COMMAND

}  // namespace tessaly::web::command
