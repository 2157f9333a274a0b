// The real restart and log-off. When the environment variable
// SUITE_SHUTDOWN_RECORD names a file, the request is appended to that file
// ("reboot" or "logoff", one a line) instead of being made: the Wine tests set
// it so that no test can end a session.
#pragma once
#include "platform/shutdown.h"

namespace port {

class Win32Shutdown : public Shutdown {
 public:
  bool EnableShutdownPrivilege() override;
  void EndSession(uint32_t flags) override;
};

}  // namespace port
