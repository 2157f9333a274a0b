// The real shell: programs started as WinExec does (through CreateProcessW, so
// that paths outside the ANSI code page work), ShellExecuteW, SHChangeNotify,
// and shell links through the shell-link object's wide interfaces.
#pragma once
#include "platform/shell.h"

namespace port {

class Win32Shell : public Shell {
 public:
  uint32_t Exec(const std::string& commandLine, int show) override;
  uintptr_t Open(uintptr_t window, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int show) override;
  void ChangeNotify(int32_t event, uint32_t flags) override;
  LinkResult CreateShellLink(const std::string& target, const std::string& workingFolder,
                             const std::string& linkFile) override;
  std::optional<Link> ReadShellLink(const std::string& linkFile) override;
};

}  // namespace port
