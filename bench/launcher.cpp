// The start-up benchmark's launcher: starts a program, waits until its main
// window is shown and idle (it answers a message), and prints the time taken
// in milliseconds and the program's peak working set in KiB. With "apply",
// it then ticks a box, clicks a button and times the road to the question
// box that the click brings (answered No before the program is closed).
// With "tree", it prints the shown main window's tree instead (after a click
// on the tab unless TAB is "-"), for the same-work baseline to make again.
//   launcher start WINDOW COMMAND-LINE
//   launcher apply WINDOW COMMAND-LINE TAB BOX BUTTON
//   launcher tree WINDOW COMMAND-LINE TAB
// WINDOW is the main window's caption; TAB a sheet's name or "-" (no tab);
// BOX and BUTTON a control's name (as the renderer names windows) or caption.
// Output: "start MS KIB CPU-MS STRETCHES", or "apply MS KIB CPU-MS
// STRETCHES" (the processor time of the program in the timed stretch; the
// stretches as Stretches tells); for "tree", one line a window (see
// PrintTree).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "trace_field.h"

namespace {

void Print(const std::string& s) {
  DWORD written;
  std::string line = s + "\n";
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int Fail(const std::string& why) {
  Print("launcher: " + why);
  return 1;
}

double Now() {
  static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

std::wstring Text(HWND w) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buf;
}

// A text the suite's renderer keeps on a window as an atom property.
std::wstring AtomProp(HWND w, const wchar_t* prop) {
  auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropW(w, prop)));
  wchar_t buf[256] = {};
  if (atom) GlobalGetAtomNameW(atom, buf, 256);
  return buf;
}

std::wstring NameOf(HWND w) { return AtomProp(w, L"SuiteName"); }

struct Search {
  DWORD pid;
  std::wstring caption;
  bool dialog;
  HWND found = nullptr;
};

// A shown top-level window of the process with the caption (a dialog box
// of the standard class when `dialog`).
BOOL CALLBACK VisitTop(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<Search*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s.pid || !IsWindowVisible(w)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (s.dialog != (wcscmp(cls, L"#32770") == 0)) return TRUE;
  // The text the window system keeps: nothing is sent to a program that
  // is busy, so the search neither waits for it nor slows it.
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  if (text != s.caption) return TRUE;
  s.found = w;
  return FALSE;
}

// Whether the process shows a top-level window other than `except` (the
// splash or a progress form beside the main window).
struct Other {
  DWORD pid;
  HWND except, awaited;
  bool seen = false;
};
BOOL CALLBACK VisitOther(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<Other*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s.pid || w == s.except || w == s.awaited || !IsWindowVisible(w)) return TRUE;
  s.seen = true;
  return FALSE;
}

// The moments of a road as the launcher sees them, in ms from its start:
// another window of the program first shown (the splash, the progress
// form), all such windows gone, the awaited window shown, and it idle.
struct Marks {
  double other = -1, otherGone = -1, shown = -1, idle = -1;
};

HWND FindTop(DWORD pid, const std::wstring& caption, bool dialog) {
  Search s{pid, caption, dialog};
  EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Waits (up to 30 s) for the window to be shown, then for its thread to
// answer a message: the start-up road is over and the loop waits for input.
// Marks, from `t0`, when other windows of the program (not `main`) come and go.
HWND WaitShownIdle(HANDLE process, DWORD pid, const std::wstring& caption, bool dialog, double t0 = 0,
                   Marks* marks = nullptr, HWND main = nullptr) {
  for (int i = 0; i < 30000; ++i) {
    HWND w = FindTop(pid, caption, dialog);
    if (marks) {
      Other o{pid, main, w};
      EnumWindows(VisitOther, reinterpret_cast<LPARAM>(&o));
      double now = Now() - t0;
      if (o.seen && marks->other < 0) marks->other = now;
      if (!o.seen && marks->other >= 0 && marks->otherGone < 0) marks->otherGone = now;
      if (w && marks->other >= 0 && marks->otherGone < 0) marks->otherGone = now;  // still shown beside it
    }
    if (w) {
      if (marks) marks->shown = Now() - t0;
      DWORD_PTR r;
      bool idle = SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r);
      if (marks) marks->idle = Now() - t0;
      return idle ? w : nullptr;
    }
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
    Sleep(1);
  }
  return nullptr;
}

