#include "platform/win32/win32_library.h"

#include "platform/text.h"

namespace port {

LibHandle Win32Library::Load(const std::string& name) {
  std::u16string w = Utf8ToUtf16(name);
  return reinterpret_cast<LibHandle>(api.load(std::wstring(w.begin(), w.end()).c_str()));
}

ProcAddr Win32Library::Find(LibHandle lib, const std::string& entry) {
  if (lib == 0) return 0;
  return reinterpret_cast<ProcAddr>(api.find(reinterpret_cast<HMODULE>(lib), entry.c_str()));
}

void Win32Library::Free(LibHandle lib) {
  if (lib != 0) api.free(reinterpret_cast<HMODULE>(lib));
}

uintptr_t Win32Library::CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path, uint32_t command,
                                     uintptr_t data) {
  using HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  if (proc == 0) return 0;
  std::u16string w = Utf8ToUtf16(path);
  std::wstring wide(w.begin(), w.end());
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(n > 0 ? n : 1, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), n, nullptr, nullptr);
  HWND shown = reinterpret_cast<HtmlHelpA>(proc)(reinterpret_cast<HWND>(window), ansi.c_str(), command, data);
  return reinterpret_cast<uintptr_t>(shown);
}

}  // namespace port
