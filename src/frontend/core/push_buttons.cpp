#include "frontend/core/push_buttons.h"

#include <algorithm>

namespace tessaly::frontend {

namespace {

// The name as the table spells it, for an object about to be rebuilt.
std::string_view lastingName(const ScreenObject& b) {
  const auto name = std::find(button::all.begin(), button::all.end(), b.name());
  return name != button::all.end() ? *name : std::string_view{};
}

}  // namespace

std::string_view buttonAt(const GamePort& game, const Viewport& view, int x, int y) {
  if (!game.isOpen() || !view.client().contains(x, y)) return {};
  const auto buttons = game.objects().buttons();
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)  // the front button takes the click
    if ((*it)->visible() && view.edges((*it)->bounds()).contains(x, y)) return lastingName(**it);
  return {};
}

std::string_view frontmostShownButton(const GamePort& game) {
  if (!game.isOpen()) return {};
  const auto buttons = game.objects().buttons();
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
    if ((*it)->visible()) return lastingName(**it);
  return {};
}

bool ButtonPress::down(std::string_view under) {
  if (holding() || under.empty()) return false;
  held_ = under;
  inside_ = true;
  return true;
}

bool ButtonPress::move(std::string_view under) {
  if (!holding() || (under == held_) == inside_) return false;
  inside_ = !inside_;
  return true;
}

std::string_view ButtonPress::up(std::string_view under) {
  const std::string_view released = held_;
  cancel();
  return !released.empty() && under == released ? released : std::string_view{};
}

bool ButtonPress::cancel() {
  const bool held = holding();
  held_ = {};
  inside_ = false;
  return held;
}

}  // namespace tessaly::frontend
