// Ending the Windows session: the shutdown privilege of the process token and
// the restart or log-off request.
#pragma once
#include <cstdint>

namespace port {

constexpr uint32_t kExitLogoff = 0;  // EWX_LOGOFF
constexpr uint32_t kExitReboot = 2;  // EWX_REBOOT

class Shutdown {
 public:
  virtual ~Shutdown() = default;
  // Opens the process token for TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, looks
  // up "SeShutdownPrivilege" and enables that one privilege. False when the
  // token cannot be opened or the name not looked up; the result of the
  // adjustment itself is not examined.
  virtual bool EnableShutdownPrivilege() = 0;
  // ExitWindowsEx(flags, 0): restart or log off. Its result is not examined.
  virtual void EndSession(uint32_t flags) = 0;
};

}  // namespace port
