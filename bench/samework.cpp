// The benchmark's same-work baseline: a bare Win32 program that does what
// the settings tool does to the system, taken from the tool itself on the
// benchmark's prefix (bench/record.cpp and the launcher's window tree), with
// none of the suite's layers: no window model, no ports, no renderer.
// Start-up: the registry calls, icon extractions and profile reads in the
// tool's order, the splash with its progress bar moved as often and where
// the tool moves it, then the main window's tree (classes, styles, places,
// texts, fonts, list items, tabs), shown and painted once, then idle.
// Apply (the button named sbPlay): the progress form and its moves, the
// registry calls, the snapshot file's whole text in one write, the shell
// notification, then the question.
//   samework start|apply   (beside samework.trace and samework-MODE.tree)
// With SAMEWORK_TIMES naming a file, it writes there how long each stretch
// took (reading the files, the start-up calls, the window tree and its first
// paint, the apply), for the benchmark's breakdown.
// Reading the two files is part of its time: it makes the baseline slower,
// never faster, than the work alone.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::wstring>;

std::wstring Wide(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::wstring Unescape(const std::wstring& s) {
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != L'\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    wchar_t c = s[++i];
    out += c == L't' ? L'\t' : c == L'n' ? L'\n' : c == L'r' ? L'\r' : c;
  }
  return out;
}

// The lines of a file beside the program, split at tabs and unescaped.
std::vector<Fields> Lines(const std::wstring& name) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file = path;
  file = file.substr(0, file.find_last_of(L'\\') + 1) + name;
  std::vector<Fields> lines;
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return lines;
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  for (size_t at = 0; at < bytes.size();) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    Fields f;
    for (size_t b = at; b <= end;) {
      size_t tab = bytes.find('\t', b);
      if (tab == std::string::npos || tab > end) tab = end;
      f.push_back(Unescape(Wide(bytes.substr(b, tab - b))));
      b = tab + 1;
    }
    lines.push_back(std::move(f));
    at = end + 1;
  }
  return lines;
}

int Int(const std::wstring& s) { return static_cast<int>(wcstol(s.c_str(), nullptr, 10)); }
DWORD Dw(const std::wstring& s) { return static_cast<DWORD>(wcstoul(s.c_str(), nullptr, 10)); }

HKEY RootKey(const std::wstring& r) {
  if (r == L"HKCR") return HKEY_CLASSES_ROOT;
  if (r == L"HKCU") return HKEY_CURRENT_USER;
  if (r == L"HKLM") return HKEY_LOCAL_MACHINE;
  return HKEY_USERS;
}

std::vector<BYTE> Bytes(const std::wstring& hex) {
  std::vector<BYTE> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<BYTE>(wcstoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  return out;
}

// A font as "height|weight|italic|charset|face", one handle for each.
HFONT FontOf(const std::wstring& described) {
  static std::map<std::wstring, HFONT> fonts;
  auto it = fonts.find(described);
  if (it != fonts.end()) return it->second;
  Fields f;
  for (size_t b = 0; b <= described.size();) {
    size_t bar = described.find(L'|', b);
    if (bar == std::wstring::npos) bar = described.size();
    f.push_back(described.substr(b, bar - b));
    b = bar + 1;
  }
  HFONT font = nullptr;
  if (f.size() >= 5) {
    LOGFONTW lf{};
    lf.lfHeight = Int(f[0]);
    lf.lfWeight = Int(f[1]);
    lf.lfItalic = static_cast<BYTE>(Int(f[2]));
    lf.lfCharSet = static_cast<BYTE>(Int(f[3]));
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, f[4].c_str(), LF_FACESIZE - 1);
    font = CreateFontIndirectW(&lf);
  }
  return fonts[described] = font;
}

struct State {
  HINSTANCE inst = nullptr;
  std::vector<Fields> trace;
  std::vector<Fields> tree;
  std::map<std::wstring, HKEY> keys;        // recorded handle -> this run's
  std::map<std::wstring, HWND> forms;       // name -> window
  std::map<std::wstring, HWND> bars;        // form|bar -> window
  std::map<HWND, DWORD> barPainted;
  std::vector<HICON> icons;
  std::wstring snapshotPath;
  std::vector<BYTE> snapshot;
  HWND main = nullptr, play = nullptr;
  size_t applyAt = 0;
} g;