BOOL CALLBACK AddChild(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

std::vector<HWND> Children(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, AddChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

HWND Control(HWND top, const std::wstring& what) {
  for (int i = 0; i < 100; ++i) {
    for (HWND w : Children(top))
      if (NameOf(w) == what || (IsWindowVisible(w) && Text(w) == what)) return w;
    Sleep(50);
  }
  return nullptr;
}

// A click on a tab, as the user's mouse gives it.
bool ClickTab(HWND top, const std::wstring& sheet) {
  HWND tabs = nullptr;
  int index = -1;
  for (HWND w : Children(top)) {
    HWND parent = GetParent(w);
    if (NameOf(w) != sheet) continue;
    tabs = parent;
    index = 0;
    for (HWND s : Children(tabs)) {
      if (s == w) break;
      if (GetParent(s) == tabs) ++index;
    }
  }
  if (!tabs) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(tabs, &pid);
  HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) return false;
  void* mem = VirtualAllocEx(proc, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT r{};
  SIZE_T done = 0;
  bool ok = mem && SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem)) &&
            ReadProcessMemory(proc, mem, &r, sizeof r, &done);
  if (mem) VirtualFreeEx(proc, mem, 0, MEM_RELEASE);
  CloseHandle(proc);
  if (!ok) return false;
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tabs, &p);
  SetForegroundWindow(top);
  Sleep(100);
  SetCursorPos(p.x, p.y);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  Sleep(300);
  return true;
}

// The processor time the program has used (user and kernel), in ms: under
// a loaded machine it moves far less than the wall-clock time.
double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& f) {
    return static_cast<double>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

size_t PeakKiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(process, &pmc, sizeof pmc)) return 0;
  return pmc.PeakWorkingSetSize / 1024;
}

// Fields of a line are separated by tabs; a tab, line end or backslash in
// a text is written as \t, \n, \r or \\.
std::string Field(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), utf8.data(), n, nullptr, nullptr);
  return TraceField(utf8);
}

std::wstring FontOf(HWND w) { return AtomProp(w, L"SuiteFont"); }

