// Facts of the running Windows system.
#pragma once
#include "platform/system.h"

namespace port {

class Win32System : public System {
 public:
  VersionInfo Version() override;
  uint32_t DefaultLocale() override;
  uint32_t AnsiCodePage() override;
  size_t AnsiByteLength(const std::string& utf8) override;
  std::optional<std::string> Env(const std::string& name) override;
  std::string ModulePath() override;
};

}  // namespace port
