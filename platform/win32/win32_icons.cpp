#include "platform/win32/win32_icons.h"

#include <string>
#include <vector>

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}
// The module handle ExtractIconW takes: the caller's instance, or this program's.
HINSTANCE Instance(uintptr_t instance) {
  return instance ? reinterpret_cast<HINSTANCE>(instance) : GetModuleHandleW(nullptr);
}
// The icon groups of the library last read, in the order of its resource
// directory (the order in which ExtractIcon counts them). Kept while icons
// come from the same library, as the start-up and the picker take many from
// one file; opening it again for each icon costs more than the icon.
class IconLibrary {
 public:
  ~IconLibrary() { Close(); }
  // The library of the file, or nothing when it is none (an icon file, a
  // 16-bit program, no such file).
  HMODULE Open(const wchar_t* file) {
    if (module_ && _wcsicmp(file_.c_str(), file) == 0) return module_;
    Close();
    module_ = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_) return nullptr;
    file_ = file;
    EnumResourceNamesW(module_, RT_GROUP_ICON, Collect, reinterpret_cast<LONG_PTR>(this));
    return module_;
  }
  int Count() const { return static_cast<int>(groups_.size()); }
  // The group's resource name: by place, or by id for a negative index.
  const wchar_t* Group(int index) const {
    if (index < 0) return MAKEINTRESOURCEW(-index);
    if (index >= Count()) return nullptr;
    const Name& n = groups_[static_cast<size_t>(index)];
    return n.text.empty() ? MAKEINTRESOURCEW(n.id) : n.text.c_str();
  }
  HMODULE Module() const { return module_; }

 private:
  struct Name {
    WORD id = 0;
    std::wstring text;
  };
  static BOOL CALLBACK Collect(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR self) {
    auto& lib = *reinterpret_cast<IconLibrary*>(self);
    if (IS_INTRESOURCE(name)) lib.groups_.push_back({static_cast<WORD>(reinterpret_cast<uintptr_t>(name)), {}});
    else lib.groups_.push_back({0, name});
    return TRUE;
  }
  void Close() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    file_.clear();
    groups_.clear();
  }
  HMODULE module_ = nullptr;
  std::wstring file_;
  std::vector<Name> groups_;
};

// The group's image that suits the system's icon size and colours, as an icon.
HICON IconOfGroup(HMODULE module, const wchar_t* group) {
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  HRSRC dirRes = group ? FindResourceW(module, group, RT_GROUP_ICON) : nullptr;
  auto* dir = dirRes ? static_cast<BYTE*>(LockResource(LoadResource(module, dirRes))) : nullptr;
  int id = dir ? LookupIconIdFromDirectoryEx(dir, TRUE, cx, cy, LR_DEFAULTCOLOR) : 0;
  HRSRC imageRes = id ? FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON) : nullptr;
  auto* bits = imageRes ? static_cast<BYTE*>(LockResource(LoadResource(module, imageRes))) : nullptr;
  if (!bits) return nullptr;
  return CreateIconFromResourceEx(bits, SizeofResource(module, imageRes), TRUE, 0x00030000, cx, cy, LR_DEFAULTCOLOR);
}

// ExtractIconW's answers without the shell library (the largest one a
// program loads stays out of the start-up): from the library's resources,
// or for other files from the system's icon extraction in user32
// (PrivateExtractIconsW), on which the shell's function stands.
// Index -1 asks for the count; a negative index names a resource id; 1 says
// "not an executable, library or icon file", nothing "no such icon or file".
HICON WINAPI ExtractIconFromFile(HINSTANCE, LPCWSTR file, UINT index) {
  static IconLibrary library;
  if (library.Open(file)) {
    if (index == static_cast<UINT>(-1)) return reinterpret_cast<HICON>(static_cast<uintptr_t>(library.Count()));
    return IconOfGroup(library.Module(), library.Group(static_cast<int>(index)));
  }
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
