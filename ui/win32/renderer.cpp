#include <windows.h>
#include <commctrl.h>

#include "ui/win32/renderer.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>

#include "platform/text.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"SuiteForm";
constexpr wchar_t kPanelClass[] = L"SuitePanel";
constexpr wchar_t kImageClass[] = L"SuiteImage";
// The control's name as a global atom, so that the GUI test driver of another
// process finds a control by the name the code gives it.
constexpr wchar_t kNameProp[] = L"SuiteName";
// Set on a control whose caption does not fit and cannot grow: it shows the
// words that fit and its tooltip the whole text (the GUI test reports them).
constexpr wchar_t kCutProp[] = L"SuiteCut";
// The control's font as "height|weight|italic|charset|face" (a global atom),
// so that the GUI test measures a caption in the font it is drawn in.
constexpr wchar_t kFontProp[] = L"SuiteFont";
constexpr UINT kSyncMessage = WM_APP + 1;  // a list view's deferred refresh

std::wstring Wide(const std::string& s) {
  std::u16string w = port::Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}
std::string Narrow(const std::wstring& w) { return port::Utf16ToUtf8(std::u16string(w.begin(), w.end())); }

std::string WindowText(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(w, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return Narrow(s);
}

COLORREF ToColorRef(Color c) { return IsSysColor(c) ? GetSysColor(SysColorIndex(c)) : static_cast<COLORREF>(c); }

LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

// The nodes of this program's windows. A window's own properties would do,
// but reading one asks the window system's server, on every message.
std::unordered_map<HWND, Renderer::Node*>& Nodes() {
  static std::unordered_map<HWND, Renderer::Node*> nodes;
  return nodes;
}

}  // namespace

// One window of one control; the model's Peer for that control.
struct Renderer::Node : Peer {
  Renderer* renderer = nullptr;
  Application* app = nullptr;
  Control* control = nullptr;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
  HWND hwnd = nullptr;
  WNDPROC oldProc = nullptr;
  int pushing = 0;     // >0 while the model writes to the window: its notifications are echoes
  int fromWindow = 0;  // >0 while the window's state goes into the model: nothing to push back
  bool syncPending = false;
  HFONT font = nullptr;  // shared: one font for each description, kept while the program runs
  HBRUSH brush = nullptr;
  COLORREF brushColor = 0;
  HIMAGELIST imageList = nullptr;
  UINT id = 0;
  ATOM nameAtom = 0;
  HWND tip = nullptr;    // the form's tooltip window (root nodes only)
  bool tipShown = false;  // this control has its tools in the form's tooltip
  bool cut = false;       // its caption is shown cut at a word, the whole in the tooltip
  bool deferred = false;  // a tab sheet whose controls get windows when it is first shown
  bool unmade = false;    // a hidden control (and its children): its window is made when it is first shown
  DWORD barPainted = 0;   // a progress bar's last immediate repaint (GetTickCount), 0 before the first

  ~Node() override {
    if (control) control->SetPeer(nullptr);
    if (hwnd) Nodes().erase(hwnd);
    if (nameAtom) GlobalDeleteAtom(nameAtom);
    if (brush) DeleteObject(brush);
    if (imageList) ImageList_Destroy(imageList);
  }

  void Changed(Control& c, Prop what) override;

  // The window that holds the children of this control.
  HWND ChildParent() const { return hwnd; }
  Node* FindChild(HWND w) {
    for (auto& ch : children) {
      if (ch->hwnd == w) return ch.get();
      if (Node* n = ch->FindChild(w)) return n;
    }
    return nullptr;
  }
  Node* FindNode(const Control* c) {
    if (control == c) return this;
    for (auto& ch : children)
      if (Node* n = ch->FindNode(c)) return n;
    return nullptr;
  }
  HBRUSH Brush() {
    COLORREF color = ToColorRef(control->GetColor());
    if (!brush || brushColor != color) {
      if (brush) DeleteObject(brush);
      brush = CreateSolidBrush(color);
      brushColor = color;
    }
    return brush;
  }
};

namespace {

using Node = Renderer::Node;

Node* NodeOf(HWND w) {
  auto it = Nodes().find(w);
  return it == Nodes().end() ? nullptr : it->second;
}

// Ties a new window to its node, and unties it as the window goes.
void Attach(Node& n) { Nodes()[n.hwnd] = &n; }
void Detach(Node& n) {
  Nodes().erase(n.hwnd);
  n.hwnd = nullptr;
}

// Names a window for the GUI driver, once it shows the model's state: a
// driver never finds a window that is still being made.
void Name(Node& n) {
  if (!n.control->Name().empty()) {
    n.nameAtom = GlobalAddAtomW(Wide(n.control->Name()).c_str());
    if (n.nameAtom) SetPropW(n.hwnd, kNameProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(n.nameAtom)));
  }
}

// Runs a user event as the application dispatches it.
template <class F>
void User(Node& n, F&& f) {
  n.app->Dispatch(n.control, std::forward<F>(f));
}

HFONT MakeFont(const Font& f) {
  LOGFONTW lf{};
  lf.lfHeight = f.height;
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfCharSet = static_cast<BYTE>(f.charset);
  lf.lfQuality = DEFAULT_QUALITY;
  std::wstring name = Wide(f.name);
  wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

void FitCaption(Node& n);

// The fonts in use, one for each description, with the atom that tells the
// GUI driver the description. A window program uses a handful of fonts: they
// are kept while it runs.
struct SharedFont {
  HFONT font = nullptr;
  ATOM atom = 0;
};
const SharedFont& FontFor(const Font& f) {
  static std::map<std::string, SharedFont> fonts;
  std::string described = std::to_string(f.height) + "|" + (f.bold ? "700" : "400") + "|" + (f.italic ? "1" : "0") + "|" +
                          std::to_string(f.charset) + "|" + f.name;
  std::string key = described + (f.underline ? "|u" : "");
  auto it = fonts.find(key);
  if (it == fonts.end())
    it = fonts.emplace(key, SharedFont{MakeFont(f), GlobalAddAtomW(Wide(described).c_str())}).first;
  return it->second;
}

void ApplyFont(Node& n) {
  if (!n.hwnd) return;  // made later, in the font of then
  const SharedFont& f = FontFor(n.control->EffectiveFont());
  if (n.font != f.font) {
    SendMessageW(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(f.font), IsWindowVisible(n.hwnd));
    n.font = f.font;
    SetPropW(n.hwnd, kFontProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(f.atom)));
  }
  FitCaption(n);
  for (auto& ch : n.children) ApplyFont(*ch);
}

// The rectangle of a control in its parent window, with alignment applied.
RECT Placement(Node& n) {
  Rect b = n.control->Bounds();
  RECT r{b.left, b.top, b.left + b.width, b.top + b.height};
  if (n.control->GetAlign() != Align::None && n.parent) {
    RECT pc;
    GetClientRect(n.parent->hwnd, &pc);
    switch (n.control->GetAlign()) {
      case Align::Top: r = {0, 0, pc.right, b.height}; break;
      case Align::Bottom: r = {0, pc.bottom - b.height, pc.right, pc.bottom}; break;
      case Align::Left: r = {0, 0, b.width, pc.bottom}; break;
      case Align::Right: r = {pc.right - b.width, 0, pc.right, pc.bottom}; break;
      case Align::Client: r = pc; break;
      case Align::None: break;
    }
  }
  if (n.control->GetKind() == Kind::TabSheet && n.parent) {  // a sheet fills its tab control's display area
    GetClientRect(n.parent->hwnd, &r);
    TabCtrl_AdjustRect(n.parent->hwnd, FALSE, &r);
  }
  return r;
}

