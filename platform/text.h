// UTF-8 inside the program, UTF-16 at the Win32 edge.
#pragma once
#include <string>

namespace port {

std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);
// UTF-16 code units as the bytes of a file, little- or big-endian (a
// Unicode text after its byte-order mark), and back (an odd last byte is
// dropped).
std::string Utf16Bytes(const std::u16string& s, bool littleEndian);
std::u16string Utf16FromBytes(const std::string& bytes, bool littleEndian);
// Compares without regard to case as the registry and the profile functions
// do (ASCII letters, Latin-1, Greek, Cyrillic and the full-width Latin letters).
bool EqualNoCase(const std::string& a, const std::string& b);
std::string UpperNoCase(const std::string& s);

}  // namespace port
