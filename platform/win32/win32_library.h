// Libraries loaded with LoadLibraryW; HtmlHelpA is called with the path in
// the ANSI code page. Every system call goes through the table `api`.
#pragma once
#include <windows.h>

#include "platform/library.h"

namespace port {

class Win32Library : public Library {
 public:
  struct Api {
    decltype(&::LoadLibraryW) load = ::LoadLibraryW;
    decltype(&::GetProcAddress) find = ::GetProcAddress;
    decltype(&::FreeLibrary) free = ::FreeLibrary;
  };
  Api api;

  LibHandle Load(const std::string& name) override;
  ProcAddr Find(LibHandle lib, const std::string& entry) override;
  void Free(LibHandle lib) override;
  uintptr_t CallHtmlHelp(ProcAddr proc, uintptr_t window, const std::string& path, uint32_t command,
                         uintptr_t data) override;
};

}  // namespace port
