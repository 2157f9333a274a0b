// A field of the benchmark's trace and tree files: tabs, line ends and
// backslashes escaped, so a field holds no separator.
#pragma once
#include <string>

inline std::string TraceField(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}
