// The text of an INI file edited in memory as the profile functions edit the
// file one call at a time (see profile.h): a series of writes and deletes
// here leaves the text that the same calls leave in the file, and reads give
// what the profile functions give. A writer that changes many keys loads
// the file once, edits it here and stores it once.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace port {

class ProfileText {
 public:
  explicit ProfileText(const std::string& text = {});

  std::string Read(const std::string& section, const std::string& key, const std::string& def,
                   size_t maxLength = kProfileValueMax) const;
  // The key updated in place or appended at the end of its section; a
  // missing section appended at the end.
  void Write(const std::string& section, const std::string& key, const std::string& value);
  // The key's line removed; false when there was none.
  bool Delete(const std::string& section, const std::string& key);
  std::vector<std::string> KeyNames(const std::string& section) const;
  std::string Text() const;

 private:
  enum class Kind { Blank, Comment, Section, Key };
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
    Kind kind = Kind::Blank;
    std::string name;  // of a section or key
    bool hasValue = false;
    std::string value;  // blanks dropped, quotes kept
  };
  static Line Parsed(std::string text, std::string end);
  size_t FindSection(const std::string& section) const;

  std::vector<Line> lines_;
};

}  // namespace port
