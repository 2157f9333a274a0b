// The main window's commands besides Apply and the settings file.
#include <map>

#include "platform/shell.h"
#include "tolvane/main_form.h"

namespace tolvane {

namespace {
const char* const kMailAddress = "mailto:tolvane@tazet.example";
const char* const kHomePageJA = "https://www.tazet.example/ja/";
const char* const kHomePageEN = "https://www.tazet.example/en/";
}  // namespace

void TfoMain::ApplyEnabled() { sbPlay.SetEnabled(true); }

void TfoMain::sbStandardClick() {
  // The controls whose state changes enable Apply through their handlers.
  if (pages_) pages_->Standard();
  Changes.needRestart = true;
}

std::string TfoMain::RestorePointCommand() const {
  const char* script = QX.Japanese() ? "CreateRestorePoint_JA.vbs" : "CreateRestorePoint_EN.vbs";
  return QX.SysDir() + "\\WScript.exe \"" + ProgramFolder + "\\" + script + "\"";
}

void TfoMain::sbBackupClick() {
  // Not waited for; a missing script host fails silently and counts as done.
  QX.Ports().shell->Exec(RestorePointCommand(), port::kShowNormal);
  QX.WriteRegInteger("HKLM", kSuiteKey, "RestorePointCreated", 1);
}

std::string TfoMain::HelpTopic(const std::string& sheet) {
  static const std::map<std::string, std::string> topics = {
      {"tsIcon1", "icon.htm"},         {"tsIcon2", "icon.htm"},         {"tsDesktop", "desktop.htm"},
      {"tsExplorer", "explorer.htm"},  {"tsNetwork", "network.htm"},    {"tsContextMenu", "context.htm"},
      {"tsShellNew", "shellnew.htm"},  {"tsWindow", "window.htm"},      {"tsRestriction", "restriction.htm"},
      {"tsIE1", "ie.htm"},             {"tsIE2", "ie.htm"},             {"tsStartMenu", "startmenu.htm"},
      {"tsLogon1", "logon.htm"},       {"tsLogon2", "logon.htm"},       {"tsPerformance", "performance.htm"},
      {"tsSystem", "system.htm"},      {"tsUninstall", "uninstall.htm"}, {"tsRun", "autorun.htm"},
      {"tsAbout", "support.htm"},
  };
  auto it = topics.find(sheet);
  return it == topics.end() ? std::string() : it->second;
}

void TfoMain::sbHelpClick() {
  std::string file = ProgramFolder + (QX.Japanese() ? "\\tolvane_ja.chm" : "\\tolvane_en.chm");
  std::string topic = HelpTopic(PageControl.Page(PageControl.ActivePageIndex()).Name());
  QX.ShowHtmlHelp(App().ActiveWindowHandle(), file + "::/" + topic + ">main");
}

void TfoMain::sbStopClick() { Close(); }

bool TfoMain::FormCloseQuery() {
  if (sbPlay.Enabled()) {
    auto answer = App().MessageBox(QX.Japanese() ? "反映されていない設定があります。終了しますか？"
                                                 : "Some setting not yet apply. Close??",
                                   "", port::MbIcon::Question, port::MbButtons::YesNo);
    if (answer != port::MbResult::Yes) return false;
  }
  Hide();
  return true;
}

void TfoMain::laEmailClick() {
  QX.Ports().shell->Open(App().ActiveWindowHandle(), "", kMailAddress, "", "", port::kShowNormal);
}

void TfoMain::laHomePageClick() {
  QX.Ports().shell->Open(App().ActiveWindowHandle(), "", QX.Japanese() ? kHomePageJA : kHomePageEN, "", "",
                         port::kShowNormal);
}

}  // namespace tolvane
