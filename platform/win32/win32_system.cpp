#include "platform/win32/win32_system.h"

namespace port {
VersionInfo Win32System::Version() { return {}; }
uint32_t Win32System::DefaultLocale() { return 0; }
uint32_t Win32System::AnsiCodePage() { return 0; }
size_t Win32System::AnsiByteLength(const std::string& utf8) { return utf8.size(); }
std::optional<std::string> Win32System::Env(const std::string&) { return std::nullopt; }
std::string Win32System::ModulePath() { return {}; }
}  // namespace port
