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
  if (find(device, control) == nullptr && count_ < held_.size()) held_[count_++] = {device, control, binding->key};
  // The key first, as a key event reaches the game before anything it sets off.
  game.keyDown(binding->key);
  return !shown.empty() && game.click(shown);
}

void InputMap::release(GamePort& game, Device device, int control) {
  Held* held = find(device, control);
  if (held == nullptr) {
    if (device == Device::Keyboard) game.keyUp(control);
    return;
  }
  const int key = held->key;
  *held = held_[--count_];
  game.keyUp(key);
}

void InputMap::releaseAll(GamePort& game, Device device) {
  for (std::size_t i = count_; i-- > 0;)
    if (held_[i].device == device) release(game, device, held_[i].control);
}

InputMap::Held* InputMap::find(Device device, int control) {
  for (std::size_t i = 0; i < count_; ++i)
    if (held_[i].device == device && held_[i].control == control) return &held_[i];
  return nullptr;
}

}  // namespace tessaly::frontend
