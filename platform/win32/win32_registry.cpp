#include "platform/win32/win32_registry.h"

#include "platform/text.h"

namespace port {

namespace {

HKEY RootKey(Root root) {
  switch (root) {
    case Root::HKCR: return HKEY_CLASSES_ROOT;
    case Root::HKCU: return HKEY_CURRENT_USER;
    case Root::HKLM: return HKEY_LOCAL_MACHINE;
    case Root::HKU: return HKEY_USERS;
  }
  return nullptr;
}

std::wstring Wide(const std::string& utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

std::string Narrow(const wchar_t* w, size_t n) { return Utf16ToUtf8(std::u16string(w, w + n)); }

HKEY H(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

KeyHandle Win32Registry::Open(Root root, const std::string& path, uint32_t access) {
  HKEY key = nullptr;
  if (api.openKey(RootKey(root), Wide(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<KeyHandle>(key);
}

KeyHandle Win32Registry::Create(Root root, const std::string& path) {
  HKEY key = nullptr;
  if (api.createKey(RootKey(root), Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  return reinterpret_cast<KeyHandle>(key);
}

void Win32Registry::Close(KeyHandle key) {
  if (key != 0) api.closeKey(H(key));
}

std::optional<RegValue> Win32Registry::Query(KeyHandle key, const std::string& name) {
  if (key == 0) return std::nullopt;
  std::wstring wname = Wide(name);
  RegValue v;
  DWORD type = 0, size = 256;
  LONG rc;
  do {
    v.data.resize(size);
    rc = api.queryValue(H(key), wname.c_str(), nullptr, &type, v.data.data(), &size);
  } while (rc == ERROR_MORE_DATA);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  v.data.resize(size);
  v.type = type;
  return v;
}

bool Win32Registry::Set(KeyHandle key, const std::string& name, const RegValue& value) {
  if (key == 0) return false;
  return api.setValue(H(key), Wide(name).c_str(), 0, value.type, value.data.data(),
                      static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(KeyHandle key, const std::string& name) {
  if (key == 0) return false;
  return api.deleteValue(H(key), Wide(name).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(Root root, const std::string& path) {
  if (path.find_first_not_of('\\') == std::string::npos) return false;  // never the root itself
  return api.deleteKey(RootKey(root), Wide(path).c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::SubKeys(KeyHandle key) {
  std::vector<std::string> names;
  if (key == 0) return names;
  std::wstring buf(256, L'\0');  // key names are at most 255 characters
  for (DWORD i = 0;; ++i) {
    DWORD n = static_cast<DWORD>(buf.size());
    if (api.enumKey(H(key), i, buf.data(), &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(Narrow(buf.data(), n));
  }
  return names;
}

std::vector<std::string> Win32Registry::ValueNames(KeyHandle key) {
  std::vector<std::string> names;
  if (key == 0) return names;
  std::wstring buf(256, L'\0');
  for (DWORD i = 0;;) {
    DWORD n = static_cast<DWORD>(buf.size());
    LONG rc = api.enumValue(H(key), i, buf.data(), &n, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA && buf.size() < 32768) {  // value names reach 16383 characters
      buf.resize(buf.size() * 2);
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.push_back(Narrow(buf.data(), n));
    ++i;
  }
  return names;
}

}  // namespace port
