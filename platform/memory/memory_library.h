// Libraries a test declares, with their entry points; HtmlHelpA calls are
// recorded instead of showing anything.
#pragma once
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/library.h"

namespace port {

class MemoryLibrary : public Library {
 public:
  LibHandle Load(const std::string& name) override;
  ProcAddr Find(LibHandle lib, const std::string& entry) override;
  void Free(LibHandle lib) override;
  uintptr_t CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path, uint32_t command,
                         uintptr_t data) override;

  // A library Load finds (name compared without case) and its entry points.
  void AddLibrary(const std::string& name, std::vector<std::string> entries);
  // What a recorded HtmlHelpA call returns (the help window; 0: none shown).
  void SetHtmlHelpResult(uintptr_t window) { result_ = window; }

  struct HtmlHelpCall {
    uintptr_t window;
    std::string path;
    uint32_t command;
    uintptr_t data;
  };
  const std::vector<HtmlHelpCall>& Calls() const { return calls_; }
  // Libraries loaded and not yet freed.
  size_t Loaded() const { return loaded_.size(); }

 private:
  struct Lib {
    std::string name;
    std::vector<std::string> entries;
  };
  std::vector<Lib> libs_;
  std::map<LibHandle, size_t> loaded_;  // handle -> index in libs_
  LibHandle nextHandle_ = 0x10000000;
  uintptr_t result_ = 0x4242;
  std::vector<HtmlHelpCall> calls_;
};

}  // namespace port
