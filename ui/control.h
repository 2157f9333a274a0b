// The base of every control of the model: name, caption, hint, enabled and
// visible state, bounds, font, colour, cursor, parent and children. A control
// knows no window; the renderer attaches a Peer and hears every change.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// <windows.h> makes these names macros; in a Win32 file include it before
// the ui headers.
#undef RGB
#undef LoadBitmap
#undef MessageBox

namespace ui {

class Control;
class Form;

// A handler gets the control whose event ran (Delphi's Sender).
using Handler = std::function<void(Control& sender)>;

// Binds a method of a form as a handler: ui::Bind(this, &TfoMain::ApplyEnabled).
// The method takes (ui::Control&) or nothing.
template <class T>
Handler Bind(T* self, void (T::*method)(Control&)) {
  return [self, method](Control& sender) { (self->*method)(sender); };
}
template <class T>
Handler Bind(T* self, void (T::*method)()) {
  return [self, method](Control&) { (self->*method)(); };
}

// Colours are COLORREF values (0x00BBGGRR); SysColor(n) names the system
// colour COLOR_n, resolved by the renderer.
using Color = uint32_t;
constexpr Color SysColor(int index) { return 0x80000000u | static_cast<uint32_t>(index); }
constexpr bool IsSysColor(Color c) { return (c & 0x80000000u) != 0; }
constexpr int SysColorIndex(Color c) { return static_cast<int>(c & 0xFFu); }
inline constexpr Color clMenu = SysColor(4);        // COLOR_MENU
inline constexpr Color clWindow = SysColor(5);      // COLOR_WINDOW
inline constexpr Color clWindowText = SysColor(8);  // COLOR_WINDOWTEXT
inline constexpr Color clBtnFace = SysColor(15);    // COLOR_BTNFACE
inline constexpr Color clBlack = 0x000000, clWhite = 0xFFFFFF, clBlue = 0xFF0000, clRed = 0x0000FF;
constexpr Color RGB(int r, int g, int b) {
  return static_cast<Color>(r & 0xFF) | static_cast<Color>((g & 0xFF) << 8) | static_cast<Color>((b & 0xFF) << 16);
}

inline constexpr int kAnsiCharset = 0, kDefaultCharset = 1, kShiftJisCharset = 128;

struct Font {
  std::string name = "ＭＳ Ｐゴシック";
  int charset = kShiftJisCharset;
  int height = -12;  // as LOGFONT: negative = character height in pixels
  bool bold = false, italic = false, underline = false;
  Color color = clWindowText;
  // Point size as the class library counts it (at 96 dots per inch).
  void SetSize(int points) { height = -(points * 96 + 36) / 72; }
  bool operator==(const Font&) const = default;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

enum class Cursor { Default, HandPoint };
enum class Align { None, Top, Bottom, Left, Right, Client };
enum class Alignment { Left, Center, Right };

// What changed, for the renderer.
enum class Prop {
  Caption, Enabled, Visible, Bounds, Font, Color, Cursor, Children,
  Checked, Text, Position, Range, Items, ItemIndex, Selection, Picture, ActivePage, Style, Hint
};

// Implemented by the renderer for each control that has a window.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Changed(Control& control, Prop what) = 0;
};

enum class Kind {
  Form, PageControl, TabSheet, GroupBox, RadioGroup, Panel, Label, StaticText, CheckBox, RadioButton,
  Button, SpeedButton, Edit, Memo, UpDown, TrackBar, ComboBox, ListBox, ListView, Image, ProgressBar
};

class Control {
 public:
  Control(Kind kind, Control* parent, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind GetKind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  Form* OwnerForm();  // the form this control lies on (itself for a form)
  const std::vector<std::unique_ptr<Control>>& Children() const { return children_; }

  // Creates a child; it lives as long as this control. Declaring a form is
  // a series of these: auto& cb = sheet.Add<ui::CheckBox>("cbX", {8, 8, 200, 17}, "caption", "hint");
  template <class T>
  T& Add(std::string name, Rect bounds = {}, std::string caption = {}, std::string hint = {}) {
    auto child = std::make_unique<T>(this, std::move(name));
    T& ref = *child;
    ref.bounds_ = bounds;
    ref.caption_ = std::move(caption);
    ref.hint_ = std::move(hint);
    AdoptChild(std::move(child));
    return ref;
  }
  // Depth-first search by name among the descendants (and itself).
  Control* Find(const std::string& name);
  template <class T>
  T& Get(const std::string& name) { return dynamic_cast<T&>(*Find(name)); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The English text of the control; the language switch makes it the caption.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  // Whether the hint shows as a tooltip while the mouse rests on the control
  // (in both languages: the hint is the English text).
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Enabled and visible up to the form (what a user can reach).
  bool Reachable() const;

  const Rect& Bounds() const { return bounds_; }
  void SetBounds(Rect bounds);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetLeft(int v) { SetBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
  void SetTop(int v) { SetBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
  Align GetAlign() const { return align_; }
  void SetAlign(Align align);

  // The font used: its own once set, else the parent's (ParentFont).
  const Font& EffectiveFont() const;
  bool ParentFont() const { return parentFont_; }
  void SetFont(const Font& font);
  void SetParentFont();  // follow the parent again
  Color GetColor() const { return color_; }
  void SetColor(Color color);
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor);
  int Tag = 0;

  // Every kind can be clicked; kinds with a state of their own (check box,
  // radio button, button) say in their header what a click does.
  Handler OnClick;
  virtual void Click();  // the programmatic click, as a user's click
  // A user's click as the renderer or a test delivers it (only when Reachable).
  virtual void UserClick();

  // The renderer's attachment.
  Peer* GetPeer() const { return peer_; }
  void SetPeer(Peer* peer) { peer_ = peer; }

 protected:
  void Notify(Prop what);
  void Fire(const Handler& handler);  // runs a handler with this as sender

 private:
  void AdoptChild(std::unique_ptr<Control> child);
  Kind kind_;
  Control* parent_;
  std::string name_;
  std::vector<std::unique_ptr<Control>> children_;
  std::string caption_, hint_;
  bool enabled_ = true, visible_ = true, showHint_ = false;
  Rect bounds_;
  Align align_ = Align::None;
  bool parentFont_ = true;
  Font font_;
  Color color_ = clBtnFace;
  Cursor cursor_ = Cursor::Default;
  Peer* peer_ = nullptr;
};

// An ordered list of texts that tells its owner when it changes (the Items
// of list and combo boxes, the Lines of a memo).
class Strings {
 public:
  explicit Strings(std::function<void()> changed = {}) : changed_(std::move(changed)) {}
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int i) const { return items_.at(static_cast<size_t>(i)); }
  const std::vector<std::string>& All() const { return items_; }
  int Add(const std::string& s);  // its index
  void Insert(int index, const std::string& s);
  void Delete(int index);
  void Set(int index, const std::string& s);
  void Clear();
  void Assign(const std::vector<std::string>& items);
  int IndexOf(const std::string& s) const;  // exact match, -1 when absent
  bool operator==(const std::vector<std::string>& other) const { return items_ == other; }

 private:
  void Changed() { if (changed_) changed_(); }
  std::vector<std::string> items_;
  std::function<void()> changed_;
};

}  // namespace ui
