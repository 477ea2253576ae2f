#include "frontend/core/game_session.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessaly::frontend {

void GameSession::press(Device device, int control) {
  // A new game rebuilds every object: nothing drawn before is current.
  if (inputs_.press(game_, device, control)) presenter_.invalidate();
}

void GameSession::stick(double x, double y) {
  const std::array<std::pair<int, bool>, 4> leaning{{{pad::StickLeft, x < -pad::kStickDeadZone},
                                                     {pad::StickRight, x > pad::kStickDeadZone},
                                                     {pad::StickUp, y < -pad::kStickDeadZone},
                                                     {pad::StickDown, y > pad::kStickDeadZone}}};
  // Let go first: any key coming up stops the paddles, so a stick swung
  // across gives its new arrow last.
  for (const auto& [direction, past] : leaning)
    if (!past && inputs_.holds(Device::Gamepad, direction)) release(Device::Gamepad, direction);
  for (const auto& [direction, past] : leaning)
    if (past && !inputs_.holds(Device::Gamepad, direction)) press(Device::Gamepad, direction);
}

void GameSession::pointerDown(int x, int y) {
  if (press_.down(buttonAt(game_, view_, x, y))) presenter_.invalidate();
}

void GameSession::pointerMove(int x, int y) {
  if (press_.holding() && press_.move(buttonAt(game_, view_, x, y))) presenter_.invalidate();
}

void GameSession::pointerUp(int x, int y) {
  if (!press_.holding()) return;
  const std::string_view clicked = press_.up(buttonAt(game_, view_, x, y));
  presenter_.invalidate();
  if (!clicked.empty()) game_.click(clicked);
}

void GameSession::pointerCancel() {
  if (press_.cancel()) presenter_.invalidate();
}

bool GameSession::click(std::string_view name) {
  if (!game_.click(name)) return false;
  presenter_.invalidate();
  return true;
}

int GameSession::beat() const {
  if (!game_.isOpen()) return 0;
  const Controls& c = game_.objects();
  const Timer* beating = nullptr;
  for (const Timer* t : {&c.Timer1, &c.Timer2}) {
    if (!t->running()) continue;
    if (beating && (t->interval() != beating->interval() || t->due() != beating->due())) return 0;
    beating = t;
  }
  return beating ? beating->interval() : 0;
}

void GameSession::resize(int width, int height) {
  size_ = {std::max(width, 1), std::max(height, 1)};
  view_ = Viewport::fit(size_.width, size_.height);
  presenter_.invalidate();
}

}  // namespace tessaly::frontend
