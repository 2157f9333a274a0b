// The control kinds. The event rule of the suite: setting the state of a
// check box, radio button, edit, up-down or track bar from code runs its
// handler exactly as the user's change does, but only when the state or text
// really changes; setting a combo box's item index from code runs nothing.
// Handlers run synchronously, before the setter returns.
#pragma once
#include <optional>

#include "platform/icons.h"
#include "ui/control.h"

namespace ui {

class Edit;
class ImageList;

class TabSheet : public Control {
 public:
  TabSheet(Control* parent, std::string name) : Control(Kind::TabSheet, parent, std::move(name)) {}
  int PageIndex() const;  // its place among the sheets of its page control
};

// A page control's sheets are its TabSheet children, in order.
class PageControl : public Control {
 public:
  PageControl(Control* parent, std::string name) : Control(Kind::PageControl, parent, std::move(name)) {}
  bool MultiLine = false;
  int PageCount() const;
  TabSheet& Page(int index) const;
  int ActivePageIndex() const { return active_; }
  // From code: fires nothing. A user's tab click: OnChange after the switch.
  void SetActivePageIndex(int index);
  void UserSelectPage(int index);
  Handler OnChange;

 private:
  int active_ = 0;
};

class GroupBox : public Control {
 public:
  GroupBox(Control* parent, std::string name) : Control(Kind::GroupBox, parent, std::move(name)) {}
};

// A frame with a caption; radio buttons placed inside it are its children.
class RadioGroup : public Control {
 public:
  RadioGroup(Control* parent, std::string name) : Control(Kind::RadioGroup, parent, std::move(name)) {}
};

enum class Bevel { None, Raised, Lowered };

class Panel : public Control {
 public:
  Panel(Control* parent, std::string name) : Control(Kind::Panel, parent, std::move(name)) {}
  Bevel BevelOuter = Bevel::Raised;
  Bevel BevelInner = Bevel::None;
  Alignment TextAlignment = Alignment::Center;
};

class Label : public Control {
 public:
  Label(Control* parent, std::string name) : Control(Kind::Label, parent, std::move(name)) {}
  Alignment TextAlignment = Alignment::Left;
  bool WordWrap = false;
  bool Transparent = true;
};

// A static text with a sunken border (txIconName).
class StaticText : public Control {
 public:
  StaticText(Control* parent, std::string name) : Control(Kind::StaticText, parent, std::move(name)) {}
  bool Sunken = true;
  Alignment TextAlignment = Alignment::Left;
};

// Click (user or code) toggles the box and runs OnClick; SetChecked runs
// OnClick only when the state changes.
class CheckBox : public Control {
 public:
  CheckBox(Control* parent, std::string name) : Control(Kind::CheckBox, parent, std::move(name)) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

// Exclusive among the radio buttons of one parent. Becoming checked (by
// code or click) unchecks the siblings silently and runs OnClick; setting it
// unchecked from code runs nothing; clicking a checked one runs OnClick only.
class RadioButton : public Control {
 public:
  RadioButton(Control* parent, std::string name) : Control(Kind::RadioButton, parent, std::move(name)) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

// Modal results, as the class library numbers them.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

// Click: the form's modal result := ModalResult (when not mrNone), then OnClick.
class Button : public Control {
 public:
  Button(Control* parent, std::string name) : Control(Kind::Button, parent, std::move(name)) {}
  bool Default = false;  // Return presses it
  bool Cancel = false;   // Escape presses it
  int ModalResult = mrNone;
  void Click() override;

 protected:
  Button(Kind kind, Control* parent, std::string name) : Control(kind, parent, std::move(name)) {}
};

// A flat button that takes no focus; its glyph is a picture of its own.
class SpeedButton : public Button {
 public:
  SpeedButton(Control* parent, std::string name) : Button(Kind::SpeedButton, parent, std::move(name)) {}
  bool Flat = false;
};

enum class CharCase { Normal, Upper, Lower };

// SetText runs OnChange when the text changes (also a user's typing).
// OnExit runs when the focus leaves the edit (the renderer reports it; a
// test calls UserExit), only while the user can reach the edit.
class Edit : public Control {
 public:
  Edit(Control* parent, std::string name) : Edit(Kind::Edit, parent, std::move(name)) {}
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  void UserType(const std::string& text);  // the user's edit: the whole new text
  void UserExit();                          // the focus leaves the edit
  char32_t PasswordChar = 0;                // 0: shown as typed
  CharCase Case = CharCase::Normal;         // applied to every text set
  bool ReadOnly = false;
  int MaxLength = 0;                        // 0: no limit
  // TRightEdit: the window gets ES_MULTILINE | ES_RIGHT, the text stands right.
  bool RightAligned = false;
  Handler OnChange, OnExit;

