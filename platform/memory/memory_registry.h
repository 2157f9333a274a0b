// A registry held in memory that behaves as the Windows XP one does: names
// compared without case, subkeys enumerated sorted by their upper-case
// names, values in the order they were made (Wine sorts values too), keys
// deleted only when they have no subkeys. HKCR is the same tree as
// HKLM\Software\Classes (as Wine has it; XP would merge HKCU\Software\Classes
// over it per user). It can play an account without administrator rights
// (full or write access refused on chosen keys) and a refused write.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace port {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  KeyHandle Open(Root root, const std::string& path, uint32_t access) override;
  KeyHandle Create(Root root, const std::string& path) override;
  void Close(KeyHandle key) override;
  std::optional<RegValue> Query(KeyHandle key, const std::string& name) override;
  bool Set(KeyHandle key, const std::string& name, const RegValue& value) override;
  bool DeleteValue(KeyHandle key, const std::string& name) override;
  bool DeleteKey(Root root, const std::string& path) override;
  std::vector<std::string> SubKeys(KeyHandle key) override;
  std::vector<std::string> ValueNames(KeyHandle key) override;

  // Refuses write access to the key and everything below it, as for an
  // account without administrator rights: Open asking for more than reading
  // fails, Create fails, and so do deletes of keys there.
  void DenyWrite(Root root, const std::string& path);
  // The next Set of this value on this key fails (once), whenever the key
  // is made.
  void FailNextSet(Root root, const std::string& path, const std::string& name);
  // Handles open now (a test can see that every open key was closed).
  size_t OpenHandles() const;

 private:
  struct Key;
  struct Handle {
    Key* key;
    bool writable;
  };
  Key* RootKey(Root root);
  Key* Find(Root root, const std::string& path, bool create);
  bool Denied(Root root, const std::string& path) const;
  Key* KeyOf(KeyHandle h);

  std::unique_ptr<Key> hkcu_, hklm_, hku_;
  std::map<KeyHandle, Handle> handles_;
  KeyHandle nextHandle_ = 0x100;
  struct Denial {
    Root root;
    std::string path;
  };
  std::vector<Denial> denied_;
  std::string PathOfKey(const Key* key) const;
  struct Failure {
    std::string path;  // as PathOf spells it
    std::string name;
  };
  std::vector<Failure> failures_;
  std::vector<std::unique_ptr<Key>> graveyard_;  // deleted keys, kept for the handles still open on them
};

}  // namespace port
