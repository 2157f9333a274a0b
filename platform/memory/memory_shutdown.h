// Records what the program asked for instead of ending the session. It can
// play a token that cannot be opened (the request is then never made).
#pragma once
#include <vector>

#include "platform/shutdown.h"

namespace port {

class MemoryShutdown : public Shutdown {
 public:
  bool EnableShutdownPrivilege() override;
  void EndSession(uint32_t flags) override { requests_.push_back(flags); }

  void SetTokenRefused(bool refused) { tokenRefused_ = refused; }
  bool PrivilegeEnabled() const { return privilegeEnabled_; }
  // Every ExitWindowsEx request, in order.
  const std::vector<uint32_t>& Requests() const { return requests_; }

 private:
  bool tokenRefused_ = false;
  bool privilegeEnabled_ = false;
  std::vector<uint32_t> requests_;
};

}  // namespace port
