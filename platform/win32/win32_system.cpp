#include "platform/win32/win32_system.h"

#include <cstring>

#include "platform/text.h"

namespace port {

namespace {

std::wstring Wide(const std::string& utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

std::string Narrow(const wchar_t* w, size_t n) { return Utf16ToUtf8(std::u16string(w, w + n)); }

size_t Length(const wchar_t* w, size_t max) {
  size_t n = 0;
  while (n < max && w[n] != 0) ++n;
  return n;
}

}  // namespace

VersionInfo Win32System::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  VersionInfo v;
  if (!api.getVersion(&info)) return VersionInfo{0, 0, 0, 0, ""};  // no version: no flag will be set
  v.platform = info.dwPlatformId;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.build = info.dwBuildNumber;
  v.csd = Narrow(info.szCSDVersion, Length(info.szCSDVersion, 128));
  return v;
}

uint32_t Win32System::DefaultLocale() { return api.defaultLocale(); }

uint32_t Win32System::AnsiCodePage() { return api.ansiCodePage(); }

int Win32System::CompareListText(const std::string& a, const std::string& b) {
  std::wstring wa = Wide(a), wb = Wide(b);
  int r = api.compareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                            static_cast<int>(wb.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

size_t Win32System::AnsiByteLength(const std::string& utf8) {
  if (utf8.empty()) return 0;
  std::wstring w = Wide(utf8);
  int n = api.toMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

std::string Win32System::FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return std::string();
  int n = api.toWide(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::string();
  std::wstring w(static_cast<size_t>(n), L'\0');
  api.toWide(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return Narrow(w.data(), static_cast<size_t>(n));
}

std::optional<std::string> Win32System::Env(const std::string& name) {
  std::wstring wname = Wide(name);
  std::wstring buf(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = api.getEnv(wname.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // set, but empty
    }
    if (n < buf.size()) return Narrow(buf.data(), n);
    buf.resize(n);  // n is the size needed, with its NUL
  }
}

std::string Win32System::ModulePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = api.moduleFileName(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) return Narrow(buf.data(), n);
    buf.resize(buf.size() * 2);  // cut short: try a larger buffer
  }
}

uint64_t Win32System::TotalPhysicalMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  api.memoryStatus(&status);
  return status.dwTotalPhys;
}

std::optional<IconMetrics> Win32System::GetIconMetrics() {
  static_assert(sizeof(ICONMETRICSA) == std::tuple_size_v<IconMetrics>);
  ICONMETRICSA m{};
  m.cbSize = sizeof m;
  if (!api.parametersInfo(SPI_GETICONMETRICS, sizeof m, &m, 0)) return std::nullopt;
  IconMetrics bytes;
  std::memcpy(bytes.data(), &m, sizeof m);
  return bytes;
}

bool Win32System::SetIconMetrics(const IconMetrics& metrics, uint32_t flags) {
  ICONMETRICSA m;
  std::memcpy(&m, metrics.data(), sizeof m);
  return api.parametersInfo(SPI_SETICONMETRICS, sizeof m, &m, flags) != 0;
}

}  // namespace port
