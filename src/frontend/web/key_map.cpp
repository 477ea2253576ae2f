#include "frontend/web/key_map.h"

#include <array>
#include <utility>

#include "ui/keys.h"

namespace tessaly::web {

namespace {

using Entry = std::pair<std::string_view, int>;

// Named keys by their `key` value.
constexpr std::array kNamed{
    Entry{" ", key::Space},
    Entry{"ArrowLeft", key::Left},
    Entry{"ArrowUp", key::Up},
    Entry{"ArrowRight", key::Right},
    Entry{"ArrowDown", key::Down},
    Entry{"Backspace", key::Back},
    Entry{"Tab", key::Tab},
    Entry{"Clear", key::Clear},
    Entry{"Enter", key::Return},
    Entry{"Shift", key::Shift},
    Entry{"Control", key::Control},
    Entry{"Alt", key::Menu},
    Entry{"AltGraph", key::Menu},
    Entry{"Pause", key::Pause},
    Entry{"CapsLock", key::Capital},
    Entry{"Escape", key::Escape},
    Entry{"PageUp", key::Prior},
    Entry{"PageDown", key::Next},
    Entry{"End", key::End},
    Entry{"Home", key::Home},
    Entry{"Select", key::Select},
    Entry{"Execute", key::Execute},
    Entry{"PrintScreen", key::Snapshot},
    Entry{"Insert", key::Insert},
    Entry{"Delete", key::Delete},
    Entry{"Help", key::Help},
    Entry{"Meta", key::LWin},
    Entry{"OS", key::LWin},
    Entry{"ContextMenu", key::Apps},
    Entry{"Standby", key::Sleep},
    Entry{"NumLock", key::NumLock},
    Entry{"ScrollLock", key::Scroll},
};

// Punctuation by the character it types unshifted (US layout codes, as the
// virtual keys name them).
constexpr std::array kPunctuation{
    Entry{";", key::Oem1},     Entry{"=", key::OemPlus},   Entry{"+", key::OemPlus}, Entry{",", key::OemComma},
    Entry{"-", key::OemMinus}, Entry{".", key::OemPeriod}, Entry{"/", key::Oem2},    Entry{"`", key::Oem3},
    Entry{"[", key::Oem4},     Entry{"\\", key::Oem5},     Entry{"]", key::Oem6},    Entry{"'", key::Oem7},
    Entry{"<", key::Oem102},
};

// Keys told apart by their place: the keypad, whose `key` follows Num Lock,
// and the punctuation keys when shifted.
constexpr std::array kByPlace{
    Entry{"NumpadMultiply", key::Multiply},
    Entry{"NumpadAdd", key::Add},
    Entry{"NumpadComma", key::Separator},
    Entry{"NumpadSubtract", key::Subtract},
    Entry{"NumpadDecimal", key::Decimal},
    Entry{"NumpadDivide", key::Divide},
    Entry{"NumpadEnter", key::Return},
    Entry{"Semicolon", key::Oem1},
    Entry{"Equal", key::OemPlus},
    Entry{"Comma", key::OemComma},
    Entry{"Minus", key::OemMinus},
    Entry{"Period", key::OemPeriod},
    Entry{"Slash", key::Oem2},
    Entry{"Backquote", key::Oem3},
    Entry{"BracketLeft", key::Oem4},
    Entry{"Backslash", key::Oem5},
    Entry{"BracketRight", key::Oem6},
    Entry{"Quote", key::Oem7},
    Entry{"IntlBackslash", key::Oem102},
};

template <std::size_t N>
int lookUp(const std::array<Entry, N>& table, std::string_view name) {
  for (const auto& [known, code] : table)
    if (known == name) return code;
  return 0;
}

// A letter or digit typed as one character: its code is the capital or the digit.
int letterOrDigit(std::string_view key) {
  if (key.size() != 1) return 0;
  const char c = key.front();
  if (c >= 'a' && c <= 'z') return 'A' + (c - 'a');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

// "F1" to "F24".
int functionKey(std::string_view name) {
  if (name.size() < 2 || name.size() > 3 || name.front() != 'F') return 0;
  int n = 0;
  for (char c : name.substr(1)) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= 24 ? key::F1 + n - 1 : 0;
}

int byPlace(std::string_view code) {
  constexpr std::string_view kKey = "Key", kDigit = "Digit", kNumpad = "Numpad";
  if (code.starts_with(kKey) && code.size() == kKey.size() + 1) return letterOrDigit(code.substr(kKey.size()));
  if (code.starts_with(kDigit) && code.size() == kDigit.size() + 1) return letterOrDigit(code.substr(kDigit.size()));
  if (code.starts_with(kNumpad) && code.size() == kNumpad.size() + 1) {
    const char d = code.back();
    if (d >= '0' && d <= '9') return key::Numpad0 + (d - '0');
  }
  return lookUp(kByPlace, code);
}

}  // namespace

int virtualKeyCode(std::string_view key, std::string_view code) {
  // The keypad sends arrows and digits by Num Lock; its own codes win.
  if (code.starts_with("Numpad")) return byPlace(code);
  if (const int c = letterOrDigit(key)) return c;
  if (const int c = functionKey(key)) return c;
  if (const int c = lookUp(kNamed, key)) return c;
  if (const int c = lookUp(kPunctuation, key)) return c;
  // A shifted or composed character ("!", "é"): the key that typed it.
  return byPlace(code);
}

bool isGameKey(int virtualKey) {
  switch (virtualKey) {
    case key::Space:
    case key::Left:
    case key::Up:
    case key::Right:
    case key::Down:
    case key::P:
    case key::F1:
    case key::F2: return true;
    default: return false;
  }
}

}  // namespace tessaly::web
