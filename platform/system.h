// Facts about the running system.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace port {

// The shell's icon-metrics record (76 bytes, its first four the record's
// size), kept as the system gives it so that it goes back unchanged.
using IconMetrics = std::array<uint8_t, 76>;
// SPIF_UPDATEINIFILE | SPIF_SENDCHANGE: store the metrics and tell every window.
constexpr uint32_t kSpifUpdateAndSend = 3;

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
  // Total physical memory in bytes, as GlobalMemoryStatus reports it.
  virtual uint64_t TotalPhysicalMemory() = 0;
  // SystemParametersInfo SPI_GETICONMETRICS: nullopt when the system refuses.
  virtual std::optional<IconMetrics> GetIconMetrics() = 0;
  // SPI_SETICONMETRICS with the flags; whether the system took it.
  virtual bool SetIconMetrics(const IconMetrics& metrics, uint32_t flags) = 0;
  // Orders two texts as a sorted list box does (CompareString of the user's
  // locale, ignoring case): below zero, zero or above zero.
  virtual int CompareListText(const std::string& a, const std::string& b) = 0;
};

}  // namespace port
