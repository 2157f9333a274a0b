// The GUI test driver: plays a user on the windows of another program in
// the same Wine prefix. Every command waits for its window (shown, and its
// thread taking messages) and control, and for what it does to be done; it
// prints what it reads and exits 1 with a reason when it fails: what it
// waited for and what it saw instead. A wait ends at the first sight of its
// condition; only a fault reaches its limit, 60 s (SUITE_GUI_WAIT seconds).
//   driver find WINDOW                    the top-level window is shown and takes messages
//   driver gone WINDOW                    the window is not shown (any more)
//   driver settled WINDOW                 the window has painted all it was asked to paint
//                                         and its thread waits for messages again
//   driver rect WINDOW                    "left top right bottom" of the window, then of the work area
//   driver click WINDOW CONTROL           click a button, box, label or picture (a button's or
//                                         box's click is done when its handler returned or
//                                         opened a window)
//   driver dblclick-item WINDOW CONTROL N double-click item N of a list view
//   driver select-item WINDOW CONTROL N   click item N of a list view or select it in a list box
//   driver check-item WINDOW CONTROL N 0|1  untick or tick item N of a list view
//   driver item-checked WINDOW CONTROL N  print 1 or 0
//   driver items WINDOW CONTROL           print the items of a list box, list view or combo box, one a line
//   driver rows WINDOW CONTROL            print the rows of a report list view, one a line: the caption
//                                         and each column's text after a tab
//   driver select WINDOW CONTROL TEXT     choose the item TEXT of a combo box
//   driver tab WINDOW CONTROL TAB         click a tab of a tab control by its caption, its sheet's name
//                                         or its number (from 0); done once its sheet shows, or once
//                                         the click opened a window (a box that keeps the page)
//   driver hint WINDOW CONTROL            print the control's tooltip text (nothing when it has none)
//   driver captions WINDOW CONTROL        check that every shown caption inside CONTROL (a sheet, or the
//                                         window's name) fits its control in the control's font: prints
//                                         "over NAME NEED HAVE" for each that does not (exit 1) and
//                                         "cut NAME" for each shown cut at a word with its whole text as hint
//   driver face WINDOW CONTROL FILE.ppm   compare the inside of a group box (or of every group box inside
//                                         CONTROL), around its frame, caption and children, on a screenshot
//                                         of the window (binary PPM) with the face colour: prints the count
//                                         of other pixels (exit 1 if any)
//   driver painted WINDOW SECONDS FILE.ppm [CONTROL]
//                                         wait (up to SECONDS) until the window is seen painted on the
//                                         screen: at most a tenth of its inside black, and every shown
//                                         caption of a static text or label showing pixels of its text;
//                                         with CONTROL (a progress bar or label), then until that control
//                                         is seen painted otherwise than at first, the window still
//                                         painted. Saves the last picture of the window (binary PPM);
//                                         exits 1 when it was not seen so in time or went before
//   driver exec-painted COMMAND-LINE WINDOW SECONDS FILE.ppm [CONTROL]
//                                         start a program as exec does and watch its window as painted
//                                         does, looked for from the start (a splash shows briefly)
//   driver press-painted WINDOW BUTTON WATCHED SECONDS FILE.ppm [CONTROL]
//                                         click the button, then watch the window WATCHED as painted does
//                                         (a progress form that shows only while the work runs)
//   driver type WINDOW CONTROL TEXT       replace the text of an edit as typing does (once the window
//                                         has settled)
//   driver text WINDOW CONTROL [TEXT]     print the control's text (with TEXT: once it is that, or at the limit)
//   driver checked WINDOW CONTROL [0|1]   print 1 or 0 (with 0 or 1: once it is so, or at the limit)
//   driver enabled WINDOW CONTROL [0|1]   print 1 or 0 (the same)
//   driver visible WINDOW CONTROL [0|1]   print 1 or 0 (the same)
//   driver answer WINDOW BUTTON           press a button of a message box (caption, or yes/no/ok/cancel);
//                                         done once the box is gone and its owner takes messages again
//   driver message WINDOW                 print the text of a message box
//   driver close WINDOW                   close the window
//   driver profile FILE SECTION KEY       print the value as the profile functions read it ("<absent>" when
//                                         the key is missing)
//   driver profile FILE SECTION           print the key names of the section, one a line
//   driver profile FILE                   print the section names of the file, one a line
//   driver exec COMMAND-LINE              start a program with exactly this command line, as the shell
//                                         starts a verb's command (not waited for; the program keeps the
//                                         driver's standard handles open, so send them nowhere)
// WINDOW is a caption ("" for a message box without one) or the form's name in the code ("foProgress"). CONTROL is the
// control's name in the program's code ("sbPlay"), its caption, or CLASS#N
// (the N-th control of that window class, counted from 1 in creation order).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <functional>
#include <string>
#include <vector>

namespace {

// A line in UTF-8 on the standard output (or another standard handle).
void Print(const std::wstring& s, DWORD to = STD_OUTPUT_HANDLE) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string u(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), u.data(), n, nullptr, nullptr);
  u += "\n";
  DWORD written;
  WriteFile(GetStdHandle(to), u.data(), static_cast<DWORD>(u.size()), &written, nullptr);
}

int Fail(const std::wstring& why) {
  Print(L"driver: " + why);
  return 1;
}

// The text that the window system keeps for a window (its caption): read
// without a message, so also while the program is busy with long work.
std::wstring Caption(HWND w) {
  wchar_t buf[4096] = {};
  GetWindowTextW(w, buf, 4096);
  return buf;
}

// The window's text as it answers it (an edit's contents too); the caption
// the window system keeps when the program does not answer within a second.
std::wstring Text(HWND w) {
  wchar_t buf[4096] = {};
  // A window whose program is busy answers late: its caption as the window
  // system holds it then.
  if (!SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 1000, nullptr))
    return Caption(w);
  return buf;
}

std::wstring ClassOf(HWND w) {
  wchar_t cls[256] = {};
  GetClassNameW(w, cls, 256);
  return cls;
}

bool IsClass(HWND w, const wchar_t* cls) { return _wcsicmp(ClassOf(w).c_str(), cls) == 0; }

