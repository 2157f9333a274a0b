// The real profile functions, wide-character: Windows keeps a file without a
// byte-order mark in the system's ANSI code page and converts at the call.
// Load and Store read and write the file itself, converting the same way.
#pragma once
#include <windows.h>

#include "platform/profile.h"

namespace port {

class Win32Profile : public Profile {
 public:
  // Every system call goes through this table, so a test can make one fail.
  struct Api {
    decltype(&::GetPrivateProfileStringW) getString = ::GetPrivateProfileStringW;
    decltype(&::WritePrivateProfileStringW) writeString = ::WritePrivateProfileStringW;
    decltype(&::CreateFileW) createFile = ::CreateFileW;
    decltype(&::ReadFile) readFile = ::ReadFile;
    decltype(&::WriteFile) writeFile = ::WriteFile;
  };
  Api api;

  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& def, size_t maxLength = kProfileValueMax) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
  bool Delete(const std::string& path, const std::string& section, const std::string& key) override;
  std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;
  bool Load(const std::string& path, std::string& text) override;
  bool Store(const std::string& path, const std::string& text) override;
};

}  // namespace port
