#include "platform/win32/win32_registry.h"

namespace port {
KeyHandle Win32Registry::Open(Root, const std::string&, uint32_t) { return 0; }
KeyHandle Win32Registry::Create(Root, const std::string&) { return 0; }
void Win32Registry::Close(KeyHandle) {}
std::optional<RegValue> Win32Registry::Query(KeyHandle, const std::string&) { return std::nullopt; }
bool Win32Registry::Set(KeyHandle, const std::string&, const RegValue&) { return false; }
bool Win32Registry::DeleteValue(KeyHandle, const std::string&) { return false; }
bool Win32Registry::DeleteKey(Root, const std::string&) { return false; }
std::vector<std::string> Win32Registry::SubKeys(KeyHandle) { return {}; }
std::vector<std::string> Win32Registry::ValueNames(KeyHandle) { return {}; }
}  // namespace port
