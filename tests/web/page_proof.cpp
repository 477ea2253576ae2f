#include "page_proof.h"

#include <emscripten/emscripten.h>

#include "harness/invariants.h"

namespace tessaly::web {

namespace {

ProofWatch* watch = nullptr;

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
  frontend::GameLoop& loop;
  void keyDown(int code) { loop.handle(frontend::Event::keyDown(code)); }
  void keyUp(int code) { loop.handle(frontend::Event::keyUp(code)); }
  void click(std::string_view name) { loop.handle(frontend::Event::click(name)); }
};

}  // namespace

ProofWatch::ProofWatch(Form1& form, const frontend::GameSession& session) : form_(form), session_(session) {
  watch = this;
  exposeProof();
}

ProofWatch::~ProofWatch() { watch = nullptr; }

ProofWatch* ProofWatch::current() { return watch; }

bool ProofWatch::between(frontend::GameLoop& loop) {
  check("the round's events and ticks");
  if (!playing_) return true;
  PageInput input{loop};
  perform(player_.decide(form_), input);
  check("the player's keys");
  return true;
}

void ProofWatch::autoplay(int missEvery) {
  player_.setMissEvery(missEvery);
  playing_ = true;
}

void ProofWatch::check(const char* after, bool frame) {
  ++checks_;
  if (!violation_.empty()) return;
  std::string broken = checkInvariants(form_);
  const frontend::PixelSize size = session_.size();
  for (const frontend::PixelRect& r : frame ? session_.repainted() : std::span<const frontend::PixelRect>{}) {
    if (r.x < 0 || r.y < 0 || r.x + r.w > size.width || r.y + r.h > size.height) {
      broken = "repainted " + std::to_string(r.w) + " x " + std::to_string(r.h) + " at " + std::to_string(r.x) + "," +
               std::to_string(r.y) + " on a canvas of " + std::to_string(size.width) + " x " +
               std::to_string(size.height);
    }
  }
  if (!broken.empty()) violation_ = std::string("after ") + after + ": " + broken;
}

}  // namespace tessaly::web

extern "C" {

using tessaly::web::ProofWatch;

EMSCRIPTEN_KEEPALIVE const char* tessaly_proof_violation() {
  return ProofWatch::current() ? ProofWatch::current()->violation().c_str() : "";
}
EMSCRIPTEN_KEEPALIVE double tessaly_proof_ticks(int timer) {
  return ProofWatch::current() ? ProofWatch::current()->ticks(timer) : 0;
}
EMSCRIPTEN_KEEPALIVE double tessaly_proof_checks() {
  return ProofWatch::current() ? ProofWatch::current()->checks() : 0;
}
EMSCRIPTEN_KEEPALIVE void tessaly_proof_autoplay(int missEvery) {
  if (ProofWatch::current()) ProofWatch::current()->autoplay(missEvery);
}
EMSCRIPTEN_KEEPALIVE int tessaly_proof_width() {
  return ProofWatch::current() ? ProofWatch::current()->session().size().width : 0;
}
EMSCRIPTEN_KEEPALIVE int tessaly_proof_height() {
  return ProofWatch::current() ? ProofWatch::current()->session().size().height : 0;
}

}  // extern "C"
