#pragma once
// The record the page and the engine share in the engine's memory, the one
// door between them: the page writes an event into it and makes one call
// (tessaly_event), and the engine writes its reply into it. The page asks
// its address once (tessaly_record) and reads and writes it by field name
// through a table made from this record when the page is built
// (page_tables.cpp), which lists every field and fails on one left out.

#include <cstdint>

namespace tessaly::web {

// Longer than any key name the game knows: a longer name is none of them.
inline constexpr int kKeyNameBytes = 32;

struct PageRecord {
  // --- The event, written by the page before each call ---
  double leanX = 0, leanY = 0;  // Stick: -1 to 1, right and down
  // --- The reply (wider words first: the record has no padding) ---
  double frames = 0;  // frames shown so far
  // --- The event ---
  std::int32_t kind = 0;      // frontend::Event::Kind
  std::int32_t device = 0;    // Press, Release, ReleaseAll: frontend::Device
  std::int32_t control = 0;   // Press, Release: a pad's button or a touch control; a key comes by its names
  std::int32_t x = 0, y = 0;  // Pointer*: the canvas pixel; Resize: the canvas's size
  // A key's `key` and `code` below, their lengths in bytes (0 for a name too long).
  std::int32_t keyLength = 0, codeLength = 0;
  // --- The reply ---
  // Milliseconds the page may sleep before the next tick, -1 until an event.
  std::int32_t wait = -1;
  // Milliseconds from each tick to the next after the one `wait` waits for,
  // while the timers keep one beat; 0 otherwise.
  std::int32_t beat = 0;
  // 1 when the key event was one of the game's keys, which the browser must not act on.
  std::int32_t gameKey = 0;
  // The canvas for a page of x by y device pixels (tessaly_canvas_size).
  std::int32_t width = 0, height = 0;
  // --- The event: a key's names, UTF-8 ---
  char key[kKeyNameBytes] = {};
  char code[kKeyNameBytes] = {};
};

}  // namespace tessaly::web
