#pragma once
// The page's proof build (never shipped): the game behind the page as the
// shipped one plays it, watched round by round as the loop runs it: the
// rules every state keeps, the areas repainted inside the canvas, each
// timer's ticks counted, and, when asked, the automatic player at the keys
// after each round, as tessaly-live plays the desktop window. The page's
// tests read it all as `window.tessalyProof` (page_proof.cpp).

#include <cstdint>
#include <string>

#include "frontend/core/game_loop.h"
#include "game/form1.h"
#include "harness/autoplayer.h"

namespace tessaly::web {

class ProofWatch final : public frontend::LoopObserver {
 public:
  ProofWatch(Form1& form, const frontend::GameSession& session);
  ~ProofWatch() override;
  ProofWatch(const ProofWatch&) = delete;
  ProofWatch& operator=(const ProofWatch&) = delete;

  void ticked(int timer) override { ++ticks_[timer == 1 ? 0 : 1]; }
  // Checks the round's state, then lets the player act and checks again.
  bool between(frontend::GameLoop& loop) override;
  // Checks where the frame was painted.
  void presented() override { check("the frame", true); }

  // The player plays from the next round on, letting every `missEvery`th ball go (0: none).
  void autoplay(int missEvery);
  // The first broken rule since the page started, empty while none.
  const std::string& violation() const { return violation_; }
  // Ticks delivered so far of Timer1 (1) or Timer2 (2).
  double ticks(int timer) const { return static_cast<double>(ticks_[timer == 1 ? 0 : 1]); }
  // Checks run so far, a few a round.
  double checks() const { return static_cast<double>(checks_); }
  const frontend::GameSession& session() const { return session_; }

  // The one watch of the page, for its exports.
  static ProofWatch* current();

 private:
  // The rules every state keeps, and with `frame` where the frame was painted.
  void check(const char* after, bool frame = false);

  Form1& form_;
  const frontend::GameSession& session_;
  AutoPlayer player_;
  bool playing_ = false;
  std::string violation_;
  std::uint64_t ticks_[2] = {0, 0};
  std::uint64_t checks_ = 0;
};

}  // namespace tessaly::web
