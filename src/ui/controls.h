#pragma once
// Every object of the window, built with the settings the window opens with,
// and the order in which they are stacked.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/platform.h"
#include "ui/screen_object.h"
#include "ui/text_measure.h"
#include "ui/timer.h"

namespace tessaly {

// The push buttons by name: what a click names and a replay log records.
namespace button {
inline constexpr std::string_view pause = "pause";
inline constexpr std::string_view gameover = "gameover";
inline constexpr std::string_view nextlevel = "nextlevel";
inline constexpr std::array<std::string_view, 3> all{pause, gameover, nextlevel};
}  // namespace button

// The paddles by index in `Controls::paddle`. The bottom and top ones form the
// horizontal pair, the left and right ones the vertical pair; a pair always
// moves together.
namespace paddle {
inline constexpr int bottom = 0;
inline constexpr int top = 1;
inline constexpr int left = 2;
inline constexpr int right = 3;
inline constexpr std::array<int, 2> horizontalPair{bottom, top};
inline constexpr std::array<int, 2> verticalPair{left, right};
}  // namespace paddle

// The spare-ball markers: one for each spare ball a player can hold. A game
// starts with the first few, so those show as the window opens.
inline constexpr int kLifeMarkers = 8;
inline constexpr int kLifeMarkersAtOpen = 3;

// What an object tells its window when it changes, and what it asks of it.
class ObjectHost {
 public:
  virtual ~ObjectHost() = default;
  // A setting of `object` that shows on screen is about to change.
  virtual void changing(ScreenObject& object) = 0;
  virtual TextMeasurer& measurer() = 0;
};

// An object that changed since the front end last took the changes, and
// where it showed before (nothing if it was hidden).
struct ObjectChange {
  const ScreenObject* object = nullptr;
  Rect was;
};

class Controls final : public ObjectHost {
 public:
  Controls(const Clock& clock, TextMeasurer& measurer);
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;

  ScreenObject board;
  ObjectArray paddle{"paddle"};  // by paddle:: index
  ScreenObject ball;
  ObjectArray life{"life"};  // spare-ball markers, 0 to kLifeMarkers - 1
  ScreenObject logobox;
  ObjectArray brick{"brick"};  // 0 is the hidden template; 1..625 cover the board
  ScreenObject showscore;
  ScreenObject highscore;
  ScreenObject numbricks;
  ScreenObject logo;
  ScreenObject Label3;
  ScreenObject Label7;
  ScreenObject Label2;
  ScreenObject Label4;
  ScreenObject Label5;
  ScreenObject pause;
  ScreenObject gameover;
  ScreenObject nextlevel;
  Timer Timer1;
  Timer Timer2;

  // Creates brick `n` as a hidden copy of brick 0, placed behind nothing yet.
  ScreenObject& createBrick(int n);
  void bringToFront(const ScreenObject& object);

  // Shapes and labels from back to front.
  std::span<ScreenObject* const> drawOrder() const { return drawOrder_; }
  // The push buttons from back to front; they lie in front of every drawn object.
  std::span<ScreenObject* const> buttons() const { return buttons_; }
  // The button with that name, or null.
  ScreenObject* button(std::string_view name);

  // Bumped by every change that shows on screen: the front end repaints only
  // when it moves, so a paused or finished game costs nothing.
  std::uint64_t revision() const { return revision_; }

  // The objects that changed since the front end last took them, each once:
  // a frame looks at these few rather than at every brick. Taking them is
  // the drawing's bookkeeping, not a change to the window.
  std::span<const ObjectChange> changes() const { return changes_; }
  void takeChanges() const;
  // Differs from every earlier value, of this window or any other, once the
  // objects are stacked anew (a brick made or brought to the front): then
  // the changes alone cannot say what to repaint.
  std::uint64_t stacking() const;

  void changing(ScreenObject& object) override;
  TextMeasurer& measurer() override { return *measurer_; }

 private:
  void restacked();

  TextMeasurer* measurer_;
  std::vector<ScreenObject*> drawOrder_;
  std::array<ScreenObject*, 3> buttons_;
  std::uint64_t revision_ = 0;
  mutable std::uint64_t stacking_ = 0;
  mutable bool restacked_ = true;  // since stacking() last gave a number
  mutable std::vector<ObjectChange> changes_;
};

}  // namespace tessaly