// The items of a list box or combo box (the window system carries their
// texts between processes).
std::wstring Items(HWND w, const wchar_t* cls) {
  bool list = _wcsicmp(cls, L"ListBox") == 0, combo = _wcsicmp(cls, L"ComboBox") == 0;
  if (!list && !combo) return L"";
  LRESULT n = SendMessageW(w, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  std::wstring all;
  for (LRESULT i = 0; i < n; ++i) {
    LRESULT len = SendMessageW(w, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) break;
    std::wstring item(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(w, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(len));
    if (i) all += L'\n';
    all += item;
  }
  return all;
}

// "win INDEX PARENT CLASS STYLE EXSTYLE X Y W H NAME FONT TEXT ITEMS": every
// window of the tree in creation order of its siblings, parents first; X
// and Y in the parent's client area (the screen's for the top window).
void PrintTree(HWND top) {
  std::vector<HWND> all{top};
  for (HWND w : Children(top)) all.push_back(w);
  for (size_t i = 0; i < all.size(); ++i) {
    HWND w = all[i];
    size_t parent = 0;
    for (size_t j = 0; j < i; ++j)
      if (all[j] == GetParent(w)) parent = j;
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    RECT r;
    GetWindowRect(w, &r);
    if (i) MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    std::string line = "win\t" + std::to_string(i) + "\t" + (i ? std::to_string(parent) : std::string("-")) + "\t" +
                       Field(cls) + "\t" + std::to_string(GetWindowLongW(w, GWL_STYLE)) + "\t" +
                       std::to_string(GetWindowLongW(w, GWL_EXSTYLE)) + "\t" + std::to_string(r.left) + "\t" +
                       std::to_string(r.top) + "\t" + std::to_string(r.right - r.left) + "\t" +
                       std::to_string(r.bottom - r.top) + "\t" + Field(NameOf(w)) + "\t" + Field(FontOf(w)) +
                       "\t" + Field(Text(w)) + "\t" + Field(Items(w, cls));
    Print(line);
  }
}

// Closes the program through its window; ends it when it does not go.
void Finish(PROCESS_INFORMATION& pi, HWND main) {
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

std::string Ms(double ms) {
  char buf[32];
  wsprintfA(buf, "%d.%d", static_cast<int>(ms), static_cast<int>(ms * 10) % 10);
  return buf;
}

// " BEFORE OTHER BETWEEN IDLE": the stretches of a road in ms, to the other
// window first seen, while it showed, from its going to the awaited window
// shown, and from then to idle (BEFORE is the whole road to shown and the
// next two 0 when no other window was seen).
std::string Stretches(const Marks& m) {
  if (m.other < 0) return " " + Ms(m.shown) + " 0.0 0.0 " + Ms(m.idle - m.shown);
  return " " + Ms(m.other) + " " + Ms(m.otherGone - m.other) + " " + Ms(m.shown - m.otherGone) + " " +
         Ms(m.idle - m.shown);
}

int Run(int argc, wchar_t** argv) {
  if (argc < 4) return Fail("usage: launcher start|apply|tree WINDOW COMMAND-LINE [TAB BOX BUTTON]");
  std::wstring mode = argv[1], caption = argv[2], line = argv[3];
  bool apply = mode == L"apply", tree = mode == L"tree";
  if (apply && argc < 7) return Fail("apply needs TAB BOX BUTTON");
  if (tree && argc < 5) return Fail("tree needs TAB");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double t0 = Now();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return Fail("cannot start the program");
  Marks marks;
  HWND main = WaitShownIdle(pi.hProcess, pi.dwProcessId, caption, false, t0, &marks);
  double started = Now() - t0;
  if (!main) {
    Finish(pi, nullptr);
    return Fail("no shown, idle main window");
  }
  if (tree) {
    if (std::wstring(argv[4]) != L"-" && !ClickTab(main, argv[4])) {
      Finish(pi, main);
      return Fail("no tab");
    }
    DWORD_PTR idle;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &idle);
    PrintTree(main);
    Finish(pi, main);
    return 0;
  }
  if (!apply) {
    Print("start " + Ms(started) + " " + std::to_string(PeakKiB(pi.hProcess)) + " " + Ms(CpuMs(pi.hProcess)) +
          Stretches(marks));
    Finish(pi, main);
    return 0;
  }
  if (std::wstring(argv[4]) != L"-" && !ClickTab(main, argv[4])) {
    Finish(pi, main);
    return Fail("no tab");
  }
  HWND box = Control(main, argv[5]), button = Control(main, argv[6]);
  if (!box || !button) {
    Finish(pi, main);
    return Fail("no box or button");
  }
  SendMessageW(box, BM_CLICK, 0, 0);
  DWORD_PTR r;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
  double t1 = Now(), cpu1 = CpuMs(pi.hProcess);
  PostMessageW(button, BM_CLICK, 0, 0);
  Marks applyMarks;
  HWND question = WaitShownIdle(pi.hProcess, pi.dwProcessId, L"", true, t1, &applyMarks, main);
  double applied = Now() - t1;
  if (!question) {
    Finish(pi, main);
    return Fail("no question after the click");
  }
  Print("apply " + Ms(applied) + " " + std::to_string(PeakKiB(pi.hProcess)) + " " + Ms(CpuMs(pi.hProcess) - cpu1) +
        Stretches(applyMarks));
  PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
  Sleep(200);
  Finish(pi, main);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
