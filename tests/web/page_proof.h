#pragma once
// The page's proof build (never shipped): the game behind the page as the
// shipped one plays it, and after every event the rules every state keeps,
// the areas repainted inside the canvas, each timer's ticks counted, and, when
// asked, the automatic player at the keys after each tick, as tessaly-live
// plays the desktop window. The page's tests read it all as
// `window.tessalyProof` (page_proof.cpp).

#include <cstdint>
#include <string>

#include "frontend/web/web_game.h"
#include "game/form1.h"
#include "harness/autoplayer.h"

namespace tessaly::web {

class ProofGame : public WebGame {
 public:
  ProofGame(Form1& form, const Clock& clock, PageFonts& fonts);
  ~ProofGame();
  ProofGame(const ProofGame&) = delete;
  ProofGame& operator=(const ProofGame&) = delete;

  // The page's events, each followed by the checks.
  void resize(int width, int height) {
    WebGame::resize(width, height);
    after("resize");
  }
  void keyDown(int virtualKey) {
    WebGame::keyDown(virtualKey);
    after("key down");
  }
  void keyUp(int virtualKey) {
    WebGame::keyUp(virtualKey);
    after("key up");
  }
  void press(Device device, int control) {
    WebGame::press(device, control);
    after("press");
  }
  void release(Device device, int control) {
    WebGame::release(device, control);
    after("release");
  }
  void releaseAll(Device device) {
    WebGame::releaseAll(device);
    after("release all");
  }
  void stick(double x, double y) {
    WebGame::stick(x, y);
    after("stick");
  }
  void pointerDown(int x, int y) {
    WebGame::pointerDown(x, y);
    after("pointer down");
  }
  void pointerMove(int x, int y) {
    WebGame::pointerMove(x, y);
    after("pointer move");
  }
  void pointerUp(int x, int y) {
    WebGame::pointerUp(x, y);
    after("pointer up");
  }
  void pointerCancel() {
    WebGame::pointerCancel();
    after("pointer cancel");
  }
  // Counts the ticks due, delivers them, then lets the player act.
  void tick();

  // The player plays from the next tick on, letting every `missEvery`th ball go (0: none).
  void autoplay(int missEvery);
  // The first broken rule since the page started, empty while none.
  const std::string& violation() const { return violation_; }
  // Ticks delivered so far of Timer1 (1) or Timer2 (2).
  double ticks(int timer) const { return static_cast<double>(ticks_[timer == 1 ? 0 : 1]); }
  // Checks run so far, one after each event.
  double checks() const { return static_cast<double>(checks_); }

  // The one game of the page, for its exports.
  static ProofGame* current();

 private:
  void after(const char* event);

  Form1& form_;
  const Clock& clock_;
  AutoPlayer player_;
  bool playing_ = false;
  std::string violation_;
  std::uint64_t ticks_[2] = {0, 0};
  std::uint64_t checks_ = 0;
};

}  // namespace tessaly::web
