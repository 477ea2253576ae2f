#include "frontend/core/change_tracker.h"

namespace tessaly::frontend {

namespace {
template <typename F>
void forEachShown(const Controls& c, F&& f) {
  std::size_t i = 0;
  for (const ScreenObject* o : c.drawOrder()) f(i++, *o);
  for (const ScreenObject* b : c.buttons()) f(i++, *b);
}
}  // namespace

void ChangeTracker::remember(std::size_t at, const ScreenObject& o) {
  Seen& s = seen_[at];
  s.object = &o;
  s.bounds = o.bounds();
  s.back = o.backColor();
  s.visible = o.visible();
  if (s.caption != o.caption()) s.caption = o.caption();
}

const Changes& ChangeTracker::collect(const Controls& c) {
  changes_.areas.clear();
  const std::size_t count = c.drawOrder().size() + c.buttons().size();
  bool restacked = seen_.size() != count;
  if (!restacked) {
    forEachShown(c, [&](std::size_t i, const ScreenObject& o) { restacked |= seen_[i].object != &o; });
  }
  changes_.everything = restacked;
  if (restacked) {
    seen_.assign(count, {});
    forEachShown(c, [&](std::size_t i, const ScreenObject& o) { remember(i, o); });
    return changes_;
  }
  forEachShown(c, [&](std::size_t i, const ScreenObject& o) {
    const Seen& s = seen_[i];
    if (!s.visible && !o.visible()) return;
    if (s.visible == o.visible() && s.bounds == o.bounds() && s.back == o.backColor() && s.caption == o.caption())
      return;
    Rect area = s.visible ? s.bounds : Rect{};
    if (o.visible()) area = unite(area, o.bounds());
    changes_.areas.push_back(area);
    remember(i, o);
  });
  return changes_;
}

}  // namespace tessaly::frontend
