// The logon pages. tsLogon1: the legal notice shown before logon, the hiding
// of the last user name, automatic logon, and the wallpaper and background
// colour of the logon screen. tsLogon2: the logon clean-up switches, which a
// companion program (DURVOST.EXE beside the settings tool, started at logon
// through the Run value TolvaneAutoClean) reads under the suite key's
// AutoClean subkey; the older CleanMRU subkey is still read and then removed.
#pragma once
#include <functional>
#include <string>

#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class LogonPages {
 public:
  // The command that the Run value starts (the main window's AutoCleanCommand,
  // made at start).
  struct Commands {
    std::function<std::string()> autoClean;
  };
  LogonPages(ui::TabSheet& tsLogon1, ui::TabSheet& tsLogon2, Catalogue& catalogue, PageEnv& env, Commands commands);

  // tsLogon1
  ui::GroupBox& gbLoginMessage;
  ui::Label& laLoginMessageTitle;
  ui::Edit& edLegalNoticeCaption;
  ui::Label& laLoginMessage;
  ui::Edit& edLegalNoticeText;
  ui::CheckBox& cbDontDisplayLastUserName;
  ui::GroupBox& gbAutoLogin;
  ui::CheckBox& cbAutoAdminLogon;
  ui::Label& laAutoLoginUser;
  ui::Edit& edDefaultUserName;
  ui::Label& laAutoLoginPassword;
  ui::Edit& edDefaultPassword;
  ui::GroupBox& gbLoginWallpaper;
  ui::Edit& edWallpaper;
  ui::Button& buWallpaper;
  ui::GroupBox& gbLoginBackColor;
  ui::Panel& paBackground;
  // tsLogon2
  ui::CheckBox& cbRmWinTempFile;
  ui::CheckBox& cbFilesOnly;
  ui::Label& laRmWinTempFileNote2;
  ui::Label& laRmTempDir;
  ui::GroupBox& gbRemoveHistoryList;
  ui::CheckBox &cbRmRecent, &cbRmFindMRU, &cbRmRunMRU;

  // The logon background colour as decimal texts, as read, picked or loaded
  // from a settings file; the panel only shows them.
  std::string LogonBackgroundRed, LogonBackgroundGreen, LogonBackgroundBlue;

  void cbAutoAdminLogonClick();
  void buWallpaperClick();
  void paBackgroundClick();
  void cbRmWinTempFileClick();

  // The three colour texts into the panel's colour (after a settings file
  // set them).
  void ShowBackground();
  // What apply writes to Background: three integers from 0 to 255 separated
  // by single blanks, whatever the colour texts hold.
  std::string BackgroundText() const;

  // Start-up reads (logon (2) before logon (1)), apply steps 19 (clean-up
  // switches and the Run value) and 20 (logon), and the standard values.
  Order readLogon2, readLogon1, applyCleanup, applyLogon, standard;

 private:
  void ReadBackground(const std::string& stored);
  PageEnv& env_;
  Commands commands_;
};

// One part of a colour text as apply writes it and the panel shows it: the
// whole text (blanks around it aside) as a decimal number, limited to 0..255;
// 0 when it is no number.
int ColourPart(const std::string& text);

}  // namespace tolvane
