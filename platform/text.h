// UTF-8 inside the program, UTF-16 at the Win32 edge.
#pragma once
#include <string>

namespace port {

std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);
// Compares without regard to case as the registry and the profile functions
// do (ASCII letters, Latin-1, Greek, Cyrillic and the full-width Latin letters).
bool EqualNoCase(const std::string& a, const std::string& b);
std::string UpperNoCase(const std::string& s);

}  // namespace port
