// The profile functions over a file-system port (the memory one in tests),
// editing the file as Windows XP does: one line changes or is added, every
// other byte stays. The memory machine's ANSI code page is UTF-8, so the text
// is stored as it is given; a file that starts with the UTF-16LE byte-order
// mark is read, and written back, as Unicode, as XP's profile functions do.
#pragma once
#include "platform/files.h"
#include "platform/profile.h"

namespace port {

class MemoryProfile : public Profile {
 public:
  explicit MemoryProfile(Files& files, std::string windowsFolder = "C:\\WINDOWS");

  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& def, size_t maxLength = kProfileValueMax) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
  bool Delete(const std::string& path, const std::string& section, const std::string& key) override;
  std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;
  bool Load(const std::string& path, std::string& text) override;
  bool Store(const std::string& path, const std::string& text) override;

 private:
  std::string Resolve(const std::string& path) const;

  Files& files_;
  std::string windowsFolder_;
};

}  // namespace port
