#include "platform/memory/memory_profile.h"

#include "platform/profile_text.h"
#include "platform/text.h"

namespace port {

namespace {

// A file that starts with the UTF-16LE byte-order mark is Unicode text to
// the profile functions, whatever the code page; any other is in the code
// page (UTF-8 on the memory machine).
const std::string kUnicodeMark = "\xFF\xFE";

bool IsUnicode(const std::string& bytes) { return bytes.compare(0, kUnicodeMark.size(), kUnicodeMark) == 0; }

std::string Decode(const std::string& bytes) {
  return IsUnicode(bytes) ? Utf16ToUtf8(Utf16FromBytes(bytes.substr(kUnicodeMark.size()), true)) : bytes;
}

// The text in the form the file had: a Unicode file stays Unicode.
std::string Encode(const std::string& text, bool unicode) {
  return unicode ? kUnicodeMark + Utf16Bytes(Utf8ToUtf16(text), true) : text;
}

}  // namespace

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
  return ProfileText(Decode(bytes.value_or(""))).Read(section, key, def, maxLength);
}

bool MemoryProfile::Write(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string text;
  if (!Load(path, text)) return false;
  ProfileText file(text);
  file.Write(section, key, value);
  return Store(path, file.Text());
}

bool MemoryProfile::Delete(const std::string& path, const std::string& section, const std::string& key) {
  std::string file = Resolve(path);
  if (!files_.Exists(file)) return true;
  std::optional<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  ProfileText text(Decode(*bytes));
  if (!text.Delete(section, key)) return true;
  return files_.WriteAll(file, Encode(text.Text(), IsUnicode(*bytes)));
}

std::vector<std::string> MemoryProfile::KeyNames(const std::string& path, const std::string& section) {
  std::optional<std::string> bytes = files_.ReadAll(Resolve(path));
  if (!bytes) return {};
  return ProfileText(Decode(*bytes)).KeyNames(section);
}

bool MemoryProfile::Load(const std::string& path, std::string& text) {
  std::string file = Resolve(path);
  text.clear();
  if (!files_.Exists(file)) return true;
  std::optional<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  text = Decode(*bytes);
  return true;
}

bool MemoryProfile::Store(const std::string& path, const std::string& text) {
  std::string file = Resolve(path);
  std::optional<std::string> old = files_.Exists(file) ? files_.ReadAll(file) : std::nullopt;
  return files_.WriteAll(file, Encode(text, old && IsUnicode(*old)));
}

}  // namespace port
