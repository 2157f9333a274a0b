// INI files read and written one key at a time, as the Windows profile
// functions do (GetPrivateProfileString / WritePrivateProfileString).
//
// Section and key names match without regard to case and the first match
// wins. Reading drops blanks around keys and values and one enclosing pair of
// matching quotes, skips ";" comment lines, and cuts the value at the
// caller's length; an absent key gives the default, "key=" the empty text. A
// write updates the key in place or appends it at the end of its section,
// appends a missing section at the end of the file and creates a missing
// file; nothing else in the file changes. A path without a backslash names a
// file in the Windows folder.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace port {

// The value length the suite's readers allow: a buffer of 2048 characters
// less its terminating NUL.
constexpr size_t kProfileValueMax = 2047;

class Profile {
 public:
  virtual ~Profile() = default;
  // The value, at most maxLength characters (UTF-16 units, as the wide
  // functions count). The default loses its trailing blanks, and is cut too.
  virtual std::string Read(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& def, size_t maxLength = kProfileValueMax) = 0;
  // False when the write could not be made.
  virtual bool Write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
  // Removes the key's line (WritePrivateProfileString with no value); true
  // also when there was none. False when the file could not be written.
  virtual bool Delete(const std::string& path, const std::string& section, const std::string& key) = 0;
  // The key names of the section's first occurrence, in file order (as
  // GetPrivateProfileString with no key lists them); none for a missing file.
  virtual std::vector<std::string> KeyNames(const std::string& path, const std::string& section) = 0;

  // A writer of many keys loads the file's text once, edits it as a
  // ProfileText (profile_text.h) and stores it once: the file then reads
  // back as after the same writes one at a time, in the code page they
  // would have left it in. Not for the files that Windows maps to the
  // registry (WIN.INI, SYSTEM.INI and the like).
  // Load: the file's text (UTF-8); empty for a missing file; false when the
  // file is there but cannot be read.
  virtual bool Load(const std::string& path, std::string& text) = 0;
  // Store: the whole text in one write, the file created when missing; an
  // existing file keeps its attributes and its encoding (a UTF-16 file stays
  // one, any other is in the ANSI code page). False when it cannot be written.
  virtual bool Store(const std::string& path, const std::string& text) = 0;
};

}  // namespace port
