#pragma once
// Showing the game: when its revision moves, what changed becomes repaint
// areas, each is painted onto the front end's surface, and the frame is
// counted. Nothing is drawn while nothing moved.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "frontend/core/change_tracker.h"
#include "frontend/core/painter.h"
#include "frontend/core/viewport.h"
#include "ui/game_port.h"

namespace tessaly::frontend {

class Presenter {
 public:
  // The next frame repaints everything: a new size, an exposed window, a new
  // game's rebuilt objects, a button's pressed look.
  void invalidate() { everything_ = true; }
  bool everythingDue() const { return everything_; }
  // Something is to be shown: the game's revision moved, or everything is due.
  bool due(const GamePort& game) const { return everything_ || game.revision() != shownRevision_; }

  // Paints what changed onto `surface`, an output of `size` pixels seen
  // through `view`, with `pressed` drawn pressed in. Answers the areas
  // repainted, empty when nothing needed it; kept until the next frame.
  std::span<const PixelRect> present(const GamePort& game, const Viewport& view, PixelSize size, Surface& surface,
                                     std::string_view pressed);
  std::span<const PixelRect> repainted() const { return areas_; }
  // Frames that repainted something.
  std::uint64_t frames() const { return frames_; }

 private:
  ChangeTracker changes_;
  std::vector<PixelRect> areas_;  // kept from frame to frame: repainting allocates nothing
  std::uint64_t shownRevision_ = 0;
  bool everything_ = true;
  std::uint64_t frames_ = 0;
};

}  // namespace tessaly::frontend
