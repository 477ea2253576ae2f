#include "harness/scripted_random.h"

#include <stdexcept>

namespace tessaly {

float ScriptedRandom::draw() {
  if (draws_.empty()) {
    if (hasFallback_) return fallback_;
    throw std::logic_error("ScriptedRandom: the test scripted no more draws");
  }
  const float r = draws_.front();
  draws_.pop_front();
  return r;
}

}  // namespace tessaly
