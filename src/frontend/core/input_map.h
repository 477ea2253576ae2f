#pragma once
// Every device's controls in the game's terms, as one table: a control held
// holds a key down (the very key events the keyboard gives, so play, replays
// and digests are the same whatever the hand), and some controls click the
// push button on show. A front end turns its device's events into controls
// and hands them here.

#include <array>
#include <cstdint>
#include <optional>

#include "ui/game_port.h"
#include "ui/keys.h"

namespace tessaly::frontend {

enum class Device : std::uint8_t { Keyboard, Gamepad, Touch };

// A gamepad's controls: the standard layout's button numbers (what the
// browser's Gamepad API reports, and what SDL's game controller buttons are
// turned into), and the left stick's four directions past its dead zone.
namespace pad {
inline constexpr int South = 0, LeftShoulder = 4, RightShoulder = 5, Start = 9, DpadUp = 12, DpadDown = 13,
                     DpadLeft = 14, DpadRight = 15;
inline constexpr int StickLeft = 100, StickRight = 101, StickUp = 102, StickDown = 103;
// How far the stick leans (of 1) before it counts as an arrow held.
inline constexpr double kStickDeadZone = 0.5;
}  // namespace pad

// The on-screen controls of a touch screen.
namespace touch {
inline constexpr int Left = 0, Right = 1, Up = 2, Down = 3, Faster = 4, Pause = 5, NextPattern = 6, PreviousPattern = 7;
}  // namespace touch

// What pressing a control does; letting it go lets its key up.
enum class OnPress : std::uint8_t {
  Key,                // its key goes down (again with each repeat)
  KeyAndClickShown,   // as Key, and a click on the frontmost shown push button
  ClickShownElseKey,  // a click on the frontmost shown push button; with none shown, as Key
};

struct Binding {
  Device device;
  int control;  // Keyboard: a virtual-key code; Gamepad: pad::; Touch: touch::
  int key;      // the virtual-key code it holds
  OnPress press;
};

// Every control with a meaning of its own. A keyboard key not listed is
// itself: its own code, down and up.
inline constexpr std::array kBindings{
    Binding{Device::Keyboard, key::Return, key::Return, OnPress::KeyAndClickShown},
    Binding{Device::Gamepad, pad::DpadLeft, key::Left, OnPress::Key},
    Binding{Device::Gamepad, pad::DpadRight, key::Right, OnPress::Key},
    Binding{Device::Gamepad, pad::DpadUp, key::Up, OnPress::Key},
    Binding{Device::Gamepad, pad::DpadDown, key::Down, OnPress::Key},
    Binding{Device::Gamepad, pad::StickLeft, key::Left, OnPress::Key},
    Binding{Device::Gamepad, pad::StickRight, key::Right, OnPress::Key},
    Binding{Device::Gamepad, pad::StickUp, key::Up, OnPress::Key},
    Binding{Device::Gamepad, pad::StickDown, key::Down, OnPress::Key},
    Binding{Device::Gamepad, pad::South, key::Space, OnPress::Key},
    Binding{Device::Gamepad, pad::Start, key::P, OnPress::ClickShownElseKey},
    Binding{Device::Gamepad, pad::RightShoulder, key::F1, OnPress::Key},
    Binding{Device::Gamepad, pad::LeftShoulder, key::F2, OnPress::Key},
    Binding{Device::Touch, touch::Left, key::Left, OnPress::Key},
    Binding{Device::Touch, touch::Right, key::Right, OnPress::Key},
    Binding{Device::Touch, touch::Up, key::Up, OnPress::Key},
    Binding{Device::Touch, touch::Down, key::Down, OnPress::Key},
    Binding{Device::Touch, touch::Faster, key::Space, OnPress::Key},
    Binding{Device::Touch, touch::Pause, key::P, OnPress::Key},
    Binding{Device::Touch, touch::NextPattern, key::F1, OnPress::Key},
    Binding{Device::Touch, touch::PreviousPattern, key::F2, OnPress::Key},
};

// The binding of a control, or nothing for a control that means nothing.
std::optional<Binding> bindingOf(Device device, int control);

// The controls held down, and what each holds, so that letting one go, or a
// device going away, lets up exactly the keys it held.
class InputMap {
 public:
  // A control went down. Answers whether it clicked a push button (a new
  // game may have rebuilt every object).
  bool press(GamePort& game, Device device, int control);
  // A control came up. A keyboard key always reaches the game, held or not,
  // as the window's key events do.
  void release(GamePort& game, Device device, int control);
  // Lets go of everything a device holds: a pad unplugged, the focus lost.
  void releaseAll(GamePort& game, Device device);
  bool holds(Device device, int control) const;

 private:
  struct Held {
    Device device;
    int control;
    int key;
  };
  // Where a control is among those held: count_ when it is not.
  std::size_t find(Device device, int control) const;

  std::array<Held, 32> held_{};  // fixed: pressing allocates nothing
  std::size_t count_ = 0;
};

}  // namespace tessaly::frontend