bool SheetShown(Node& n) {
  auto& sheet = static_cast<TabSheet&>(*n.control);
  auto* pages = static_cast<PageControl*>(sheet.Parent());
  return sheet.Visible() && pages && pages->ActivePageIndex() == sheet.PageIndex();
}

// Whether the control's own window shows, as the model says (its parents aside).
bool ShownInModel(Node& n) {
  return n.control->Visible() && (n.control->GetKind() != Kind::TabSheet || SheetShown(n));
}

// A window without frame, edge or scroll bar has nothing to paint outside
// its client area: its WM_NCPAINT is answered without the default work.
bool NoFrame(HWND w) {
  constexpr LONG_PTR kFrame = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
  constexpr LONG_PTR kEdge = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
  return !(GetWindowLongPtrW(w, GWL_STYLE) & kFrame) && !(GetWindowLongPtrW(w, GWL_EXSTYLE) & kEdge);
}

DWORD AlignStyle(Alignment a, DWORD left, DWORD center, DWORD right) {
  return a == Alignment::Center ? center : a == Alignment::Right ? right : left;
}

void SyncList(Node& n);
void SyncStrings(Node& n);
void PushState(Node& n);

void CreateWindowFor(Node& n, HINSTANCE inst) {
  Control& c = *n.control;
  const wchar_t* cls = kPanelClass;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS, ex = 0;
  switch (c.GetKind()) {
    case Kind::Form: return;
    case Kind::PageControl:
      cls = WC_TABCONTROLW;
      style |= WS_TABSTOP | WS_CLIPCHILDREN | (static_cast<PageControl&>(c).MultiLine ? TCS_MULTILINE : 0);
      break;
    case Kind::TabSheet: cls = kPanelClass; style |= WS_CLIPCHILDREN; break;
    case Kind::GroupBox:
    case Kind::RadioGroup:
      // A group box paints only its frame and caption: its inside is erased
      // in SubclassProc, around the controls it holds.
      cls = WC_BUTTONW;
      style |= BS_GROUPBOX | WS_CLIPCHILDREN;
      break;
    case Kind::Panel: cls = kPanelClass; break;
    case Kind::Label: {
      auto& l = static_cast<Label&>(c);
      cls = WC_STATICW;
      style |= SS_NOTIFY | AlignStyle(l.TextAlignment, l.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP, SS_CENTER, SS_RIGHT);
      break;
    }
    case Kind::StaticText: {
      auto& t = static_cast<StaticText&>(c);
      cls = WC_STATICW;
      style |= SS_NOTIFY | SS_NOPREFIX | (t.Sunken ? SS_SUNKEN : 0) | AlignStyle(t.TextAlignment, SS_LEFT, SS_CENTER, SS_RIGHT);
      break;
    }
    case Kind::CheckBox: cls = WC_BUTTONW; style |= WS_TABSTOP | BS_CHECKBOX; break;
    case Kind::RadioButton: cls = WC_BUTTONW; style |= WS_TABSTOP | BS_RADIOBUTTON; break;
    case Kind::Button:
    case Kind::SpeedButton: {
      auto& b = static_cast<Button&>(c);
      cls = WC_BUTTONW;
      style |= (c.GetKind() == Kind::Button ? WS_TABSTOP : 0) | (b.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      if (c.GetKind() == Kind::SpeedButton && static_cast<SpeedButton&>(c).Flat) style |= BS_FLAT;
      break;
    }
    case Kind::Edit:
    case Kind::Memo: {
      auto& e = static_cast<Edit&>(c);
      cls = WC_EDITW;
      ex = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP;
      if (c.GetKind() == Kind::Memo) {
        auto& m = static_cast<Memo&>(c);
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (m.WordWrap ? 0 : ES_AUTOHSCROLL | WS_HSCROLL) |
                 (m.ScrollBars ? WS_VSCROLL : 0);
      } else {
        style |= ES_AUTOHSCROLL | (e.RightAligned ? ES_MULTILINE | ES_RIGHT : 0);
      }
      if (e.PasswordChar) style |= ES_PASSWORD;
      if (e.Case == CharCase::Upper) style |= ES_UPPERCASE;
      if (e.Case == CharCase::Lower) style |= ES_LOWERCASE;
      if (e.ReadOnly) style |= ES_READONLY;
      break;
    }
    case Kind::UpDown: {
      auto& u = static_cast<UpDown&>(c);
      cls = UPDOWN_CLASSW;
      style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS | (u.Associate() ? UDS_ALIGNRIGHT : 0) | (u.Wrap ? UDS_WRAP : 0) |
               (u.GetOrientation == Orientation::Horizontal ? UDS_HORZ : 0);
      break;
    }
    case Kind::TrackBar: {
      auto& t = static_cast<TrackBar&>(c);
      cls = TRACKBAR_CLASSW;
      style |= WS_TABSTOP | TBS_AUTOTICKS;
      if (t.GetOrientation == Orientation::Vertical) style |= TBS_VERT;
      style |= t.Ticks == TickMarks::Both ? TBS_BOTH : t.Ticks == TickMarks::TopLeft ? TBS_TOP : TBS_BOTTOM;
      break;
    }
    case Kind::ComboBox:
      cls = WC_COMBOBOXW;
      style |= WS_TABSTOP | WS_VSCROLL |
               (static_cast<ComboBox&>(c).Style == ComboStyle::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
      break;
    case Kind::ListBox:
      cls = WC_LISTBOXW;
      ex = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      break;
    case Kind::ListView: {
      auto& l = static_cast<ListView&>(c);
      cls = WC_LISTVIEWW;
      ex = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | (l.HideSelection ? 0 : LVS_SHOWSELALWAYS) |
               (l.ReadOnly ? 0 : LVS_EDITLABELS);
      switch (l.Style) {
        case ViewStyle::Icon: style |= LVS_ICON | LVS_AUTOARRANGE; break;
        case ViewStyle::SmallIcon: style |= LVS_SMALLICON | LVS_AUTOARRANGE; break;
        case ViewStyle::List: style |= LVS_LIST; break;
        case ViewStyle::Report: style |= LVS_REPORT; break;
      }
      break;
    }
    case Kind::Image: cls = kImageClass; break;
    case Kind::ProgressBar:
      cls = PROGRESS_CLASSW;
      style |= static_cast<ProgressBar&>(c).Smooth ? PBS_SMOOTH : 0;
      break;
  }
  RECT r = Placement(n);
  int height = r.bottom - r.top;
  if (c.GetKind() == Kind::ComboBox) height += 200;  // room for the drop-down list
  // Under a parent that is not shown yet, a control that shows is made shown:
  // one step less for each window of a new form.
  if (ShownInModel(n) && !IsWindowVisible(n.parent->hwnd)) style |= WS_VISIBLE;
  std::wstring text = c.GetKind() == Kind::Edit || c.GetKind() == Kind::Memo ? std::wstring() : Wide(c.Caption());
  n.hwnd = CreateWindowExW(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, height, n.parent->hwnd,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(n.id)), inst, nullptr);
  if (!n.hwnd) return;
  Attach(n);
  if (cls != kPanelClass && cls != kImageClass)
    n.oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(n.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  c.SetPeer(&n);

  ++n.pushing;
  switch (c.GetKind()) {
    case Kind::Edit:
    case Kind::Memo: {
      auto& e = static_cast<Edit&>(c);
      if (e.PasswordChar) SendMessageW(n.hwnd, EM_SETPASSWORDCHAR, e.PasswordChar, 0);
      if (e.MaxLength) SendMessageW(n.hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(e.MaxLength), 0);
      break;
    }
    case Kind::ListView: {
      auto& l = static_cast<ListView&>(c);
      if (l.Checkboxes || l.RowSelect)
        SendMessageW(n.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     (l.Checkboxes ? LVS_EX_CHECKBOXES : 0) | (l.RowSelect ? LVS_EX_FULLROWSELECT : 0));
      for (size_t i = 0; i < l.Columns.size(); ++i) {
        std::wstring cap = Wide(l.Columns[i].caption);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = cap.data();
        col.cx = l.Columns[i].width;
        col.fmt = AlignStyle(l.Columns[i].alignment, LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT);
        SendMessageW(n.hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
      }
      break;
    }
    case Kind::TrackBar: {
      auto& t = static_cast<TrackBar&>(c);
      SendMessageW(n.hwnd, TBM_SETLINESIZE, 0, t.LineSize);
      SendMessageW(n.hwnd, TBM_SETPAGESIZE, 0, t.PageSize);
      SendMessageW(n.hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(t.Frequency), 0);
      break;
    }
    case Kind::ProgressBar:
      SendMessageW(n.hwnd, PBM_SETSTEP, static_cast<WPARAM>(static_cast<ProgressBar&>(c).Step), 0);
      break;
    default: break;
  }
  --n.pushing;
  PushState(n);
  Name(n);
}

// Puts the whole state of the model into the window (after creation).
void PushState(Node& n) {
  for (Prop p : {Prop::Range, Prop::Items, Prop::Text, Prop::Position, Prop::ItemIndex, Prop::Checked, Prop::Enabled, Prop::Hint})
    n.Changed(*n.control, p);
  if (n.control->GetKind() != Kind::Form) {
    bool shown = ShownInModel(n);
    if (shown != ((GetWindowLongPtrW(n.hwnd, GWL_STYLE) & WS_VISIBLE) != 0)) ShowWindow(n.hwnd, shown ? SW_SHOWNA : SW_HIDE);
  }
}

UINT nextId = 100;  // control ids, unique in the program (1 and 2 stay IDOK and IDCANCEL)

Node& Build(Renderer* r, Application& app, Node& parent, Control& c, HINSTANCE inst) {
  auto node = std::make_unique<Node>();
  node->renderer = r;
  node->app = &app;
  node->control = &c;
  node->parent = &parent;
  node->id = nextId++;
  Node& n = *node;
  parent.children.push_back(std::move(node));
  // A hidden control (a working list, say) gets its window when first shown.
  if (!c.Visible() && c.GetKind() != Kind::TabSheet && c.GetKind() != Kind::Form) {
    n.unmade = true;
    c.SetPeer(&n);
    return n;
  }
  CreateWindowFor(n, inst);
  if (c.GetKind() == Kind::PageControl) {
    auto& pc = static_cast<PageControl&>(c);
    for (int i = 0; i < pc.PageCount(); ++i) {
      std::wstring cap = Wide(pc.Page(i).Caption());
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = cap.data();
      SendMessageW(n.hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    ApplyFont(n);  // the display area depends on the tab font
    SendMessageW(n.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(pc.ActivePageIndex()), 0);
  }
  // A sheet that is not shown gets the windows of its controls when it is
  // first shown: the model holds their state until then.
  if (c.GetKind() == Kind::TabSheet && !SheetShown(n)) {
    n.deferred = true;
    return n;
  }
  for (auto& child : c.Children()) Build(r, app, n, *child, inst);
  return n;
}

void ConnectBuddies(Node& n);

// The window of a hidden control, made when it is first shown.
void MakeWindow(Node& n) {
  n.unmade = false;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  CreateWindowFor(n, inst);
  for (auto& child : n.control->Children()) Build(n.renderer, *n.app, n, *child, inst);
  ConnectBuddies(n);
  ApplyFont(n);
}

// The windows of a sheet's controls, made when the sheet is first shown.
void BuildDeferred(Node& sheet) {
  if (!sheet.deferred || !sheet.hwnd) return;
  sheet.deferred = false;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  size_t first = sheet.children.size();
  for (auto& child : sheet.control->Children()) Build(sheet.renderer, *sheet.app, sheet, *child, inst);
  for (size_t i = first; i < sheet.children.size(); ++i) {
    ConnectBuddies(*sheet.children[i]);
    ApplyFont(*sheet.children[i]);
  }
}

void ConnectBuddies(Node& n) {
  if (n.control->GetKind() == Kind::UpDown) {
    auto& u = static_cast<UpDown&>(*n.control);
    Node* root = &n;
    while (root->parent) root = root->parent;
    if (Node* buddy = u.Associate() ? root->FindNode(u.Associate()) : nullptr) {
      SendMessageW(n.hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->hwnd), 0);
      // The up-down moved the edit and itself: the model keeps their places.
    }
  }
  for (auto& ch : n.children) ConnectBuddies(*ch);
}

HICON BlankIcon(int w, int h) {
  static HICON blank = nullptr;
  if (!blank) {
    std::vector<BYTE> andMask(static_cast<size_t>((w + 15) / 16 * 2 * h), 0xFF), xorMask(andMask.size(), 0);
    blank = CreateIcon(GetModuleHandleW(nullptr), w, h, 1, 1, andMask.data(), xorMask.data());
  }
  return blank;
}

HIMAGELIST BuildImageList(const ImageList& list) {
  HIMAGELIST il = ImageList_Create(list.Width, list.Height, ILC_COLOR32 | ILC_MASK, list.Count(), 4);
  for (int i = 0; i < list.Count(); ++i) {
    HICON icon = reinterpret_cast<HICON>(list.Icon(i));
    ImageList_AddIcon(il, icon ? icon : BlankIcon(list.Width, list.Height));
  }
  return il;
}

// Rebuilds a list view's items and images from the model.
void SyncList(Node& n) {
  n.syncPending = false;
  auto& l = static_cast<ListView&>(*n.control);
  ++n.pushing;
  if (l.LargeImages || l.SmallImages) {
    HIMAGELIST old = n.imageList;
    n.imageList = BuildImageList(l.LargeImages ? *l.LargeImages : *l.SmallImages);
    SendMessageW(n.hwnd, LVM_SETIMAGELIST, l.LargeImages ? LVSIL_NORMAL : LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(n.imageList));
    if (old) ImageList_Destroy(old);
  }
  // Drawn once at the end: a list of many thousand rows would otherwise be
  // repainted for each row added.
  SendMessageW(n.hwnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(n.hwnd, LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(n.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(l.Count()), 0);
  for (int i = 0; i < l.Count(); ++i) {
    const ListItem& it = l.Item(i);
    std::wstring cap = Wide(it.caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = cap.data();
    item.iImage = it.imageIndex;
    SendMessageW(n.hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t s = 0; s < it.subItems.size(); ++s) {
      std::wstring sub = Wide(it.subItems[s]);
      LVITEMW si{};
      si.iSubItem = static_cast<int>(s + 1);
      si.pszText = sub.data();
      SendMessageW(n.hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&si));
    }
    if (l.Checkboxes) {
      LVITEMW st{};
      st.stateMask = LVIS_STATEIMAGEMASK;
      st.state = INDEXTOSTATEIMAGEMASK(it.checked ? 2 : 1);
      SendMessageW(n.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&st));
    }
  }
  LVITEMW sel{};
  sel.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  sel.state = sel.stateMask;
  if (l.Selected() >= 0) SendMessageW(n.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(l.Selected()), reinterpret_cast<LPARAM>(&sel));
  SendMessageW(n.hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(n.hwnd, nullptr, TRUE);
  --n.pushing;
}

// The model's position into a progress bar, which then no longer waits for one.
void PushBarPosition(Node& n) {
  n.syncPending = false;
  SendMessageW(n.hwnd, PBM_SETPOS, static_cast<WPARAM>(static_cast<ProgressBar&>(*n.control).Position()), 0);
}

// A progress bar's new position. The bar repaints at once, since the queue
// does not run while the work goes on, but at most once in a frame's time:
// quick steps in a row show together, and the last one is shown when the
// queue runs again.
void ShowBarPosition(Node& n) {
  constexpr DWORD kFrameMs = 16;
  DWORD now = GetTickCount();
  if (n.barPainted == 0 || now - n.barPainted >= kFrameMs) {
    PushBarPosition(n);
    UpdateWindow(n.hwnd);
    n.barPainted = GetTickCount() | 1;
  } else if (!n.syncPending) {
    n.syncPending = true;
    PostMessageW(GetAncestor(n.hwnd, GA_ROOT), kSyncMessage, 0, reinterpret_cast<LPARAM>(n.hwnd));
  }
}

void SyncStrings(Node& n) {
  bool combo = n.control->GetKind() == Kind::ComboBox;
  const Strings& items = combo ? static_cast<ComboBox&>(*n.control).Items : static_cast<ListBox&>(*n.control).Items;
  SendMessageW(n.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& s : items.All()) {
    std::wstring w = Wide(s);
    SendMessageW(n.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

// --- Captions that must fit, and tooltips -------------------------------------

bool FitsKind(Kind k) {
  switch (k) {
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::Button:
    case Kind::SpeedButton:
    case Kind::Label:
    case Kind::StaticText:
    case Kind::GroupBox:
    case Kind::RadioGroup: return true;
    default: return false;
  }
}

// The room beside the text that the control itself takes (box, frame,
// margins), as the classic controls draw it.
int CaptionExtra(Kind k) {
  switch (k) {
    case Kind::CheckBox:
    case Kind::RadioButton: return GetSystemMetrics(SM_CXMENUCHECK) + 8;
    case Kind::Button:
    case Kind::SpeedButton: return 10;
    case Kind::StaticText: return 6;
    case Kind::GroupBox:
    case Kind::RadioGroup: return 14;  // the caption's indent and the gaps beside it
    default: return 0;
  }
}

// Whether the window wraps its text at word breaks by itself.
bool WrapsByItself(const Control& c) {
  if (c.GetKind() != Kind::Label) return c.GetKind() == Kind::StaticText;
  auto& l = static_cast<const Label&>(c);
  return l.WordWrap || l.TextAlignment != Alignment::Left;
}

// The text's size in the control's font: on one line, or wrapped at width.
SIZE MeasureText(Node& n, const std::wstring& text, int wrapWidth) {
  static HDC dc = CreateCompatibleDC(nullptr);  // the screen's metrics, without a window's DC
  HGDIOBJ old = SelectObject(dc, n.font);
  RECT r{0, 0, std::max(wrapWidth, 1), 0};
  UINT flags = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE) |
               (n.control->GetKind() == Kind::StaticText ? DT_NOPREFIX : 0);
  DrawTextW(dc, text.c_str(), -1, &r, flags);
  SelectObject(dc, old);
  return {r.right - r.left, r.bottom - r.top};
}

// How far right the control may grow: to the next control at its height, or
// to its parent's inner edge.
int RoomRight(Node& n, const RECT& r) {
  RECT pc;
  GetClientRect(n.parent->hwnd, &pc);
  Kind pk = n.parent->control->GetKind();
  int limit = pc.right - (pk == Kind::GroupBox || pk == Kind::RadioGroup ? 8 : 4);
  for (auto& s : n.parent->children) {
    if (s.get() == &n) continue;
    RECT sr = Placement(*s);
    if (sr.top < r.bottom && sr.bottom > r.top && sr.left > r.left) limit = std::min(limit, static_cast<int>(sr.left) - 4);
  }
  return std::max(limit, static_cast<int>(r.right));
}

void SyncTip(Node& n);

// Whether a caption may be cut before text[at]: at a blank, or beside a
// character of the Japanese (and other East Asian) scripts, never inside a
// character that takes two UTF-16 units.
bool BreaksBefore(const std::wstring& text, size_t at) {
  auto wide = [](wchar_t c) { return c >= 0x2E80 && !(c >= 0xD800 && c <= 0xDFFF) && !(c >= 0xFE00 && c <= 0xFE0F); };
  wchar_t before = text[at - 1], here = text[at];
  if (here >= 0xDC00 && here <= 0xDFFF) return false;
  return here == L' ' || wide(before) || wide(here) || (before >= 0xDC00 && before <= 0xDFFF);
}

// Makes the caption visible whole: as it stands; else the control grows to
// the right where there is room; else the text wraps within its height; else
// the control keeps its size, shows the words that fit (Japanese: the
// characters) and its tooltip the whole text. A word is never cut.
void FitCaption(Node& n) {
  Control& c = *n.control;
  if (!n.hwnd || !n.font || !n.parent || !FitsKind(c.GetKind())) return;
  RECT r = Placement(n);
  int width = r.right - r.left, height = r.bottom - r.top;
  std::wstring text = Wide(c.Caption());
  Kind k = c.GetKind();
  int extra = CaptionExtra(k);
  bool group = k == Kind::GroupBox || k == Kind::RadioGroup;
  bool byItself = WrapsByItself(c);
  bool canWrap = !group && (k != Kind::Label || static_cast<Label&>(c).TextAlignment == Alignment::Left);
  int inner = k == Kind::Button || k == Kind::SpeedButton ? height - 4 : height;
  auto fits = [&](const std::wstring& t, int w, bool wrap) {
    if (t.empty()) return true;
    SIZE sz = MeasureText(n, t, wrap ? w - extra : 0);
    return sz.cx + extra <= w && (group || sz.cy <= inner);
  };

  bool wrap = byItself, cut = false;
  std::wstring shown = text;
  if (!fits(text, width, byItself)) {
    int room = RoomRight(n, r) - r.left;
    int line = static_cast<int>(MeasureText(n, text, 0).cx) + extra;
    if (fits(text, std::min(room, line), byItself)) {
      width = std::min(room, line);
    } else if (fits(text, room, byItself)) {
      width = room;
    } else if (canWrap && fits(text, width, true)) {
      wrap = true;
    } else if (canWrap && fits(text, room, true)) {
      wrap = true;
      width = room;
    } else {
      // The words that fit, and an ellipsis. Japanese has no blanks between
      // its words: it breaks between any two of its characters.
      cut = true;
      shown = L"...";
      for (size_t at = 1; at < text.size(); ++at) {
        if (!BreaksBefore(text, at)) continue;
        std::wstring head = text.substr(0, at);
        while (!head.empty() && head.back() == L' ') head.pop_back();
        if (head.empty()) continue;
        if (!fits(head + L"...", width, byItself)) break;
        shown = head + L"...";
      }
    }
  }

  ++n.pushing;
  LONG_PTR style = GetWindowLongPtrW(n.hwnd, GWL_STYLE), want = style;
  if (k == Kind::Label && static_cast<Label&>(c).TextAlignment == Alignment::Left)
    want = (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
  else if (!group && k != Kind::Label && k != Kind::StaticText)
    want = wrap ? style | BS_MULTILINE : style & ~static_cast<LONG_PTR>(BS_MULTILINE);
  if (want != style) SetWindowLongPtrW(n.hwnd, GWL_STYLE, want);
  if (WindowText(n.hwnd) != Narrow(shown)) SetWindowTextW(n.hwnd, shown.c_str());
  RECT now;
  GetWindowRect(n.hwnd, &now);
  if (now.right - now.left != width || now.bottom - now.top != height || want != style)
    SetWindowPos(n.hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  --n.pushing;
  if (cut) SetPropW(n.hwnd, kCutProp, reinterpret_cast<HANDLE>(1));
  else if (n.cut) RemovePropW(n.hwnd, kCutProp);
  if (cut != n.cut || cut || n.tipShown) {
    n.cut = cut;
    SyncTip(n);
  }
}

Node& RootOf(Node& n) {
  Node* r = &n;
  while (r->parent) r = r->parent;
  return *r;
}

// The tooltip of a control: its hint where it shows hints, else the whole
// caption where the caption is cut. Two tools: the control's window, and its
// rectangle in the parent (a disabled window's mouse goes to its parent).
void SyncTip(Node& n) {
  Control& c = *n.control;
  if (!n.hwnd || !n.parent) return;
  std::wstring text = c.ShowHint() && !c.Hint().empty() ? Wide(c.Hint()) : n.cut ? Wide(c.Caption()) : std::wstring();
  Node& root = RootOf(n);
  if (text.empty() && !n.tipShown) return;
  if (!root.tip) {
    root.tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root.hwnd, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!root.tip) return;
    SendMessageW(root.tip, TTM_SETMAXTIPWIDTH, 0, 480);
  }
  TTTOOLINFOW byWindow{}, byRect{};
  byWindow.cbSize = byRect.cbSize = sizeof(TTTOOLINFOW);
  byWindow.hwnd = byRect.hwnd = n.parent->hwnd;
  byWindow.uFlags = TTF_IDISHWND;
  byWindow.uId = reinterpret_cast<UINT_PTR>(n.hwnd);
  byRect.uId = n.id;
  if (n.tipShown) {
    SendMessageW(root.tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&byWindow));
    SendMessageW(root.tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&byRect));
    n.tipShown = false;
  }
  if (text.empty()) return;
  GetWindowRect(n.hwnd, &byRect.rect);
  MapWindowPoints(nullptr, n.parent->hwnd, reinterpret_cast<POINT*>(&byRect.rect), 2);
  byWindow.lpszText = byRect.lpszText = text.data();
  SendMessageW(root.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&byWindow));
  SendMessageW(root.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&byRect));
  n.tipShown = true;
}

void ShowSheets(Node& pages) {
  for (auto& ch : pages.children) {
    if (ch->control->GetKind() != Kind::TabSheet) continue;
    bool shown = SheetShown(*ch);
    if (shown) BuildDeferred(*ch);
    ShowWindow(ch->hwnd, shown ? SW_SHOW : SW_HIDE);
  }
}

}  // namespace

void Renderer::Node::Changed(Control& c, Prop what) {
  if (unmade && what == Prop::Visible && c.Visible() && parent && parent->hwnd) {
    MakeWindow(*this);  // with the model's whole state
    return;
  }
  if (!hwnd || fromWindow) return;  // the window shows it already
  ++pushing;
  switch (what) {
    case Prop::Caption:
      if (c.GetKind() == Kind::TabSheet && parent) {
        std::wstring cap = Wide(c.Caption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = cap.data();
        SendMessageW(parent->hwnd, TCM_SETITEMW, static_cast<WPARAM>(static_cast<TabSheet&>(c).PageIndex()),
                     reinterpret_cast<LPARAM>(&item));
      } else if (c.GetKind() != Kind::Edit && c.GetKind() != Kind::Memo) {
        SetWindowTextW(hwnd, Wide(c.Caption()).c_str());
        FitCaption(*this);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      break;
    case Prop::Enabled:
      if (!IsWindowEnabled(hwnd) == !c.Enabled()) break;  // as it is: nothing to tell the window system
      EnableWindow(hwnd, c.Enabled());
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case Prop::Visible:
      if (c.GetKind() == Kind::Form) break;  // forms are shown and hidden by the host
      if (c.GetKind() == Kind::TabSheet && SheetShown(*this)) BuildDeferred(*this);
      ShowWindow(hwnd, ShownInModel(*this) ? SW_SHOWNA : SW_HIDE);
      break;
    case Prop::Bounds:
      if (c.GetKind() == Kind::Form) {
        SetWindowPos(hwnd, nullptr, c.Left(), c.Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        RECT r = Placement(*this);
        // Group boxes paint no inside of their own: a control moved out from
        // under one (a wizard's page change) would leave its picture there.
        // Both the place it left and the one it took are drawn anew.
        HWND parent = GetParent(hwnd);
        RECT before{};
        GetWindowRect(hwnd, &before);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&before), 2);
        MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        FitCaption(*this);
        RedrawWindow(parent, &before, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      break;
    case Prop::Font: ApplyFont(*this); break;
    case Prop::Color:
    case Prop::Picture: InvalidateRect(hwnd, nullptr, TRUE); break;
    case Prop::Children:
      if (deferred) break;  // built with the sheet
      for (auto& child : c.Children())
        if (!FindNode(child.get())) ApplyFont(Build(renderer, *app, *this, *child, GetModuleHandleW(nullptr)));
      break;
    case Prop::Checked:
      if (c.GetKind() == Kind::CheckBox)
        SendMessageW(hwnd, BM_SETCHECK, static_cast<CheckBox&>(c).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      else if (c.GetKind() == Kind::RadioButton)
        SendMessageW(hwnd, BM_SETCHECK, static_cast<RadioButton&>(c).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      else if (c.GetKind() == Kind::ListView && !syncPending) {
        syncPending = true;
        PostMessageW(GetAncestor(hwnd, GA_ROOT), kSyncMessage, 0, reinterpret_cast<LPARAM>(hwnd));
      }
      break;
    case Prop::Text:
      if (c.GetKind() == Kind::Edit || c.GetKind() == Kind::Memo) {
        const std::string& t = static_cast<Edit&>(c).Text();
        if (WindowText(hwnd) != t) SetWindowTextW(hwnd, Wide(t).c_str());
      } else if (c.GetKind() == Kind::ComboBox) {
        auto& co = static_cast<ComboBox&>(c);
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(co.ItemIndex()), 0);
        if (co.Style == ComboStyle::DropDown && WindowText(hwnd) != co.Text()) SetWindowTextW(hwnd, Wide(co.Text()).c_str());
      }
      break;
    case Prop::Position:
      if (c.GetKind() == Kind::UpDown) SendMessageW(hwnd, UDM_SETPOS32, 0, static_cast<UpDown&>(c).Position());
      if (c.GetKind() == Kind::TrackBar) SendMessageW(hwnd, TBM_SETPOS, TRUE, static_cast<TrackBar&>(c).Position());
      if (c.GetKind() == Kind::ProgressBar) ShowBarPosition(*this);
      break;
    case Prop::Range:
      if (c.GetKind() == Kind::UpDown) {
        auto& u = static_cast<UpDown&>(c);
        SendMessageW(hwnd, UDM_SETRANGE32, static_cast<WPARAM>(u.Min()), u.Max());
        SendMessageW(hwnd, UDM_SETPOS32, 0, u.Position());
      }
      if (c.GetKind() == Kind::TrackBar) {
        auto& t = static_cast<TrackBar&>(c);
        SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, t.Min());
        SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, t.Max());
      }
      if (c.GetKind() == Kind::ProgressBar) {
        auto& p = static_cast<ProgressBar&>(c);
        SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(p.Min()), p.Max());
      }
      break;
    case Prop::Selection:
      if (c.GetKind() == Kind::ListView && !syncPending) {
        LVITEMW st{};
        st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&st));
        if (int sel = static_cast<ListView&>(c).Selected(); sel >= 0) {
          st.state = st.stateMask;
          SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&st));
        }
      }
      break;
    case Prop::Items:
      if (c.GetKind() == Kind::ListView) {
        if (!syncPending) {
          syncPending = true;
          PostMessageW(GetAncestor(hwnd, GA_ROOT), kSyncMessage, 0, reinterpret_cast<LPARAM>(hwnd));
        }
      } else if (c.GetKind() == Kind::ListBox || c.GetKind() == Kind::ComboBox) {
        SyncStrings(*this);
        Changed(c, Prop::ItemIndex);
      }
      break;
    case Prop::ItemIndex:
      if (c.GetKind() == Kind::ListBox)
        SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(static_cast<ListBox&>(c).ItemIndex()), 0);
      if (c.GetKind() == Kind::ComboBox) Changed(c, Prop::Text);
      break;
    case Prop::ActivePage:
      SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(static_cast<PageControl&>(c).ActivePageIndex()), 0);
      ShowSheets(*this);
      break;
    case Prop::Hint: SyncTip(*this); break;
    case Prop::Cursor:
    case Prop::Style: break;
  }
  --pushing;
}

