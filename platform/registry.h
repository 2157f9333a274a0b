// The registry as the suite sees it: four roots, keys opened by handle,
// values as their type and raw bytes. String data is kept as the wide API
// stores it (UTF-16LE with its terminating NUL), so copying a value keeps it
// exactly; RegValue::Text and TextOf convert at this edge.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace port {

enum class Root { HKCR, HKCU, HKLM, HKU };

enum RegType : uint32_t {
  kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7,
};

constexpr uint32_t kKeyAllAccess = 0xF003F;
constexpr uint32_t kKeyReadTest = 0x20009;  // STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS

struct RegValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;

  static RegValue Text(const std::string& utf8, uint32_t type = kRegSz);  // with terminating NUL
  static RegValue Dword(uint32_t v);
  static RegValue Binary(std::vector<uint8_t> bytes);
  // The text of string data up to its first NUL (any type; no expansion).
  std::string TextOf() const;
  bool operator==(const RegValue&) const = default;
};

using KeyHandle = uintptr_t;  // 0: no key

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; 0 when it is missing or the access is refused.
  virtual KeyHandle Open(Root root, const std::string& path, uint32_t access) = 0;
  // Opens or creates a key (non-volatile, full access); 0 when refused.
  virtual KeyHandle Create(Root root, const std::string& path) = 0;
  virtual void Close(KeyHandle key) = 0;
  virtual std::optional<RegValue> Query(KeyHandle key, const std::string& name) = 0;
  // False when the key was not opened for writing or the write was refused.
  virtual bool Set(KeyHandle key, const std::string& name, const RegValue& value) = 0;
  virtual bool DeleteValue(KeyHandle key, const std::string& name) = 0;
  // Deletes a key that has no subkeys; false when it has some, is missing or refused.
  virtual bool DeleteKey(Root root, const std::string& path) = 0;
  // Names in the registry's enumeration order.
  virtual std::vector<std::string> SubKeys(KeyHandle key) = 0;
  virtual std::vector<std::string> ValueNames(KeyHandle key) = 0;
};

}  // namespace port