void Registry(const Fields& f) {
  const std::wstring& op = f[0];
  auto key = [&](const std::wstring& id) { auto it = g.keys.find(id); return it == g.keys.end() ? nullptr : it->second; };
  if (op == L"open" && f.size() >= 5) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(RootKey(f[1]), f[2].c_str(), 0, Dw(f[3]), &k) != ERROR_SUCCESS) k = nullptr;
    if (f[4] != L"0") g.keys[f[4]] = k;
  } else if (op == L"create" && f.size() >= 4) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(RootKey(f[1]), f[2].c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
      k = nullptr;
    if (f[3] != L"0") g.keys[f[3]] = k;
  } else if (op == L"close") {
    if (HKEY k = key(f[1])) RegCloseKey(k);
    g.keys.erase(f[1]);
  } else if (op == L"query") {
    BYTE buf[256];
    DWORD type = 0, size = sizeof buf;
    if (RegQueryValueExW(key(f[1]), f[2].c_str(), nullptr, &type, buf, &size) == ERROR_MORE_DATA) {
      std::vector<BYTE> big(size);
      RegQueryValueExW(key(f[1]), f[2].c_str(), nullptr, &type, big.data(), &size);
    }
  } else if (op == L"set" && f.size() >= 5) {
    std::vector<BYTE> data = Bytes(f[4]);
    RegSetValueExW(key(f[1]), f[2].c_str(), 0, Dw(f[3]), data.data(), static_cast<DWORD>(data.size()));
  } else if (op == L"delvalue") {
    RegDeleteValueW(key(f[1]), f[2].c_str());
  } else if (op == L"delkey") {
    RegDeleteKeyW(RootKey(f[1]), f[2].c_str());
  } else if (op == L"subkeys" || op == L"values") {
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
      DWORD n = 16384;
      LONG rc = op == L"subkeys" ? RegEnumKeyExW(key(f[1]), i, name, &n, nullptr, nullptr, nullptr, nullptr)
                                 : RegEnumValueW(key(f[1]), i, name, &n, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
    }
  }
}

double Now() {
  static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// "NAME MS" lines of the stretches, written when SAMEWORK_TIMES names a file.
void Stretch(const char* name, double since) {
  static std::string lines;
  char buf[96];
  wsprintfA(buf, "%s %d.%d\n", name, static_cast<int>(Now() - since), static_cast<int>((Now() - since) * 10) % 10);
  lines += buf;
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"SAMEWORK_TIMES", path, MAX_PATH)) return;
  HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(h, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(h);
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp);

// A group box paints only its frame and caption; its inside, which its
// parent's clipping leaves out, is erased here.
WNDPROC buttonProc = nullptr;
LRESULT CALLBACK GroupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(w, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return CallWindowProcW(buttonProc, w, m, wp, lp);
}

void ShowForm(size_t& at) {
  // form NAME BORDER ICONS LEFT TOP CLIENT-W CLIENT-H CAPTION FONT, then its controls.
  const Fields& f = g.trace[at];
  DWORD style = WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
  switch (Int(f[2])) {
    case 0: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
    case 1: style |= WS_OVERLAPPED | WS_CAPTION | WS_BORDER; break;
    case 2: style |= WS_OVERLAPPED | WS_CAPTION; ex |= WS_EX_DLGMODALFRAME; break;
    default: style |= WS_POPUP; break;
  }
  if (Int(f[2]) != 3 && (Int(f[3]) & 1)) style |= WS_SYSMENU;
  RECT r{0, 0, Int(f[6]), Int(f[7])};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = r.right - r.left, height = r.bottom - r.top;
  HWND form = CreateWindowExW(ex, L"SuiteForm", f[8].c_str(), style, work.left + (work.right - work.left - width) / 2,
                              work.top + (work.bottom - work.top - height) / 2, width, height, GetActiveWindow(),
                              nullptr, g.inst, nullptr);
  g.forms[f[1]] = form;
  HFONT formFont = FontOf(f[9]);
  std::vector<HWND> parents{form};
  while (at + 1 < g.trace.size() && g.trace[at + 1][0] == L"control") {
    // control DEPTH KIND NAME L T W H CAPTION FONT EXTRA
    const Fields& c = g.trace[++at];
    size_t depth = static_cast<size_t>(Int(c[1]));
    parents.resize(depth);
    const wchar_t* cls = L"SuitePanel";
    DWORD cs = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
    switch (Int(c[2])) {
      case 6:  // a label
        cls = WC_STATICW;
        cs |= SS_NOTIFY | (Int(c[10]) == 1 ? SS_CENTER : Int(c[10]) == 2 ? SS_RIGHT : SS_LEFTNOWORDWRAP);
        break;
      case 20: cls = PROGRESS_CLASSW; break;
      default: break;
    }
    Fields extra;
    for (size_t b = 0; b <= c[10].size();) {
      size_t bar = c[10].find(L'|', b);
      if (bar == std::wstring::npos) bar = c[10].size();
      extra.push_back(c[10].substr(b, bar - b));
      b = bar + 1;
    }
    if (Int(c[2]) == 20 && extra.size() >= 4 && extra[3] == L"1") cs |= PBS_SMOOTH;
    HWND w = CreateWindowExW(0, cls, Int(c[2]) == 20 ? nullptr : c[8].c_str(), cs, Int(c[4]), Int(c[5]), Int(c[6]),
                             Int(c[7]), parents.back(), nullptr, g.inst, nullptr);
    if (Int(c[2]) == 5 && Int(c[10]) == 2) SetWindowLongPtrW(w, GWLP_USERDATA, 1);  // a lowered edge
    if (Int(c[2]) == 20 && extra.size() >= 3) {
      SendMessageW(w, PBM_SETRANGE32, static_cast<WPARAM>(Int(extra[0])), Int(extra[1]));
      SendMessageW(w, PBM_SETSTEP, static_cast<WPARAM>(Int(extra[2])), 0);
      g.bars[f[1] + L"|" + c[3]] = w;
    }
    HFONT font = FontOf(c[9]);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : formFont), FALSE);
    parents.push_back(w);
  }
  ShowWindow(form, SW_SHOW);
  UpdateWindow(form);
}

