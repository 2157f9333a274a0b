// The installer's one window: in install mode a two-page wizard (agreement,
// then components, options and folder), in uninstall mode one page with a
// note and the question. Pages are made by moving controls, not by hiding
// them.
#pragma once
#include <string>

#include "common/qxcommon.h"
#include "nistrel/list_file.h"
#include "ui/ui.h"

class TfoMain : public ui::Form {
 public:
  // firstArgument: the first argument of the command line ("" when none).
  TfoMain(ui::Application& app, std::string firstArgument);

  ui::Memo* mmReadme;
  ui::Button* buBack;
  ui::Button* buNext;
  ui::Button* buCancel;
  ui::GroupBox* gbComponent;
  ui::CheckBox* cbTolvane;
  ui::CheckBox* cbPavrel;
  ui::CheckBox* cbMortavel;
  ui::CheckBox* cbQuenlish;
  ui::GroupBox* gbOption;
  ui::CheckBox* cbStartMenu;
  ui::CheckBox* cbDesktop;
  ui::GroupBox* gbFolder;
  ui::Edit* edFolder;
  ui::Button* buFolder;

  bool UninstallMode = false;
  int PageNo = 1;
  std::string SourceDir, ListFile, InstallDir, MenuDir;
  // The choice taken from the boxes when Install is pressed.
  struct Choice {
    bool tolvane = true, pavrel = true, mortavel = true, quenlish = true, startMenu = true, desktop = true;
  } Chosen;
  TQXCommon QX;

  void FormShow();
  void buNextClick();
  void buBackClick();
  void buCancelClick();
  void buFolderClick();

  // The install and uninstall steps.
  void SubInstall();
  void SubUninstall();
  void SubDeleteShortcut(const std::string& folder, const std::string& section);
  void SubDeleteFile(const std::string& folder, const std::string& section);
  void SubCopyFile(const std::string& fromFolder, const std::string& section);
  void SubCreateShortcut(const std::string& folder, const std::string& section);

 private:
  void OpenList();
  void CheckList(const std::vector<std::string>& sections);
  void CheckSources(const std::vector<std::string>& sections);
  void MakeInstallDir();
  void LoadAgreement(const std::string& path);
  std::string ShortcutName(const std::string& section) const;
  const char* CommonSection() const { return QX.Japanese() ? "Common_JA" : "Common_EN"; }
  std::string Say(const std::string& ja, const std::string& en) const { return QX.Japanese() ? ja : en; }

  std::string argument_;
  std::string lastBrowsed_;  // the folder chosen last with buFolder in this run
  nistrel::ListFile list_;
};