std::wstring NameOf(HWND w) {  // the name the renderer gives each window of a control
  auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropW(w, L"SuiteName")));
  wchar_t buf[256] = {};
  if (atom) GlobalGetAtomNameW(atom, buf, 256);
  return buf;
}

std::wstring Plain(const std::wstring& caption) {  // without the & of accelerators
  std::wstring out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

bool SameCaption(const std::wstring& text, const std::wstring& what) { return text == what || Plain(text) == what; }

// The limit of every wait, in milliseconds (XP has no 64-bit tick count: the
// waits count from their start, which stays right across a wrap).
DWORD Limit() {
  wchar_t buf[32] = {};
  if (GetEnvironmentVariableW(L"SUITE_GUI_WAIT", buf, 32) && _wtoi(buf) > 0) return 1000u * static_cast<DWORD>(_wtoi(buf));
  return 60000;
}

std::wstring Seconds() { return std::to_wstring(Limit() / 1000) + L" s"; }

// Until the condition holds or the limit is reached; its last answer.
template <class F>
auto Until(F condition) -> decltype(condition()) {
  DWORD start = GetTickCount();
  for (;;) {
    auto got = condition();
    if (got || GetTickCount() - start >= Limit()) return got;
    Sleep(50);
  }
}

template <class F>
HWND Wait(F find) { return Until(find); }

// The window's thread takes messages: it answers one within the limit.
bool Answers(HWND w) {
  DWORD_PTR result = 0;
  DWORD start = GetTickCount();
  while (IsWindow(w)) {
    if (SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) return true;
    if (GetTickCount() - start >= Limit()) return false;
  }
  return false;
}

struct TopSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK VisitTop(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<TopSearch*>(lp);
  if (!IsWindowVisible(w)) return TRUE;
  if (s.caption.empty() ? IsClass(w, L"#32770") && Caption(w).empty() : NameOf(w) == s.caption || Text(w) == s.caption) {
    s.found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindTop(const std::wstring& caption) {
  TopSearch s{caption};
  EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Every shown top-level window of that caption (a progress form may carry
// its program's title over the main window for a while).
struct AllTops {
  TopSearch s;
  std::vector<HWND> found;
};

BOOL CALLBACK VisitAllTops(HWND w, LPARAM lp) {
  auto& all = *reinterpret_cast<AllTops*>(lp);
  all.s.found = nullptr;
  VisitTop(w, reinterpret_cast<LPARAM>(&all.s));
  if (all.s.found) all.found.push_back(w);
  return TRUE;
}

std::vector<HWND> FindTops(const std::wstring& caption) {
  AllTops all{{caption}, {}};
  EnumWindows(VisitAllTops, reinterpret_cast<LPARAM>(&all));
  return all.found;
}

std::wstring MessageText(HWND box);

// The captions of the shown top-level windows (a box with its text), for a
// failure's message.
BOOL CALLBACK VisitShown(HWND w, LPARAM lp) {
  auto& all = *reinterpret_cast<std::wstring*>(lp);
  if (!IsWindowVisible(w) || all.size() >= 600) return TRUE;
  all += (all.empty() ? L"\"" : L", \"") + Text(w) + L"\"";
  if (IsClass(w, L"#32770")) all += L" (a box: \"" + MessageText(w) + L"\")";
  return TRUE;
}

std::wstring ShownWindows() {
  std::wstring all;
  EnumWindows(VisitShown, reinterpret_cast<LPARAM>(&all));
  return all.empty() ? L"none" : all;
}

// The shown top-level window of that caption, once its thread takes messages.
// (a window found that went meanwhile, a progress form of the same title,
// gives way to another of the caption)
HWND TopLevel(const std::wstring& caption) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = Wait([&] { return FindTop(caption); });
    if (!w) return nullptr;
    if (Answers(w)) return w;
    if (IsWindow(w) || GetTickCount() - start >= Limit()) return nullptr;
  }
}

// Children in creation order, depth first (as EnumChildWindows gives them).
BOOL CALLBACK AddChild(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

std::vector<HWND> Children(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, AddChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

HWND FindControl(HWND top, const std::wstring& what) {
  std::vector<HWND> all = Children(top);
  size_t hash = what.rfind(L'#');
  if (hash != std::wstring::npos && hash + 1 < what.size() && iswdigit(what[hash + 1])) {
    std::wstring cls = what.substr(0, hash);
    int order = _wtoi(what.c_str() + hash + 1);
    for (HWND w : all)
      if (IsClass(w, cls.c_str()) && --order == 0) return w;
    return nullptr;
  }
  for (HWND w : all)
    if (NameOf(w) == what) return w;
  for (HWND w : all)
    if (IsWindowVisible(w) && SameCaption(Text(w), what)) return w;
  return nullptr;
}

HWND Control(HWND top, const std::wstring& what) {
  return Wait([&] { return FindControl(top, what); });
}

// The mouse clicks at a point of the control once the control is what a user
// sees there (shown, in place, not covered) and its window is in front, as
// the window system routes a click by what lies under the pointer. The clicks
// go in one piece, so that two make a double click however slow the machine.
bool Settled(HWND top);

bool MouseAt(HWND w, POINT client, int clicks, std::wstring& why) {
  HWND root = GetAncestor(w, GA_ROOT);
  // (as a user clicks once the window stands ready: a new window may still lay out its items)
  if (!Settled(root)) {
    why = L"the window still paints after " + Seconds();
    return false;
  }
  POINT screen = client;
  ClientToScreen(w, &screen);
  HWND seen = nullptr;
  bool placed = Until([&] {
    seen = WindowFromPoint(screen);
    return seen == w || IsChild(w, seen);
  });
  if (!placed) {
    why = L"the control is not under the pointer at its place (" + std::to_wstring(screen.x) + L"," +
          std::to_wstring(screen.y) + L"): " + (seen ? L"a \"" + ClassOf(seen) + L"\" window \"" + Text(seen) + L"\" is"
                                                     : L"nothing is") + L" there after " + Seconds();
    return false;
  }
  SetForegroundWindow(root);
  if (!Until([&] { return GetForegroundWindow() == root; })) {
    why = L"the window does not come to the front";
    return false;
  }
  SetCursorPos(screen.x, screen.y);
  if (!Until([&] { POINT at{}; return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y; })) {
    why = L"the pointer does not move to the control";
    return false;
  }
  std::vector<INPUT> in(static_cast<size_t>(clicks) * 2);
  for (size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
  }
  if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size()) {
    why = L"the clicks were not taken";
    return false;
  }
  return true;
}

// The shown top-level windows of a process.
struct TopsOf {
  DWORD pid;
  std::vector<HWND> tops;
};

BOOL CALLBACK VisitTopsOf(HWND w, LPARAM lp) {
  auto& of = *reinterpret_cast<TopsOf*>(lp);
  DWORD p = 0;
  GetWindowThreadProcessId(w, &p);
  if (p == of.pid && IsWindowVisible(w)) of.tops.push_back(w);
  return TRUE;
}

std::vector<HWND> ShownTops(DWORD pid) {
  TopsOf of{pid, {}};
  EnumWindows(VisitTopsOf, reinterpret_cast<LPARAM>(&of));
  return of.tops;
}

// Whether the process shows a top-level window that was not among BEFORE
// (a box or form that an action opened).
bool Opened(DWORD pid, const std::vector<HWND>& before) {
  for (HWND t : ShownTops(pid))
    if (std::find(before.begin(), before.end(), t) == before.end()) return true;
  return false;
}

void CALLBACK Returned(HWND, UINT, ULONG_PTR done, LRESULT) { *reinterpret_cast<bool*>(done) = true; }

// The window and its children have no part left to paint, and its thread
// waits for messages again (so what it painted has reached the screen), seen
// twice in a row.
bool Settled(HWND top) {
  auto clean = [&] {
    if (!Answers(top)) return false;
    RECT r;
    if (GetUpdateRect(top, &r, FALSE)) return false;
    for (HWND w : Children(top))
      if (IsWindowVisible(w) && GetUpdateRect(w, &r, FALSE)) return false;
    return Answers(top);
  };
  return Until([&] { return clean() && clean(); });
}

// A button's click, done once the program's handler returned, or opened a
// window that waits for the user (a message box, a dialog), or closed the
// button's window or the program.
bool ClickButton(HWND c, std::wstring& why) {
  DWORD pid = 0;
  GetWindowThreadProcessId(c, &pid);
  std::vector<HWND> before = ShownTops(pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  // (the answer may come after the click counts as done, while a serving
  // driver runs later commands: its flag outlives the click)
  bool* returned = new bool(false);
  if (!SendMessageCallbackW(c, BM_CLICK, 0, 0, Returned, reinterpret_cast<ULONG_PTR>(returned))) {
    if (process) CloseHandle(process);
    delete returned;
    why = L"the click cannot be sent";
    return false;
  }
  bool done = Until([&] {
    MSG m;  // (the answer comes among the driver's own messages)
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    return *returned || !IsWindow(c) || (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) ||
           Opened(pid, before);
  });
  if (process) CloseHandle(process);
  if (!done) why = L"the program did not finish the click, nor open a window, in " + Seconds();
  return done;
}

// Memory in the other process, for the messages whose pointers Windows does
// not carry across processes (list views, tab controls).
class Remote {
 public:
  Remote(HWND w, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    proc_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (proc_) mem_ = static_cast<char*>(VirtualAllocEx(proc_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~Remote() {
    if (mem_) VirtualFreeEx(proc_, mem_, 0, MEM_RELEASE);
    if (proc_) CloseHandle(proc_);
  }
  bool Ok() const { return mem_ != nullptr; }
  char* At(size_t offset) const { return mem_ + offset; }
  bool Write(size_t offset, const void* data, size_t n) {
    SIZE_T done = 0;
    return offset + n <= size_ && WriteProcessMemory(proc_, mem_ + offset, data, n, &done) && done == n;
  }
  bool Read(size_t offset, void* data, size_t n) {
    SIZE_T done = 0;
    return offset + n <= size_ && ReadProcessMemory(proc_, mem_ + offset, data, n, &done) && done == n;
  }

 private:
  HANDLE proc_ = nullptr;
  char* mem_ = nullptr;
  size_t size_;
};

bool ItemRect(HWND list, int index, RECT& rect, int part = LVIR_BOUNDS) {
  Remote mem(list, sizeof(RECT));
  RECT r{part, 0, 0, 0};
  return mem.Ok() && mem.Write(0, &r, sizeof r) &&
         SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem.At(0))) &&
         mem.Read(0, &rect, sizeof rect);
}

std::wstring ListViewText(HWND list, int index, int column = 0) {
  constexpr size_t kChars = 1024;
  Remote mem(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!mem.Ok()) return L"";
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = kChars;
  item.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof(LVITEMW)));
  mem.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem.At(0)));
  std::wstring text(kChars, L'\0');
  mem.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
  text.resize(wcslen(text.c_str()));
  return text;
}

bool SetListViewCheck(HWND list, int index, bool on) {
  Remote mem(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
  return mem.Ok() && mem.Write(0, &item, sizeof item) &&
         SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem.At(0)));
}

std::vector<std::wstring> Items(HWND c) {
  std::vector<std::wstring> out;
  if (IsClass(c, WC_LISTVIEWW)) {
    int n = static_cast<int>(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) out.push_back(ListViewText(c, i));
  } else {
    bool list = IsClass(c, WC_LISTBOXW);
    int n = static_cast<int>(SendMessageW(c, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      std::wstring s(static_cast<size_t>(SendMessageW(c, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
      SendMessageW(c, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
      s.resize(wcslen(s.c_str()));
      out.push_back(s);
    }
  }
  return out;
}

// The tab of a tab control with this caption or number.
int TabIndex(HWND tabs, const std::wstring& which) {
  int n = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  constexpr size_t kChars = 256;
  for (int i = 0; i < n; ++i) {
    Remote mem(tabs, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    if (!mem.Ok()) return -1;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof(TCITEMW)));
    mem.Write(0, &item, sizeof item);
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(mem.At(0)));
    std::wstring text(kChars, L'\0');
    mem.Read(sizeof(TCITEMW), text.data(), kChars * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    if (SameCaption(text, which)) return i;
  }
  int sheet = 0;  // the sheets are the tab control's children, in creation (tab) order
  for (HWND w : Children(tabs)) {
    if (GetParent(w) != tabs) continue;
    if (NameOf(w) == which) return sheet;
    ++sheet;
  }
  if (!which.empty() && iswdigit(which[0])) {
    int i = _wtoi(which.c_str());
    if (i < n) return i;
  }
  return -1;
}

bool TabRect(HWND tabs, int index, RECT& rect) {
  Remote mem(tabs, sizeof(RECT));
  return mem.Ok() &&
         SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem.At(0))) &&
         mem.Read(0, &rect, sizeof rect);
}

// A message box's button: its caption, or its part (yes, no, ok, cancel).
HWND Button(HWND box, const std::wstring& which) {
  struct { const wchar_t* name; int id; } parts[] = {
      {L"yes", IDYES}, {L"no", IDNO}, {L"ok", IDOK}, {L"cancel", IDCANCEL}, {L"abort", IDABORT},
      {L"retry", IDRETRY}, {L"ignore", IDIGNORE}};
  for (const auto& p : parts)
    if (_wcsicmp(which.c_str(), p.name) == 0)
      return Wait([&] { HWND b = GetDlgItem(box, p.id); return b && IsWindowVisible(b) ? b : nullptr; });
  return Control(box, which);
}

std::wstring MessageText(HWND box) {
  std::wstring all;
  for (HWND w : Children(box))
    if (IsClass(w, L"Static") && !Text(w).empty()) all += (all.empty() ? L"" : L"\n") + Text(w);
  return all;
}

bool Flag(bool b) {
  Print(b ? L"1" : L"0");
  return true;
}

// exec: the program is the one the line names, found as CreateProcess finds
// it; the child inherits the driver's environment (its language).
int Exec(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return Fail(L"cannot start " + commandLine);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

// --- Captions, group-box insides and tooltips ----------------------------------

// The control's font as the renderer publishes it (see kFontProp there).
HFONT FontOf(HWND w) {
  auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropW(w, L"SuiteFont")));
  wchar_t buf[256] = {};
  if (!atom || !GlobalGetAtomNameW(atom, buf, 256)) return nullptr;
  std::vector<std::wstring> part;
  std::wstring described = buf;
  for (size_t at = 0, bar; part.size() < 4 && (bar = described.find(L'|', at)) != std::wstring::npos; at = bar + 1)
    part.push_back(described.substr(at, bar - at));
  if (part.size() < 4) return nullptr;
  LOGFONTW lf{};
  lf.lfHeight = _wtoi(part[0].c_str());
  lf.lfWeight = _wtoi(part[1].c_str());
  lf.lfItalic = static_cast<BYTE>(_wtoi(part[2].c_str()));
  lf.lfCharSet = static_cast<BYTE>(_wtoi(part[3].c_str()));
  size_t face = 0;
  for (int i = 0; i < 4; ++i) face = described.find(L'|', face) + 1;
  wcsncpy(lf.lfFaceName, described.c_str() + face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

SIZE TextSize(HFONT font, const std::wstring& text, int wrapWidth, bool noPrefix) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 1, 0};
  DrawTextW(dc, text.c_str(), -1, &r,
            DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE) | (noPrefix ? DT_NOPREFIX : 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  return {r.right - r.left, r.bottom - r.top};
}

enum class Cap { None, Box, Push, Group, Static };

Cap CaptionKind(HWND w, LONG style, int& extra, bool& wraps, bool& noPrefix) {
  wraps = false;
  noPrefix = false;
  if (IsClass(w, L"Button")) {
    LONG type = style & BS_TYPEMASK;
    wraps = (style & BS_MULTILINE) != 0;
    if (type == BS_GROUPBOX) { extra = 14; return Cap::Group; }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
        type == BS_3STATE || type == BS_AUTO3STATE) {
      extra = GetSystemMetrics(SM_CXMENUCHECK) + 8;
      return Cap::Box;
    }
    extra = 10;
    return Cap::Push;
  }
  if (IsClass(w, L"Static")) {
    LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) return Cap::None;
    wraps = type != SS_LEFTNOWORDWRAP;
    noPrefix = (style & SS_NOPREFIX) != 0;
    extra = (style & SS_SUNKEN) ? 6 : 0;
    return Cap::Static;
  }
  return Cap::None;
}

int Captions(HWND top, HWND within) {
  int over = 0;
  for (HWND w : Children(within)) {
    if (!IsWindowVisible(w)) continue;
    std::wstring text = Text(w);
    LONG style = GetWindowLongW(w, GWL_STYLE);
    int extra = 0;
    bool wraps = false, noPrefix = false;
    Cap kind = CaptionKind(w, style, extra, wraps, noPrefix);
    if (kind == Cap::None || text.empty()) continue;
    std::wstring name = NameOf(w).empty() ? ClassOf(w) : NameOf(w);
    bool cut = GetPropW(w, L"SuiteCut") != nullptr;
    if (cut) Print(L"cut " + name);
    if (cut && (text == L"..." || text == L"\x2026")) {  // nothing of the caption left
      Print(L"over " + name + L" (only an ellipsis shown)");
      ++over;
      continue;
    }
    HFONT font = FontOf(w);
    if (!font) {
      Print(L"over " + name + L" (no font)");
      ++over;
      continue;
    }
    RECT r;
    GetClientRect(w, &r);
    int height = kind == Cap::Push ? r.bottom - 4 : r.bottom;
    SIZE sz = TextSize(font, text, wraps ? r.right - extra : 0, noPrefix);
    DeleteObject(font);
    if (sz.cx + extra > r.right || (kind != Cap::Group && sz.cy > height)) {
      Print(L"over " + name + L" " + std::to_wstring(sz.cx + extra) + L"x" + std::to_wstring(sz.cy) + L" " +
            std::to_wstring(r.right) + L"x" + std::to_wstring(height));
      ++over;
    }
  }
  (void)top;
  return over ? 1 : 0;
}

// A binary PPM (P6, 8 bits) read whole.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  COLORREF At(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
  }
};

