#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& s) {
  std::u16string w = Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}
const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

uint32_t Win32Shell::Exec(const std::string& commandLine, int show) {
  std::wstring w = Wide(commandLine);
  std::vector<wchar_t> line(w.begin(), w.end());
  line.push_back(0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    DWORD e = GetLastError();
    return e <= 31 ? e : 0;  // as WinExec: the error below 32, else 0
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 33;
}

uintptr_t Win32Shell::Open(uintptr_t window, const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory, int show) {
  std::wstring v = Wide(verb), f = Wide(file), p = Wide(parameters), d = Wide(directory);
  HINSTANCE r = ShellExecuteW(reinterpret_cast<HWND>(window), OrNull(v), f.c_str(), OrNull(p), OrNull(d), show);
  return reinterpret_cast<uintptr_t>(r);
}

void Win32Shell::ChangeNotify(int32_t event, uint32_t flags) { SHChangeNotify(event, flags, nullptr, nullptr); }

}  // namespace port
