#pragma once
// The game's number conversions: every real that becomes an integer is rounded
// to nearest with ties to even, and fixed-width read-outs keep the last digits
// of a padded decimal text.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace tessaly {

// Nearest integer, ties to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
inline double roundEven(double v) { return std::nearbyint(v); }

// Rounded to nearest-even and held in the integer type; out-of-range values
// stop at the type's limits instead of wrapping, NaN becomes 0.
template <typename Int>
Int roundTo(double v) {
  if (std::isnan(v)) return 0;
  const double r = roundEven(v);
  if (r <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (r >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(r);
}

// A short decimal text built without touching the heap, so read-outs can be
// refreshed inside a tick.
class DecimalText {
 public:
  std::string_view view() const { return {buf_ + start_, static_cast<std::size_t>(end_ - start_)}; }
  operator std::string_view() const { return view(); }

  // The decimal text of v.
  static DecimalText of(std::int64_t v) {
    DecimalText t;
    t.end_ = static_cast<int>(std::to_chars(t.buf_, t.buf_ + sizeof t.buf_, v).ptr - t.buf_);
    return t;
  }
  // `prefix` and then the decimal text of v ("Level: " and 12).
  static DecimalText prefixed(std::string_view prefix, std::int64_t v) {
    DecimalText t;
    const std::size_t n = prefix.copy(t.buf_, kPrefixRoom);
    t.end_ = static_cast<int>(std::to_chars(t.buf_ + n, t.buf_ + sizeof t.buf_, v).ptr - t.buf_);
    return t;
  }
  // The last `width` characters of the decimal text of v + base: with base
  // 10000 and width 3 a count shows as "087", with base 100000000 and width 6
  // a score shows as "004560".
  static DecimalText lastDigits(std::int64_t v, std::int64_t base, int width) {
    DecimalText t = of(v + base);
    if (t.end_ - t.start_ > width) t.start_ = t.end_ - width;
    return t;
  }

 private:
  static constexpr std::size_t kPrefixRoom = 12;
  char buf_[kPrefixRoom + 20] = {};  // any int64 takes at most 20 characters
  int start_ = 0;
  int end_ = 0;
};

// `numbricks` shows three digits, the score read-outs six.
inline DecimalText threeDigitText(std::int64_t count) { return DecimalText::lastDigits(count, 10000, 3); }
inline DecimalText sixDigitText(std::int64_t score) { return DecimalText::lastDigits(score, 100000000, 6); }

// The level button's caption: "Level: 2".
inline constexpr std::string_view kLevelCaption = "Level: ";
inline DecimalText levelCaption(std::int64_t level) { return DecimalText::prefixed(kLevelCaption, level); }

}  // namespace tessaly
