#include "frontend/web/web_game.h"

#include <algorithm>

namespace tessaly::web {

WebGame::WebGame(GamePort& game, const Clock& clock, PageFonts& fonts)
    : clock_(clock), session_(game), painter_(fonts) {}

void WebGame::resize(int width, int height) {
  session_.resize(width, height);
  painter_.resized();
  present();
}

void WebGame::press(Device device, int control) {
  session_.press(device, control);
  present();
}

void WebGame::release(Device device, int control) {
  session_.release(device, control);
  present();
}

void WebGame::releaseAll(Device device) {
  session_.releaseAll(device);
  present();
}

void WebGame::stick(double x, double y) {
  session_.stick(x, y);
  present();
}

void WebGame::pointerDown(int x, int y) {
  session_.pointerDown(x, y);
  present();
}

void WebGame::pointerMove(int x, int y) {
  session_.pointerMove(x, y);
  present();
}

void WebGame::pointerUp(int x, int y) {
  session_.pointerUp(x, y);
  present();
}

void WebGame::pointerCancel() {
  session_.pointerCancel();
  present();
}

void WebGame::click(std::string_view name) {
  session_.click(name);
  present();
}

void WebGame::tick() {
  session_.tick();
  present();
}

int WebGame::wakeIn() const {
  const auto due = session_.nextDue();
  if (!due) return -1;
  return static_cast<int>(std::clamp<TimeMs>(*due - clock_.now(), 0, 1'000'000));
}

}  // namespace tessaly::web
