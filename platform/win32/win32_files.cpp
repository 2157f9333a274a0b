#include "platform/win32/win32_files.h"

#include <windows.h>

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& s) {
  std::u16string w = Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}

FolderEntry EntryOf(const WIN32_FIND_DATAW& data) {
  FolderEntry e;
  std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
  e.name = Utf16ToUtf8(name);
  e.exact = Utf8ToUtf16(e.name) == name && NameFitsPath(e.name);
  e.attributes = data.dwFileAttributes;
  e.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return e;
}
}  // namespace

std::optional<uint32_t> Win32Files::Attributes(const std::string& path) {
  DWORD a = api.getAttributes(Wide(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return a;
}

bool Win32Files::SetAttributes(const std::string& path, uint32_t attributes) {
  return api.setAttributes(Wide(path).c_str(), attributes & ~kAttrDirectory) != 0;
}

std::optional<std::string> Win32Files::ReadAll(const std::string& path) {
  HANDLE h = api.createFile(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = api.readFile(h, buf, sizeof buf, &got, nullptr) != 0) && got > 0) bytes.append(buf, got);
  api.closeHandle(h);
  if (!ok) return std::nullopt;
  return bytes;
}

bool Win32Files::WriteAll(const std::string& path, const std::string& bytes) {
  // OPEN_ALWAYS, then cut: CREATE_ALWAYS would refuse an existing hidden or
  // system file and would drop its attributes.
  HANDLE h = api.createFile(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = bytes.empty() || (api.writeFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                              put == bytes.size());
  ok = ok && api.setEndOfFile(h);
  return api.closeHandle(h) && ok;
}

bool Win32Files::MakeFolder(const std::string& path) { return api.createDirectory(Wide(path).c_str(), nullptr) != 0; }
bool Win32Files::RemoveFile(const std::string& path) { return api.deleteFile(Wide(path).c_str()) != 0; }
bool Win32Files::RemoveFolder(const std::string& path) { return api.removeDirectory(Wide(path).c_str()) != 0; }
bool Win32Files::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  return api.copyFile(Wide(from).c_str(), Wide(to).c_str(), overwrite ? FALSE : TRUE) != 0;
}

DriveType Win32Files::DriveTypeOf(const std::string& root) {
  return static_cast<DriveType>(api.getDriveType(Wide(root).c_str()));
}

std::optional<VolumeInfo> Win32Files::Volume(const std::string& root) {
  wchar_t label[256] = {}, fileSystem[256] = {};
  DWORD serial = 0, longest = 0, flags = 0;
  if (!api.getVolumeInformation(Wide(root).c_str(), label, 256, &serial, &longest, &flags, fileSystem, 256))
    return std::nullopt;
  auto utf8 = [](const wchar_t* w) { return Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(w))); };
  return VolumeInfo{utf8(label), utf8(fileSystem)};
}

bool Win32Files::ForEachEntry(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) {
  std::wstring pattern = Wide(folder);
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE h = api.findFirstFile(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root lists nothing
  do {
    if (!visit(EntryOf(data))) break;
  } while (api.findNextFile(h, &data));
  api.findClose(h);
  return true;
}

std::optional<FolderEntry> Win32Files::EntryAt(const std::string& path) {
  // A wildcard would list other names; a drive ("C:", "C:\") has no entry.
  size_t cut = path.find_last_of("\\/");
  std::string last = cut == std::string::npos ? path : path.substr(cut + 1);
  if (!NameFitsPath(last)) return std::nullopt;
  WIN32_FIND_DATAW data;
  HANDLE h = api.findFirstFile(Wide(path).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  api.findClose(h);
  return EntryOf(data);
}

}  // namespace port
