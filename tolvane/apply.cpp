// The apply road: every page's state back to the system in one fixed order,
// then the one restart or log-off question and the new loaded state.
#include <memory>

#include "platform/shell.h"
#include "platform/shutdown.h"
#include "tolvane/changing.h"
#include "tolvane/main_form.h"

namespace tolvane {

namespace {

// The page steps of the road in their order, and how often the progress bar
// advances after each (with steps 1 and 21: 27 advances); the icon step
// advances the bar itself at its rows (13 times).
struct PageStep {
  ApplyStep step;
  int advances;
};
constexpr PageStep kPageSteps[] = {
    {ApplyStep::Icons, 0},       {ApplyStep::Desktop, 1},        {ApplyStep::Explorer, 2},
    {ApplyStep::ContextMenu, 1}, {ApplyStep::Network, 1},        {ApplyStep::RecycleBin, 1},
    {ApplyStep::Window, 1},      {ApplyStep::Toolbar, 0},        {ApplyStep::StartPanel, 5},
    {ApplyStep::Restriction, 0}, {ApplyStep::Performance, 0},    {ApplyStep::System, 0},
    {ApplyStep::FolderIconVerb, 0}, {ApplyStep::PendingMoves, 0}, {ApplyStep::LogonCleanup, 0},
    {ApplyStep::Logon, 0},
};

}  // namespace

void TfoMain::sbPlayClick() {
  // A numeric edit that holds no number of its range stops the road before
  // anything is written; its warning named the field.
  if (pages_ && !pages_->DecideNumbers()) return;

  // 1: the progress form; the queue runs once so that it appears.
  auto changing = std::make_unique<TfoChanging>(App());
  changing->SetCaption(App().Title());
  changing->Show();
  App().ProcessMessages();
  changing->Advance();

  // 2: own state.
  QX.WriteRegInteger("HKLM", kSuiteKey, "Top", Top());
  QX.WriteRegInteger("HKLM", kSuiteKey, "Left", Left());
  QX.WriteRegString("HKLM", kSuiteKey, "IconDir", IconDir);
  QX.WriteRegString("HKLM", kAppPathsKey, "", ProgramPath);
  QX.WriteRegString("HKLM", kAppPathsKey, "Path", ProgramFolder);

  // 3: the lock password to its three stores.
  WriteLockPassword();

  // 4: the snapshot settings file beside the program.
  SnapshotSave = true;
  sbSave.Click();
  SnapshotSave = false;

  // 5 to 20: the pages.
  ProgressStep = [&changing] { changing->Advance(); };
  ProgressPosition = [&changing](int position) {
    changing->UpdateProgress.SetPosition(position);  // the bar repaints itself
  };
  struct Unhook {
    TfoMain& m;
    ~Unhook() { m.ProgressStep = nullptr, m.ProgressPosition = nullptr; }
  } unhook{*this};
  for (const PageStep& s : kPageSteps) {
    if (pages_) pages_->Apply(s.step);
    for (int i = 0; i < s.advances; ++i) changing->Advance();
  }

  // 21: the search icons, whatever the controls show.
  QX.WriteRegString("HKLM",
                    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\FindExtensions\\Static\\WebSearch\\0\\DefaultIcon",
                    "", ShdocvwPath + ",11");
  QX.WriteRegString("HKLM",
                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\FindExtensions\\Static\\WabFind\\0\\DefaultIcon",
                    "", WabFindPath + ",0");
  changing->Advance();

  // 22: the icon cache, only when an icon changed.
  // The rebuild puts the bar at 190 on its way.
  if (Changes.iconChanged && pages_) pages_->Apply(ApplyStep::IconCache);

  // 23: done; tell the shell.
  changing->UpdateProgress.SetPosition(200);
  changing.reset();
  QX.Ports().shell->ChangeNotify(port::kShcneAssocChanged, port::kShcnfFlush);

  // 24: at most one question.
  AskRestartOrLogoff();

  // 25: what was applied is the new loaded state.
  Changes.Clear();
  if (pages_) pages_->TakeLoaded();
  for (ui::ListBox* pending : {&lbDeltaDelete, &lbDeltaCurrent, &lbDeltaDeleteRun, &lbDeltaCurrentRun,
                               &lbDeltaDeleteShellNew, &lbDeltaCurrentShellNew})
    pending->Items.Clear();
  if (auto* button = Find("buDeleteUninstall")) button->SetEnabled(true);
  sbPlay.SetEnabled(false);
}

void TfoMain::AskRestartOrLogoff() {
  if (Changes.needRestart) {
    auto answer = App().MessageBox(
        QX.Japanese() ? "Windowsの再起動が必要な設定変更があります。\r次回のWindowsの起動から有効です。\r\rいま、再起動しますか？"
                      : "This software require \"Restart Windows\" to apply settings.\rSome settings are effective next "
                        "time.\r\rRestart Windows??",
        "", port::MbIcon::Question, port::MbButtons::YesNo);
    if (answer == port::MbResult::Yes) {
      sbPlay.SetEnabled(false);
      port::Shutdown& shutdown = *QX.Ports().shutdown;
      if (shutdown.EnableShutdownPrivilege()) shutdown.EndSession(port::kExitReboot);
    }
  } else if (Changes.needLogoff) {
    auto answer = App().MessageBox(QX.Japanese() ? "設定を反映するにはLogoffが必要です。\rLogoffしますか？"
                                                 : "This software require \"Logoff\" to apply settings.\rLogoff ??",
                                   "", port::MbIcon::Question, port::MbButtons::YesNo);
    if (answer == port::MbResult::Yes) {
      sbPlay.SetEnabled(false);  // so that closing asks nothing
      Close();
      QX.Ports().shutdown->EndSession(port::kExitLogoff);
    }
  }
}

}  // namespace tolvane