bool ReadPpm(const std::wstring& path, Picture& p) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  std::vector<unsigned char> all(GetFileSize(f, nullptr));
  DWORD got = 0;
  bool ok = ReadFile(f, all.data(), static_cast<DWORD>(all.size()), &got, nullptr) && got == all.size();
  CloseHandle(f);
  if (!ok || all.size() < 2 || all[0] != 'P' || all[1] != '6') return false;
  size_t at = 2;
  int field[3] = {};
  for (int& v : field) {
    while (at < all.size() && (isspace(all[at]) || all[at] == '#')) {
      if (all[at] == '#') while (at < all.size() && all[at] != '\n') ++at;
      else ++at;
    }
    while (at < all.size() && isdigit(all[at])) v = v * 10 + (all[at++] - '0');
  }
  ++at;  // the one blank after the maximum
  p.width = field[0];
  p.height = field[1];
  if (field[2] != 255 || all.size() < at + static_cast<size_t>(p.width) * p.height * 3) return false;
  p.rgb.assign(all.begin() + static_cast<long>(at), all.end());
  return true;
}

// The inside of a group box: every second pixel away from the etched frame
// (2 pixels and a pixel of margin), the caption and the children.
bool IsGroupBox(HWND w) { return IsClass(w, L"Button") && (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX; }

int FaceOfBox(HWND top, HWND box, const Picture& shot) {
  RECT wr, br;
  GetWindowRect(top, &wr);
  GetWindowRect(box, &br);
  HFONT font = FontOf(box);
  SIZE cap = font ? TextSize(font, Text(box), 0, false) : SIZE{0, 13};
  if (font) DeleteObject(font);
  int w = br.right - br.left, h = br.bottom - br.top;
  int line = cap.cy / 2;  // the frame's top edge runs through the caption's middle
  std::vector<RECT> skip;
  for (HWND ch : Children(box)) {
    if (!IsWindowVisible(ch)) continue;
    RECT cr;
    GetWindowRect(ch, &cr);
    OffsetRect(&cr, -br.left, -br.top);
    InflateRect(&cr, 1, 1);
    skip.push_back(cr);
  }
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  int other = 0, seen = 0;
  for (int y = 0; y < h - 3; y += 2) {
    if (y >= line - 1 && y <= line + 2) continue;
    for (int x = 3; x < w - 3; x += 2) {
      if (y <= cap.cy + 1 && x >= 4 && x <= 12 + cap.cx) continue;
      POINT pt{x, y};
      bool skipped = false;
      for (const RECT& s : skip) skipped = skipped || PtInRect(&s, pt);
      if (skipped) continue;
      int sx = br.left - wr.left + x, sy = br.top - wr.top + y;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      ++seen;
      if (shot.At(sx, sy) != face) ++other;
    }
  }
  std::wstring name = NameOf(box).empty() ? Text(box) : NameOf(box);
  Print(name + L": " + std::to_wstring(other) + L" of " + std::to_wstring(seen) + L" pixels not the face colour");
  return other || !seen ? 1 : 0;
}

// The group box named, or every shown group box inside the control named.
int Face(HWND top, HWND scope, const std::wstring& ppm) {
  Picture shot;
  if (!ReadPpm(ppm, shot)) return Fail(L"cannot read " + ppm);
  RECT wr;
  GetWindowRect(top, &wr);
  if (shot.width != wr.right - wr.left || shot.height != wr.bottom - wr.top)
    return Fail(L"the screenshot is not the window's size");
  if (IsGroupBox(scope)) return FaceOfBox(top, scope, shot);
  int status = 0;
  for (HWND w : Children(scope))
    if (IsWindowVisible(w) && IsGroupBox(w)) status |= FaceOfBox(top, w, shot);
  return status;
}

struct TipSearch {
  HWND top;
  std::vector<HWND> tips;
};

BOOL CALLBACK VisitTip(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<TipSearch*>(lp);
  if (IsClass(w, TOOLTIPS_CLASSW) && GetWindow(w, GW_OWNER) == s.top) s.tips.push_back(w);
  return TRUE;
}

// The tooltip text of a control: the tooltip windows that the control's form
// owns, searched for a tool of the control's window.
int Hint(HWND top, HWND control) {
  TipSearch s{top, {}};
  EnumWindows(VisitTip, reinterpret_cast<LPARAM>(&s));
  constexpr size_t kChars = 1024;
  for (HWND tip : s.tips) {
    int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      Remote mem(tip, sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
      if (!mem.Ok()) return Fail(L"cannot read the tooltip");
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = reinterpret_cast<wchar_t*>(mem.At(sizeof info));
      mem.Write(0, &info, sizeof info);
      if (!SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(mem.At(0)))) continue;
      mem.Read(0, &info, sizeof info);
      if (!(info.uFlags & TTF_IDISHWND) || reinterpret_cast<HWND>(info.uId) != control) continue;
      std::wstring text(kChars, L'\0');
      mem.Read(sizeof info, text.data(), kChars * sizeof(wchar_t));
      text.resize(wcslen(text.c_str()));
      Print(text);
      return 0;
    }
  }
  return 0;
}

