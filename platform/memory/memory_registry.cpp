#include "platform/memory/memory_registry.h"

#include <algorithm>

#include "platform/text.h"

namespace port {

namespace {

constexpr uint32_t kKeyRead = 0x20019;  // KEY_READ: what an account without rights still gets

// The upper-case components of a path; empty components (doubled or
// trailing backslashes) name no key and are skipped.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The registry keeps subkeys sorted by their upper-case names (UTF-16 code
// units compared), so enumeration gives them in that order.
bool SubkeyBefore(const std::string& a, const std::string& b) {
  return Utf8ToUtf16(UpperNoCase(a)) < Utf8ToUtf16(UpperNoCase(b));
}

}  // namespace

struct MemoryRegistry::Key {
  std::string name;
  Key* parent = nullptr;
  bool deleted = false;
  std::vector<std::pair<std::string, RegValue>> values;  // in the order they were made
  std::vector<std::unique_ptr<Key>> subkeys;             // sorted (SubkeyBefore)

  Key* Sub(const std::string& n) {
    for (auto& k : subkeys) {
      if (EqualNoCase(k->name, n)) return k.get();
    }
    return nullptr;
  }
  std::pair<std::string, RegValue>* Value(const std::string& n) {
    for (auto& v : values) {
      if (EqualNoCase(v.first, n)) return &v;
    }
    return nullptr;
  }
};

MemoryRegistry::MemoryRegistry()
    : hkcu_(std::make_unique<Key>()), hklm_(std::make_unique<Key>()), hku_(std::make_unique<Key>()) {
  Find(Root::HKLM, "Software\\Classes", true);
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::RootKey(Root root) {
  switch (root) {
    case Root::HKCU: return hkcu_.get();
    case Root::HKLM: return hklm_.get();
    case Root::HKU: return hku_.get();
    case Root::HKCR: return Find(Root::HKLM, "Software\\Classes", false);
  }
  return nullptr;
}

MemoryRegistry::Key* MemoryRegistry::Find(Root root, const std::string& path, bool create) {
  Key* key = RootKey(root);
  for (const std::string& part : Components(path)) {
    if (key == nullptr) return nullptr;
    Key* sub = key->Sub(part);
    if (sub == nullptr && create) {
      auto made = std::make_unique<Key>();
      made->name = part;
      made->parent = key;
      sub = made.get();
      auto at = std::upper_bound(key->subkeys.begin(), key->subkeys.end(), part,
                                 [](const std::string& n, const auto& k) { return SubkeyBefore(n, k->name); });
      key->subkeys.insert(at, std::move(made));
    }
    key = sub;
  }
  return key;
}

// The full upper-case path of a key from HKLM, HKCU or HKU, with HKCR
// spelled as the HKLM key it is.
static std::string PathOf(Root root, const std::string& path) {
  std::string full = root == Root::HKCR ? "HKLM\\SOFTWARE\\CLASSES" : root == Root::HKLM ? "HKLM"
                     : root == Root::HKCU ? "HKCU" : "HKU";
  for (const std::string& part : Components(path)) {
    full += '\\';
    full += UpperNoCase(part);
  }
  return full;
}

bool MemoryRegistry::Denied(Root root, const std::string& path) const {
  std::string full = PathOf(root, path) + "\\";
  for (const Denial& d : denied_) {
    std::string area = PathOf(d.root, d.path) + "\\";
    if (full.compare(0, area.size(), area) == 0) return true;
  }
  return false;
}

MemoryRegistry::Key* MemoryRegistry::KeyOf(KeyHandle h) {
  auto it = handles_.find(h);
  if (it == handles_.end() || it->second.key->deleted) return nullptr;
  return it->second.key;
}

KeyHandle MemoryRegistry::Open(Root root, const std::string& path, uint32_t access) {
  Key* key = Find(root, path, false);
  if (key == nullptr) return 0;
  bool writes = (access & ~kKeyRead) != 0;
  if (writes && Denied(root, path)) return 0;
  KeyHandle h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = {key, writes};
  return h;
}

KeyHandle MemoryRegistry::Create(Root root, const std::string& path) {
  if (Denied(root, path)) return 0;
  Key* key = Find(root, path, true);
  KeyHandle h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = {key, true};
  return h;
}

void MemoryRegistry::Close(KeyHandle key) { handles_.erase(key); }

std::optional<RegValue> MemoryRegistry::Query(KeyHandle h, const std::string& name) {
  Key* key = KeyOf(h);
  if (key == nullptr) return std::nullopt;
  auto* v = key->Value(name);
  if (v == nullptr) return std::nullopt;
  return v->second;
}

bool MemoryRegistry::Set(KeyHandle h, const std::string& name, const RegValue& value) {
  Key* key = KeyOf(h);
  if (key == nullptr || !handles_[h].writable) return false;
  std::string path = PathOfKey(key);
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->path == path && EqualNoCase(it->name, name)) {
      failures_.erase(it);
      return false;
    }
  }
  if (auto* v = key->Value(name)) {
    v->second = value;  // keeps its place and the spelling it was made with
  } else {
    key->values.emplace_back(name, value);
  }
  return true;
}

bool MemoryRegistry::DeleteValue(KeyHandle h, const std::string& name) {
  Key* key = KeyOf(h);
  if (key == nullptr || !handles_[h].writable) return false;
  auto* v = key->Value(name);
  if (v == nullptr) return false;
  key->values.erase(key->values.begin() + (v - key->values.data()));
  return true;
}

bool MemoryRegistry::DeleteKey(Root root, const std::string& path) {
  if (Components(path).empty() || Denied(root, path)) return false;
  Key* key = Find(root, path, false);
  if (key == nullptr || !key->subkeys.empty()) return false;
  if (root == Root::HKLM && PathOf(root, path) == "HKLM\\SOFTWARE\\CLASSES") return false;  // HKCR itself
  auto& siblings = key->parent->subkeys;
  auto it = std::find_if(siblings.begin(), siblings.end(), [key](const auto& k) { return k.get() == key; });
  key->deleted = true;  // handles still open on it now find nothing, as on Windows
  graveyard_.push_back(std::move(*it));
  siblings.erase(it);
  return true;
}

std::vector<std::string> MemoryRegistry::SubKeys(KeyHandle h) {
  std::vector<std::string> names;
  if (Key* key = KeyOf(h)) {
    for (const auto& k : key->subkeys) names.push_back(k->name);
  }
  return names;
}

std::vector<std::string> MemoryRegistry::ValueNames(KeyHandle h) {
  std::vector<std::string> names;
  if (Key* key = KeyOf(h)) {
    for (const auto& v : key->values) names.push_back(v.first);
  }
  return names;
}

void MemoryRegistry::DenyWrite(Root root, const std::string& path) { denied_.push_back({root, path}); }

void MemoryRegistry::FailNextSet(Root root, const std::string& path, const std::string& name) {
  failures_.push_back({PathOf(root, path), name});
}

std::string MemoryRegistry::PathOfKey(const Key* key) const {
  std::string path;
  for (; key->parent != nullptr; key = key->parent) path = "\\" + UpperNoCase(key->name) + path;
  return (key == hklm_.get() ? "HKLM" : key == hkcu_.get() ? "HKCU" : "HKU") + path;
}

size_t MemoryRegistry::OpenHandles() const { return handles_.size(); }

}  // namespace port
