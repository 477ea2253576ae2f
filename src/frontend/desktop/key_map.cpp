#include "frontend/desktop/key_map.h"

#include "ui/keys.h"

namespace tessaly::desktop {

namespace {

int keypadCode(SDL_Keycode key) {
  switch (key) {
    case SDLK_KP_0: return key::Numpad0;
    case SDLK_KP_1: return key::Numpad0 + 1;
    case SDLK_KP_2: return key::Numpad0 + 2;
    case SDLK_KP_3: return key::Numpad0 + 3;
    case SDLK_KP_4: return key::Numpad0 + 4;
    case SDLK_KP_5: return key::Numpad0 + 5;
    case SDLK_KP_6: return key::Numpad0 + 6;
    case SDLK_KP_7: return key::Numpad0 + 7;
    case SDLK_KP_8: return key::Numpad0 + 8;
    case SDLK_KP_9: return key::Numpad0 + 9;
    case SDLK_KP_MULTIPLY: return key::Multiply;
    case SDLK_KP_PLUS: return key::Add;
    case SDLK_KP_COMMA: return key::Separator;
    case SDLK_KP_MINUS: return key::Subtract;
    case SDLK_KP_PERIOD:
    case SDLK_KP_DECIMAL: return key::Decimal;
    case SDLK_KP_DIVIDE: return key::Divide;
    case SDLK_KP_ENTER: return key::Return;
    default: return 0;
  }
}

}  // namespace

int virtualKeyCode(SDL_Keycode key) {
  // Letters arrive as the lower-case character; their codes are the capitals.
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return key::F1 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return key::F1 + 12 + (key - SDLK_F13);
  if (const int pad = keypadCode(key); pad != 0) return pad;
  switch (key) {
    case SDLK_SPACE: return key::Space;
    case SDLK_LEFT: return key::Left;
    case SDLK_UP: return key::Up;
    case SDLK_RIGHT: return key::Right;
    case SDLK_DOWN: return key::Down;
    case SDLK_BACKSPACE: return key::Back;
    case SDLK_TAB: return key::Tab;
    case SDLK_CLEAR: return key::Clear;
    case SDLK_RETURN:
    case SDLK_RETURN2: return key::Return;
    // Left and right modifier keys share the generic code, as key events carry it.
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return key::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return key::Control;
    case SDLK_LALT:
    case SDLK_RALT: return key::Menu;
    case SDLK_PAUSE: return key::Pause;
    case SDLK_CAPSLOCK: return key::Capital;
    case SDLK_ESCAPE: return key::Escape;
    case SDLK_PAGEUP: return key::Prior;
    case SDLK_PAGEDOWN: return key::Next;
    case SDLK_END: return key::End;
    case SDLK_HOME: return key::Home;
    case SDLK_SELECT: return key::Select;
    case SDLK_EXECUTE: return key::Execute;
    case SDLK_PRINTSCREEN: return key::Snapshot;
    case SDLK_INSERT: return key::Insert;
    case SDLK_DELETE: return key::Delete;
    case SDLK_HELP: return key::Help;
    case SDLK_LGUI: return key::LWin;
    case SDLK_RGUI: return key::RWin;
    case SDLK_APPLICATION: return key::Apps;
    case SDLK_SLEEP: return key::Sleep;
    case SDLK_NUMLOCKCLEAR: return key::NumLock;
    case SDLK_SCROLLLOCK: return key::Scroll;
    case SDLK_SEMICOLON: return key::Oem1;
    case SDLK_EQUALS:
    case SDLK_PLUS: return key::OemPlus;
    case SDLK_COMMA: return key::OemComma;
    case SDLK_MINUS: return key::OemMinus;
    case SDLK_PERIOD: return key::OemPeriod;
    case SDLK_SLASH: return key::Oem2;
    case SDLK_BACKQUOTE: return key::Oem3;
    case SDLK_LEFTBRACKET: return key::Oem4;
    case SDLK_BACKSLASH: return key::Oem5;
    case SDLK_RIGHTBRACKET: return key::Oem6;
    case SDLK_QUOTE: return key::Oem7;
    case SDLK_LESS: return key::Oem102;
    default: return 0;
  }
}

}  // namespace tessaly::desktop
