// The cleanup wizard's one window: a result page with the drive list, the
// found files and the four buttons, and a settings page with the rule boxes,
// the folders never entered and the extra extensions. The search itself is
// in search.cpp.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/qxcommon.h"
#include "ui/ui.h"

// The progress window of one search (no code of its own).
class TfoProgress : public ui::Form {
 public:
  explicit TfoProgress(ui::Application& app);
  ui::Label* laProgress;
  ui::ProgressBar* ProgressBar;
};

class TfoMain : public ui::Form {
 public:
  explicit TfoMain(ui::Application& app);

  ui::PageControl* pcMain;
  ui::TabSheet* tsMain;
  ui::ComboBox* cbDrive;
  ui::ListView* lvFile;
  ui::Label* laResult;
  ui::SpeedButton* sbSearch;
  ui::SpeedButton* sbDeleteFile;
  ui::SpeedButton* sbHelp;
  ui::SpeedButton* sbClose;
  ui::TabSheet* tsSetting;
  ui::CheckBox* cbBackupFile;
  ui::CheckBox* cbTempFile;
  ui::CheckBox* cbRecentlyFile;
  ui::CheckBox* cbGidFile;
  ui::CheckBox* cbWindowsTextFile;
  ui::CheckBox* cbWindowsTempFile;
  ui::CheckBox* cbClusterFile;
  ui::CheckBox* cbMscreateDir;
  ui::CheckBox* cbAutoRun;
  ui::GroupBox* gbFolder;
  ui::Edit* edFolder[5];
  ui::Button* buFolder[5];
  ui::GroupBox* gbExt;
  ui::Edit* edExt[10];  // edExt1 .. edExt9, edExtA

  // The working lists of the search. They are never shown, so they are plain
  // lists rather than hidden list boxes: a list box would be refilled on the
  // screen for every folder added.
  std::vector<std::string> lbDir, lbQuestion, lbAnswer;

  std::string CurrentStep;
  std::string ProgramDir;      // the executable's folder, no trailing backslash
  std::string WindowsTempDir;  // WinDir + "\Temp"
  std::string PchealthDir;     // WinDir + "\PCHEALTH", never entered
  std::string DownloadedDir;   // WinDir + "\Downloaded Program Files", never entered
  std::string LastFolder;      // the folder picked last through a folder button
  TQXCommon QX;

  void FormShow();
  void FormCloseQuery(bool& canClose);
  void sbSearchClick();
  void sbDeleteFileClick();
  void sbHelpClick();
  void sbCloseClick();
  void buFolderClick(int index);  // buFolder1Click .. buFolder5Click (index 0 .. 4)
  void SubAppException(const std::exception& error);
  // One level of the folder walk: the subfolders of lbQuestion into lbAnswer.
  void EnumSubDir(const std::string& folder1, const std::string& folder2, const std::string& folder3,
                  const std::string& folder4, const std::string& folder5);

 private:
  void ReadSettings();
  void WriteSettings();
  enum class Unchanged { Yes, Missing, FolderChanged };
  Unchanged StillListed(const std::string& folder, const std::string& name);
  bool ProgressDue();
  TfoProgress* progress_ = nullptr;
  int64_t progressShown_ = 0;  // milliseconds of the progress window's last update
};

// A file name and its folder's rules: whether the enabled rules list it.
struct FileRules {
  bool backup = false, temp = false, gid = false, cluster = false, mscreate = false;
  bool wholeFolder = false;  // rules 7 and 9: every file of this folder
  bool windowsText = false;  // rule 8: .TXT files of this folder
  std::vector<std::string> extensions;  // ".EXT", upper-cased (rules 12-21)
};
bool IsUnneeded(const FileRules& rules, const std::string& name, uint32_t attributes);
// ASCII letters a-z become A-Z; nothing else changes.
std::string AsciiUpper(std::string text);
// The exact form of a full path ("\\?\D:\dd."): Windows takes each name as
// written, where the usual form drops a trailing dot or blank.
std::string ExactPath(const std::string& path);
// A folder that the walk never enters, as Windows compares folder paths:
// "/" as "\", no doubled or trailing backslash, letters without case.
std::string ExclusionKey(std::string folder);
