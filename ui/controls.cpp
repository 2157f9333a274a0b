#include "ui/controls.h"

#include <algorithm>
#include <stdexcept>

#include "ui/application.h"

namespace ui {

namespace {
port::Icons* AppIcons() { return Application::Current().Ports().icons; }
}  // namespace

int TabSheet::PageIndex() const {
  if (!Parent()) return -1;
  int index = 0;
  for (auto& c : Parent()->Children()) {
    if (c.get() == this) return index;
    if (c->GetKind() == Kind::TabSheet) ++index;
  }
  return -1;
}

int PageControl::PageCount() const {
  return static_cast<int>(std::count_if(Children().begin(), Children().end(),
                                        [](auto& c) { return c->GetKind() == Kind::TabSheet; }));
}

TabSheet& PageControl::Page(int index) const {
  int i = 0;
  for (auto& c : Children())
    if (c->GetKind() == Kind::TabSheet && i++ == index) return static_cast<TabSheet&>(*c);
  throw std::out_of_range("PageControl::Page");
}

void PageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount() || index == active_) return;
  active_ = index;
  Notify(Prop::ActivePage);
}

void PageControl::UserSelectPage(int index) {
  if (!Reachable() || index < 0 || index >= PageCount() || index == active_) return;
  SetActivePageIndex(index);
  Fire(OnChange);
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Prop::Checked);
  Fire(OnClick);
}

void CheckBox::Click() { SetChecked(!checked_); }

void RadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Prop::Checked);
  if (!checked) return;
  if (Parent())
    for (auto& c : Parent()->Children())
      if (c.get() != this && c->GetKind() == Kind::RadioButton) {
        auto& sibling = static_cast<RadioButton&>(*c);
        if (sibling.checked_) {
          sibling.checked_ = false;
          sibling.Notify(Prop::Checked);
        }
      }
  Fire(OnClick);
}

void RadioButton::Click() {
  if (checked_)
    Fire(OnClick);
  else
    SetChecked(true);
}

void Button::Click() {
  if (ModalResult != mrNone)
    if (Form* form = OwnerForm()) form->SetModalResult(ModalResult);
  Fire(OnClick);
}

Edit::Edit(Kind kind, Control* parent, std::string name) : Control(kind, parent, std::move(name)) {
  SetColor(clWindow);
}

void Edit::SetText(const std::string& text) {
  std::string t = text;
  if (Case == CharCase::Upper)
    std::transform(t.begin(), t.end(), t.begin(), [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
  else if (Case == CharCase::Lower)
    std::transform(t.begin(), t.end(), t.begin(), [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
  if (t == text_) return;
  text_ = t;
  Notify(Prop::Text);
  Fire(OnChange);
}

void Edit::UserType(const std::string& text) {
  if (Reachable() && !ReadOnly) SetText(text);
}

void Edit::UserExit() {
  if (Reachable()) Fire(OnExit);
}

Memo::Memo(Control* parent, std::string name) : Edit(Kind::Memo, parent, std::move(name)) {}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  if (text_.empty()) return lines;
  size_t start = 0;
  for (;;) {
    size_t end = text_.find("\r\n", start);
    lines.push_back(text_.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) t += (i ? "\r\n" : "") + lines[i];
  SetText(t);
}

void UpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  Notify(Prop::Range);
  int clamped = std::clamp<int>(position_, std::min(min_, max_), std::max(min_, max_));
  if (clamped != position_) Move(clamped, clamped > position_ ? UpDownButton::Up : UpDownButton::Down);
}

bool UpDown::Move(int target, UpDownButton direction) {
  const auto newValue = static_cast<int16_t>(std::clamp(target, std::min(min_, max_), std::max(min_, max_)));
  if (newValue == position_) return false;
  bool allow = true;
  if (OnChangingEx) OnChangingEx(*this, allow, newValue, direction);
  if (!allow) return false;
  position_ = newValue;
  Notify(Prop::Position);
  if (associate_) associate_->SetText(std::to_string(position_));
  Fire(OnChange);
  return true;
}

void UpDown::SetPosition(int position) {
  Move(position, position > position_ ? UpDownButton::Up : UpDownButton::Down);
}

void UpDown::UserStep(UpDownButton button) {
  if (!Reachable()) return;
  int target = position_ + (button == UpDownButton::Up ? Increment : -Increment);
  if (Wrap) {
    if (target > max_) target = min_;
    if (target < min_) target = max_;
  }
  Move(target, button);
}

void UpDown::SetAssociate(Edit* edit) {
  associate_ = edit;
  if (associate_) associate_->SetText(std::to_string(position_));
  Notify(Prop::Range);
}

void TrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  Notify(Prop::Range);
  SetPosition(position_);
}

void TrackBar::SetPosition(int position) {
  int p = std::clamp(position, std::min(min_, max_), std::max(min_, max_));
  if (p == position_) return;
  position_ = p;
  Notify(Prop::Position);
  Fire(OnChange);
}

ComboBox::ComboBox(Control* parent, std::string name)
    : Control(Kind::ComboBox, parent, std::move(name)), Items([this] {
        if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
        Notify(Prop::Items);
      }) {
  SetColor(clWindow);
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= Items.Count()) index = -1;
  itemIndex_ = index;
  if (index >= 0)
    text_ = Items[index];
  else if (Style == ComboStyle::DropDownList)
    text_.clear();
  Notify(Prop::ItemIndex);
}

void ComboBox::SetText(const std::string& text) {
  text_ = text;
  if (Style == ComboStyle::DropDownList) {
    itemIndex_ = Items.IndexOf(text);
    if (itemIndex_ < 0) text_.clear();
  }
  Notify(Prop::Text);
}

void ComboBox::UserSelect(int index) {
  if (!Reachable() || index < 0 || index >= Items.Count()) return;
  SetItemIndex(index);
  Fire(OnSelect);
  Fire(OnChange);
}

void ComboBox::UserType(const std::string& text) {
  if (!Reachable() || Style == ComboStyle::DropDownList || text == text_) return;
  text_ = text;
  itemIndex_ = Items.IndexOf(text);
  Notify(Prop::Text);
  Fire(OnChange);
}

ListBox::ListBox(Control* parent, std::string name)
    : Control(Kind::ListBox, parent, std::move(name)), Items([this] {
        if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
        Notify(Prop::Items);
      }) {
  SetColor(clWindow);
}

void ListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Items.Count()) index = -1;
  itemIndex_ = index;
  Notify(Prop::ItemIndex);
}