namespace {

// A notification of a child window, routed to the model (never an echo).
bool OnCommand(Node& n, UINT code) {
  if (n.pushing) return true;
  Control& c = *n.control;
  switch (c.GetKind()) {
    case Kind::Button:
    case Kind::SpeedButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
      if (code == BN_CLICKED) User(n, [&] { c.UserClick(); });
      return true;
    case Kind::Label:
    case Kind::StaticText:
      if (code == STN_CLICKED) User(n, [&] { c.UserClick(); });
      return true;
    case Kind::Edit:
    case Kind::Memo:
      if (code == EN_CHANGE) {
        std::string t = WindowText(n.hwnd);
        User(n, [&] { static_cast<Edit&>(c).UserType(t); });
      } else if (code == EN_KILLFOCUS) {
        User(n, [&] { static_cast<Edit&>(c).UserExit(); });
      }
      return true;
    case Kind::ComboBox: {
      auto& co = static_cast<ComboBox&>(c);
      if (code == CBN_SELCHANGE) {
        int i = static_cast<int>(SendMessageW(n.hwnd, CB_GETCURSEL, 0, 0));
        User(n, [&] { co.UserSelect(i); });
      } else if (code == CBN_EDITCHANGE) {
        std::string t = WindowText(n.hwnd);
        User(n, [&] { co.UserType(t); });
      }
      return true;
    }
    case Kind::ListBox: {
      auto& lb = static_cast<ListBox&>(c);
      if (code == LBN_SELCHANGE) {
        int i = static_cast<int>(SendMessageW(n.hwnd, LB_GETCURSEL, 0, 0));
        User(n, [&] { lb.UserSelect(i); });
      } else if (code == LBN_DBLCLK && lb.OnDblClick) {
        User(n, [&] { lb.OnDblClick(lb); });
      }
      return true;
    }
    default: return false;
  }
}

bool OnNotify(Node& n, NMHDR& h, LRESULT& result) {
  Control& c = *n.control;
  if (c.GetKind() == Kind::ListView) {
    auto& l = static_cast<ListView&>(c);
    if (n.pushing || n.syncPending) return true;
    if (h.code == NM_CLICK) {
      int item = reinterpret_cast<NMITEMACTIVATE&>(h).iItem;
      User(n, [&] { l.UserClickItem(item); });
    } else if (h.code == NM_DBLCLK) {
      int item = reinterpret_cast<NMITEMACTIVATE&>(h).iItem;
      User(n, [&] { l.UserDblClickItem(item); });
    } else if (h.code == LVN_ITEMCHANGED) {
      auto& v = reinterpret_cast<NMLISTVIEW&>(h);
      if (v.iItem >= 0 && (v.uChanged & LVIF_STATE)) {
        if ((v.uNewState ^ v.uOldState) & LVIS_SELECTED) {
          int sel = (v.uNewState & LVIS_SELECTED) ? v.iItem : -1;
          if (sel >= 0 || l.Selected() == v.iItem) {  // also keyboard moves: no event of their own
            ++n.fromWindow;
            l.SetSelected(sel);
            --n.fromWindow;
          }
        }
        if (l.Checkboxes && ((v.uNewState ^ v.uOldState) & LVIS_STATEIMAGEMASK) && (v.uOldState & LVIS_STATEIMAGEMASK)) {
          bool checked = ((v.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
          User(n, [&] { l.UserCheckItem(v.iItem, checked); });
        }
      }
    }
    return true;
  }
  if (c.GetKind() == Kind::PageControl && h.code == TCN_SELCHANGE && !n.pushing) {
    int page = static_cast<int>(SendMessageW(n.hwnd, TCM_GETCURSEL, 0, 0));
    User(n, [&] { static_cast<PageControl&>(c).UserSelectPage(page); });
    return true;
  }
  if (c.GetKind() == Kind::UpDown && h.code == UDN_DELTAPOS) {
    auto& ud = reinterpret_cast<NMUPDOWN&>(h);
    UpDownButton b = ud.iDelta > 0 ? UpDownButton::Up : UpDownButton::Down;
    User(n, [&] { static_cast<UpDown&>(c).UserStep(b); });
    result = TRUE;  // the model moved (or refused); the control does not move on its own
    return true;
  }
  return false;
}

// Messages that a container receives about its children: commands,
// notifications, colours and scrolls of track bars.
bool ChildMessage(HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT& result) {
  (void)w;
  auto child = [](HWND ch) -> Node* { return ch ? NodeOf(ch) : nullptr; };
  switch (m) {
    case WM_COMMAND:
      if (Node* n = child(reinterpret_cast<HWND>(lp))) {
        result = 0;
        return OnCommand(*n, HIWORD(wp));
      }
      return false;
    case WM_NOTIFY: {
      auto* h = reinterpret_cast<NMHDR*>(lp);
      if (Node* n = child(h->hwndFrom)) {
        result = 0;
        return OnNotify(*n, *h, result);
      }
      return false;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Node* n = child(reinterpret_cast<HWND>(lp)); n && n->control->GetKind() == Kind::TrackBar) {
        if (!n->pushing) {
          int pos = static_cast<int>(SendMessageW(n->hwnd, TBM_GETPOS, 0, 0));
          auto& t = static_cast<TrackBar&>(*n->control);
          User(*n, [&] { t.SetPosition(pos); });
        }
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (Node* n = child(reinterpret_cast<HWND>(lp))) {
        HDC dc = reinterpret_cast<HDC>(wp);
        const Font& f = n->control->EffectiveFont();
        bool disabled = !n->control->Enabled() && n->control->GetKind() != Kind::Edit;
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(f.color));
        SetBkColor(dc, ToColorRef(n->control->GetColor()));
        result = reinterpret_cast<LRESULT>(n->Brush());
        return true;
      }
      return false;
    case kSyncMessage:
      if (Node* n = child(reinterpret_cast<HWND>(lp)); n && n->syncPending) {
        if (n->control->GetKind() == Kind::ProgressBar) PushBarPosition(*n);
        else SyncList(*n);
      }
      result = 0;
      return true;
    default: return false;
  }
}

// The kinds of the system's classes whose windows draw nothing outside their
// client area but a frame: group boxes, captions and buttons.
bool FramelessKind(Kind k) {
  switch (k) {
    case Kind::GroupBox:
    case Kind::RadioGroup:
    case Kind::Label:
    case Kind::StaticText:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::Button:
    case Kind::SpeedButton: return true;
    default: return false;
  }
}

bool SetHandCursor(Node& n) {
  if (n.control->GetCursor() != Cursor::HandPoint) return false;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
  return true;
}

LRESULT CALLBACK SubclassProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  Node* n = NodeOf(w);
  if (!n) return DefWindowProcW(w, m, wp, lp);
  WNDPROC old = n->oldProc;
  try {
    LRESULT result = 0;
    if (ChildMessage(w, m, wp, lp, result)) return result;
    if (m == WM_ERASEBKGND && (n->control->GetKind() == Kind::GroupBox || n->control->GetKind() == Kind::RadioGroup)) {
      RECT r;
      GetClientRect(w, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, n->Brush());
      return 1;
    }
    if (m == WM_SETCURSOR && reinterpret_cast<HWND>(wp) == w && LOWORD(lp) == HTCLIENT && SetHandCursor(*n)) return TRUE;
    if (m == WM_NCPAINT && FramelessKind(n->control->GetKind()) && NoFrame(w)) return 0;
    if (m == WM_LBUTTONUP && (n->control->GetKind() == Kind::Edit || n->control->GetKind() == Kind::Memo)) {
      LRESULT r = CallWindowProcW(old, w, m, wp, lp);
      Node* again = NodeOf(w);
      if (again) User(*again, [again] { again->control->Click(); });
      return r;
    }
    if (m == WM_NCDESTROY) {
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
      Detach(*n);
    }
  } catch (...) {
    n->app->HandleException(n->control, std::current_exception());
    return 0;
  }
  return CallWindowProcW(old, w, m, wp, lp);
}

void PaintPanel(Node& n, HDC dc) {
  RECT r;
  GetClientRect(n.hwnd, &r);
  FillRect(dc, &r, n.Brush());
  if (n.control->GetKind() == Kind::Panel) {
    auto& p = static_cast<Panel&>(*n.control);
    if (p.BevelOuter != Bevel::None) DrawEdge(dc, &r, p.BevelOuter == Bevel::Raised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
    if (p.BevelInner != Bevel::None) {
      InflateRect(&r, -1, -1);
      DrawEdge(dc, &r, p.BevelInner == Bevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENINNER, BF_RECT);
    }
    if (!p.Caption().empty()) {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ToColorRef(p.EffectiveFont().color));
      HGDIOBJ old = SelectObject(dc, n.font);
      std::wstring t = Wide(p.Caption());
      DrawTextW(dc, t.c_str(), -1, &r,
                AlignStyle(p.TextAlignment, DT_LEFT, DT_CENTER, DT_RIGHT) | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
    }
  }
  if (n.control->GetKind() == Kind::Image) {
    auto& im = static_cast<Image&>(*n.control);
    const Picture& pic = im.GetPicture();
    if (pic.GetType() == Picture::Type::Icon) {
      DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(pic.Handle()), 0, 0, 0, nullptr, DI_NORMAL);
    } else if (pic.GetType() == Picture::Type::Bitmap) {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, reinterpret_cast<HBITMAP>(pic.Handle()));
      BITMAP bm{};
      GetObjectW(reinterpret_cast<HBITMAP>(pic.Handle()), sizeof bm, &bm);
      if (im.Stretch)
        StretchBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      else
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);  // at its own size, clipped
      SelectObject(mem, old);
      DeleteDC(mem);
    }
  }
}

