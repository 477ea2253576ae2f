#pragma once
// Random draws a test writes down in advance.

#include <deque>
#include <initializer_list>

#include "base/platform.h"

namespace tessaly {

// Hands out exactly the draws a test scripted. Running out is an error the
// test sees (std::logic_error), unless the test asked for a value to repeat.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}
  void push(float r) { draws_.push_back(r); }
  void repeatWhenEmpty(float r) {
    fallback_ = r;
    hasFallback_ = true;
  }
  void seed(std::uint64_t) override { ++seeded_; }
  float draw() override;
  std::size_t remaining() const { return draws_.size(); }
  int timesSeeded() const { return seeded_; }

 private:
  std::deque<float> draws_;
  float fallback_ = 0;
  bool hasFallback_ = false;
  int seeded_ = 0;
};

}  // namespace tessaly
