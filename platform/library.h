// Loading a library at run time, for the help viewer.
#pragma once
#include <cstdint>
#include <string>

namespace port {

using LibHandle = uintptr_t;  // 0: not loaded
using ProcAddr = uintptr_t;   // 0: not found

class Library {
 public:
  virtual ~Library() = default;
  virtual LibHandle Load(const std::string& name) = 0;
  virtual ProcAddr Find(LibHandle lib, const std::string& entry) = 0;
  virtual void Free(LibHandle lib) = 0;
  // Calls an HtmlHelpA entry point found by Find: (window, path, command, data).
  virtual uintptr_t CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path,
                                 uint32_t command, uintptr_t data) = 0;
};

}  // namespace port
