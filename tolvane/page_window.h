// The window page (tsWindow), the start panel page (tsStartMenu) and the
// restriction page (tsRestriction): window behaviour and the places bar of
// the common file dialogs; the start-menu delay or open-on-click, the
// notification balloons and the Shut Down item; two Control Panel and
// registry-editor restrictions, My Computer's properties, the list of the
// only programs a user may run, and the button that changes the lock
// password.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class WindowPages {
 public:
  // passwordSetting: the main window's buPasswordSettingClick.
  WindowPages(ui::TabSheet& tsWindow, ui::TabSheet& tsStartMenu, ui::TabSheet& tsRestriction, Catalogue& catalogue,
              PageEnv& env, std::function<void()> passwordSetting);

  // --- tsWindow ---------------------------------------------------------------
  ui::CheckBox &cbSmoothScroll, &cbMinAnimate, &cbMenuDropAlignment, &cbClassicShell;
  ui::Label& laClassicShellNote;
  ui::CheckBox& cbNoSaveSettings;
  ui::Label& laNoSaveSettingsNote;
  ui::CheckBox& cbForegroundLockTimeout;
  ui::Label& laForegroundLockTimeout;
  ui::GroupBox& gbPlaceBar;
  ui::CheckBox& cbNoPlaceBar;
  std::array<ui::Edit*, 5> edPlace{};     // edPlace0 .. edPlace4
  std::array<ui::Button*, 5> buPlace{};   // buPlace0 .. buPlace4
  ui::Label& laPlaceBar;

  // --- tsStartMenu --------------------------------------------------------------
  ui::GroupBox& gbMenuSpeed;
  ui::Label& laMenuSpeedFast;
  ui::TrackBar& tbMenuSpeed;
  ui::Label& laMenuSpeedSlow;
  ui::CheckBox& cbMenuRequireClick;
  ui::CheckBox& cbBalloon;
  ui::GroupBox& gbHideStartMenuItem;
  ui::CheckBox& cbNoClose;

  // --- tsRestriction ------------------------------------------------------------
  ui::GroupBox& gbRestriction;
  ui::CheckBox &cbNoDispCPL, &cbDisableRegistryTools;
  ui::CheckBox& cbNoPropertiesMyComputer;
  ui::Button& buPasswordSetting;
  ui::GroupBox& gbRestrictRun;
  ui::CheckBox& cbRestrictRun;
  ui::ListBox& lbRestrictRun;
  ui::Button &buRestrictRunAdd, &buRestrictRunDelete;

  // buPlace0Click .. buPlace4Click: a folder into the edit of row i.
  void buPlaceClick(int i);
  void cbMenuRequireClickClick();
  void cbRestrictRunClick();
  void buRestrictRunAddClick();
  void buRestrictRunDeleteClick();

  // Start-up reads: My Computer's properties (after the taskbar values of the
  // desktop page), the window group, the start panel group and the
  // restriction group.
  Order readDesktop, readWindow, readStartMenu, readRestriction;
  // Apply steps 6 (after the desktop values), 11, 13 and 14.
  Order applyDesktop, applyWindow, applyStartMenu, applyRestriction;
  Order standard;

 private:
  PageEnv& env_;
  std::function<void()> passwordSetting_;
};

// The programs that the restricted-run list always allows, in the order the
// apply writes them first: the settings tool itself, so that the restriction
// never locks it out, and the registry editor.
inline constexpr std::array<const char*, 2> kAlwaysAllowedPrograms = {"TOLVANE.EXE", "REGEDIT.EXE"};
// The names never shown in the list: the two above and the name older
// versions wrote for the settings tool.
bool AlwaysAllowedProgram(const std::string& name);

}  // namespace tolvane
