#pragma once
// What changed on screen since the last frame, object by object: a moving
// ball and its paddles are a few small areas, not the rectangle spanning
// them all.

#include <cstdint>
#include <vector>

#include "ui/controls.h"

namespace tessaly::frontend {

struct Changes {
  bool everything = false;  // the objects were rebuilt or restacked: repaint all
  std::vector<Rect> areas;  // twips; each changed object's old and new place
  bool none() const { return !everything && areas.empty(); }
};

class ChangeTracker {
 public:
  // Takes the changes the window listed since the last call. The first call,
  // any after forget(), and any after the objects were stacked anew report
  // everything.
  const Changes& collect(const Controls& controls);
  void forget() { looked_ = false; }

 private:
  bool looked_ = false;
  std::uint64_t stacking_ = 0;  // of the window the last call looked at
  Changes changes_;
};

}  // namespace tessaly::frontend
