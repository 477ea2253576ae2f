#include "ui/screen_object.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "ui/controls.h"

namespace tessaly {

Rect unite(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const float left = std::min(a.left, b.left);
  const float top = std::min(a.top, b.top);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

ScreenObject::ScreenObject(ObjectHost& host, const ObjectSettings& settings)
    : host_(&host),
      name_(settings.name),
      index_(settings.index),
      look_(settings.look),
      bounds_(settings.bounds),
      back_(settings.back),
      caption_(settings.caption),
      visible_(settings.visible) {}

void ScreenObject::setBounds(const Rect& next) {
  if (next == bounds_) return;
  if (visible_) host_->changing(*this);
  bounds_ = next;
}

void ScreenObject::setLeft(float v) { setBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
void ScreenObject::setTop(float v) { setBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
void ScreenObject::setWidth(float v) { setBounds({bounds_.left, bounds_.top, v, bounds_.height}); }
void ScreenObject::setHeight(float v) { setBounds({bounds_.left, bounds_.top, bounds_.width, v}); }
void ScreenObject::move(float left, float top) { setBounds({left, top, bounds_.width, bounds_.height}); }

void ScreenObject::setVisible(bool v) {
  if (v == visible_) return;
  host_->changing(*this);
  visible_ = v;
}

void ScreenObject::setCaption(std::string_view text) {
  if (text == caption_) return;
  if (visible_) host_->changing(*this);
  caption_.assign(text);
  if (look_.autoSize) fitCaption();
}

void ScreenObject::fitCaption() {
  const TextSize size = host_->measurer().measure(look_.font, caption_);
  bounds_.width = size.width;
  bounds_.height = size.height;
}

void ScreenObject::setBackColor(Color c) {
  if (c == back_) return;
  if (visible_) host_->changing(*this);
  back_ = c;
}

ScreenObject::ScreenObject(const ScreenObject& model, int index) : ScreenObject(model) {
  index_ = index;
  visible_ = false;
  noted_ = false;
}

void ObjectArray::noMember(int index) const {
  throw std::out_of_range(std::string(name_) + "(" + std::to_string(index) + ") does not exist");
}

int ObjectArray::count() const {
  return static_cast<int>(std::count_if(members_.begin(), members_.end(), [](const ScreenObject* m) { return m; }));
}

std::optional<ScreenObject>& ObjectArray::freeSlot(int index) {
  if (index < 0 || exists(index)) throw std::out_of_range(std::string(name_) + ": member index taken or negative");
  const auto at = static_cast<std::size_t>(index);
  while (blocks_.size() * kBlock <= at) {
    // Default-initialised: each slot made empty, not its whole storage zeroed.
    blocks_.push_back(std::unique_ptr<Block>(new Block));
    members_.reserve(blocks_.size() * kBlock);  // one allocation a block, as for the members
  }
  while (members_.size() <= at) members_.push_back(nullptr);  // one at a time as bricks are made: no fill to call
  return (*blocks_[at / kBlock])[at % kBlock];
}

template <typename... Args>
ScreenObject& ObjectArray::emplace(int index, Args&&... args) {
  ScreenObject& made = freeSlot(index).emplace(std::forward<Args>(args)...);
  members_[static_cast<std::size_t>(index)] = &made;
  return made;
}

ScreenObject& ObjectArray::add(ScreenObject member) { return emplace(member.index(), std::move(member)); }

ScreenObject& ObjectArray::create(int index) {
  if (index < 1) noMember(index);
  if (exists(index)) throw std::out_of_range(std::string(name_) + "(" + std::to_string(index) + ") already exists");
  const ScreenObject& model = (*this)(0);
  return emplace(index, model, index);  // made in place: bricks are many
}

}  // namespace tessaly
