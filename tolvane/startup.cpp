// The start-up road: everything the window does before it is first shown.
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "platform/files.h"
#include "platform/system.h"
#include "tolvane/main_form.h"
#include "tolvane/opening.h"
#include "tolvane/password.h"

namespace tolvane {

namespace {

// The page reads in their order, and how many steps the splash bar advances
// after each; the icon group advances the bar itself at its rows.
struct ReadPlace {
  ReadGroup group;
  int advances;
};
constexpr ReadPlace kReadOrder[] = {
    {ReadGroup::Registration, 1}, {ReadGroup::Icons, 0},       {ReadGroup::Desktop, 1},
    {ReadGroup::Explorer, 1},     {ReadGroup::ContextMenu, 1}, {ReadGroup::Network, 3},
    {ReadGroup::Window, 1},       {ReadGroup::InternetExplorer, 2}, {ReadGroup::StartPanel, 1},
    {ReadGroup::Restriction, 1},  {ReadGroup::Performance, 1}, {ReadGroup::NumLock, 1},
    {ReadGroup::Uninstall, 1},    {ReadGroup::Run, 1},         {ReadGroup::Logon2, 1},
    {ReadGroup::Logon1, 1},       {ReadGroup::ShellNew, 2},
};

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The whole text as a signed decimal number, else the default.
int NumberOr(const std::string& text, int def) {
  size_t used = 0;
  try {
    int n = std::stoi(text, &used);
    return used == text.size() ? n : def;
  } catch (const std::logic_error&) {
    return def;
  }
}

// Whether a window of this size at this place has a part on the desktop.
bool ShowsOn(const ui::Rect& desktop, int left, int top, int width, int height) {
  int64_t l = left, t = top;
  return l + width > desktop.left && l < int64_t{desktop.left} + desktop.width && t + height > desktop.top &&
         t < int64_t{desktop.top} + desktop.height;
}

}  // namespace

void TfoMain::MakeDerivedPaths() {
  ProgramPath = QX.Ports().system->ModulePath();
  ProgramFolder = FolderOf(ProgramPath);
  // Quoted, so that a program folder with blanks stays one path.
  FolderIconCommand = "\"" + ProgramFolder + "\\TAMREL.EXE\" \"%1\"";
  AutoCleanCommand = "\"" + ProgramFolder + "\\DURVOST.EXE\"";
  TransparentIconLocationJA = ProgramFolder + "\\透明.ico,0";
  TransparentIconLocation = ProgramFolder + "\\transparency.ico,0";
  RegBackFolder = ProgramFolder + "\\RegBack";
}

void TfoMain::FormShow() {
  // 1-3: the system, the language, the title.
  QX.ReadSystemInfo();
  if (!QX.Japanese()) SwitchToEnglish();
  App().SetTitle(Caption());

  // 4: the lock.
  LoadLockPassword();
  if (!LockPassword.empty() && !RunLogin(*this)) {
    App().Terminate();
    return;
  }

  // 5: the splash; the queue runs once so that it appears.
  auto opening = std::make_unique<TfoOpening>(App());
  opening->laAppName.SetCaption(App().Title());
  laAppName.SetCaption(App().Title());
  opening->Show();
  App().ProcessMessages();
  opening->ProgressBar.StepIt();

  // 6, 7: paths and the window's place.
  MakeDerivedPaths();
  int top = QX.ReadRegInteger("HKLM", kSuiteKey, "Top", 0);
  int left = QX.ReadRegInteger("HKLM", kSuiteKey, "Left", 0);
  // A stored place where no part of the window would show (a monitor that
  // was removed, a damaged value) starts centred, as the first start does.
  if ((top == 0 && left == 0) || !ShowsOn(App().Desktop(), left, top, Width(), Height())) {
    Position = ui::FormPosition::ScreenCenter;
    CenterOnScreen();
  } else {
    Position = ui::FormPosition::Designed;
    SetBounds({left, top, Width(), Height()});
  }
  IconDir = QX.ReadRegString("HKLM", kSuiteKey, "IconDir", "");

  // 8: MSDOS.SYS hidden and system (read-only cleared); a failure is ignored.
  MsdosSysPath = QX.BootDir() + "MSDOS.SYS";
  if (port::Files* files = QX.Ports().files) files->SetAttributes(MsdosSysPath, port::kAttrHidden | port::kAttrSystem);
  SystemIniPath = QX.WinDir() + "\\SYSTEM.INI";
  NotepadCommand = QX.WinDir() + "\\NOTEPAD.EXE %1";
  Shell32Path = QX.SysDir() + "\\shell32.dll";
  SyncuiPath = QX.SysDir() + "\\syncui.dll";
  ShdocvwPath = QX.SysDir() + "\\shdocvw.dll";
  OccachePath = QX.SysDir() + "\\OCCACHE.DLL";
  WebcheckPath = QX.SysDir() + "\\WEBCHECK.DLL";
  NetshellPath = QX.SysDir() + "\\Netshell.dll";
  ZipfldrPath = QX.SysDir() + "\\ZIPFLDR.DLL";

  // 9: the users of HKEY_USERS, carried in the settings file.
  QX.GetRegKeyNames("HKU", "");
  lbUser.Items.Assign(QX.StringList());
  opening->ProgressBar.StepIt();

  // 10: programs the pages name.
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  IEPath = QX.ReadRegString("HKLM", appPaths + "IEXPLORE.EXE", "", "");
  PaintPath = QX.ReadRegString("HKLM", appPaths + "pbrush.exe", "", "");
  OEInstallRoot = QX.ReadRegString("HKLM", "SOFTWARE\\Microsoft\\Outlook Express", "InstallRoot", "");
  WabFindPath = OEInstallRoot + "\\WabFind.dll";
  ShellIconSize = NumberOr(QX.ReadRegString("HKCU", "Control Panel\\desktop\\windowmetrics", "Shell Icon Size", "32"), 32);
  opening->ProgressBar.StepIt();

  // 11: the pages, each taking its loaded values as it reads.
  ProgressStep = [&opening] { opening->ProgressBar.StepIt(); };
  struct Unhook {
    TfoMain& m;
    ~Unhook() { m.ProgressStep = nullptr; }
  } unhook{*this};
  for (const ReadPlace& place : kReadOrder) {
    if (pages_) pages_->Read(place.group);
    for (int i = 0; i < place.advances; ++i) opening->ProgressBar.StepIt();
  }

  // 12: the splash goes.
  opening.reset();

  // 13, 14: the gates.
  if (!QX.WinXP()) {
    App().MessageBox(QX.Japanese() ? "このソフトはWindowsXPの環境で動作致します。\r\r他の環境では実行できません。"
                                   : "This software can run on WindowsXP.",
                     "", port::MbIcon::Error);
    App().Terminate();
    return;
  }
  if (!QX.Administrator()) {
    App().MessageBox(QX.Japanese() ? "「トルヴァネ」を実行する為にはAdministrator権限が必要です。\r\r"
                                     "もしわからない場合はシステム管理者にご相談下さい。"
                                   : "This software require Administrator authority.\r\r"
                                     "If you cannot understand, contact your administrator.",
                     "", port::MbIcon::Error);
    App().Terminate();
    return;
  }

  // 15: a restore point once after each installation.
  if (QX.ReadRegInteger("HKLM", kSuiteKey, "RestorePointCreated", 0) == 0) sbBackup.Click();

  // 16: the reads fired the change handlers; nothing is unapplied yet.
  sbPlay.SetEnabled(false);
}

}  // namespace tolvane
