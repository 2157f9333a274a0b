#include "platform/memory/memory_registry.h"

namespace port {

struct MemoryRegistry::Key {};

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;
KeyHandle MemoryRegistry::Open(Root, const std::string&, uint32_t) { return 0; }
KeyHandle MemoryRegistry::Create(Root, const std::string&) { return 0; }
void MemoryRegistry::Close(KeyHandle) {}
std::optional<RegValue> MemoryRegistry::Query(KeyHandle, const std::string&) { return std::nullopt; }
bool MemoryRegistry::Set(KeyHandle, const std::string&, const RegValue&) { return false; }
bool MemoryRegistry::DeleteValue(KeyHandle, const std::string&) { return false; }
bool MemoryRegistry::DeleteKey(Root, const std::string&) { return false; }
std::vector<std::string> MemoryRegistry::SubKeys(KeyHandle) { return {}; }
std::vector<std::string> MemoryRegistry::ValueNames(KeyHandle) { return {}; }
void MemoryRegistry::DenyWrite(Root, const std::string&) {}
void MemoryRegistry::FailNextSet(Root, const std::string&, const std::string&) {}
size_t MemoryRegistry::OpenHandles() const { return 0; }

}  // namespace port
