// The real registry through the wide-character API.
#pragma once
#include "platform/registry.h"

namespace port {

class Win32Registry : public Registry {
 public:
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
