#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace port {

namespace {
std::wstring Wide(const std::string& s) {
  std::u16string w = Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}
}  // namespace

std::string Win32Profile::Read(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& def, size_t maxLength) {
  std::vector<wchar_t> buf(maxLength + 1, 0);
  DWORD n = api.getString(Wide(section).c_str(), Wide(key).c_str(), Wide(def).c_str(), buf.data(),
                       static_cast<DWORD>(buf.size()), Wide(path).c_str());
  // A cut inside a surrogate pair leaves half a character.
  if (n > 0 && buf[n - 1] >= 0xD800 && buf[n - 1] < 0xDC00) --n;
  return Utf16ToUtf8(std::u16string(buf.begin(), buf.begin() + n));
}

bool Win32Profile::Write(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value) {
  return api.writeString(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                         Wide(path).c_str()) != 0;
}

bool Win32Profile::Delete(const std::string& path, const std::string& section, const std::string& key) {
  return api.writeString(Wide(section).c_str(), Wide(key).c_str(), nullptr, Wide(path).c_str()) != 0;
}

std::vector<std::string> Win32Profile::KeyNames(const std::string& path, const std::string& section) {
  // The names come NUL-separated; a buffer that was too small is tried again larger.
  std::vector<wchar_t> buf(4096, 0);
  DWORD n = 0;
  for (;;) {
    n = api.getString(Wide(section).c_str(), nullptr, L"", buf.data(), static_cast<DWORD>(buf.size()),
                      Wide(path).c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 22)) break;
    buf.assign(buf.size() * 4, 0);
  }
  std::vector<std::string> names;
  for (size_t at = 0; at < n;) {
    size_t end = at;
    while (end < n && buf[end] != 0) ++end;
    if (end > at) names.push_back(Utf16ToUtf8(std::u16string(buf.begin() + at, buf.begin() + end)));
    at = end + 1;
  }
  return names;
}

}  // namespace port

namespace port {

namespace {

enum class Encoding { Ansi, Utf16Le, Utf16Be, Utf8 };

Encoding EncodingOf(const std::string& bytes) {
  auto starts = [&](const char* bom, size_t n) { return bytes.size() >= n && bytes.compare(0, n, bom, n) == 0; };
  if (starts("\xFF\xFE", 2)) return Encoding::Utf16Le;
  if (starts("\xFE\xFF", 2)) return Encoding::Utf16Be;
  if (starts("\xEF\xBB\xBF", 3)) return Encoding::Utf8;
  return Encoding::Ansi;
}

size_t BomLength(Encoding e) { return e == Encoding::Ansi ? 0 : e == Encoding::Utf8 ? 3 : 2; }

std::string Decode(const std::string& bytes, Encoding e) {
  std::string body = bytes.substr(BomLength(e));
  switch (e) {
    case Encoding::Utf8: return body;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: return Utf16ToUtf8(Utf16FromBytes(body, e == Encoding::Utf16Le));
    case Encoding::Ansi: {
      int n = MultiByteToWideChar(CP_ACP, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
      std::u16string w(static_cast<size_t>(n), u'\0');
      MultiByteToWideChar(CP_ACP, 0, body.data(), static_cast<int>(body.size()), reinterpret_cast<wchar_t*>(w.data()), n);
      return Utf16ToUtf8(w);
    }
  }
  return body;
}

std::string Encode(const std::string& text, Encoding e) {
  if (e == Encoding::Utf8) return "\xEF\xBB\xBF" + text;
  std::u16string w = Utf8ToUtf16(text);
  if (e == Encoding::Ansi) {
    std::string out;
    int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(w.data()), static_cast<int>(w.size()),
                                nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(w.data()), static_cast<int>(w.size()), out.data(),
                        n, nullptr, nullptr);
    return out;
  }
  return (e == Encoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF") + Utf16Bytes(w, e == Encoding::Utf16Le);
}

// A name without a folder is in the Windows folder, as the profile
// functions take it.
std::wstring FilePath(const std::string& path) {
  std::wstring w = Wide(path);
  if (w.find_first_of(L"\\/") != std::wstring::npos) return w;
  wchar_t folder[MAX_PATH] = {};
  GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + w;
}

}  // namespace

// The bytes of the file; false when it is there but cannot be read. A
// missing file is empty.
static bool ReadBytes(const Win32Profile::Api& api, const std::wstring& file, std::string& bytes, bool& exists) {
  bytes.clear();
  exists = false;
  HANDLE h = api.createFile(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
  }
  exists = true;
  char buf[16384];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!api.readFile(h, buf, sizeof buf, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buf, got);
  }
  CloseHandle(h);
  return ok;
}

bool Win32Profile::Load(const std::string& path, std::string& text) {
  std::string bytes;
  bool exists;
  text.clear();
  if (!ReadBytes(api, FilePath(path), bytes, exists)) return false;
  text = Decode(bytes, EncodingOf(bytes));
  return true;
}

bool Win32Profile::Store(const std::string& path, const std::string& text) {
  const std::wstring file = FilePath(path);
  std::string old;
  bool exists;
  if (!ReadBytes(api, file, old, exists)) return false;
  const std::string bytes = Encode(text, exists ? EncodingOf(old) : Encoding::Ansi);
  // Opened, not created anew: an existing file keeps its attributes.
  HANDLE h = api.createFile(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = api.writeFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && SetEndOfFile(h);
  CloseHandle(h);
  return ok;
}

}  // namespace port