 protected:
  Edit(Kind kind, Control* parent, std::string name);
  std::string text_;
};

// TRightEdit: a single-line edit that shows its text right-aligned.
class RightEdit : public Edit {
 public:
  RightEdit(Control* parent, std::string name) : Edit(parent, std::move(name)) { RightAligned = true; }
};

// A multi-line edit; Text is the lines joined with "\r\n".
class Memo : public Edit {
 public:
  Memo(Control* parent, std::string name);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  bool WordWrap = true;
  bool ScrollBars = false;
};

enum class Orientation { Horizontal, Vertical };
enum class UpDownButton { Up, Down };

// Position is 16-bit and kept in [Min, Max]. SetPosition (code) or a user's
// step: OnChangingEx first (it may refuse), then the position changes, the
// associated edit shows it in decimal (its OnChange runs when its text
// changes), then OnChange. Nothing runs when the position stays.
class UpDown : public Control {
 public:
  UpDown(Control* parent, std::string name) : Control(Kind::UpDown, parent, std::move(name)) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);  // re-clamps the position (as a change)
  int Increment = 1;
  bool Wrap = false;
  bool Thousands = false;
  Orientation GetOrientation = Orientation::Vertical;
  int16_t Position() const { return position_; }
  void SetPosition(int position);
  void UserStep(UpDownButton button);  // a click on an arrow
  Edit* Associate() const { return associate_; }
  void SetAssociate(Edit* edit);       // the edit shows the position at once
  std::function<void(Control& sender, bool& allowChange, int16_t newValue, UpDownButton direction)> OnChangingEx;
  Handler OnChange;

 private:
  bool Move(int target, UpDownButton direction);
  int min_ = 0, max_ = 100;
  int16_t position_ = 0;
  Edit* associate_ = nullptr;
};

enum class TickMarks { BottomRight, TopLeft, Both };

// Position kept in [Min, Max]; a change (code or user) runs OnChange.
class TrackBar : public Control {
 public:
  TrackBar(Control* parent, std::string name) : Control(Kind::TrackBar, parent, std::move(name)) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int LineSize = 1, PageSize = 2, Frequency = 1;
  TickMarks Ticks = TickMarks::BottomRight;
  Orientation GetOrientation = Orientation::Horizontal;
  int Position() const { return position_; }
  void SetPosition(int position);
  Handler OnChange;

 private:
  int min_ = 0, max_ = 10, position_ = 0;
};

enum class ComboStyle { DropDown, DropDownList };

// SetItemIndex from code runs nothing (Text follows the item). A user's
// choice: OnSelect, then OnChange. Typing into an editable one: OnChange.
class ComboBox : public Control {
 public:
  ComboBox(Control* parent, std::string name);
  ComboStyle Style = ComboStyle::DropDownList;
  Strings Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);  // from code: runs nothing
  void UserSelect(int index);
  void UserType(const std::string& text);
  Handler OnChange, OnSelect;

 private:
  int itemIndex_ = -1;
  std::string text_;
};

// Unsorted. Invisible ones serve as ordered working lists (Items).
class ListBox : public Control {
 public:
  ListBox(Control* parent, std::string name);
  Strings Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);  // from code: runs nothing
  void UserSelect(int index);    // then OnClick
  Handler OnDblClick;

 private:
  int itemIndex_ = -1;
};

enum class ViewStyle { Icon, SmallIcon, List, Report };

struct ListColumn {
  std::string caption;
  int width = 50;
  Alignment alignment = Alignment::Left;
};

struct ListItem {
  std::string caption;
  int imageIndex = -1;
  std::vector<std::string> subItems;
  bool checked = false;
};

