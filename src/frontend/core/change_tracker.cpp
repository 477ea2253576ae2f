#include "frontend/core/change_tracker.h"

namespace tessaly::frontend {

const Changes& ChangeTracker::collect(const Controls& c) {
  changes_.areas.clear();
  changes_.everything = !looked_ || c.stacking() != stacking_;
  looked_ = true;
  stacking_ = c.stacking();
  if (!changes_.everything) {
    for (const ObjectChange& change : c.changes()) {
      const ScreenObject& o = *change.object;
      // Shown and hidden again, or changed while hidden: nothing to repaint.
      const Rect area = unite(change.was, o.visible() ? o.bounds() : Rect{});
      if (!area.empty()) changes_.areas.push_back(area);
    }
  }
  c.takeChanges();
  return changes_;
}

}  // namespace tessaly::frontend
