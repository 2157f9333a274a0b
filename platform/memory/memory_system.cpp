#include "platform/memory/memory_system.h"

#include "platform/text.h"

namespace port {

namespace {

// Whether code page 932 holds the character as a double-byte code. Outside
// ASCII and the half-width katakana it holds: Greek and Cyrillic, the
// general punctuation and symbols, the CJK symbols, hiragana, katakana,
// the unified ideographs it encodes (approximated by the whole block), the
// full-width forms, and the NEC/IBM extension ranges.
bool DoubleByteIn932(char16_t c) {
  return c == 0x00A7 || c == 0x00A8 || c == 0x00B0 || c == 0x00B1 || c == 0x00B4 || c == 0x00B6 ||
         c == 0x00D7 || c == 0x00F7 || (c >= 0x0391 && c <= 0x03C9) || (c >= 0x0401 && c <= 0x0451) ||
         (c >= 0x2010 && c <= 0x203B) || (c >= 0x2100 && c <= 0x2312) || (c >= 0x2460 && c <= 0x266F) ||
         (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3231 && c <= 0x33CD) || (c >= 0x4E00 && c <= 0x9FA5) ||
         (c >= 0xF929 && c <= 0xFA2D) || (c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE5);
}

}  // namespace

size_t MemorySystem::AnsiByteLength(const std::string& utf8) {
  size_t bytes = 0;
  std::u16string w = Utf8ToUtf16(utf8);
  for (size_t i = 0; i < w.size(); ++i) {
    char16_t c = w[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size()) ++i;  // a pair is one character: one '?'
    if (codePage_ == 932) {
      bool single = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
      bytes += single ? 1 : DoubleByteIn932(c) ? 2 : 1;
    } else {
      bytes += 1;  // 1252 and the other single-byte pages: a byte, or the '?' that replaces it
    }
  }
  return bytes;
}

std::optional<std::string> MemorySystem::Env(const std::string& name) {
  auto it = env_.find(UpperNoCase(name));
  if (it == env_.end()) return std::nullopt;
  return it->second;
}

void MemorySystem::SetEnv(const std::string& name, const std::string& value) { env_[UpperNoCase(name)] = value; }

void MemorySystem::UnsetEnv(const std::string& name) { env_.erase(UpperNoCase(name)); }

}  // namespace port
