#include "platform/text.h"

#include <cstdint>

namespace port {

namespace {

// Decodes one UTF-8 sequence at s[i]; a malformed byte decodes as U+FFFD and
// advances by one, so any input converts.
char32_t DecodeUtf8(const std::string& s, size_t& i) {
  uint8_t b = static_cast<uint8_t>(s[i]);
  int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
  if (extra == 0) { ++i; return b; }
  if (extra < 0 || i + extra >= s.size()) { ++i; return 0xFFFD; }
  char32_t c = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    uint8_t t = static_cast<uint8_t>(s[i + k]);
    if ((t & 0xC0) != 0x80) { ++i; return 0xFFFD; }
    c = (c << 6) | (t & 0x3F);
  }
  static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) { ++i; return 0xFFFD; }
  i += extra + 1;
  return c;
}

void EncodeUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The upper-case form the registry uses to compare names: ASCII, Latin-1
// (U+00FF and U+00DF have no upper form there), Greek, Cyrillic and the
// full-width Latin letters.
char32_t UpperChar(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
  return c;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t c = DecodeUtf8(s, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 | (c >> 10));
      out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    EncodeUtf8(c, out);
  }
  return out;
}

std::string Utf16Bytes(const std::u16string& s, bool littleEndian) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char16_t c : s) {
    char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

std::u16string Utf16FromBytes(const std::string& bytes, bool littleEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    out += littleEndian ? static_cast<char16_t>(first | second << 8) : static_cast<char16_t>(second | first << 8);
  }
  return out;
}

std::string UpperNoCase(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) EncodeUtf8(UpperChar(DecodeUtf8(s, i)), out);
  return out;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (UpperChar(DecodeUtf8(a, i)) != UpperChar(DecodeUtf8(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

}  // namespace port
