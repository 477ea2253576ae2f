#include "harness/invariants.h"

#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "game/brick_grid.h"
#include "game/numbers.h"

namespace tessaly {

namespace {

// Builds the description of a violation; only ever made when one is found.
template <typename... Parts>
std::string describe(const Parts&... parts) {
  std::ostringstream out;
  out.precision(17);
  (out << ... << parts);
  return out.str();
}

std::string checkBall(const GameState& s, const Controls& c) {
  const ScreenObject& ball = c.ball;
  const auto size = static_cast<float>(std::floor(static_cast<double>(s.cellheight) / 2));
  if (ball.width() != size || ball.height() != size)
    return describe("ball is ", ball.width(), " x ", ball.height(), ", not ", size, " across");
  if (ball.left() < s.boardleft || ball.left() + ball.width() > static_cast<float>(s.boardright) ||
      ball.top() < s.boardtop || ball.top() + ball.height() > s.boardbottom)
    return describe("ball at (", ball.left(), ", ", ball.top(), ") leaves the board");
  const double step = s.ballstep;
  const std::int16_t ystep = roundTo<std::int16_t>(step);
  if (s.ballxspeed != 0 && std::abs(s.ballxspeed) != step)
    return describe("ballxspeed ", s.ballxspeed, " is neither 0 nor the base step ", step);
  if (s.ballyspeed != 0 && std::abs(s.ballyspeed) != ystep)
    return describe("ballyspeed ", s.ballyspeed, " is neither 0 nor the base step ", ystep);
  if (!(s.xjitter > 0.95 && s.xjitter <= 1) || !(s.yjitter > 0.95 && s.yjitter <= 1))
    return describe("jitter factors ", s.xjitter, ", ", s.yjitter, " outside (0.95, 1]");
  return {};
}

std::string checkPaddles(const GameState& s, const Controls& c) {
  const ScreenObject& board = c.board;
  if (s.boardleft != board.left() || s.boardtop != board.top() ||
      s.boardbottom != static_cast<float>(static_cast<double>(board.height()) + board.top()) ||
      s.boardright != roundTo<std::int16_t>(static_cast<double>(board.width()) + board.left()))
    return "the board edges no longer match the board";

  const double h = s.cellheight;
  const auto length = static_cast<float>(std::floor(4.0 * s.cellwidth));
  const auto thickness = static_cast<float>(std::floor(0.75 * h));
  const std::array<float, 2> rowTops{static_cast<float>(board.top() + 24 * h),
                                     static_cast<float>(board.top() + 0.5 * h)};
  const std::array<float, 2> columnLefts{static_cast<float>(board.left() + 0.5 * h),
                                         static_cast<float>(board.left() + 24 * h)};
  for (int i : paddle::horizontalPair) {
    const ScreenObject& p = c.paddle(i);
    if (p.width() != length || p.height() != thickness) return describe("paddle(", i, ") changed its size");
    if (p.top() != rowTops[static_cast<std::size_t>(i - paddle::bottom)])
      return describe("paddle(", i, ") left its track");
    if (p.left() < s.boardleft || p.left() + p.width() > static_cast<float>(s.boardright))
      return describe("paddle(", i, ") at Left ", p.left(), " leaves the board");
  }
  for (int i : paddle::verticalPair) {
    const ScreenObject& p = c.paddle(i);
    if (p.width() != thickness || p.height() != length) return describe("paddle(", i, ") changed its size");
    if (p.left() != columnLefts[static_cast<std::size_t>(i - paddle::left)])
      return describe("paddle(", i, ") left its track");
    if (p.top() < s.boardtop || p.top() + p.height() > s.boardbottom)
      return describe("paddle(", i, ") at Top ", p.top(), " leaves the board");
  }
  const ScreenObject& bottom = c.paddle(paddle::bottom);
  const ScreenObject& top = c.paddle(paddle::top);
  const ScreenObject& left = c.paddle(paddle::left);
  const ScreenObject& right = c.paddle(paddle::right);
  if (bottom.left() != top.left())
    return describe("paddles ", paddle::bottom, " and ", paddle::top, " part: Left ", bottom.left(), " and ",
                    top.left());
  if (left.top() != right.top())
    return describe("paddles ", paddle::left, " and ", paddle::right, " part: Top ", left.top(), " and ", right.top());
  return {};
}

// What a brick reads over a cell holding 0 to 9: its digit, or "!" on a fixed
// brick. Written once, as the grid check reads 625 captions every time.
const std::array<std::string_view, 10>& brickCaptions() {
  static const std::array<DecimalText, 10> digits = [] {
    std::array<DecimalText, 10> d;
    for (std::size_t v = 0; v < d.size(); ++v) d[v] = DecimalText::of(static_cast<std::int64_t>(v));
    return d;
  }();
  static const std::array<std::string_view, 10> captions = [] {
    std::array<std::string_view, 10> t;
    for (std::size_t v = 0; v < t.size(); ++v) t[v] = v == kFixedBrick ? std::string_view("!") : digits[v].view();
    return t;
  }();
  return captions;
}

// Texts compared a character at a time: a brick's caption is one character,
// and a call to the sanitizers' memcmp costs more than comparing it.
bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

std::string checkGrid(const GameState& s, const Controls& c) {
  Integer standing = 0;
  for (int col = 0; const auto& column : s.cells) {
    for (int r = 0; const std::int16_t v : column) {
      if (v < 0 || v > 9) return describe("cells(", col, ", ", r, ") holds ", v);
      if (v != 0 && !inPatternWindow(col, r))
        return describe("cells(", col, ", ", r, ") outside the pattern holds ", v);
      if (v >= 1 && v <= 8) ++standing;
      ++r;
    }
    ++col;
  }
  if (s.bricktotal > 0) {
    if (s.brickcount != standing)
      return describe("brickcount ", s.brickcount, " but ", standing, " breakable bricks stand");
    if (s.brickcount > s.bricktotal) return describe("brickcount ", s.brickcount, " above bricktotal ", s.bricktotal);
    if (c.numbricks.caption() != threeDigitText(s.brickcount).view())
      return describe("numbricks reads \"", c.numbricks.caption(), "\" with ", s.brickcount, " bricks left");
  }

  // Members 0 to 625: brick 0, the hidden template, and one a cell. Asking
  // for one that is missing throws.
  if (c.brick.upperBound() != kGridSize * kGridSize) return describe("the window holds ", c.brick.count(), " bricks");
  try {
    if (c.brick(0).visible()) return "the template brick(0) is shown";
    const std::array<std::string_view, 10>& captions = brickCaptions();
    int n = 0;
    for (int r = 1; r <= kGridSize; ++r) {
      for (int col = 1; col <= kGridSize; ++col) {
        ++n;
        const std::int16_t v = s.cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(r)];
        const ScreenObject& b = c.brick(n);
        if (b.visible() != (v != 0))
          return describe("brick(", n, ") is ", b.visible() ? "shown" : "hidden", " over a cell holding ", v);
        if (!sameText(b.caption(), captions[static_cast<std::size_t>(v)]))
          return describe("brick(", n, ") reads \"", b.caption(), "\" for ", v);
        if (v > 0 && b.backColor() != kBrickColors[static_cast<std::size_t>(v)])
          return describe("brick(", n, ") has the wrong colour for ", v);
      }
    }
  } catch (const std::out_of_range& missing) {
    return describe("the window holds ", c.brick.count(), " bricks: ", missing.what());
  }
  return {};
}

// A spare ball shows its marker: life(0) to life(lives - 1). The one
// exception is the life the level button gives: its marker waits for the
// first hit of the new level, so until that hit, or until a ball is lost,
// the newest marker may be missing. That state only follows a cleared level
// (level 2 or later), on a fresh layout with no brick worn down and the
// level button hidden again.
std::string checkMarkers(const GameState& s, const Controls& c) {
  int shown = 0;
  for (int i = 0; i < kLifeMarkers; ++i) {
    if (!c.life(i).visible()) continue;
    if (i != shown) return describe("life(", i, ") shows while life(", shown, ") is hidden");
    ++shown;
  }
  const int lives = s.lives;
  const int expected = lives > 0 ? lives : 0;
  if (shown == expected) return {};
  const bool markerPending =
      lives > 0 && shown == lives - 1 && s.levelnum >= 2 && s.brickcount == s.bricktotal && !c.nextlevel.visible();
  if (markerPending) return {};
  return describe(shown, " life markers shown with lives ", lives);
}

std::string checkFlow(const GameState& s, const Controls& c) {
  if (s.lives > kMaxLives) return describe("lives ", s.lives, " above ", kMaxLives);
  if (s.lives < 0 && !c.gameover.visible()) return describe("lives ", s.lives, " but no Game Over button");
  const int i1 = c.Timer1.interval();
  const int i2 = c.Timer2.interval();
  if ((i1 != 0 && i1 != kTickMs) || (i2 != 0 && i2 != kTickMs)) return describe("timer Intervals ", i1, " and ", i2);
  if (i1 != i2) return describe("Timer1 at ", i1, " but Timer2 at ", i2);
  if (i1 == 0 && !c.pause.visible() && !c.gameover.visible() && !c.nextlevel.visible())
    return "play stopped with no button to resume it";

  const std::int16_t h = s.hdirection;
  const std::int16_t v = s.vdirection;
  if ((h != hdirection::still && h != hdirection::right && h != hdirection::left) ||
      (v != vdirection::still && v != vdirection::up && v != vdirection::down))
    return describe("directions ", s.hdirection, ", ", s.vdirection);
  if (s.paddlespeed != 1 && s.paddlespeed != 1.5) return describe("paddlespeed ", s.paddlespeed);
  if (s.patterncount != kPatternCount || s.patternnum < 1 || s.patternnum > s.patterncount)
    return describe("pattern ", s.patternnum, " of ", s.patterncount);
  if (s.levelnum < 1) return describe("level ", s.levelnum);

  if (c.nextlevel.caption() != levelCaption(s.levelnum).view())
    return describe("the level button reads \"", c.nextlevel.caption(), "\" at level ", s.levelnum);

  if (s.playerscore < 0 || s.playerscore > kMaxScore) return describe("score ", s.playerscore);
  if (s.bonuspoints < 0 || s.bonuspoints > kSpareBallPoints) return describe("bonuspoints ", s.bonuspoints);
  if (s.bestscore < s.playerscore) return describe("high score ", s.bestscore, " below score ", s.playerscore);
  if (c.highscore.caption() != sixDigitText(s.bestscore).view())
    return describe("highscore reads \"", c.highscore.caption(), "\" for ", s.bestscore);
  // The read-out never shows points the score does not hold (a fixed brick scores nothing).
  if (c.showscore.caption() != sixDigitText(s.playerscore).view())
    return describe("showscore reads \"", c.showscore.caption(), "\" for ", s.playerscore);
  return {};
}

template <typename... Checks>
std::string firstViolation(const Form1& form, Checks... checks) {
  if (!form.isOpen()) return "the window is closed";
  for (auto check : {checks...}) {
    std::string violation = check(form.state, form.controls());
    if (!violation.empty()) return violation;
  }
  return {};
}

}  // namespace

std::string checkInvariants(const Form1& form) {
  return firstViolation(form, checkBall, checkPaddles, checkGrid, checkMarkers, checkFlow);
}

std::string checkMotion(const Form1& form) { return firstViolation(form, checkBall, checkPaddles); }

}  // namespace tessaly