// Tab sheets, panels and images: windows of our own classes.
LRESULT CALLBACK ContainerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  Node* n = NodeOf(w);
  if (!n) return DefWindowProcW(w, m, wp, lp);
  try {
    LRESULT result = 0;
    if (ChildMessage(w, m, wp, lp, result)) return result;
    switch (m) {
      case WM_ERASEBKGND: return 1;
      case WM_NCPAINT:
        if (NoFrame(w)) return 0;
        break;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        PaintPanel(*n, dc);
        EndPaint(w, &ps);
        return 0;
      }
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && SetHandCursor(*n)) return TRUE;
        break;
      case WM_LBUTTONUP:
        if (n->control->GetKind() != Kind::TabSheet) User(*n, [n] { n->control->UserClick(); });
        return 0;
      case WM_LBUTTONDBLCLK:
        return 0;
      case WM_NCDESTROY:
        Detach(*n);
        break;
    }
  } catch (...) {
    n->app->HandleException(n->control, std::current_exception());
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

Node* DefaultButton(Node& n) {
  if (n.control->GetKind() == Kind::Button && static_cast<Button&>(*n.control).Default && n.control->Reachable())
    return &n;
  for (auto& ch : n.children)
    if (Node* b = DefaultButton(*ch)) return b;
  return nullptr;
}

LRESULT CALLBACK FormProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  Node* n = NodeOf(w);
  if (!n) return DefWindowProcW(w, m, wp, lp);
  auto& form = static_cast<Form&>(*n->control);
  try {
    LRESULT result = 0;
    if (m == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
      // Return or Escape from the dialog keys, when no button has the focus.
      if (LOWORD(wp) == IDOK) User(*n, [&] { form.UserPressReturn(); });
      else User(*n, [&] { form.UserPressEscape(); });
      return 0;
    }
    if (m == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
      User(*n, [&] { form.UserPressEscape(); });
      return 0;
    }
    if (ChildMessage(w, m, wp, lp, result)) return result;
    switch (m) {
      case DM_GETDEFID:
        if (Node* b = DefaultButton(*n)) return MAKELRESULT(b->id, DC_HASDEFID);
        return 0;
      case WM_CLOSE:
        User(*n, [&] { form.Close(); });
        return 0;
      case WM_EXITSIZEMOVE: {
        RECT r;
        GetWindowRect(w, &r);
        ++n->fromWindow;
        form.SetBounds({r.left, r.top, r.right - r.left, r.bottom - r.top});
        --n->fromWindow;
        return 0;
      }
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(w, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, n->Brush());
        return 1;
      }
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == w && SetHandCursor(*n)) return TRUE;
        break;
      case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && form.OnActivate) User(*n, [&] { form.OnActivate(form); });
        break;
      case WM_NCDESTROY:
        Detach(*n);
        break;
    }
  } catch (...) {
    n->app->HandleException(n->control, std::current_exception());
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

void RegisterClasses(HINSTANCE inst) {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES |
                                           ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = kFormClass;
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  RegisterClassW(&wc);
  wc.hIcon = nullptr;
  wc.lpfnWndProc = ContainerProc;
  wc.lpszClassName = kPanelClass;
  RegisterClassW(&wc);
  wc.lpszClassName = kImageClass;
  RegisterClassW(&wc);
}

}  // namespace