void ListBox::UserSelect(int index) {
  if (!Reachable()) return;
  SetItemIndex(index);
  Fire(OnClick);
}

int ListView::AddItem(const std::string& caption, int imageIndex, std::vector<std::string> subItems) {
  items_.push_back({caption, imageIndex, std::move(subItems), false});
  Notify(Prop::Items);
  return Count() - 1;
}

void ListView::DeleteItem(int index) {
  (void)items_.at(static_cast<size_t>(index));
  items_.erase(items_.begin() + index);
  if (selected_ == index) selected_ = -1;
  else if (selected_ > index) --selected_;
  Notify(Prop::Items);
}

void ListView::Clear() {
  items_.clear();
  selected_ = -1;
  Notify(Prop::Items);
}

void ListView::SetItemChecked(int index, bool checked) {
  items_.at(static_cast<size_t>(index)).checked = checked;
  Notify(Prop::Checked);
}

void ListView::SetItemCaption(int index, const std::string& caption) {
  items_.at(static_cast<size_t>(index)).caption = caption;
  Notify(Prop::Items);
}

void ListView::SetSelected(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index == selected_) return;
  selected_ = index;
  Notify(Prop::Selection);
}

void ListView::UserClickItem(int index) {
  if (!Reachable()) return;
  SetSelected(index);
  Fire(OnClick);
}

void ListView::UserDblClickItem(int index) {
  if (!Reachable()) return;
  SetSelected(index);
  Fire(OnDblClick);
}

void ListView::UserCheckItem(int index, bool checked) {
  if (!Reachable() || Item(index).checked == checked) return;
  SetItemChecked(index, checked);
  if (OnItemChecked) OnItemChecked(*this, index);
}

void Picture::SetIcon(port::Icons* owner, port::IconHandle icon) {
  Clear();
  if (!icon) return;
  type_ = Type::Icon;
  handle_ = icon;
  owner_ = owner;
}

void Picture::SetBitmap(port::Icons* owner, port::IconHandle bitmap) {
  Clear();
  if (!bitmap) return;
  type_ = Type::Bitmap;
  handle_ = bitmap;
  owner_ = owner;
}

void Picture::Clear() {
  if (owner_ && handle_) {
    if (type_ == Type::Icon) owner_->Destroy(handle_);
    if (type_ == Type::Bitmap) owner_->DestroyBitmap(handle_);
  }
  type_ = Type::Empty;
  handle_ = 0;
  owner_ = nullptr;
}

void Image::SetIcon(port::IconHandle icon) {
  picture_.SetIcon(AppIcons(), icon);
  Notify(Prop::Picture);
}

bool Image::LoadBitmap(const std::string& path) {
  port::Icons* icons = AppIcons();
  port::IconHandle bitmap = icons ? icons->LoadBitmapFile(path) : 0;
  if (!bitmap) return false;
  picture_.SetBitmap(icons, bitmap);
  Notify(Prop::Picture);
  return true;
}

void Image::ClearPicture() {
  picture_.Clear();
  Notify(Prop::Picture);
}

int ImageList::AddIcon(const Picture& picture) {
  port::IconHandle copy = 0;
  if (picture.GetType() == Picture::Type::Icon) {
    owner_ = AppIcons();
    if (owner_) copy = owner_->Copy(picture.Handle());
  }
  icons_.push_back(copy);
  ++version_;
  return Count() - 1;
}

void ImageList::Clear() {
  for (port::IconHandle icon : icons_)
    if (icon && owner_) owner_->Destroy(icon);
  icons_.clear();
  ++version_;
}

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  Notify(Prop::Range);
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  Notify(Prop::Position);
}

void ProgressBar::StepIt() {
  int p = position_ + Step;
  if (p > max_ && max_ > min_) p = min_ + (p - min_) % (max_ - min_);
  position_ = std::clamp(p, min_, max_);
  Notify(Prop::Position);
}

}  // namespace ui
