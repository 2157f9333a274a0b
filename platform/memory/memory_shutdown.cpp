#include "platform/memory/memory_shutdown.h"

namespace port {

bool MemoryShutdown::EnableShutdownPrivilege() {
  if (tokenRefused_) return false;
  privilegeEnabled_ = true;
  return true;
}

}  // namespace port
