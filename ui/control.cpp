#include "ui/control.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

Control::Control(Kind kind, Control* parent, std::string name)
    : kind_(kind), parent_(parent), name_(std::move(name)) {}

Control::~Control() = default;

Form* Control::OwnerForm() {
  Control* c = this;
  while (c && c->kind_ != Kind::Form) c = c->parent_;
  return static_cast<Form*>(c);
}

void Control::AdoptChild(std::unique_ptr<Control> child) {
  children_.push_back(std::move(child));
  Notify(Prop::Children);
}

Control* Control::Find(const std::string& name) {
  if (name_ == name) return this;
  for (auto& child : children_)
    if (Control* found = child->Find(name)) return found;
  return nullptr;
}

void Control::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Notify(Prop::Caption);
}

void Control::SetHint(const std::string& hint) {
  if (hint_ == hint) return;
  hint_ = hint;
  Notify(Prop::Hint);
}

void Control::SetShowHint(bool show) {
  if (showHint_ == show) return;
  showHint_ = show;
  Notify(Prop::Hint);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Prop::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Prop::Visible);
}

bool Control::Reachable() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_ || !c->visible_) return false;
  return true;
}

void Control::SetBounds(Rect bounds) {
  if (bounds_ == bounds) return;
  bounds_ = bounds;
  Notify(Prop::Bounds);
}

void Control::SetAlign(Align align) {
  align_ = align;
  Notify(Prop::Bounds);
}

const Font& Control::EffectiveFont() const {
  const Control* c = this;
  while (c->parentFont_ && c->parent_) c = c->parent_;
  return c->font_;
}

void Control::SetFont(const Font& font) {
  parentFont_ = false;
  font_ = font;
  Notify(Prop::Font);
}

void Control::SetParentFont() {
  parentFont_ = true;
  Notify(Prop::Font);
}

void Control::SetColor(Color color) {
  if (color_ == color) return;
  color_ = color;
  Notify(Prop::Color);
}

void Control::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  Notify(Prop::Cursor);
}

void Control::Click() { Fire(OnClick); }

void Control::UserClick() {
  if (Reachable()) Click();
}

void Control::Notify(Prop what) {
  if (peer_) peer_->Changed(*this, what);
}

void Control::Fire(const Handler& handler) {
  if (handler) handler(*this);
}

int Strings::Add(const std::string& s) {
  items_.push_back(s);
  Changed();
  return Count() - 1;
}

void Strings::Insert(int index, const std::string& s) {
  items_.insert(items_.begin() + std::clamp(index, 0, Count()), s);
  Changed();
}

void Strings::Delete(int index) {
  (void)items_.at(static_cast<size_t>(index));  // out of range throws, as the class library does
  items_.erase(items_.begin() + index);
  Changed();
}

void Strings::Set(int index, const std::string& s) {
  items_.at(static_cast<size_t>(index)) = s;
  Changed();
}

void Strings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void Strings::Assign(const std::vector<std::string>& items) {
  items_ = items;
  Changed();
}

int Strings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)] == s) return i;
  return -1;
}

}  // namespace ui
