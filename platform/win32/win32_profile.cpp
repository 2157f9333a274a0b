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
