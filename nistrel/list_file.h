// The installer's list file nistrel.ini, read whole when an install or an
// uninstall starts: the uninstall deletes the file itself, and every
// section must still be known after that.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace nistrel {

// The sections the installer knows, in the order the uninstall walks them.
inline const char* const kSections[] = {"Tolvane", "Brisken", "pavrel", "Mortavel", "Quenlish",
                                        "Common",  "Common_JA", "Common_EN", "DeleteFile"};

struct ListSection {
  bool present = false;            // the list holds the section with at least one key
  std::string ja, en;              // the shortcut's name in each language
  std::vector<std::string> files;  // File1, File2 ... up to the first gap
};

class ListFile {
 public:
  // Reads every known section through the profile functions (names match
  // without case; a missing or empty "File" + n ends a section's list).
  void Read(port::Profile& profile, const std::string& path);
  // The section by name, without regard to case; empty when absent.
  const ListSection& Section(const std::string& name) const;
  // The first value that could lead outside its folder, as "[section] key=value";
  // nullopt when every value stays inside.
  std::optional<std::string> FirstUnsafeEntry() const;
  // Whether any of the known sections is there: a file that holds none is
  // not a list of this installer (another file under its name, a damaged one).
  bool HoldsAnySection() const;
  // Whether one of the sections lists the file (names without case).
  bool Lists(const std::vector<std::string>& sections, const std::string& file) const;

 private:
  std::map<std::string, ListSection> sections_;  // by upper-cased name
};

// A file or shortcut name that stays inside the folder it is joined to: no
// "..", no drive or stream colon, no leading backslash or slash, no wildcard.
bool StaysInside(const std::string& name);

}  // namespace nistrel