// --- What the screen shows of a window -----------------------------------------

// The window's rectangle as the screen shows it now (what the user sees, other
// windows over it included), top row first.
bool Capture(HWND w, Picture& p) {
  RECT r;
  if (!GetWindowRect(w, &r)) return false;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  if (p.width <= 0 || p.height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(mem, bitmap);
    ok = BitBlt(mem, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    const auto* px = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; ok && i < static_cast<size_t>(p.width) * p.height; ++i) {
      p.rgb[i * 3] = px[i * 4 + 2];
      p.rgb[i * 3 + 1] = px[i * 4 + 1];
      p.rgb[i * 3 + 2] = px[i * 4];
    }
    SelectObject(mem, old);
    DeleteObject(bitmap);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool WritePpm(const std::wstring& path, const Picture& p) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  std::string head = "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
  DWORD done = 0;
  bool ok = WriteFile(f, head.data(), static_cast<DWORD>(head.size()), &done, nullptr) &&
            WriteFile(f, p.rgb.data(), static_cast<DWORD>(p.rgb.size()), &done, nullptr) && done == p.rgb.size();
  CloseHandle(f);
  return ok;
}

bool Dark(COLORREF c) { return GetRValue(c) < 24 && GetGValue(c) < 24 && GetBValue(c) < 24; }

// What is wrong with the picture of a window: nothing ("") when its client
// area is at most a tenth black and every caption of a static text or label
// shows pixels other than its background (the colour most of its rectangle has).
std::wstring Unpainted(HWND top, const Picture& shot) {
  RECT wr, cr;
  GetWindowRect(top, &wr);
  GetClientRect(top, &cr);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  int ox = origin.x - wr.left, oy = origin.y - wr.top;
  size_t black = 0, all = 0;
  for (int y = oy; y < oy + cr.bottom && y < shot.height; ++y)
    for (int x = ox; x < ox + cr.right && x < shot.width; ++x, ++all) black += Dark(shot.At(x, y));
  if (!all) return L"an empty window";
  if (black * 10 > all) return std::to_wstring(black * 100 / all) + L"% of the inside is black";
  for (HWND w : Children(top)) {
    if (!IsWindowVisible(w) || !IsClass(w, L"Static") || Caption(w).empty()) continue;
    LONG type = GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) continue;
    RECT r;
    GetWindowRect(w, &r);
    OffsetRect(&r, -wr.left, -wr.top);
    RECT whole{0, 0, shot.width, shot.height};
    IntersectRect(&r, &r, &whole);
    std::map<COLORREF, int> counts;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++counts[shot.At(x, y)];
    COLORREF back = 0;
    int most = 0, pixels = 0;
    for (auto& [colour, n] : counts) {
      pixels += n;
      if (n > most) most = n, back = colour;
    }
    int text = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        COLORREF c = shot.At(x, y);
        int d = abs(GetRValue(c) - GetRValue(back)) + abs(GetGValue(c) - GetGValue(back)) + abs(GetBValue(c) - GetBValue(back));
        text += d > 96;
      }
    std::wstring name = NameOf(w).empty() ? L"\"" + Caption(w) + L"\"" : NameOf(w);
    if (Dark(back) || text < 12) return L"the text of " + name + L" is not shown (" + std::to_wstring(text) + L" pixels)";
  }
  return L"";
}

