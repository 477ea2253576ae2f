#pragma once
// The window's drawn objects: filled shapes, text labels and push buttons,
// each with its settings in twips. Changes go through setters so that the
// window knows what to repaint.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(Color, Color) = default;
};

// The system colours of a dialog window: its face (a light grey) and its text.
inline constexpr Color kFaceColor{240, 240, 240};
inline constexpr Color kTextColor{0, 0, 0};

enum class ObjectKind : std::uint8_t { Shape, Label, Button };
enum class ShapeForm : std::uint8_t { Rectangle, RoundedRectangle, Circle };
enum class Alignment : std::uint8_t { Left, Right, Center };

struct Font {
  std::string_view face;  // the face the game asks for; the front end finds the nearest installed one
  float size = 0;         // points
  bool bold = false;
  int charset = 0;  // 0 western, 134 GB2312
  friend bool operator==(const Font&, const Font&) = default;
};

struct Rect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  float right() const { return left + width; }
  float bottom() const { return top + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The smallest rectangle holding both.
Rect unite(const Rect& a, const Rect& b);

// The settings that stay as the window built them.
struct Look {
  ObjectKind kind = ObjectKind::Shape;
  ShapeForm form = ShapeForm::Rectangle;  // shapes
  Color outline = kTextColor;             // shapes
  int outlineWidth = 1;                   // shapes, in pixels
  Color textColor = kTextColor;           // labels
  bool transparentBack = false;           // labels
  bool border = false;                    // labels: a single line
  Alignment alignment = Alignment::Left;  // labels
  bool autoSize = false;                  // labels take the size of their caption
  Font font{};                            // labels and buttons
};

// The settings an object opens with, given by name in the window's table.
struct ObjectSettings {
  std::string_view name{};
  int index = -1;  // -1 outside an object array
  Look look{};
  Rect bounds{};
  Color back = kFaceColor;  // the fill of a shape, the back of a label
  std::string_view caption{};
  bool visible = true;
};

class ObjectHost;

class ScreenObject {
 public:
  ScreenObject(ObjectHost& host, const ObjectSettings& settings);

  std::string_view name() const { return name_; }
  int index() const { return index_; }  // -1 outside an object array
  const Look& look() const { return look_; }
  ObjectKind kind() const { return look_.kind; }

  float left() const { return bounds_.left; }
  float top() const { return bounds_.top; }
  float width() const { return bounds_.width; }
  float height() const { return bounds_.height; }
  const Rect& bounds() const { return bounds_; }
  bool visible() const { return visible_; }
  const std::string& caption() const { return caption_; }
  // The fill of a shape, the back of a label.
  Color backColor() const { return back_; }

  void setLeft(float v);
  void setTop(float v);
  void setWidth(float v);
  void setHeight(float v);
  void move(float left, float top);  // Left and Top together, size unchanged
  void setBounds(const Rect& next);  // Left, Top, Width and Height together
  void setVisible(bool v);
  void setCaption(std::string_view text);
  void setBackColor(Color c);

  // A member of the same array, made from `model`: every setting copied,
  // hidden, with its own index.
  ScreenObject(const ScreenObject& model, int index);

 private:
  void fitCaption();

  friend class Controls;  // keeps `noted_` as it lists the objects that changed

  ObjectHost* host_;
  std::string_view name_;
  int index_;
  Look look_;
  Rect bounds_;
  Color back_;
  std::string caption_;
  bool visible_;
  mutable bool noted_ = false;  // listed among the changes the front end has yet to take: bookkeeping
};

// An indexed set of like objects (`paddle`, `life`, `brick`). Asking for a
// member that does not exist throws std::out_of_range: never a silent read.
class ObjectArray {
 public:
  explicit ObjectArray(std::string_view name) : name_(name) {}

  // Inline, one lookup in a table of pointers: the game reads a brick of 625
  // many times a tick.
  ScreenObject& operator()(int index) {
    if (!exists(index)) noMember(index);
    return *members_[static_cast<std::size_t>(index)];
  }
  const ScreenObject& operator()(int index) const {
    if (!exists(index)) noMember(index);
    return *members_[static_cast<std::size_t>(index)];
  }
  bool exists(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < members_.size() && members_[static_cast<std::size_t>(index)];
  }
  int count() const;  // members that exist
  int upperBound() const { return static_cast<int>(members_.size()) - 1; }

  // Adds a member that the window builds with the array.
  ScreenObject& add(ScreenObject member);
  // Creates member `index` as a hidden copy of member 0; an index that is
  // taken, below 1, or without a member 0 throws std::out_of_range.
  ScreenObject& create(int index);

 private:
  // Members live in blocks, so that making a board's 625 bricks takes ten
  // allocations rather than one a brick, and a member never moves once made.
  static constexpr int kBlock = 64;
  using Block = std::array<std::optional<ScreenObject>, kBlock>;
  [[noreturn]] void noMember(int index) const;
  std::optional<ScreenObject>& freeSlot(int index);
  // Makes member `index` in its free slot and lists it in the table.
  template <typename... Args>
  ScreenObject& emplace(int index, Args&&... args);

  std::string_view name_;
  std::vector<std::unique_ptr<Block>> blocks_;  // empty slots where no member was made
  std::vector<ScreenObject*> members_;          // by index up to the highest made; null where none was
};

}  // namespace tessaly
