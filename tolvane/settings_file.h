// The settings file: everything the main window holds, in an INI file read
// one key at a time through the profile functions and written in one pass of
// its whole text (edited as those functions edit it), and a report of
// the machine beside it. sbSaveClick and sbOpenClick (TfoMain) run it; apply
// step 4 saves the snapshot "MySettings.ini" beside the program.
//
// One loop over the catalogue carries the settings: each row names its keys
// (section, key, value form, the value when the file lacks it), and the key
// tables here give the order of the sections and of the keys in them (the
// writer's order and the reader's differ). A key is carried by the control
// named after its row unless the row answers for it (Row::FileGet); the
// lists, the reports, the identity and the lock password are this file's own.
#pragma once
#include <array>
#include <stdexcept>
#include <string>

#include "tolvane/catalogue.h"

namespace tolvane {

class TfoMain;

inline constexpr const char* kFileTitle = "Tolvane Configuration File";
inline constexpr const char* kOlderFileTitle = "トルヴァネ";
inline constexpr const char* kSnapshotName = "MySettings.ini";

// The sections in the order the writer writes them.
extern const std::array<const char*, 22> kWriteSections;
// The sections in the order the reader reads them.
extern const std::array<const char*, 14> kReadSections;

// A key that could not be written: the file's path.
class SettingsFileError : public std::runtime_error {
 public:
  explicit SettingsFileError(const std::string& path) : std::runtime_error(path), path_(path) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Writes every section into the file (merging into what is there, in one
// write); throws SettingsFileError when the file cannot be read or written
// (it is then left as it was).
void WriteSettingsFile(TfoMain& main, const std::string& path);
// Reads the file into the controls as the user's changes would; false (and
// nothing changed) when it is no settings file. The older-format notice is
// shown either way for a file of an older version.
bool ReadSettingsFile(TfoMain& main, const std::string& path);

// File key `index` of a row: its value as the window holds it (by the key's
// form: bool, int32_t or text), and a value set through the control's
// ordinary setter. The loops and the tests use these.
Loaded FileValue(TfoMain& main, const Row& row, size_t index);
void SetFileValue(TfoMain& main, Row& row, size_t index, const Loaded& value);

// A text as it stands in the file: inside one more pair of double quotes
// when it begins or ends with a quote or a blank, so that the profile
// functions (which strip blanks and one pair of quotes) give it back whole.
std::string FileText(const std::string& text);

// The message of a settings file that cannot be written, in the language.
std::string CannotWriteMessage(bool japanese, const std::string& path);

}  // namespace tolvane