// The pixels of a child window's rectangle in a picture of its top-level window.
std::vector<COLORREF> Region(HWND top, HWND child, const Picture& shot) {
  RECT wr, r;
  GetWindowRect(top, &wr);
  GetWindowRect(child, &r);
  OffsetRect(&r, -wr.left, -wr.top);
  std::vector<COLORREF> out;
  for (int y = std::max(0L, r.top); y < r.bottom && y < shot.height; ++y)
    for (int x = std::max(0L, r.left); x < r.right && x < shot.width; ++x) out.push_back(shot.At(x, y));
  return out;
}

// Waits until the window is seen painted; with a control, then also until
// the control is seen painted otherwise than at first (a progress advanced),
// the window still painted.
int Painted(HWND top, int seconds, const std::wstring& ppm, HWND moving) {
  Picture shot;
  std::wstring wrong = L"no picture of the window";
  std::vector<COLORREF> first;
  std::wstring before;  // what the first pictures lacked
  DWORD start = GetTickCount(), painted = 0;
  do {
    if (!IsWindow(top) || !IsWindowVisible(top)) {
      if (!shot.rgb.empty()) WritePpm(ppm, shot);
      return Fail(painted ? L"the window went before its progress was seen to advance"
                          : L"the window went before it was seen painted: " + wrong);
    }
    if (Capture(top, shot)) {
      wrong = Unpainted(top, shot);
      if (!wrong.empty() && before.empty()) before = wrong;
      if (wrong.empty() && !painted) {
        painted = GetTickCount() - start + 1;
        Print(L"painted after " + std::to_wstring(painted - 1) + L" ms" + (before.empty() ? L"" : L" (before: " + before + L")"));
        if (moving) first = Region(top, moving, shot);
      }
      if (wrong.empty() && (!moving || Region(top, moving, shot) != first)) {
        if (!WritePpm(ppm, shot)) return Fail(L"cannot write " + ppm);
        if (moving) Print(L"advanced after " + std::to_wstring(GetTickCount() - start) + L" ms");
        return 0;
      }
    }
    Sleep(30);
  } while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000);
  if (!shot.rgb.empty()) WritePpm(ppm, shot);
  if (painted) return Fail(L"its progress was not seen to advance in " + std::to_wstring(seconds) + L" s");
  return Fail(L"not painted after " + std::to_wstring(seconds) + L" s: " + wrong);
}

