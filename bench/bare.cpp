// The benchmark's baseline: a bare Win32 program that creates and shows one
// window of the settings tool's size with a box and a button, and nothing
// else. Its button makes as many registry writes as the settings tool's
// apply with one box ticked, then asks the same kind of question.
#include <windows.h>

namespace {

constexpr int kBox = 1001, kApply = 1002;
constexpr int kRegistryWrites = 116;

void Writes() {
  for (int i = 0; i < kRegistryWrites; ++i) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\SuiteBench", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      continue;
    wchar_t name[16];
    wsprintfW(name, L"v%d", i);
    DWORD v = static_cast<DWORD>(i);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
  }
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_COMMAND:
      if (LOWORD(wp) == kApply) {
        Writes();
        MessageBoxW(w, L"Logoff ??", L"", MB_YESNO | MB_ICONQUESTION);
      }
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(w, m, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.hInstance = inst;
  wc.lpfnWndProc = Proc;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchBare";
  RegisterClassW(&wc);
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, 692, 439};
  AdjustWindowRect(&r, style, FALSE);
  HWND w = CreateWindowW(L"BenchBare", L"Bare", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, inst, nullptr);
  CreateWindowW(L"BUTTON", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 16, 16, 200, 17, w,
                reinterpret_cast<HMENU>(kBox), inst, nullptr);
  CreateWindowW(L"BUTTON", L"Apply", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 406, 90, 30, w,
                reinterpret_cast<HMENU>(kApply), inst, nullptr);
  ShowWindow(w, show);
  UpdateWindow(w);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
