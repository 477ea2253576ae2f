#include "page_proof.h"

#include <emscripten/emscripten.h>

#include "harness/invariants.h"

namespace tessaly::web {

namespace {

ProofGame* game = nullptr;

// What a test asks of the proof build, on the page's window.
// clang-format off
EM_JS(void, exposeProof, (), {
  globalThis.tessalyProof = {
    violation: () => {
      const at = _tessaly_proof_violation();
      return new TextDecoder().decode(HEAPU8.slice(at, HEAPU8.indexOf(0, at)));
    },
    ticks: (timer) => _tessaly_proof_ticks(timer),
    checks: () => _tessaly_proof_checks(),
    autoplay: (missEvery) => _tessaly_proof_autoplay(missEvery),
    size: () => [_tessaly_proof_width(), _tessaly_proof_height()],
    memory: () => HEAPU8.buffer.byteLength,
  };
});
// clang-format on

// The player's keys and clicks take the page's own path into the game.
struct PageInput {
  WebGame& game;
  void keyDown(int code) { game.keyDown(code); }
  void keyUp(int code) { game.keyUp(code); }
  void click(std::string_view name) { game.click(name); }
};

}  // namespace

ProofGame::ProofGame(Form1& form, const Clock& clock, PageFonts& fonts)
    : WebGame(form, clock, fonts), form_(form), clock_(clock) {
  game = this;
  exposeProof();
}

ProofGame::~ProofGame() { game = nullptr; }

ProofGame* ProofGame::current() { return game; }

void ProofGame::tick() {
  const Controls& objects = form_.controls();
  const auto d1 = objects.Timer1.due();
  const auto d2 = objects.Timer2.due();
  const TimeMs now = clock_.now();
  WebGame::tick();
  if (d1 && *d1 <= now) ++ticks_[0];
  if (d2 && *d2 <= now) ++ticks_[1];
  after("tick");
  if (!playing_) return;
  PageInput input{*this};
  perform(player_.decide(form_), input);
  after("the player's keys");
}

void ProofGame::autoplay(int missEvery) {
  player_.setMissEvery(missEvery);
  playing_ = true;
}

void ProofGame::after(const char* event) {
  ++checks_;
  if (!violation_.empty()) return;
  std::string broken = checkInvariants(form_);
  const frontend::PixelSize size = session().size();
  for (const frontend::PixelRect& r : session().repainted()) {
    if (r.x < 0 || r.y < 0 || r.x + r.w > size.width || r.y + r.h > size.height) {
      broken = "repainted " + std::to_string(r.w) + " x " + std::to_string(r.h) + " at " + std::to_string(r.x) + "," +
               std::to_string(r.y) + " on a canvas of " + std::to_string(size.width) + " x " +
               std::to_string(size.height);
    }
  }
  if (!broken.empty()) violation_ = std::string("after ") + event + ": " + broken;
}

}  // namespace tessaly::web

extern "C" {

using tessaly::web::ProofGame;

EMSCRIPTEN_KEEPALIVE const char* tessaly_proof_violation() {
  return ProofGame::current() ? ProofGame::current()->violation().c_str() : "";
}
EMSCRIPTEN_KEEPALIVE double tessaly_proof_ticks(int timer) {
  return ProofGame::current() ? ProofGame::current()->ticks(timer) : 0;
}
EMSCRIPTEN_KEEPALIVE double tessaly_proof_checks() { return ProofGame::current() ? ProofGame::current()->checks() : 0; }
EMSCRIPTEN_KEEPALIVE void tessaly_proof_autoplay(int missEvery) {
  if (ProofGame::current()) ProofGame::current()->autoplay(missEvery);
}
EMSCRIPTEN_KEEPALIVE int tessaly_proof_width() {
  return ProofGame::current() ? ProofGame::current()->session().size().width : 0;
}
EMSCRIPTEN_KEEPALIVE int tessaly_proof_height() {
  return ProofGame::current() ? ProofGame::current()->session().size().height : 0;
}

}  // extern "C"