// profile: Wine's own profile functions on a file the program wrote.
int Profile(int argc, wchar_t** argv) {
  std::vector<wchar_t> buf(1 << 16, 0);
  const wchar_t* file = argv[2];
  DWORD n = 0;
  if (argc >= 5) {
    n = GetPrivateProfileStringW(argv[3], argv[4], L"<absent>", buf.data(), static_cast<DWORD>(buf.size()), file);
    Print(std::wstring(buf.data(), n));
    return 0;
  }
  n = argc == 4 ? GetPrivateProfileStringW(argv[3], nullptr, L"", buf.data(), static_cast<DWORD>(buf.size()), file)
                : GetPrivateProfileSectionNamesW(buf.data(), static_cast<DWORD>(buf.size()), file);
  for (DWORD at = 0; at < n && buf[at];) {
    std::wstring name(buf.data() + at);
    Print(name);
    at += static_cast<DWORD>(name.size()) + 1;
  }
  return 0;
}

int Run(int argc, wchar_t** argv) {
  std::wstring cmd = argv[1];
  if (cmd == L"exec") return Exec(argv[2]);
  if (cmd == L"exec-painted" || cmd == L"press-painted") {
    // A window that shows briefly (a splash, a progress form) is looked for
    // from the moment the program starts or the button is pressed.
    bool exec = cmd == L"exec-painted";
    int at = exec ? 3 : 4;  // the watched window's argument
    if (argc < at + 3) return Fail(L"usage: driver " + cmd + L" ... WINDOW SECONDS FILE.ppm [CONTROL]");
    if (exec) {
      if (int failed = Exec(argv[2])) return failed;
    } else {
      HWND owner = TopLevel(argv[2]);
      HWND button = owner ? Control(owner, argv[3]) : nullptr;
      if (!button) return Fail(L"no button \"" + std::wstring(argv[3]) + L"\"");
      PostMessageW(button, BM_CLICK, 0, 0);
    }
    HWND top = nullptr;
    for (int i = 0; i < 2000 && !top; ++i)
      if (!(top = FindTop(argv[at]))) Sleep(10);
    if (!top) return Fail(L"no window \"" + std::wstring(argv[at]) + L"\"");
    HWND moving = argc > at + 3 ? FindControl(top, argv[at + 3]) : nullptr;
    if (argc > at + 3 && !moving) return Fail(L"no control \"" + std::wstring(argv[at + 3]) + L"\"");
    return Painted(top, _wtoi(argv[at + 1]), argv[at + 2], moving);
  }
  if (cmd == L"profile") return Profile(argc, argv);
  if (cmd == L"gone") {
    if (Until([&] { return !FindTop(argv[2]); })) return 0;
    return Fail(L"window \"" + std::wstring(argv[2]) + L"\" is still shown after " + Seconds());
  }
  HWND top = TopLevel(argv[2]);
  if (!top) {
    HWND shown = FindTop(argv[2]);
    return Fail(shown ? L"window \"" + std::wstring(argv[2]) + L"\" is shown but takes no messages in " + Seconds()
                      : L"no window \"" + std::wstring(argv[2]) + L"\" shown in " + Seconds() +
                            L"; shown are: " + ShownWindows());
  }
  if (cmd == L"find") return 0;
  if (cmd == L"settled") return Settled(top) ? 0 : Fail(L"window \"" + std::wstring(argv[2]) + L"\" still paints after " + Seconds());
  if (cmd == L"close") {
    PostMessageW(top, WM_CLOSE, 0, 0);
    return 0;
  }
  if (cmd == L"rect") {
    RECT r, work;
    GetWindowRect(top, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) + L" " +
          std::to_wstring(r.bottom));
    Print(std::to_wstring(work.left) + L" " + std::to_wstring(work.top) + L" " + std::to_wstring(work.right) + L" " +
          std::to_wstring(work.bottom));
    return 0;
  }
  if (cmd == L"painted") {
    if (argc < 5) return Fail(L"usage: driver painted WINDOW SECONDS FILE.ppm [CONTROL]");
    HWND moving = argc > 5 ? Control(top, argv[5]) : nullptr;
    if (argc > 5 && !moving) return Fail(L"no control \"" + std::wstring(argv[5]) + L"\"");
    return Painted(top, _wtoi(argv[3]), argv[4], moving);
  }
  if (cmd == L"message") {
    Print(MessageText(top));
    return 0;
  }
  if (argc < 4) return Fail(L"missing control");
  if (cmd == L"answer") {
    HWND b = Button(top, argv[3]);
    if (!b) return Fail(L"no button \"" + std::wstring(argv[3]) + L"\"");
    HWND owner = GetWindow(top, GW_OWNER);
    std::wstring why;
    if (!ClickButton(b, why)) return Fail(L"answer \"" + std::wstring(argv[3]) + L"\": " + why);
    // The program goes on once the box is gone: done when it waits for messages again.
    if (!Until([&] { return !IsWindow(top) || !IsWindowVisible(top); }))
      return Fail(L"the box stays after the answer \"" + std::wstring(argv[3]) + L"\" for " + Seconds());
    if (owner && IsWindow(owner) && !Answers(owner) && IsWindow(owner))
      return Fail(L"the program takes no messages after the answer in " + Seconds());
    return 0;
  }
  if (cmd == L"captions" && NameOf(top) == argv[3]) return Captions(top, top);
  if (cmd == L"face" && NameOf(top) == argv[3]) return argc < 5 ? Fail(L"missing screenshot") : Face(top, top, argv[4]);
  // The control in the window found, else in another shown window of that
  // caption (the first found may be a progress form of the same title).
  HWND c = Wait([&] {
    if (HWND found = IsWindow(top) ? FindControl(top, argv[3]) : nullptr) return found;
    for (HWND t : FindTops(argv[2]))
      if (HWND found = t != top ? FindControl(t, argv[3]) : nullptr) {
        top = t;
        return found;
      }
    return static_cast<HWND>(nullptr);
  });
  if (!c) return Fail(L"no control \"" + std::wstring(argv[3]) + L"\" in \"" + std::wstring(argv[2]) + L"\" in " + Seconds() +
                      L"; shown are: " + ShownWindows());
  if (!Answers(top)) return Fail(L"window \"" + std::wstring(argv[2]) + L"\" takes no messages in " + Seconds());
  if (cmd == L"captions") return Captions(top, c);
  if (cmd == L"hint") return Hint(top, c);
  if (cmd == L"face") return argc < 5 ? Fail(L"missing screenshot") : Face(top, c, argv[4]);
  auto number = [&](int i) { return argc > i ? _wtoi(argv[i]) : -1; };
  std::wstring why;
  if (cmd == L"click") {
    if (IsClass(c, L"Button")) return ClickButton(c, why) ? 0 : Fail(L"click " + std::wstring(argv[3]) + L": " + why);
    RECT r;
    GetClientRect(c, &r);
    return MouseAt(c, {r.right / 2, r.bottom / 2}, 1, why) ? 0 : Fail(L"click " + std::wstring(argv[3]) + L": " + why);
  }
  if (cmd == L"dblclick-item" || cmd == L"select-item") {
    int index = number(4);
    if (index < 0) return Fail(L"missing item");
    if (IsClass(c, WC_LISTBOXW)) {
      if (SendMessageW(c, LB_SETCURSEL, static_cast<WPARAM>(index), 0) == LB_ERR) return Fail(L"no such item");
      SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), LBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
      if (cmd == L"dblclick-item")
        SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), LBN_DBLCLK), reinterpret_cast<LPARAM>(c));
      return 0;
    }
    RECT r;
    if (!ItemRect(c, index, r, cmd == L"dblclick-item" ? LVIR_ICON : LVIR_LABEL)) return Fail(L"no such item");
    if (!MouseAt(c, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, cmd == L"dblclick-item" ? 2 : 1, why))
      return Fail(cmd + L" " + std::to_wstring(index) + L": " + why);
    // A click selects the item (a double click may close the window).
    if (cmd == L"select-item" &&
        !Until([&] { return (SendMessageW(c, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0; }))
      return Fail(L"item " + std::to_wstring(index) + L" is not selected after the click, " + Seconds());
    return 0;
  }
  if (cmd == L"check-item") {
    if (number(4) < 0 || argc < 6) return Fail(L"missing item or state");
    return SetListViewCheck(c, number(4), number(5) != 0) ? 0 : Fail(L"no such item");
  }
  if (cmd == L"item-checked") {
    if (number(4) < 0) return Fail(L"missing item");
    auto state = SendMessageW(c, LVM_GETITEMSTATE, static_cast<WPARAM>(number(4)), LVIS_STATEIMAGEMASK);
    return Flag((state >> 12) == 2) ? 0 : 1;
  }
  if (cmd == L"rows") {
    HWND header = reinterpret_cast<HWND>(SendMessageW(c, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    int n = static_cast<int>(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      std::wstring row = ListViewText(c, i);
      for (int k = 1; k < columns; ++k) row += L"\t" + ListViewText(c, i, k);
      Print(row);
    }
    return 0;
  }
  if (cmd == L"items") {
    for (const std::wstring& item : Items(c)) Print(item);
    return 0;
  }
  if (cmd == L"select") {
    if (argc < 5) return Fail(L"missing item");
    std::vector<std::wstring> items = Items(c);
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] != argv[4]) continue;
      SendMessageW(c, CB_SETCURSEL, i, 0);
      SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
      return 0;
    }
    return Fail(L"no item \"" + std::wstring(argv[4]) + L"\"");
  }
  if (cmd == L"tab") {
    if (argc < 5) return Fail(L"missing tab");
    int index = TabIndex(c, argv[4]);
    RECT r;
    if (index < 0 || !TabRect(c, index, r)) return Fail(L"no tab \"" + std::wstring(argv[4]) + L"\"");
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    std::vector<HWND> before = ShownTops(pid);
    if (!MouseAt(c, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 1, why))
      return Fail(L"tab \"" + std::wstring(argv[4]) + L"\": " + why);
    // Done once the tab is chosen, its sheet shown and painted, or once the
    // click opened a window (a box that refuses to leave the page).
    HWND sheet = nullptr;
    int at = 0;
    for (HWND w : Children(c))
      if (GetParent(w) == c && at++ == index) sheet = w;
    int current = -1;
    bool opened = false;
    if (!Until([&] {
          current = static_cast<int>(SendMessageW(c, TCM_GETCURSEL, 0, 0));
          opened = Opened(pid, before);
          return opened || (current == index && (!sheet || IsWindowVisible(sheet)));
        }))
      return Fail(L"tab \"" + std::wstring(argv[4]) + L"\" (" + std::to_wstring(index) + L") is not shown after the click in " +
                  Seconds() + L"; the chosen tab is " + std::to_wstring(current) + L"; shown are: " + ShownWindows());
    if (opened) return 0;
    return Settled(top) ? 0 : Fail(L"window \"" + std::wstring(argv[2]) + L"\" still paints after " + Seconds());
  }
  if (cmd == L"type") {
    if (argc < 5) return Fail(L"missing text");
    // A user types once the window stands ready: a new dialog that still sets
    // itself up (its file name field among it) would overwrite the text.
    if (!Settled(top)) return Fail(L"window \"" + std::wstring(argv[2]) + L"\" still paints after " + Seconds());
    // Selecting all and replacing it sends the change notifications that a
    // user's typing sends, also to a multi-line (right-aligned) edit.
    SendMessageW(c, EM_SETSEL, 0, -1);
    SendMessageW(c, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(argv[4]));
    return 0;
  }
  if (cmd == L"text") {  // with a text: once it is that (or at the limit), as it is then
    std::wstring text;
    Until([&] { text = Text(c); return argc < 5 || text == argv[4]; });
    Print(text);
    return 0;
  }
  // A state, at once, or with an expected one once it is so (or at the limit).
  // (a state not reached is told on the error output too: the callers
  // compare the printed state)
  auto state = [&](auto read) {
    if (argc < 5) return Flag(read()) ? 0 : 1;
    bool want = number(4) != 0;
    bool reached = Until([&] { return read() == want; });
    if (!reached)
      Print(L"driver: " + cmd + L" of \"" + std::wstring(argv[3]) + L"\" in \"" + std::wstring(argv[2]) + L"\" is not " +
                (want ? L"1" : L"0") + L" after " + Seconds() + L"; shown are: " + ShownWindows(),
            STD_ERROR_HANDLE);
    return Flag(reached ? want : !want) ? 0 : 1;
  };
  if (cmd == L"checked") return state([&] { return SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED; });
  if (cmd == L"enabled") return state([&] { return IsWindowEnabled(c) != FALSE; });
  if (cmd == L"visible") return state([&] { return IsWindowVisible(c) != FALSE; });
  return Fail(L"unknown command " + cmd);
}

}  // namespace

