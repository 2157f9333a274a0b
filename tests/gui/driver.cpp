// The GUI test driver: plays a user on the windows of another program in
// the same Wine prefix. Every command waits (up to 10 s) for its window.
//   driver find WINDOW                    the top-level window exists
//   driver click WINDOW CONTROL           click a button, box, label or picture
//   driver dblclick-item WINDOW CONTROL N double-click item N of a list view
//   driver type WINDOW CONTROL TEXT       replace the text of an edit
//   driver text WINDOW CONTROL            print the control's text
//   driver checked WINDOW CONTROL         print 1 or 0
//   driver answer CAPTION BUTTON          press a button of a message box
//   driver close WINDOW                   close the window
// WINDOW is a caption; CONTROL is a caption or CLASS#N (the N-th control of
// that window class, counted from 1 in creation order).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

void Print(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string u(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), u.data(), n, nullptr, nullptr);
  u += "\n";
  DWORD written;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), u.data(), static_cast<DWORD>(u.size()), &written, nullptr);
}

int Fail(const std::wstring& why) {
  Print(L"driver: " + why);
  return 1;
}

std::wstring Text(HWND w) {
  wchar_t buf[4096] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
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

template <class F>
HWND Wait(F find) {
  for (int i = 0; i < 100; ++i) {
    if (HWND w = find()) return w;
    Sleep(100);
  }
  return nullptr;
}

HWND TopLevel(const std::wstring& caption) {
  return Wait([&]() -> HWND {
    HWND w = FindWindowW(nullptr, caption.c_str());
    return w && IsWindowVisible(w) ? w : nullptr;
  });
}

struct Search {
  std::wstring caption, cls;
  int order = 0;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<Search*>(lp);
  if (!s.cls.empty()) {
    wchar_t cls[256];
    GetClassNameW(w, cls, 256);
    if (_wcsicmp(cls, s.cls.c_str()) == 0 && --s.order == 0) {
      s.found = w;
      return FALSE;
    }
  } else if (IsWindowVisible(w) && (Text(w) == s.caption || Plain(Text(w)) == s.caption)) {
    s.found = w;
    return FALSE;
  }
  return TRUE;
}

HWND Control(HWND top, const std::wstring& what) {
  return Wait([&]() -> HWND {
    Search s;
    size_t hash = what.rfind(L'#');
    if (hash != std::wstring::npos && hash + 1 < what.size() && iswdigit(what[hash + 1])) {
      s.cls = what.substr(0, hash);
      s.order = _wtoi(what.c_str() + hash + 1);
    } else {
      s.caption = what;
    }
    EnumChildWindows(top, Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
  });
}

bool IsButton(HWND w) {
  wchar_t cls[64];
  GetClassNameW(w, cls, 64);
  return _wcsicmp(cls, L"Button") == 0;
}

void MouseAt(HWND w, POINT client, int clicks) {
  ClientToScreen(w, &client);
  SetForegroundWindow(GetAncestor(w, GA_ROOT));
  Sleep(200);
  SetCursorPos(client.x, client.y);
  for (int i = 0; i < clicks; ++i) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(30);
  }
}

// The rectangle of a list-view item, read through memory of the other process.
bool ItemRect(HWND list, int index, RECT& rect) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) return false;
  void* remote = VirtualAllocEx(proc, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT r{LVIR_ICON, 0, 0, 0};
  SIZE_T n = 0;
  bool ok = remote && WriteProcessMemory(proc, remote, &r, sizeof r, &n) &&
            SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(proc, remote, &rect, sizeof rect, &n);
  if (remote) VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
  CloseHandle(proc);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Fail(L"usage: driver COMMAND WINDOW [CONTROL] [ARG]");
  std::wstring cmd = argv[1];
  HWND top = TopLevel(argv[2]);
  if (!top) return Fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
  if (cmd == L"find") return 0;
  if (cmd == L"close") {
    PostMessageW(top, WM_CLOSE, 0, 0);
    return 0;
  }
  if (argc < 4) return Fail(L"missing control");
  HWND c = Control(top, argv[3]);
  if (!c) return Fail(L"no control \"" + std::wstring(argv[3]) + L"\"");
  if (cmd == L"click" || cmd == L"answer") {
    if (IsButton(c)) {
      PostMessageW(c, BM_CLICK, 0, 0);
    } else {
      RECT r;
      GetClientRect(c, &r);
      MouseAt(c, {r.right / 2, r.bottom / 2}, 1);
    }
    return 0;
  }
  if (cmd == L"dblclick-item") {
    if (argc < 5) return Fail(L"missing item");
    RECT r;
    if (!ItemRect(c, _wtoi(argv[4]), r)) return Fail(L"no such item");
    MouseAt(c, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 2);
    return 0;
  }
  if (cmd == L"type") {
    if (argc < 5) return Fail(L"missing text");
    SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    return 0;
  }
  if (cmd == L"text") {
    Print(Text(c));
    return 0;
  }
  if (cmd == L"checked") {
    Print(SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
    return 0;
  }
  return Fail(L"unknown command " + cmd);
}
