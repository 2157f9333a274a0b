// Facts of the running Windows system. Every system call goes through the
// table `api`, so that a test can make one of them fail.
#pragma once
#include <windows.h>

#include "platform/system.h"

namespace port {

class Win32System : public System {
 public:
  struct Api {
    decltype(&::GetVersionExW) getVersion = ::GetVersionExW;
    decltype(&::GetSystemDefaultLCID) defaultLocale = ::GetSystemDefaultLCID;
    decltype(&::GetACP) ansiCodePage = ::GetACP;
    decltype(&::WideCharToMultiByte) toMultiByte = ::WideCharToMultiByte;
    decltype(&::MultiByteToWideChar) toWide = ::MultiByteToWideChar;
    decltype(&::GetEnvironmentVariableW) getEnv = ::GetEnvironmentVariableW;
    decltype(&::GetModuleFileNameW) moduleFileName = ::GetModuleFileNameW;
    decltype(&::GlobalMemoryStatus) memoryStatus = ::GlobalMemoryStatus;
    // The ANSI form: the record goes back byte for byte, its face name in
    // the code page it came in.
    decltype(&::SystemParametersInfoA) parametersInfo = ::SystemParametersInfoA;
    decltype(&::CompareStringW) compareString = ::CompareStringW;
  };
  Api api;

  VersionInfo Version() override;
  uint32_t DefaultLocale() override;
  uint32_t AnsiCodePage() override;
  size_t AnsiByteLength(const std::string& utf8) override;
  std::string FromAnsi(const std::string& bytes) override;
  std::optional<std::string> Env(const std::string& name) override;
  std::string ModulePath() override;
  uint64_t TotalPhysicalMemory() override;
  std::optional<IconMetrics> GetIconMetrics() override;
  bool SetIconMetrics(const IconMetrics& metrics, uint32_t flags) override;
  int CompareListText(const std::string& a, const std::string& b) override;
};

}  // namespace port
