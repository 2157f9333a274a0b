// Facts about the running system.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace port {

struct VersionInfo {
  uint32_t platform = 2;  // 1 = Windows 9x, 2 = NT
  uint32_t major = 5, minor = 1, build = 2600;
  std::string csd = "Service Pack 3";
};

class System {
 public:
  virtual ~System() = default;
  virtual VersionInfo Version() = 0;
  virtual uint32_t DefaultLocale() = 0;  // LCID, 1041 on a Japanese system
  virtual uint32_t AnsiCodePage() = 0;   // 932 on a Japanese system
  // Bytes the text takes in the ANSI code page (a character it cannot
  // represent counts as the one byte of its replacement).
  virtual size_t AnsiByteLength(const std::string& utf8) = 0;
  // A text file's bytes in the ANSI code page (a plain text as Notepad
  // saves it), as UTF-8.
  virtual std::string FromAnsi(const std::string& bytes) = 0;
  virtual std::optional<std::string> Env(const std::string& name) = 0;
  virtual std::string ModulePath() = 0;  // the running program's full path
};

}  // namespace port
