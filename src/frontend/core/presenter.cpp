#include "frontend/core/presenter.h"

namespace tessaly::frontend {

std::span<const PixelRect> Presenter::present(const GamePort& game, const Viewport& view, PixelSize size,
                                              Surface& surface, std::string_view pressed) {
  areas_.clear();
  if (!game.isOpen() || !due(game)) return {};
  if (everything_) changes_.forget();
  repaintAreas(view, changes_.collect(game.objects()), size.width, size.height, areas_);
  shownRevision_ = game.revision();
  everything_ = false;
  if (areas_.empty()) return {};
  surface.beginFrame();
  for (const PixelRect& area : areas_) paintArea(surface, game.objects(), view, area, pressed);
  surface.endFrame();
  ++frames_;
  return areas_;
}

}  // namespace tessaly::frontend
