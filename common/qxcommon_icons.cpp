// Icon locations: "path,index", split at the last comma.
#include <climits>

#include "common/qxcommon.h"
#include "platform/icons.h"

namespace {
// The index as a signed decimal: leading blanks and a sign allowed, nothing
// after the digits; 0 when it is not such a number or does not fit 32 bits.
int32_t IndexOf(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int32_t>(value);
}
}  // namespace

void TQXCommon::SplitIconLocation(const std::string& location) {
  size_t comma = location.rfind(',');
  if (comma == std::string::npos) {
    fileName_ = location;
    iconIndex_ = IndexOf(location);
  } else {
    fileName_ = location.substr(0, comma);
    iconIndex_ = IndexOf(location.substr(comma + 1));
  }
}

int32_t TQXCommon::GetIconCount(uintptr_t instance, const std::string& location) {
  SplitIconLocation(location);
  return ports_.icons ? ports_.icons->Count(instance, fileName_) : 0;
}

port::IconHandle TQXCommon::GetIconHandle(uintptr_t instance, const std::string& location) {
  SplitIconLocation(location);
  return ports_.icons ? ports_.icons->Extract(instance, fileName_, iconIndex_) : 0;
}
