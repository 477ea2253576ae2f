#include "frontend/web/web_game.h"

#include <algorithm>

namespace tessaly::web {

WebGame::WebGame(GamePort& game, const Clock& clock, PageFonts& fonts) : game_(game), clock_(clock), painter_(fonts) {}

void WebGame::resize(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  view_ = Viewport::fit(width_, height_);
  painter_.resized();
  fullRepaint_ = true;
  present();
}

void WebGame::keyDown(int virtualKey) {
  game_.keyDown(virtualKey);
  present();
}

void WebGame::keyUp(int virtualKey) {
  game_.keyUp(virtualKey);
  present();
}

void WebGame::pointerDown(int x, int y) {
  if (!pressed_.empty()) return;
  pressed_ = buttonAt(x, y);
  pressedInside_ = !pressed_.empty();
  if (pressedInside_) fullRepaint_ = true;
  present();
}

void WebGame::pointerMove(int x, int y) {
  if (pressed_.empty()) return;
  const bool inside = buttonAt(x, y) == pressed_;
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  fullRepaint_ = true;
  present();
}

void WebGame::pointerUp(int x, int y) {
  if (pressed_.empty()) return;
  const std::string_view released = pressed_;
  pressed_ = {};
  pressedInside_ = false;
  fullRepaint_ = true;
  if (buttonAt(x, y) == released) game_.click(released);
  present();
}

void WebGame::tick() {
  game_.dispatchDueTimers(CatchUp::OnceThenResume);
  present();
}

int WebGame::wakeIn() const {
  const auto due = game_.nextDue();
  if (!due) return -1;
  return static_cast<int>(std::clamp<TimeMs>(*due - clock_.now(), 0, 1'000'000));
}

void WebGame::present() {
  if (!fullRepaint_ && game_.revision() == shownRevision_) return;
  const Controls& objects = game_.objects();
  if (fullRepaint_) changes_.forget();
  repaintAreas(view_, changes_.collect(objects), width_, height_, areas_);
  const std::string_view pressed = pressedInside_ ? pressed_ : std::string_view{};
  for (const PixelRect& area : areas_) painter_.paint(objects, view_, area, pressed);
  shownRevision_ = game_.revision();
  fullRepaint_ = false;
  if (!areas_.empty()) ++frames_;
}

std::string_view WebGame::buttonAt(int x, int y) const {
  if (!view_.client().contains(x, y) || !game_.isOpen()) return {};
  const auto buttons = game_.objects().buttons();
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {  // the front button takes the click
    const ScreenObject* b = *it;
    if (!b->visible() || !view_.edges(b->bounds()).contains(x, y)) continue;
    // The name kept is one that outlives the objects: a new game rebuilds the buttons.
    const auto name = std::find(button::all.begin(), button::all.end(), b->name());
    return name != button::all.end() ? *name : std::string_view{};
  }
  return {};
}

}  // namespace tessaly::web
