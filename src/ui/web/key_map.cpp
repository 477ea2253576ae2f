#include "ui/web/key_map.h"

#include <array>
#include <utility>

#include "ui/render/virtual_keys.h"

namespace tessaly::web {

namespace {

namespace vk = render::vk;

using Entry = std::pair<std::string_view, int>;

// Named keys by their `key` value.
constexpr std::array kNamed{
    Entry{" ", vk::Space},
    Entry{"ArrowLeft", vk::Left},
    Entry{"ArrowUp", vk::Up},
    Entry{"ArrowRight", vk::Right},
    Entry{"ArrowDown", vk::Down},
    Entry{"Backspace", vk::Back},
    Entry{"Tab", vk::Tab},
    Entry{"Clear", vk::Clear},
    Entry{"Enter", vk::Return},
    Entry{"Shift", vk::Shift},
    Entry{"Control", vk::Control},
    Entry{"Alt", vk::Menu},
    Entry{"AltGraph", vk::Menu},
    Entry{"Pause", vk::Pause},
    Entry{"CapsLock", vk::Capital},
    Entry{"Escape", vk::Escape},
    Entry{"PageUp", vk::Prior},
    Entry{"PageDown", vk::Next},
    Entry{"End", vk::End},
    Entry{"Home", vk::Home},
    Entry{"Select", vk::Select},
    Entry{"Execute", vk::Execute},
    Entry{"PrintScreen", vk::Snapshot},
    Entry{"Insert", vk::Insert},
    Entry{"Delete", vk::Delete},
    Entry{"Help", vk::Help},
    Entry{"Meta", vk::LWin},
    Entry{"OS", vk::LWin},
    Entry{"ContextMenu", vk::Apps},
    Entry{"Standby", vk::Sleep},
    Entry{"NumLock", vk::NumLock},
    Entry{"ScrollLock", vk::Scroll},
};

// Punctuation by the character it types unshifted (US layout codes, as the
// virtual keys name them).
constexpr std::array kPunctuation{
    Entry{";", vk::Oem1},     Entry{"=", vk::OemPlus},   Entry{"+", vk::OemPlus}, Entry{",", vk::OemComma},
    Entry{"-", vk::OemMinus}, Entry{".", vk::OemPeriod}, Entry{"/", vk::Oem2},    Entry{"`", vk::Oem3},
    Entry{"[", vk::Oem4},     Entry{"\\", vk::Oem5},     Entry{"]", vk::Oem6},    Entry{"'", vk::Oem7},
    Entry{"<", vk::Oem102},
};

// Keys told apart by their place: the keypad, whose `key` follows Num Lock,
// and the punctuation keys when shifted.
constexpr std::array kByPlace{
    Entry{"NumpadMultiply", vk::Multiply},
    Entry{"NumpadAdd", vk::Add},
    Entry{"NumpadComma", vk::Separator},
    Entry{"NumpadSubtract", vk::Subtract},
    Entry{"NumpadDecimal", vk::Decimal},
    Entry{"NumpadDivide", vk::Divide},
    Entry{"NumpadEnter", vk::Return},
    Entry{"Semicolon", vk::Oem1},
    Entry{"Equal", vk::OemPlus},
    Entry{"Comma", vk::OemComma},
    Entry{"Minus", vk::OemMinus},
    Entry{"Period", vk::OemPeriod},
    Entry{"Slash", vk::Oem2},
    Entry{"Backquote", vk::Oem3},
    Entry{"BracketLeft", vk::Oem4},
    Entry{"Backslash", vk::Oem5},
    Entry{"BracketRight", vk::Oem6},
    Entry{"Quote", vk::Oem7},
    Entry{"IntlBackslash", vk::Oem102},
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
  return n >= 1 && n <= 24 ? vk::F1 + n - 1 : 0;
}

int byPlace(std::string_view code) {
  constexpr std::string_view kKey = "Key", kDigit = "Digit", kNumpad = "Numpad";
  if (code.starts_with(kKey) && code.size() == kKey.size() + 1) return letterOrDigit(code.substr(kKey.size()));
  if (code.starts_with(kDigit) && code.size() == kDigit.size() + 1) return letterOrDigit(code.substr(kDigit.size()));
  if (code.starts_with(kNumpad) && code.size() == kNumpad.size() + 1) {
    const char d = code.back();
    if (d >= '0' && d <= '9') return vk::Numpad0 + (d - '0');
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
    case vk::Space:
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
    case 'P':
    case vk::F1:
    case vk::F1 + 1: return true;
    default: return false;
  }
}

}  // namespace tessaly::web
