#include "platform/memory/memory_library.h"

#include "platform/text.h"

namespace port {

// An entry point's address names its library and its place there.
static ProcAddr AddrOf(size_t lib, size_t entry) { return ((lib + 1) << 16) | (entry + 1); }

void MemoryLibrary::AddLibrary(const std::string& name, std::vector<std::string> entries) {
  libs_.push_back({name, std::move(entries)});
}

LibHandle MemoryLibrary::Load(const std::string& name) {
  for (size_t i = 0; i < libs_.size(); ++i) {
    if (EqualNoCase(libs_[i].name, name)) {
      LibHandle h = nextHandle_;
      nextHandle_ += 0x10000;
      loaded_[h] = i;
      return h;
    }
  }
  return 0;
}

ProcAddr MemoryLibrary::Find(LibHandle lib, const std::string& entry) {
  auto it = loaded_.find(lib);
  if (it == loaded_.end()) return 0;
  const auto& entries = libs_[it->second].entries;
  for (size_t e = 0; e < entries.size(); ++e) {
    if (entries[e] == entry) return AddrOf(it->second, e);  // entry names are case-sensitive
  }
  return 0;
}

void MemoryLibrary::Free(LibHandle lib) { loaded_.erase(lib); }

uintptr_t MemoryLibrary::CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path, uint32_t command,
                                      uintptr_t data) {
  size_t lib = (proc >> 16) - 1, entry = (proc & 0xFFFF) - 1;
  bool valid = proc != 0 && lib < libs_.size() && entry < libs_[lib].entries.size() &&
               libs_[lib].entries[entry] == "HtmlHelpA";
  bool stillLoaded = false;
  for (const auto& [h, index] : loaded_) stillLoaded |= index == lib;
  // A call through an address that is no HtmlHelpA of a loaded library would
  // crash a real program; the model makes it a test failure that cannot pass.
  if (!valid || !stillLoaded) throw std::logic_error("call through an invalid HtmlHelpA address");
  calls_.push_back({window, path, command, data});
  return result_;
}

}  // namespace port
