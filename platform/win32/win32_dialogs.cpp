#include "platform/win32/win32_dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}
std::string Narrow(const wchar_t* w) {
  size_t n = 0;
  while (w[n]) ++n;
  return Utf16ToUtf8(std::u16string(w, w + n));
}
std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::optional<std::string> RunFileDialog(bool save, uintptr_t owner, const FileDialogOptions& o) {
  std::u16string filter16 = FilterForDialog(o.filter);
  std::wstring filter(filter16.begin(), filter16.end());
  std::wstring title = Wide(o.title), dir = Wide(o.initialDir), ext = Wide(o.defaultExt);
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring preset = Wide(o.fileName);
  if (preset.size() < file.size()) std::copy(preset.begin(), preset.end(), file.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(owner);
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(o.filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (save && o.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return Narrow(file.data());
}
}  // namespace

std::u16string FilterForDialog(const std::string& filter) {
  std::u16string out;
  if (filter.empty()) return out;
  size_t start = 0;
  for (;;) {
    size_t bar = filter.find('|', start);
    out += Utf8ToUtf16(Trim(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    out += u'\0';
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  out += u'\0';
  return out;
}

MbResult Win32Dialogs::MessageBox(uintptr_t owner, const std::string& text, const std::string& caption, MbIcon icon,
                                  MbButtons buttons) {
  UINT style = 0;
  switch (icon) {
    case MbIcon::Question: style |= MB_ICONQUESTION; break;
    case MbIcon::Information: style |= MB_ICONINFORMATION; break;
    case MbIcon::Warning: style |= MB_ICONWARNING; break;
    case MbIcon::Error: style |= MB_ICONERROR; break;
    case MbIcon::None: break;
  }
  switch (buttons) {
    case MbButtons::OK: style |= MB_OK; break;
    case MbButtons::OKCancel: style |= MB_OKCANCEL; break;
    case MbButtons::YesNo: style |= MB_YESNO; break;
    case MbButtons::YesNoCancel: style |= MB_YESNOCANCEL; break;
    case MbButtons::RetryCancel: style |= MB_RETRYCANCEL; break;
    case MbButtons::AbortRetryIgnore: style |= MB_ABORTRETRYIGNORE; break;
    case MbButtons::YesNoDefaultNo: style |= MB_YESNO | MB_DEFBUTTON2; break;
  }
  int r = MessageBoxW(reinterpret_cast<HWND>(owner), Wide(text).c_str(), Wide(caption).c_str(), style);
  return r ? static_cast<MbResult>(r) : MbResult::Cancel;
}

std::optional<std::string> Win32Dialogs::OpenFile(uintptr_t owner, const FileDialogOptions& o) {
  FileDialogOptions opts = o;
  return RunFileDialog(false, owner, opts);
}

std::optional<std::string> Win32Dialogs::SaveFile(uintptr_t owner, const FileDialogOptions& o) {
  return RunFileDialog(true, owner, o);
}

std::optional<std::string> Win32Dialogs::OpenPicture(uintptr_t owner, const FileDialogOptions& o) {
  return RunFileDialog(false, owner, o);
}

std::optional<uint32_t> Win32Dialogs::ChooseColor(uintptr_t owner, uint32_t initial) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = reinterpret_cast<HWND>(owner);
  cc.rgbResult = initial;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (!ChooseColorW(&cc)) return std::nullopt;
  return static_cast<uint32_t>(cc.rgbResult);
}

namespace {
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}
}  // namespace

std::optional<std::string> Win32Dialogs::BrowseFolder(uintptr_t owner, const std::string& title,
                                                      const std::string& initial) {
  std::wstring wtitle = Wide(title), winitial = Wide(initial);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW bi{};
  bi.hwndOwner = reinterpret_cast<HWND>(owner);
  bi.pszDisplayName = display;
  bi.lpszTitle = wtitle.empty() ? nullptr : wtitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!winitial.empty() && GetFileAttributesW(winitial.c_str()) != INVALID_FILE_ATTRIBUTES) {
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(winitial.c_str());
  }
  CoInitialize(nullptr);
  LPITEMIDLIST item = SHBrowseForFolderW(&bi);
  std::optional<std::string> result;
  if (item) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) result = Narrow(path);
    CoTaskMemFree(item);
  }
  return result;
}

}  // namespace port