// serve: the requests one a line from the standard input (UTF-8, the words
// apart by the unit separator 0x1F: a request's number, the command and its
// arguments), each answered as a call of its own would be, then a line of
// the record separator 0x1E, the number, 0x1F and the status. One driver
// serves a whole test so, without a program start a command.
int Serve() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  for (;;) {
    size_t end;
    while ((end = pending.find('\n')) == std::string::npos) {
      char chunk[4096];
      DWORD got = 0;
      if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0) return 0;
      pending.append(chunk, got);
    }
    std::string line = pending.substr(0, end);
    pending.erase(0, end + 1);
    std::vector<std::wstring> words{L"driver"};
    for (size_t at = 0;;) {
      size_t next = line.find('\x1f', at);
      std::string word = line.substr(at, next == std::string::npos ? std::string::npos : next - at);
      int n = MultiByteToWideChar(CP_UTF8, 0, word.data(), static_cast<int>(word.size()), nullptr, 0);
      std::wstring w(static_cast<size_t>(n), L'\0');
      MultiByteToWideChar(CP_UTF8, 0, word.data(), static_cast<int>(word.size()), w.data(), n);
      words.push_back(w);
      if (next == std::string::npos) break;
      at = next + 1;
    }
    std::wstring number = words.size() > 1 ? words[1] : L"";
    if (words.size() > 1) words.erase(words.begin() + 1);
    std::vector<wchar_t*> argv;
    for (std::wstring& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    int status = argc < 3 ? Fail(L"usage: driver COMMAND WINDOW [CONTROL] [ARG]") : Run(argc, argv.data());
    Print(L"\x1e" + number + L"\x1f" + std::to_wstring(status));
  }
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"serve") return Serve();
  if (argc < 3) return Fail(L"usage: driver COMMAND WINDOW [CONTROL] [ARG]");
  return Run(argc, argv);
}
