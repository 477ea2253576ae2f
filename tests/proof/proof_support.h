#pragma once
// Shared by the proof tests and the tool that records their logs.

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "harness/autoplayer.h"
#include "harness/replay.h"

namespace tessaly::proof {

// Lets the automatic player act through the game's own event path, so that
// its keys and clicks are observed and recorded like a player's.
inline void playerActs(AutoPlayer& player, HeadlessGame& game) {
  for (const AutoPlayer::Action& a : player.decide(game.form())) {
    switch (a.kind) {
      case AutoPlayer::Action::Kind::KeyDown: game.keyDown(a.code); break;
      case AutoPlayer::Action::Kind::KeyUp: game.keyUp(a.code); break;
      case AutoPlayer::Action::Kind::Click: game.click(a.button); break;
    }
  }
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tessaly::proof
