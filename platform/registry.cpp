#include "platform/registry.h"

#include "platform/text.h"

namespace port {

RegValue RegValue::Text(const std::string& utf8, uint32_t type) {
  RegValue v;
  v.type = type;
  for (char16_t c : Utf8ToUtf16(utf8)) {
    v.data.push_back(static_cast<uint8_t>(c & 0xFF));
    v.data.push_back(static_cast<uint8_t>(c >> 8));
  }
  v.data.push_back(0);
  v.data.push_back(0);
  return v;
}

RegValue RegValue::Dword(uint32_t n) {
  RegValue v;
  v.type = kRegDword;
  for (int k = 0; k < 4; ++k) v.data.push_back(static_cast<uint8_t>(n >> (8 * k)));
  return v;
}

RegValue RegValue::Binary(std::vector<uint8_t> bytes) {
  RegValue v;
  v.type = kRegBinary;
  v.data = std::move(bytes);
  return v;
}

std::string RegValue::TextOf() const {
  std::u16string w;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    w += c;
  }
  return Utf16ToUtf8(w);
}

}  // namespace port
