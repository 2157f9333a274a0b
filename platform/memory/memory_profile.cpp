#include "platform/memory/memory_profile.h"

#include "platform/profile_text.h"

namespace port {

MemoryProfile::MemoryProfile(Files& files, std::string windowsFolder)
    : files_(files), windowsFolder_(std::move(windowsFolder)) {}

std::string MemoryProfile::Resolve(const std::string& path) const {
  if (path.find('\\') == std::string::npos && path.find('/') == std::string::npos)
    return windowsFolder_ + "\\" + path;
  return path;
}

std::string MemoryProfile::Read(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& def, size_t maxLength) {
  std::optional<std::string> bytes = files_.ReadAll(Resolve(path));
  return ProfileText(bytes.value_or("")).Read(section, key, def, maxLength);
}

bool MemoryProfile::Write(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string text;
  if (!Load(path, text)) return false;
  ProfileText file(text);
  file.Write(section, key, value);
  return files_.WriteAll(Resolve(path), file.Text());
}

bool MemoryProfile::Delete(const std::string& path, const std::string& section, const std::string& key) {
  std::string file = Resolve(path);
  if (!files_.Exists(file)) return true;
  std::optional<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  ProfileText text(*bytes);
  if (!text.Delete(section, key)) return true;
  return files_.WriteAll(file, text.Text());
}

std::vector<std::string> MemoryProfile::KeyNames(const std::string& path, const std::string& section) {
  std::optional<std::string> bytes = files_.ReadAll(Resolve(path));
  if (!bytes) return {};
  return ProfileText(*bytes).KeyNames(section);
}

bool MemoryProfile::Load(const std::string& path, std::string& text) {
  std::string file = Resolve(path);
  text.clear();
  if (!files_.Exists(file)) return true;
  std::optional<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  text = std::move(*bytes);
  return true;
}

bool MemoryProfile::Store(const std::string& path, const std::string& text) {
  return files_.WriteAll(Resolve(path), text);
}

}  // namespace port
