#include "ui/desktop/key_map.h"

#include "ui/render/virtual_keys.h"

namespace tessaly::desktop {

namespace {

namespace vk = render::vk;

int keypadCode(SDL_Keycode key) {
  switch (key) {
    case SDLK_KP_0: return vk::Numpad0;
    case SDLK_KP_1: return vk::Numpad0 + 1;
    case SDLK_KP_2: return vk::Numpad0 + 2;
    case SDLK_KP_3: return vk::Numpad0 + 3;
    case SDLK_KP_4: return vk::Numpad0 + 4;
    case SDLK_KP_5: return vk::Numpad0 + 5;
    case SDLK_KP_6: return vk::Numpad0 + 6;
    case SDLK_KP_7: return vk::Numpad0 + 7;
    case SDLK_KP_8: return vk::Numpad0 + 8;
    case SDLK_KP_9: return vk::Numpad0 + 9;
    case SDLK_KP_MULTIPLY: return vk::Multiply;
    case SDLK_KP_PLUS: return vk::Add;
    case SDLK_KP_COMMA: return vk::Separator;
    case SDLK_KP_MINUS: return vk::Subtract;
    case SDLK_KP_PERIOD:
    case SDLK_KP_DECIMAL: return vk::Decimal;
    case SDLK_KP_DIVIDE: return vk::Divide;
    case SDLK_KP_ENTER: return vk::Return;
    default: return 0;
  }
}

}  // namespace

int virtualKeyCode(SDL_Keycode key) {
  // Letters arrive as the lower-case character; their codes are the capitals.
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return vk::F1 + 12 + (key - SDLK_F13);
  if (const int pad = keypadCode(key); pad != 0) return pad;
  switch (key) {
    case SDLK_SPACE: return vk::Space;
    case SDLK_LEFT: return vk::Left;
    case SDLK_UP: return vk::Up;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_DOWN: return vk::Down;
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_CLEAR: return vk::Clear;
    case SDLK_RETURN:
    case SDLK_RETURN2: return vk::Return;
    // Left and right modifier keys share the generic code, as key events carry it.
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT:
    case SDLK_RALT: return vk::Menu;
    case SDLK_PAUSE: return vk::Pause;
    case SDLK_CAPSLOCK: return vk::Capital;
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_PAGEUP: return vk::Prior;
    case SDLK_PAGEDOWN: return vk::Next;
    case SDLK_END: return vk::End;
    case SDLK_HOME: return vk::Home;
    case SDLK_SELECT: return vk::Select;
    case SDLK_EXECUTE: return vk::Execute;
    case SDLK_PRINTSCREEN: return vk::Snapshot;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_HELP: return vk::Help;
    case SDLK_LGUI: return vk::LWin;
    case SDLK_RGUI: return vk::RWin;
    case SDLK_APPLICATION: return vk::Apps;
    case SDLK_SLEEP: return vk::Sleep;
    case SDLK_NUMLOCKCLEAR: return vk::NumLock;
    case SDLK_SCROLLLOCK: return vk::Scroll;
    case SDLK_SEMICOLON: return vk::Oem1;
    case SDLK_EQUALS:
    case SDLK_PLUS: return vk::OemPlus;
    case SDLK_COMMA: return vk::OemComma;
    case SDLK_MINUS: return vk::OemMinus;
    case SDLK_PERIOD: return vk::OemPeriod;
    case SDLK_SLASH: return vk::Oem2;
    case SDLK_BACKQUOTE: return vk::Oem3;
    case SDLK_LEFTBRACKET: return vk::Oem4;
    case SDLK_BACKSLASH: return vk::Oem5;
    case SDLK_RIGHTBRACKET: return vk::Oem6;
    case SDLK_QUOTE: return vk::Oem7;
    case SDLK_LESS: return vk::Oem102;
    default: return 0;
  }
}

}  // namespace tessaly::desktop
