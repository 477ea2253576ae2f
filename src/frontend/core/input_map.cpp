#include "frontend/core/input_map.h"

#include "frontend/core/push_buttons.h"

namespace tessaly::frontend {

std::optional<Binding> bindingOf(Device device, int control) {
  for (const Binding& b : kBindings)
    if (b.device == device && b.control == control) return b;
  if (device == Device::Keyboard) return Binding{device, control, control, OnPress::Key};
  return std::nullopt;
}

bool InputMap::press(GamePort& game, Device device, int control) {
  const auto binding = bindingOf(device, control);
  if (!binding) return false;
  const std::string_view shown = binding->press == OnPress::Key ? std::string_view{} : frontmostShownButton(game);
  if (!shown.empty() && binding->press == OnPress::ClickShownElseKey) return game.click(shown);
  if (find(device, control) == count_ && count_ < held_.size()) held_[count_++] = {device, control, binding->key};
  // The key first, as a key event reaches the game before anything it sets off.
  game.keyDown(binding->key);
  return !shown.empty() && game.click(shown);
}

void InputMap::release(GamePort& game, Device device, int control) {
  const std::size_t at = find(device, control);
  if (at == count_) {
    if (device == Device::Keyboard) game.keyUp(control);
    return;
  }
  const int key = held_[at].key;
  held_[at] = held_[--count_];
  game.keyUp(key);
}

void InputMap::releaseAll(GamePort& game, Device device) {
  for (std::size_t i = count_; i-- > 0;)
    if (held_[i].device == device) release(game, device, held_[i].control);
}

bool InputMap::holds(Device device, int control) const { return find(device, control) != count_; }

std::size_t InputMap::find(Device device, int control) const {
  std::size_t at = 0;
  while (at < count_ && (held_[at].device != device || held_[at].control != control)) ++at;
  return at;
}

}  // namespace tessaly::frontend
