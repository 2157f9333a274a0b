// The main window of the settings tool: nineteen tab pages, seven command
// buttons, the working lists, the paths made at start, the change-class flags
// and the roads that run them (start-up, apply, standard values, close).
//
// Who fills what:
// - main_form.cpp: the window, its sheets, buttons, About page and working
//   lists, FormCreate, SubAppException and the language switch.
// - startup.cpp: FormShow (the start-up road). apply.cpp: sbPlayClick.
//   settings_file.cpp: sbSaveClick, sbOpenClick.
//   commands.cpp: sbStandardClick, sbBackupClick, sbHelpClick, sbStopClick,
//   FormCloseQuery, the About links, ApplyEnabled. password.cpp: the lock.
// - The settings pages (catalogue.cpp, page_*.cpp) make their controls on
//   the sheets below and fill the Pages slices (pages.h); they mark
//   Changes, and read the derived paths and QX.
#pragma once
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "common/qxcommon.h"
#include "tolvane/catalogue.h"
#include "tolvane/pages.h"
#include "ui/ui.h"

class TfoIconList;

namespace tolvane {

class TfoMain : public ui::Form {
 public:
  // Builds the window and, through `pages`, the page controls (FormCreate
  // runs at the end). The program block passes MakePages.
  TfoMain(ui::Application& app, const PagesFactory& pages);
  ~TfoMain() override;

  TQXCommon QX;  // over the application's ports

  // --- Sheets, in tab order --------------------------------------------------
  ui::PageControl& PageControl;
  ui::TabSheet &tsIcon1, &tsIcon2, &tsDesktop, &tsExplorer, &tsNetwork, &tsContextMenu, &tsShellNew, &tsWindow,
      &tsRestriction, &tsIE1, &tsIE2, &tsStartMenu, &tsLogon1, &tsLogon2, &tsPerformance, &tsSystem, &tsUninstall,
      &tsRun, &tsAbout;

  // --- Commands, left to right ----------------------------------------------
  ui::SpeedButton &sbPlay, &sbOpen, &sbSave, &sbStandard, &sbBackup, &sbHelp, &sbStop;

  // --- About page -------------------------------------------------------------
  ui::Label &laAppName, &laSubAppTitle, &laQuestionRequest, &laEmail, &laHomePage, &laAboutLine;

  // --- Working lists (invisible, below the client area) ------------------------
  ui::ListBox &lbUser, &lbIdentities, &lbAdapterID, &lbTemp;
  ui::ListBox &lbCopyCurrent, &lbCopyDelete, &lbDeltaCurrent, &lbDeltaDelete, &lbDeltaCurrentRun,
      &lbDeltaDeleteRun, &lbCopyCurrentShellNew, &lbCopyDeleteShellNew, &lbDeltaCurrentShellNew,
      &lbDeltaDeleteShellNew;

  // --- Dialogs the pages use ----------------------------------------------------
  ui::OpenDialog OpenDialog;
  ui::SaveDialog SaveDialog;
  ui::OpenPictureDialog OpenPictureDialog;
  ui::ColorDialog ColorDialog;

  // --- Paths made at start (FormShow steps 6 to 10) ----------------------------
  std::string ProgramPath, ProgramFolder, FolderIconCommand, AutoCleanCommand, TransparentIconLocation,
      TransparentIconLocationJA, RegBackFolder, IconDir, MsdosSysPath, SystemIniPath, NotepadCommand;
  std::string Shell32Path, SyncuiPath, ShdocvwPath, OccachePath, WebcheckPath, NetshellPath, ZipfldrPath;
  std::string IEPath, PaintPath, OEInstallRoot, WabFindPath;
  int ShellIconSize = 32;

  // --- Own state ---------------------------------------------------------------
  std::string LockPassword;   // clear text; "" = no lock
  int32_t SelectedIconIndex = 0;  // the icon picker's return channel
  TfoIconList* foIconList = nullptr;  // the icon picker, made by the program block after this form
  // The bar of the road that runs (the splash's at start, the progress
  // form's in apply), for the pages that advance it at their own rows.
  std::function<void()> ProgressStep;
  std::function<void(int)> ProgressPosition;
  bool SnapshotSave = false;  // while true, sbSave writes MySettings.ini without a dialog
  // The change-class flags IconChanged, NeedLogoff, NeedRestart: set by the
  // pages while writing (and by the pickers, sbStandard, loading a file),
  // read and cleared by the apply road.
  ChangeFlags Changes;

  // The settings pages' slices.
  Pages& PageSlices() { return *pages_; }

  // --- Handlers ----------------------------------------------------------------
  void FormCreate();
  void FormShow();  // the start-up road
  bool FormCloseQuery();
  void SubAppException(const std::exception& e);
  void sbPlayClick();
  void sbStandardClick();
  void sbBackupClick();
  void sbHelpClick();
  void sbStopClick();
  void laEmailClick();
  void laHomePageClick();
  void ApplyEnabled();
  void buPasswordSettingClick();  // bound by the restriction page's button
  void sbSaveClick();  // settings_file.cpp: the settings file, or the snapshot while SnapshotSave
  void sbOpenClick();

  // The language switch of this window (English mode): captions take their
  // hints, the font becomes "MS Sans Serif".
  void SwitchToEnglish();
  // The restart or log-off question of the apply road (step 24).
  void AskRestartOrLogoff();

  // The help topic of a sheet ("ie.htm").
  static std::string HelpTopic(const std::string& sheet);
  // The restore-point command line: the script host and the script beside
  // the program in double quotes.
  std::string RestorePointCommand() const;

  // Lock password (password.cpp): the three stores.
  void LoadLockPassword();
  void WriteLockPassword();

 private:
  void MakeDerivedPaths();
  std::unique_ptr<Pages> pages_;
};

// The suite key, HKLM.
inline constexpr const char* kSuiteKey = "Software\\Tazet\\Tolvane";
inline constexpr const char* kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TOLVANE.EXE";

}  // namespace tolvane
