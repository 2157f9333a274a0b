// The real registry through the wide-character API. Every system call goes
// through the table `api`, so that a test can make one of them fail.
#pragma once
#include <windows.h>

#include "platform/registry.h"

namespace port {

class Win32Registry : public Registry {
 public:
  struct Api {
    decltype(&::RegOpenKeyExW) openKey = ::RegOpenKeyExW;
    decltype(&::RegCreateKeyExW) createKey = ::RegCreateKeyExW;
    decltype(&::RegCloseKey) closeKey = ::RegCloseKey;
    decltype(&::RegQueryValueExW) queryValue = ::RegQueryValueExW;
    decltype(&::RegSetValueExW) setValue = ::RegSetValueExW;
    decltype(&::RegDeleteValueW) deleteValue = ::RegDeleteValueW;
    decltype(&::RegDeleteKeyW) deleteKey = ::RegDeleteKeyW;
    decltype(&::RegEnumKeyExW) enumKey = ::RegEnumKeyExW;
    decltype(&::RegEnumValueW) enumValue = ::RegEnumValueW;
  };
  Api api;

  KeyHandle Open(Root root, const std::string& path, uint32_t access) override;
  KeyHandle Create(Root root, const std::string& path) override;
  void Close(KeyHandle key) override;
  std::optional<RegValue> Query(KeyHandle key, const std::string& name) override;
  bool Set(KeyHandle key, const std::string& name, const RegValue& value) override;
  bool DeleteValue(KeyHandle key, const std::string& name) override;
  bool DeleteKey(Root root, const std::string& path) override;
  std::vector<std::string> SubKeys(KeyHandle key) override;
  std::vector<std::string> ValueNames(KeyHandle key) override;
};

}  // namespace port
