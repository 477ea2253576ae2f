#pragma once
// The virtual-key codes: what the game's key handlers compare with, and what
// every front end turns its own key events into. Letters and digits are their
// capital or digit character ('A', '7'); the function keys run on from F1.

namespace tessaly::key {

inline constexpr int Back = 8, Tab = 9, Clear = 12, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19,
                     Capital = 20, Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37,
                     Up = 38, Right = 39, Down = 40, Select = 41, Execute = 43, Snapshot = 44, Insert = 45, Delete = 46,
                     Help = 47, LWin = 91, RWin = 92, Apps = 93, Sleep = 95, Numpad0 = 96, Multiply = 106, Add = 107,
                     Separator = 108, Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, NumLock = 144,
                     Scroll = 145, Oem1 = 186, OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190,
                     Oem2 = 191, Oem3 = 192, Oem4 = 219, Oem5 = 220, Oem6 = 221, Oem7 = 222, Oem102 = 226;
// The letter key that pauses, and the function key after F1.
inline constexpr int P = 'P';
inline constexpr int F2 = F1 + 1;

}  // namespace tessaly::key