Renderer::Renderer(Application& app) : app_(app) {
  RegisterClasses(GetModuleHandleW(nullptr));
  app_.SetHost(this);
}

Renderer::~Renderer() {
  for (auto& [form, node] : roots_)
    if (node->hwnd) DestroyWindow(node->hwnd);
  roots_.clear();
  if (app_.GetHost() == this) app_.SetHost(nullptr);
}

void Renderer::FormShown(Form& form) {
  auto it = roots_.find(&form);
  if (it == roots_.end()) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    auto node = std::make_unique<Node>();
    node->renderer = this;
    node->app = &app_;
    node->control = &form;
    DWORD style = WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
    switch (form.Border) {
      case BorderStyle::Sizeable: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
      case BorderStyle::Single: style |= WS_OVERLAPPED | WS_CAPTION | WS_BORDER; break;
      case BorderStyle::Dialog: style |= WS_OVERLAPPED | WS_CAPTION; ex |= WS_EX_DLGMODALFRAME; break;
      case BorderStyle::None: style |= WS_POPUP; break;
    }
    if (form.Border != BorderStyle::None && (form.BorderIcons & biSystemMenu)) style |= WS_SYSMENU;
    if (form.Border != BorderStyle::Dialog && form.Border != BorderStyle::None) {
      if (form.BorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
      if (form.BorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    RECT r{0, 0, form.ClientWidth(), form.ClientHeight()};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    HWND owner = nullptr;
    if (&form != app_.MainForm()) {
      HWND active = GetActiveWindow();
      owner = active ? active : reinterpret_cast<HWND>(WindowHandle(app_.MainForm()));
    }
    node->hwnd = CreateWindowExW(ex, kFormClass, Wide(form.Caption()).c_str(), style, form.Left(), form.Top(),
                                 r.right - r.left, r.bottom - r.top, owner, nullptr, inst, nullptr);
    Attach(*node);
    Name(*node);
    form.SetPeer(node.get());
    for (auto& child : form.Children()) Build(this, app_, *node, *child, inst);
    ConnectBuddies(*node);
    ApplyFont(*node);
    // Placement with the real frame: centre again now that the size is known.
    ++node->fromWindow;
    form.SetBounds({form.Left(), form.Top(), r.right - r.left, r.bottom - r.top});
    --node->fromWindow;
    if (form.Position == FormPosition::ScreenCenter) form.CenterOnScreen();
    if (form.Position == FormPosition::OwnerFormCenter) {
      const Form* other = form.CenterOn ? form.CenterOn : app_.MainForm();
      if (other && other != &form) form.CenterOnForm(*other); else form.CenterOnScreen();
    }
    it = roots_.emplace(&form, std::move(node)).first;
  }
  Node& n = *it->second;
  ++n.pushing;
  SetWindowTextW(n.hwnd, Wide(form.Caption()).c_str());
  --n.pushing;
  ShowWindow(n.hwnd, SW_SHOW);
  UpdateWindow(n.hwnd);
}

void Renderer::FormHidden(Form& form) {
  auto it = roots_.find(&form);
  if (it == roots_.end() || !it->second->hwnd) return;
  ShowWindow(it->second->hwnd, SW_HIDE);
}

void Renderer::FormDestroyed(Form& form) {
  auto it = roots_.find(&form);
  if (it == roots_.end()) return;
  if (it->second->hwnd) DestroyWindow(it->second->hwnd);
  roots_.erase(it);
}

namespace {
bool Pump(HWND dialog, MSG& msg) {
  if (msg.message == WM_QUIT) return false;
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
    if (Node* n = NodeOf(root); n && n->tip) SendMessageW(n->tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  if (root && NodeOf(root) && IsDialogMessageW(root, &msg)) return true;
  (void)dialog;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}
}  // namespace

void Renderer::ModalLoop(Form& form) {
  HWND w = reinterpret_cast<HWND>(WindowHandle(&form));
  // Every other window of the program takes no input while the form is modal.
  std::vector<HWND> disabled;
  for (auto& [other, node] : roots_)
    if (other != &form && node->hwnd && IsWindowEnabled(node->hwnd)) {
      EnableWindow(node->hwnd, FALSE);
      disabled.push_back(node->hwnd);
    }
  SetActiveWindow(w);
  MSG msg;
  while (!app_.IsTerminated()) {
    bool done = false;
    app_.Dispatch(&form, [&] { done = form.ModalDone(); });
    if (done) break;
    // A message sent to a window (a click another program sends, the end of
    // the session) is handled inside the wait and may end the form: the form
    // is asked again after it, not only after the next posted message.
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Pump(w, msg);
  }
  for (HWND d : disabled) EnableWindow(d, TRUE);
}

void Renderer::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Pump(nullptr, msg);
  }
}

void Renderer::Run() {
  MSG msg;
  while (!app_.IsTerminated() && GetMessageW(&msg, nullptr, 0, 0) > 0) Pump(nullptr, msg);
}

void Renderer::Terminated() { PostQuitMessage(0); }

uintptr_t Renderer::WindowHandle(const Form* form) {
  if (!form) return reinterpret_cast<uintptr_t>(GetActiveWindow());
  auto it = roots_.find(form);
  return it == roots_.end() ? 0 : reinterpret_cast<uintptr_t>(it->second->hwnd);
}

Rect Renderer::Screen() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Renderer::Repaint(Control& control) {
  auto* n = dynamic_cast<Node*>(control.GetPeer());
  if (!n || !n->hwnd) return;
  // A transparent label shows its parent through it: the parent paints that part too.
  HWND parent = GetParent(n->hwnd);
  RECT r;
  GetWindowRect(n->hwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Renderer::Busy(bool busy) {
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

Rect Renderer::Desktop() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace ui::win32