// A bar shows its new position at once (the queue does not run meanwhile),
// at most once in a frame's time, as a program with a visible bar must.
void Move(const Fields& f) {
  HWND bar = g.bars[f[1] + L"|" + f[2]];
  if (!bar) return;
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(Int(f[3])), 0);
  DWORD now = GetTickCount();
  DWORD& painted = g.barPainted[bar];
  if (painted == 0 || now - painted >= 16) {
    UpdateWindow(bar);
    painted = GetTickCount() | 1;
  }
}

void WriteSnapshot() {
  HANDLE h = CreateFileW(g.snapshotPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, g.snapshot.data(), static_cast<DWORD>(g.snapshot.size()), &written, nullptr);
  SetEndOfFile(h);
  CloseHandle(h);
}

// Replays the trace from `at` to the next phase line; returns its index.
size_t Replay(size_t at) {
  for (; at < g.trace.size(); ++at) {
    const Fields& f = g.trace[at];
    const std::wstring& op = f[0];
    if (op == L"phase") return at;
    if (op == L"form") {
      ShowForm(at);
    } else if (op == L"move") {
      Move(f);
    } else if (op == L"gone") {
      if (HWND w = g.forms[f[1]]) DestroyWindow(w);
      g.forms.erase(f[1]);
    } else if (op == L"pump") {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    } else if (op == L"icon" || op == L"iconcount") {
      HICON icon = ExtractIconW(g.inst, f[1].c_str(), op == L"icon" ? static_cast<UINT>(Int(f[2])) : static_cast<UINT>(-1));
      if (op == L"icon" && icon) g.icons.push_back(icon);
    } else if (op == L"bitmap") {
      LoadImageW(nullptr, f[1].c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    } else if (op == L"profread" || op == L"profkeys") {
      wchar_t buf[4096];
      GetPrivateProfileStringW(f[2].c_str(), op == L"profread" ? f[3].c_str() : nullptr, L"", buf, 4096, f[1].c_str());
    } else if (op == L"profwrite") {
      WritePrivateProfileStringW(f[2].c_str(), f[3].c_str(), f[4].c_str(), f[1].c_str());
    } else if (op == L"profdelete") {
      WritePrivateProfileStringW(f[2].c_str(), f[3].c_str(), nullptr, f[1].c_str());
    } else if (op == L"profstore") {
      WriteSnapshot();
    } else if (op == L"notify") {
      SHChangeNotify(Int(f[1]), static_cast<UINT>(Int(f[2])), nullptr, nullptr);
    } else if (op == L"question") {
      static const UINT icons[] = {0, MB_ICONQUESTION, MB_ICONINFORMATION, MB_ICONWARNING, MB_ICONERROR};
      static const UINT buttons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL, MB_ABORTRETRYIGNORE};
      MessageBoxW(g.main, f[1].c_str(), f[2].c_str(), icons[Int(f[3]) % 5] | buttons[Int(f[4]) % 6]);
    } else {
      Registry(f);
    }
  }
  return at;
}

