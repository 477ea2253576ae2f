#pragma once
// What changed on screen since the last frame, object by object: a moving
// ball and its paddles are a few small areas, not the rectangle spanning
// them all.

#include <string>
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
  // Compares every object with what the last call saw and remembers it as
  // shown. The first call, and any after forget(), reports everything.
  const Changes& collect(const Controls& controls);
  void forget() { seen_.clear(); }

 private:
  struct Seen {
    const ScreenObject* object = nullptr;
    Rect bounds;
    Color back;
    bool visible = false;
    std::string caption;
  };
  void remember(std::size_t at, const ScreenObject& o);

  std::vector<Seen> seen_;  // the drawn objects in stacking order, then the buttons
  Changes changes_;
};

}  // namespace tessaly::frontend
