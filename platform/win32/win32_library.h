// Libraries loaded with LoadLibraryW; HtmlHelpA called with the path in the
// ANSI code page.
#pragma once
#include "platform/library.h"

namespace port {

class Win32Library : public Library {
 public:
  LibHandle Load(const std::string& name) override;
  ProcAddr Find(LibHandle lib, const std::string& entry) override;
  void Free(LibHandle lib) override;
  uintptr_t CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path, uint32_t command,
                         uintptr_t data) override;
};

}  // namespace port
