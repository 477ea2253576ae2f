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

// The devices, the pad's buttons and the touch controls are each listed once
// here: the page's script numbers them from these lists (its tables are made
// from them when the page is built).
#define TESSALY_DEVICES(X) X(Keyboard) X(Gamepad) X(Touch)
#define TESSALY_DEVICE(name) name,
enum class Device : std::uint8_t { TESSALY_DEVICES(TESSALY_DEVICE) };
#undef TESSALY_DEVICE

// A gamepad's buttons with a meaning in the game, by their number in the
// standard layout (what the browser's Gamepad API reports, and what SDL's
// game controller buttons are turned into).
#define TESSALY_PAD_BUTTONS(X) \
  X(South, 0)                  \
  X(LeftShoulder, 4)           \
  X(RightShoulder, 5)          \
  X(Start, 9)                  \
  X(DpadUp, 12)                \
  X(DpadDown, 13)              \
  X(DpadLeft, 14)              \
  X(DpadRight, 15)

// The on-screen controls of a touch screen, numbered in this order.
#define TESSALY_TOUCH_CONTROLS(X) X(Left) X(Right) X(Up) X(Down) X(Faster) X(Pause) X(NextPattern) X(PreviousPattern)

namespace pad {
#define TESSALY_PAD_BUTTON(name, number) inline constexpr int name = number;
TESSALY_PAD_BUTTONS(TESSALY_PAD_BUTTON)
#undef TESSALY_PAD_BUTTON
// The left stick's four directions past its dead zone.
inline constexpr int StickLeft = 100, StickRight = 101, StickUp = 102, StickDown = 103;
// How far the stick leans (of 1) before it counts as an arrow held.
inline constexpr double kStickDeadZone = 0.5;
}  // namespace pad

namespace touch {
#define TESSALY_TOUCH_CONTROL(name) name,
enum Control : int { TESSALY_TOUCH_CONTROLS(TESSALY_TOUCH_CONTROL) };
#undef TESSALY_TOUCH_CONTROL
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
