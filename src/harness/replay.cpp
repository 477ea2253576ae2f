#include "harness/replay.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tessaly {

namespace {

constexpr std::string_view kHeader = "tessaly-log 1";

// A value's bits, for digests that must match on every compiler (the
// browser build's library has no std::bit_cast).
template <typename Bits, typename T>
Bits bitsOf(T v) {
  static_assert(sizeof(Bits) == sizeof(T));
  Bits bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// 64-bit FNV-1a, fed value by value in a fixed byte order.
class Fnv {
 public:
  void byte(std::uint8_t b) {
    hash_ ^= b;
    hash_ *= 0x100000001b3ULL;
  }
  void u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i64(std::int64_t v) { u64(static_cast<std::uint64_t>(v)); }
  void f32(float v) { u64(bitsOf<std::uint32_t>(v)); }
  void f64(double v) { u64(bitsOf<std::uint64_t>(v)); }
  void text(std::string_view s) {
    u64(s.size());
    for (char c : s) byte(static_cast<std::uint8_t>(c));
  }
  void color(Color c) {
    byte(c.r);
    byte(c.g);
    byte(c.b);
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void hashState(Fnv& h, const GameState& s) {
  for (const auto& pattern : s.patternrows)
    for (std::string_view row : pattern) h.text(row);
  h.i64(s.playerscore);
  h.i64(s.bonuspoints);
  h.i64(s.bestscore);
  h.i64(s.levelnum);
  h.i64(s.patternnum);
  h.i64(s.patterncount);
  h.i64(s.lastcell);
  for (const auto& column : s.cells)
    for (std::int16_t v : column) h.i64(v);
  h.f32(s.cellwidth);
  h.f32(s.cellheight);
  h.f32(s.boardtop);
  h.f32(s.boardbottom);
  h.f32(s.boardleft);
  h.i64(s.boardright);
  h.i64(s.hdirection);
  h.i64(s.vdirection);
  h.f64(s.paddlespeed);
  h.f64(s.ballxspeed);
  h.i64(s.ballyspeed);
  for (double x : s.paddlex) h.f64(x);
  for (std::int16_t y : s.paddley) h.i64(y);
  h.i64(s.brickcount);
  h.i64(s.bricktotal);
  h.f32(s.ballstep);
  h.f64(s.xjitter);
  h.f64(s.yjitter);
  h.i64(s.lives);
}

void hashObject(Fnv& h, const ScreenObject& o) {
  h.text(o.name());
  h.i64(o.index());
  const Look& look = o.look();
  h.byte(static_cast<std::uint8_t>(look.kind));
  h.byte(static_cast<std::uint8_t>(look.form));
  h.color(look.outline);
  h.i64(look.outlineWidth);
  h.color(look.textColor);
  h.byte(look.transparentBack ? 1 : 0);
  h.byte(look.border ? 1 : 0);
  h.byte(static_cast<std::uint8_t>(look.alignment));
  h.byte(look.autoSize ? 1 : 0);
  h.text(look.font.face);
  h.f32(look.font.size);
  h.byte(look.font.bold ? 1 : 0);
  h.i64(look.font.charset);
  h.f32(o.left());
  h.f32(o.top());
  h.f32(o.width());
  h.f32(o.height());
  h.color(o.backColor());
  h.text(o.caption());
  h.byte(o.visible() ? 1 : 0);
}

void hashArray(Fnv& h, const ObjectArray& a) {
  h.i64(a.upperBound());
  for (int i = 0; i <= a.upperBound(); ++i) {
    h.byte(a.exists(i) ? 1 : 0);
    if (a.exists(i)) hashObject(h, a(i));
  }
}

void hashTimer(Fnv& h, const Timer& t) {
  h.i64(t.interval());
  const auto due = t.due();
  h.i64(due ? *due : -1);
}

void hashControls(Fnv& h, const Controls& c) {
  for (const ScreenObject* o :
       {&c.board, &c.ball, &c.logobox, &c.showscore, &c.highscore, &c.numbricks, &c.logo, &c.Label3, &c.Label7,
        &c.Label2, &c.Label4, &c.Label5, &c.pause, &c.gameover, &c.nextlevel})
    hashObject(h, *o);
  hashArray(h, c.paddle);
  hashArray(h, c.life);
  hashArray(h, c.brick);
  // The stacking order, by name and index.
  h.u64(c.drawOrder().size());
  for (const ScreenObject* o : c.drawOrder()) {
    h.text(o->name());
    h.i64(o->index());
  }
  hashTimer(h, c.Timer1);
  hashTimer(h, c.Timer2);
}

[[noreturn]] void badLine(int line, std::string_view why) {
  throw std::invalid_argument("log line " + std::to_string(line) + ": " + std::string(why));
}

// Splits off the next blank-separated word of `rest`.
std::string_view nextWord(std::string_view& rest) {
  const auto start = rest.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const auto end = rest.find_first_of(" \t\r");
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  return word;
}

template <typename Number>
bool parseNumber(std::string_view word, Number& out) {
  const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && ptr == word.data() + word.size() && !word.empty();
}

std::string_view kindWord(InputKind kind) {
  switch (kind) {
    case InputKind::KeyDown: return "down";
    case InputKind::KeyUp: return "up";
    case InputKind::Click: return "click";
    case InputKind::Pass: return "pass";
  }
  return "pass";
}

// The button of that name as one of the views in button::all, which outlive
// any text a name was read from; empty for no button.
std::string_view buttonName(std::string_view name) {
  for (std::string_view b : button::all)
    if (b == name) return b;
  return {};
}

}  // namespace

std::string serialise(const InputLog& log) {
  std::string out(kHeader);
  out += "\nseed ";
  out += std::to_string(log.seed);
  out += '\n';
  for (const InputEvent& e : log.events) {
    out += std::to_string(e.at);
    out += ' ';
    out += kindWord(e.kind);
    if (e.kind == InputKind::KeyDown || e.kind == InputKind::KeyUp) {
      out += ' ';
      out += std::to_string(e.code);
    } else if (e.kind == InputKind::Click) {
      out += ' ';
      out += e.button;
    }
    out += '\n';
  }
  return out;
}

InputLog parseLog(std::string_view text) {
  InputLog log;
  bool sawHeader = false;
  bool sawSeed = false;
  int lineNo = 0;
  while (!text.empty()) {
    const auto eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    ++lineNo;

    std::string_view rest = line;
    const std::string_view first = nextWord(rest);
    if (first.empty() || first.front() == '#') continue;
    if (!sawHeader) {
      if (first != "tessaly-log" || nextWord(rest) != "1" || !nextWord(rest).empty())
        badLine(lineNo, "expected the header \"tessaly-log 1\"");
      sawHeader = true;
      continue;
    }
    if (!sawSeed) {
      if (first != "seed" || !parseNumber(nextWord(rest), log.seed) || !nextWord(rest).empty())
        badLine(lineNo, "expected \"seed <number>\"");
      sawSeed = true;
      continue;
    }

    InputEvent e;
    if (!parseNumber(first, e.at) || e.at < 0) badLine(lineNo, "expected a time stamp in milliseconds");
    if (!log.events.empty() && e.at < log.events.back().at) badLine(lineNo, "time stamp goes back in time");
    const std::string_view what = nextWord(rest);
    if (what == "down" || what == "up") {
      e.kind = what == "down" ? InputKind::KeyDown : InputKind::KeyUp;
      if (!parseNumber(nextWord(rest), e.code) || e.code < 0 || e.code > 255)
        badLine(lineNo, "expected a key code 0 to 255");
    } else if (what == "click") {
      e.kind = InputKind::Click;
      e.button = buttonName(nextWord(rest));
      if (e.button.empty()) badLine(lineNo, "expected pause, gameover or nextlevel");
    } else if (what == "pass") {
      e.kind = InputKind::Pass;
    } else {
      badLine(lineNo, "unknown event");
    }
    if (!nextWord(rest).empty()) badLine(lineNo, "trailing text");
    log.events.push_back(e);
  }
  if (!sawSeed) throw std::invalid_argument("log has no header and seed");
  return log;
}

std::uint64_t digest(const Form1& form) {
  Fnv h;
  hashState(h, form.state);
  h.byte(form.isOpen() ? 1 : 0);
  if (form.isOpen()) hashControls(h, form.controls());
  return h.value();
}

std::string digestText(std::uint64_t value) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(value));
  return buf;
}

HeadlessGame::HeadlessGame(std::uint64_t seed) : game_({.seed = seed}) { game_.form.open(); }

void HeadlessGame::observed() const {
  if (observer_) observer_(*this);
}

void HeadlessGame::fireDue() {
  // Both timers tick on one beat; count the ball ticks this instant delivers.
  const auto ballDue = game_.form.controls().Timer2.due();
  if (ballDue && *ballDue <= game_.clock.now()) ++ballTicks_;
  game_.form.dispatchDueTimers(CatchUp::EveryTick);
  observed();
}

void HeadlessGame::runUntil(TimeMs t) {
  runDueInstants(game_.form, game_.clock, t, [this] { fireDue(); });
}

bool HeadlessGame::runNextTick() {
  const auto due = game_.form.nextDue();
  if (!due) return false;
  if (*due > game_.clock.now()) game_.clock.set(*due);
  fireDue();
  return true;
}

void HeadlessGame::note(InputKind kind, int code, std::string_view button) {
  if (recording_ == nullptr) return;
  recording_->events.push_back({game_.clock.now(), kind, code, button});
}

void HeadlessGame::keyDown(int code) {
  note(InputKind::KeyDown, code, {});
  game_.form.keyDown(code);
  observed();
}

void HeadlessGame::keyUp(int code) {
  note(InputKind::KeyUp, code, {});
  game_.form.keyUp(code);
  observed();
}

bool HeadlessGame::click(std::string_view button) {
  const std::string_view name = buttonName(button);
  if (!name.empty()) note(InputKind::Click, 0, name);
  const bool taken = game_.form.click(name);
  observed();
  return taken;
}

void HeadlessGame::recordPass() { note(InputKind::Pass, 0, {}); }

void HeadlessGame::apply(const InputEvent& event) {
  runUntil(event.at);
  switch (event.kind) {
    case InputKind::KeyDown: keyDown(event.code); break;
    case InputKind::KeyUp: keyUp(event.code); break;
    case InputKind::Click: click(event.button); break;
    case InputKind::Pass: recordPass(); break;
  }
}

std::uint64_t replay(const InputLog& log, const HeadlessGame::Observer& observer) {
  HeadlessGame game(log.seed);
  game.observe(observer);
  for (const InputEvent& e : log.events) game.apply(e);
  return digest(game.form());
}

}  // namespace tessaly
