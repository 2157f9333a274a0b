// System facts a test sets: the version record, locale, ANSI code page (932
// or 1252 are modelled for byte lengths), environment and program path.
// The defaults are a Japanese Windows XP SP3.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/system.h"

namespace port {

class MemorySystem : public System {
 public:
  VersionInfo Version() override { return version_; }
  uint32_t DefaultLocale() override { return locale_; }
  uint32_t AnsiCodePage() override { return codePage_; }
  size_t AnsiByteLength(const std::string& utf8) override;
  // The memory machine keeps its texts in UTF-8: they come back unchanged.
  std::string FromAnsi(const std::string& bytes) override { return bytes; }
  std::optional<std::string> Env(const std::string& name) override;
  std::string ModulePath() override { return modulePath_; }
  uint64_t TotalPhysicalMemory() override { return totalMemory_; }
  std::optional<IconMetrics> GetIconMetrics() override;
  bool SetIconMetrics(const IconMetrics& metrics, uint32_t flags) override;
  // The Windows order of the Latin letters and ASCII signs: a hyphen or an
  // apostrophe counts only between texts otherwise alike; the other signs
  // before the digits, the digits before the letters; a Latin-1 letter with
  // an accent beside its plain one. Other characters follow the Latin ones
  // in the order of their upper-case forms. On a Japanese system the
  // backslash comes after the tilde.
  int CompareListText(const std::string& a, const std::string& b) override;

  void SetVersion(const VersionInfo& v) { version_ = v; }
  void SetLocale(uint32_t lcid) { locale_ = lcid; }
  void SetCodePage(uint32_t cp) { codePage_ = cp; }
  // Names compare without case, as in Windows; an empty value is still set.
  void SetEnv(const std::string& name, const std::string& value);
  void UnsetEnv(const std::string& name);
  void SetModulePath(const std::string& path) { modulePath_ = path; }
  void SetTotalPhysicalMemory(uint64_t bytes) { totalMemory_ = bytes; }
  // The icon metrics the system holds (its size field 76 and a recognisable
  // pattern), whether SPI_GETICONMETRICS fails, and every SPI_SETICONMETRICS
  // in order; WhenIconMetricsSet runs at each (a test looks at the registry
  // at that moment).
  IconMetrics iconMetrics = DefaultIconMetrics();
  bool failGetIconMetrics = false;
  struct IconMetricsSet {
    IconMetrics metrics;
    uint32_t flags;
  };
  std::vector<IconMetricsSet> iconMetricsSets;
  std::function<void()> WhenIconMetricsSet;
  static IconMetrics DefaultIconMetrics();

 private:
  VersionInfo version_;
  uint32_t locale_ = 1041, codePage_ = 932;
  std::map<std::string, std::string> env_;  // by upper-case name
  std::string modulePath_ = "C:\\Program Files\\suite\\tolvane.exe";
  uint64_t totalMemory_ = uint64_t{512} << 20;  // 512 MiB as GlobalMemoryStatus reports it
};

}  // namespace port