// The main window's tree: win INDEX PARENT CLASS STYLE EXSTYLE X Y W H NAME FONT TEXT ITEMS.
void MakeTree() {
  std::map<std::wstring, std::pair<int, Fields>> tabs;  // page control -> selected, captions
  for (const Fields& f : g.trace)
    if (f[0] == L"tabs" && f.size() >= 3) tabs[f[1]] = {Int(f[2]), Fields(f.begin() + 3, f.end())};
  std::vector<HWND> made;
  size_t image = 0;
  for (const Fields& f : g.tree) {
    if (f[0] != L"win" || f.size() < 13) continue;
    bool top = f[2] == L"-";
    DWORD style = Dw(f[4]), ex = Dw(f[5]);
    if (top) style &= ~WS_VISIBLE;
    HWND parent = top ? nullptr : made[static_cast<size_t>(Int(f[2]))];
    HWND w = CreateWindowExW(ex, f[3].c_str(), f[12].c_str(), style, Int(f[6]), Int(f[7]), Int(f[8]), Int(f[9]), parent,
                             nullptr, g.inst, nullptr);
    made.push_back(w);
    if (top) g.main = w;
    if (_wcsicmp(f[3].c_str(), WC_BUTTONW) == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX)
      buttonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupProc)));
    if (!f[10].empty()) {
      ATOM atom = GlobalAddAtomW(f[10].c_str());
      SetPropW(w, L"SuiteName", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(atom)));
      if (f[10] == L"sbPlay") g.play = w;
    }
    if (HFONT font = FontOf(f[11])) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (_wcsicmp(f[3].c_str(), L"SuiteImage") == 0 && image < g.icons.size())
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(g.icons[image++]));
    if (f.size() >= 14 && !f[13].empty()) {
      bool combo = _wcsicmp(f[3].c_str(), L"ComboBox") == 0;
      for (size_t b = 0; b <= f[13].size();) {
        size_t nl = f[13].find(L'\n', b);
        if (nl == std::wstring::npos) nl = f[13].size();
        std::wstring item = f[13].substr(b, nl - b);
        SendMessageW(w, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        b = nl + 1;
      }
    }
    if (auto it = tabs.find(f[10]); it != tabs.end() && _wcsicmp(f[3].c_str(), WC_TABCONTROLW) == 0) {
      for (size_t i = 0; i < it->second.second.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = it->second.second[i].data();
        SendMessageW(w, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      }
      SendMessageW(w, TCM_SETCURSEL, static_cast<WPARAM>(it->second.first), 0);
    }
  }
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == g.play && g.play && HIWORD(wp) == BN_CLICKED) {
        double t = Now();
        Replay(g.applyAt + 1);
        Stretch("apply", t);
        return 0;
      }
      if (GetParent(w)) return SendMessageW(GetAncestor(w, GA_ROOT), m, wp, lp);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      wchar_t cls[16];
      GetClassNameW(w, cls, 16);
      LONG_PTR data = GetWindowLongPtrW(w, GWLP_USERDATA);
      RECT r;
      GetClientRect(w, &r);
      if (wcscmp(cls, L"SuiteImage") == 0 && data)
        DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(data), r.right, r.bottom, 0, nullptr, DI_NORMAL);
      else if (wcscmp(cls, L"SuitePanel") == 0 && data == 1)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_DESTROY:
      if (w == g.main) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(w, m, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR command, int) {
  g.inst = inst;
  double t = Now();
  std::wstring mode = command && *command ? command : L"start";
  g.trace = Lines(L"samework.trace");
  g.tree = Lines(L"samework-" + mode + L".tree");
  if (g.trace.empty() || g.tree.empty()) return 1;
  for (const Fields& f : g.trace)
    if (f[0] == L"snapshot" && f.size() >= 3) {
      g.snapshotPath = f[1];
      std::vector<BYTE> bytes = Bytes(f[2]);
      g.snapshot = std::move(bytes);
    }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES |
                                           ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = Proc;
  for (const wchar_t* name : {L"SuiteForm", L"SuitePanel", L"SuiteImage"}) {
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }

  Stretch("files", t);
  t = Now();
  // The start-up: from the first phase line to "shown"; apply waits at "apply".
  size_t at = 0;
  while (at < g.trace.size() && !(g.trace[at][0] == L"phase" && g.trace[at][1] == L"start")) ++at;
  at = Replay(at + 1);
  Stretch("calls", t);
  t = Now();
  for (g.applyAt = at; g.applyAt < g.trace.size(); ++g.applyAt)
    if (g.trace[g.applyAt][0] == L"phase" && g.trace[g.applyAt][1] == L"apply") break;
  MakeTree();
  ShowWindow(g.main, SW_SHOW);
  UpdateWindow(g.main);
  Stretch("tree", t);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
