#include "platform/win32/win32_icons.h"

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}
// The module handle the shell wants: the caller's instance, or this program's.
HINSTANCE Instance(uintptr_t instance) {
  return instance ? reinterpret_cast<HINSTANCE>(instance) : GetModuleHandleW(nullptr);
}
// ExtractIconW's answers, taken from the system's icon extraction in user32
// (PrivateExtractIconsW), on which the shell's function stands: the shell
// library, the largest one a program loads, stays out of the start-up.
// Index -1 asks for the count; a negative index names a resource id; 1 says
// "not an executable, library or icon file", nothing "no such icon or file".
HICON WINAPI ExtractIconFromFile(HINSTANCE, LPCWSTR file, UINT index) {
  constexpr UINT kFailed = 0xFFFFFFFF;
  if (index == static_cast<UINT>(-1)) {
    UINT count = PrivateExtractIconsW(file, 0, 0, 0, nullptr, nullptr, 0, LR_DEFAULTCOLOR);
    return count == kFailed ? nullptr : reinterpret_cast<HICON>(static_cast<uintptr_t>(count));
  }
  HICON icon = nullptr;
  UINT id = 0;
  UINT got = PrivateExtractIconsW(file, static_cast<int>(index), GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                  &icon, &id, 1, LR_DEFAULTCOLOR);
  if (got == kFailed) return GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES ? nullptr : reinterpret_cast<HICON>(1);
  return got > 0 ? icon : nullptr;
}
}  // namespace

Win32Icons::Win32Icons() { api.extractIcon = ExtractIconFromFile; }

int Win32Icons::Count(uintptr_t instance, const std::string& file) {
  HICON n = api.extractIcon(Instance(instance), Wide(file).c_str(), static_cast<UINT>(-1));
  int count = static_cast<int>(reinterpret_cast<uintptr_t>(n));
  // 1 is also the answer for a file that is no executable, library or icon
  // file: such a file has an icon only if its first icon can be taken.
  if (count == 1) {
    HICON first = api.extractIcon(Instance(instance), Wide(file).c_str(), 0);
    if (reinterpret_cast<uintptr_t>(first) <= 1) return 0;
    api.destroyIcon(first);
  }
  return count;
}

IconHandle Win32Icons::Extract(uintptr_t instance, const std::string& file, int index) {
  HICON h = api.extractIcon(Instance(instance), Wide(file).c_str(), static_cast<UINT>(index));
  // 1 means "not an executable, library or icon file": no icon.
  if (reinterpret_cast<uintptr_t>(h) == 1) return 0;
  return reinterpret_cast<IconHandle>(h);
}

void Win32Icons::Destroy(IconHandle icon) {
  if (icon) api.destroyIcon(reinterpret_cast<HICON>(icon));
}

IconHandle Win32Icons::Copy(IconHandle icon) {
  return icon ? reinterpret_cast<IconHandle>(api.copyIcon(reinterpret_cast<HICON>(icon))) : 0;
}

IconHandle Win32Icons::LoadBitmapFile(const std::string& file) {
  HANDLE h = api.loadImage(nullptr, Wide(file).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  return reinterpret_cast<IconHandle>(h);
}

void Win32Icons::DestroyBitmap(IconHandle bitmap) {
  if (bitmap) api.deleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

}  // namespace port
