#pragma once
// A frame's drawing as the page replays it: a list of commands in the
// module's memory, each its code and then its arguments, every word an int32.
// The page's script (canvas_library.js) reads them by the same table; a test
// holds the two to each other.

#include <cstdint>

namespace tessaly::web::command {

struct Shape {
  std::int32_t code;
  int words;  // the code and its arguments
};

inline constexpr Shape kFill{1, 6};     // x, y, w, h, 0xRRGGBB
inline constexpr Shape kClip{2, 5};     // x, y, w, h: what follows stays inside, until kUnclip
inline constexpr Shape kUnclip{3, 1};   //
inline constexpr Shape kImage{4, 8};    // image, from x, from y, w, h, to x, to y
inline constexpr Shape kCaption{5, 4};  // caption, x, baseline

}  // namespace tessaly::web::command