// Items with caption and image; one selected item at most (-1: none).
// A user's click sets the selection (or clears it when it hits no item)
// and then runs OnClick; a double click runs OnDblClick.
class ListView : public Control {
 public:
  ListView(Control* parent, std::string name) : Control(Kind::ListView, parent, std::move(name)) {}
  ViewStyle Style = ViewStyle::Icon;
  bool Checkboxes = false;
  bool ReadOnly = true;
  bool RowSelect = false;
  bool HideSelection = false;
  ImageList* LargeImages = nullptr;
  ImageList* SmallImages = nullptr;
  std::vector<ListColumn> Columns;

  int Count() const { return static_cast<int>(items_.size()); }
  const ListItem& Item(int index) const { return items_.at(static_cast<size_t>(index)); }
  int AddItem(const std::string& caption, int imageIndex = -1, std::vector<std::string> subItems = {});
  void DeleteItem(int index);
  void Clear();
  void SetItemChecked(int index, bool checked);  // runs nothing
  void SetItemCaption(int index, const std::string& caption);
  int Selected() const { return selected_; }     // -1: none
  void SetSelected(int index);                   // from code: runs nothing
  void UserClickItem(int index);                 // -1: a click beside the items
  // Selects, then OnDblClick. The first click of a double click comes
  // before it as UserClickItem, as the list view reports it.
  void UserDblClickItem(int index);
  void UserCheckItem(int index, bool checked);   // then OnItemChecked
  Handler OnDblClick;
  std::function<void(Control& sender, int index)> OnItemChecked;

 private:
  std::vector<ListItem> items_;
  int selected_ = -1;
};

// A picture that owns its icon or bitmap handle and destroys it through the
// Icons port when replaced or when the image goes.
class Picture {
 public:
  enum class Type { Empty, Icon, Bitmap };
  Picture() = default;
  ~Picture() { Clear(); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  Type GetType() const { return type_; }
  bool Empty() const { return type_ == Type::Empty; }
  port::IconHandle Handle() const { return handle_; }
  // Takes ownership; a 0 handle gives an empty picture.
  void SetIcon(port::Icons* owner, port::IconHandle icon);
  void SetBitmap(port::Icons* owner, port::IconHandle bitmap);
  void Clear();

 private:
  Type type_ = Type::Empty;
  port::IconHandle handle_ = 0;
  port::Icons* owner_ = nullptr;
};

class Image : public Control {
 public:
  Image(Control* parent, std::string name) : Control(Kind::Image, parent, std::move(name)) {}
  const Picture& GetPicture() const { return picture_; }
  // Through the application's Icons port, which destroys the handle later.
  void SetIcon(port::IconHandle icon);
  // Loads a bitmap file; false (picture unchanged) when it cannot be read.
  bool LoadBitmap(const std::string& path);
  void ClearPicture();
  bool Stretch = false;
  bool Center = false;

 private:
  Picture picture_;
};

// Images of one size. An empty picture adds an empty image, so that image i
// stays at position i. The list owns copies of the icons it was given.
class ImageList {
 public:
  ImageList(int width = 32, int height = 32) : Width(width), Height(height) {}
  ~ImageList() { Clear(); }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  int Width, Height;
  int Count() const { return static_cast<int>(icons_.size()); }
  port::IconHandle Icon(int index) const { return icons_.at(static_cast<size_t>(index)); }  // 0: empty image
  int AddIcon(const Picture& picture);  // its index
  void Clear();
  // Bumped on every change, so that the renderer knows when to rebuild.
  unsigned Version() const { return version_; }

 private:
  std::vector<port::IconHandle> icons_;
  port::Icons* owner_ = nullptr;
  unsigned version_ = 0;
};

// StepIt adds Step and starts over from Min once it passes Max, as the
// standard progress control does; SetPosition clamps to [Min, Max].
class ProgressBar : public Control {
 public:
  ProgressBar(Control* parent, std::string name) : Control(Kind::ProgressBar, parent, std::move(name)) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Step = 10;
  bool Smooth = false;
  int Position() const { return position_; }
  void SetPosition(int position);
  void StepIt();

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace ui
