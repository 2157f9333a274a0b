#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

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

namespace {
// The shell-link object with its file interface; both null when it cannot be made.
struct LinkObject {
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  LinkObject() {
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
      link = nullptr;
      return;
    }
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) file = nullptr;
  }
  ~LinkObject() {
    if (file) file->Release();
    if (link) link->Release();
  }
  bool Made() const { return link && file; }
};
}  // namespace

Shell::LinkResult Win32Shell::CreateShellLink(const std::string& target, const std::string& workingFolder,
                                              const std::string& linkFile) {
  LinkObject o;
  if (!o.Made()) return LinkResult::NoObject;
  std::wstring t = Wide(target), w = Wide(workingFolder), l = Wide(linkFile);
  if (FAILED(o.link->SetPath(t.c_str())) || FAILED(o.link->SetWorkingDirectory(w.c_str())) ||
      FAILED(o.file->Save(l.c_str(), FALSE)))
    return LinkResult::NotSaved;
  return LinkResult::Written;
}

std::optional<Shell::Link> Win32Shell::ReadShellLink(const std::string& linkFile) {
  LinkObject o;
  std::wstring l = Wide(linkFile);
  if (!o.Made() || FAILED(o.file->Load(l.c_str(), STGM_READ))) return std::nullopt;
  wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {};
  // The path as stored, not resolved against the file system.
  if (FAILED(o.link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  o.link->GetWorkingDirectory(folder, MAX_PATH);
  auto narrow = [](const wchar_t* w) { return Utf16ToUtf8(std::u16string(w, w + wcslen(w))); };
  return Link{narrow(path), narrow(folder)};
}

}  // namespace port
