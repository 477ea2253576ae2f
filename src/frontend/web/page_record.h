#pragma once
// The record the page and the engine share in the engine's memory; the page
// asks its address once (tessaly_record). The page writes a key event's names
// into it, and reads from it every reply that carries more than one value: a
// reply of one value is the call's return value. The page reads and writes
// it by field name through one table (page/engine.js), which a test holds to
// this layout.

#include <cstdint>

namespace tessaly::web {

// Longer than any key name the game knows: a longer name is none of them.
inline constexpr int kKeyNameBytes = 32;

struct PageRecord {
  // Milliseconds the page may sleep before the next tick, -1 while no timer runs.
  std::int32_t wait = -1;
  // 1 when the key event was one of the game's keys, which the browser must not act on.
  std::int32_t gameKey = 0;
  // The canvas's size in device pixels.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // A key event's `key` and `code`, UTF-8, as long as the call says.
  char key[kKeyNameBytes] = {};
  char code[kKeyNameBytes] = {};
  // Milliseconds from each tick to the next after the one `wait` waits for,
  // while the timers keep one beat; 0 otherwise. Written with every wait.
  std::int32_t beat = 0;
};

}  // namespace tessaly::web
