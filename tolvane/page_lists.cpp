#include "tolvane/page_lists.h"

#include <vector>

#include "common/qxcommon.h"
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kDeleteUninstall = "SOFTWARE\\Tazet\\Tolvane\\DeleteUninstall";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";
constexpr const char* kDeleteRun = "SOFTWARE\\Tazet\\Tolvane\\DeleteRun";
constexpr const char* kBackup = "Tolvane.Backup";
constexpr const char* kShellNewValues[] = {"NullFile", "Data", "FileName", "Command"};

// The page layout: a current list on the left, the two move buttons in the
// middle, the removed list on the right, a note below.
constexpr ui::Rect kLeftGroup{8, 8, 300, 250}, kRightGroup{384, 8, 300, 250};
constexpr ui::Rect kFullList{10, 20, 280, 220}, kShortList{10, 20, 280, 188};
constexpr ui::Rect kToRemoved{321, 100, 50, 25}, kToCurrent{321, 140, 50, 25};
constexpr ui::Rect kNote{8, 268, 676, 56};

ui::Label& Note(ui::TabSheet& sheet, const char* name, const char* ja, const char* en) {
  auto& note = sheet.Add<ui::Label>(name, kNote, ja, en);
  note.WordWrap = true;
  return note;
}

// One move of the selected row of `from` to the bottom of `to`. A pending
// move the other way is cancelled (the entry simply goes back); else the
// move is recorded. Run rows have no key lists: their text is the key.
void MoveRow(ui::ListBox& from, ui::ListBox* fromKeys, ui::ListBox& to, ui::ListBox* toKeys, ui::ListBox& cancelIn,
             ui::ListBox& recordIn) {
  const int i = from.ItemIndex();
  if (i < 0 || i >= from.Items.Count()) return;
  const std::string key = fromKeys ? (*fromKeys).Items[i] : from.Items[i];
  if (int earlier = cancelIn.Items.IndexOf(key); earlier >= 0)
    cancelIn.Items.Delete(earlier);
  else
    recordIn.Items.Add(key);
  if (fromKeys) {
    toKeys->Items.Add(key);
    fromKeys->Items.Delete(i);
  }
  to.Items.Add(from.Items[i]);
  from.Items.Delete(i);
  from.SetItemIndex(-1);  // the selected row is gone, as the list control shows it
}

}  // namespace

ListPages::ListPages(ui::TabSheet& tsUninstall, ui::TabSheet& tsRun, ui::TabSheet& tsShellNew, PageEnv& env,
                     WorkLists work)
    : gbCurrentUninstall(tsUninstall.Add<ui::GroupBox>("gbCurrentUninstall", kLeftGroup, "現在のアンインストール情報",
                                                       "Current uninstall information")),
      lbCurrentUninstall(gbCurrentUninstall.Add<ui::ListBox>("lbCurrentUninstall", kFullList)),
      buCurrentToDelete(tsUninstall.Add<ui::Button>("buCurrentToDelete", kToRemoved, "→", "->")),
      buDeleteToCurrent(tsUninstall.Add<ui::Button>("buDeleteToCurrent", kToCurrent, "←", "<-")),
      gbRemovedUninstall(tsUninstall.Add<ui::GroupBox>("gbRemovedUninstall", kRightGroup, "削除したアンインストール情報",
                                                       "Removed uninstall information")),
      lbDeleteUninstall(gbRemovedUninstall.Add<ui::ListBox>("lbDeleteUninstall", kShortList)),
      buDeleteUninstall(gbRemovedUninstall.Add<ui::Button>("buDeleteUninstall", {200, 216, 80, 25}, "クリア", "Clear")),
      laUninstallNote(Note(tsUninstall, "laUninstallNote",
                           "アンインストール情報の削除は、「アプリケーションの追加と削除」でアンインストールせず直接"
                           "ファイルを削除してしまった場合などにご利用下さい。",
                           "When you removed files directly, you can this function. This function not uninstall any "
                           "software.")),
      gbCurrentAutorun(tsRun.Add<ui::GroupBox>("gbCurrentAutorun", kLeftGroup, "現在の自動実行プログラム",
                                               "Current autorun")),
      lbCurrentRun(gbCurrentAutorun.Add<ui::ListBox>("lbCurrentRun", kFullList)),
      buCurrentToDeleteForRun(tsRun.Add<ui::Button>("buCurrentToDeleteForRun", kToRemoved, "→", "->")),
      buDeleteToCurrentForRun(tsRun.Add<ui::Button>("buDeleteToCurrentForRun", kToCurrent, "←", "<-")),
      gbRemovedAutorun(tsRun.Add<ui::GroupBox>("gbRemovedAutorun", kRightGroup, "削除した自動実行プログラム",
                                               "Removed autorun")),
      lbDeleteRun(gbRemovedAutorun.Add<ui::ListBox>("lbDeleteRun", kFullList)),
      laAutorunNote(Note(tsRun, "laAutorunNote",
                         "AUTOEXEC.BATに記述がないのに起動と同時に起動されるアプリケーションが多数あります。何かシステム"
                         "設定を変更してアプリケーションを起動したくない場合やトラブルの原因追求するときに一時的に無効に"
                         "したい場合等に使用する機能です。",
                         "Some application run automatically without AUTOEXEC.BAT. If you want to invalidate this "
                         "application, you can use this function.")),
      gbCurrentNew(tsShellNew.Add<ui::GroupBox>("gbCurrentNew", kLeftGroup, "現在の「新規作成」", "Current 'New'")),
      lbCurrentShellNew(gbCurrentNew.Add<ui::ListBox>("lbCurrentShellNew", kFullList)),
      buCurrentToDeleteForShellNew(tsShellNew.Add<ui::Button>("buCurrentToDeleteForShellNew", kToRemoved, "→", "->")),
      buDeleteToCurrentForShellNew(tsShellNew.Add<ui::Button>("buDeleteToCurrentForShellNew", kToCurrent, "←", "<-")),
      gbRemovedNew(tsShellNew.Add<ui::GroupBox>("gbRemovedNew", kRightGroup, "削除した「新規作成」", "Removed 'New'")),
      lbDeleteShellNew(gbRemovedNew.Add<ui::ListBox>("lbDeleteShellNew", kFullList)),
      lists(work),
      env_(env) {
  buCurrentToDelete.OnClick = [this](ui::Control&) { buCurrentToDeleteClick(); };
  buDeleteToCurrent.OnClick = [this](ui::Control&) { buDeleteToCurrentClick(); };
  buDeleteUninstall.OnClick = [this](ui::Control&) { buDeleteUninstallClick(); };
  buCurrentToDeleteForRun.OnClick = [this](ui::Control&) { buCurrentToDeleteForRunClick(); };
  buDeleteToCurrentForRun.OnClick = [this](ui::Control&) { buDeleteToCurrentForRunClick(); };
  buCurrentToDeleteForShellNew.OnClick = [this](ui::Control&) { buCurrentToDeleteForShellNewClick(); };
  buDeleteToCurrentForShellNew.OnClick = [this](ui::Control&) { buDeleteToCurrentForShellNewClick(); };
}

// ---------------------------------------------------------------- reading

void ListPages::ReadUninstallSide(const std::string& key, ui::ListBox& visible, ui::ListBox& keys) {
  // Only entries that Add/Remove Programs can show and run count: both the
  // uninstall command and the display name must be there.
  TQXCommon& qx = env_.qx;
  qx.GetRegKeyNames("HKLM", key);
  keys.Items.Assign(qx.StringList());
  for (int i = 0; i < keys.Items.Count(); ++i) {
    const std::string entry = key + "\\" + keys.Items[i];
    const std::string command = qx.ReadRegString("HKLM", entry, "UninstallString", "error");
    const std::string name = qx.ReadRegString("HKLM", entry, "DisplayName", "error");
    if (command == "error" || name == "error") continue;
    lists.lbTemp.Items.Add(keys.Items[i]);
    visible.Items.Add(name);
  }
  keys.Items.Assign(lists.lbTemp.Items.All());
  lists.lbTemp.Items.Clear();
}

void ListPages::ReadUninstall() {
  ReadUninstallSide(kUninstall, lbCurrentUninstall, lists.lbCopyCurrent);
  ReadUninstallSide(kDeleteUninstall, lbDeleteUninstall, lists.lbCopyDelete);
}

void ListPages::ReadRun() {
  env_.qx.GetRegValueNames("HKLM", kRun);
  lbCurrentRun.Items.Assign(env_.qx.StringList());
  env_.qx.GetRegValueNames("HKLM", kDeleteRun);
  lbDeleteRun.Items.Assign(env_.qx.StringList());
}

void ListPages::ReadShellNewSide(bool removed, ui::ListBox& visible, ui::ListBox& keys) {
  TQXCommon& qx = env_.qx;
  // The top-level names of HKCR (the empty path is the root itself), or the
  // names kept below the backup key. Shortcuts are never offered.
  qx.GetRegKeyNames("HKCR", removed ? kBackup : "");
  std::vector<std::string> extensions;
  for (const std::string& name : qx.StringList()) {
    if (static_cast<int>(extensions.size()) >= kExtensionLimit) break;
    if (!name.starts_with(".")) continue;
    if (!removed && name.substr(0, 4) == ".lnk") continue;
    extensions.push_back(name);
  }
  const std::string store = removed ? std::string(kBackup) + "\\" : std::string();
  auto offered = [&qx](const std::string& key) {
    for (const char* value : kShellNewValues)
      if (qx.RegValueExists("HKCR", key, value)) return true;
    return false;
  };
  // The type, its display name and the type key always come from the live
  // extension key, also for a removed entry.
  for (const std::string& e : extensions) {
    const std::string type = qx.ReadRegString("HKCR", e, "", "");
    const std::string display = qx.ReadRegString("HKCR", type, "", "");
    if (offered(store + e + "\\ShellNew")) {
      if (display.empty()) continue;
      keys.Items.Add(e);
      visible.Items.Add(display);
    } else if (qx.RegKeyExists("HKCR", e)) {
      const std::string p = qx.ReadRegString("HKCR", e, "", "error");
      if (p == "error" || !offered(store + e + "\\" + p + "\\ShellNew")) continue;
      keys.Items.Add(e + "\\" + p);
      visible.Items.Add(display);
    }
  }
}

void ListPages::ReadShellNew() {
  ReadShellNewSide(false, lbCurrentShellNew, lists.lbCopyCurrentShellNew);
  ReadShellNewSide(true, lbDeleteShellNew, lists.lbCopyDeleteShellNew);
}

// ---------------------------------------------------------------- moves

bool ListPages::ProtectedRunName(const std::string& name) {
  std::string upper = name;  // ASCII letters only, as the names are
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  for (const char* p : {"INTERNAT.EXE", "SCANREGISTRY", "LOADPOWERPROFILE", "TOLVANECLEANMRU", "SYSTEMTRAY"})
    if (upper == p) return true;
  return false;
}

void ListPages::buCurrentToDeleteClick() {
  MoveRow(lbCurrentUninstall, &lists.lbCopyCurrent, lbDeleteUninstall, &lists.lbCopyDelete, lists.lbDeltaCurrent,
          lists.lbDeltaDelete);
  env_.applyEnabled();
  buDeleteUninstall.SetEnabled(false);  // the removed store must not be cleared under a pending move
}

void ListPages::buDeleteToCurrentClick() {
  MoveRow(lbDeleteUninstall, &lists.lbCopyDelete, lbCurrentUninstall, &lists.lbCopyCurrent, lists.lbDeltaDelete,
          lists.lbDeltaCurrent);
  env_.applyEnabled();
  buDeleteUninstall.SetEnabled(false);
}

void ListPages::buCurrentToDeleteForRunClick() {
  const int i = lbCurrentRun.ItemIndex();
  if (i >= 0 && i < lbCurrentRun.Items.Count() && ProtectedRunName(lbCurrentRun.Items[i])) {
    env_.app.MessageBox(lbCurrentRun.Items[i] + (env_.qx.Japanese() ? "は重要な自動実行プログラムの為、削除はできません"
                                                                    : " is important for Windows. You cannot remove this."),
                        "", port::MbIcon::Information);
  } else {
    MoveRow(lbCurrentRun, nullptr, lbDeleteRun, nullptr, lists.lbDeltaCurrentRun, lists.lbDeltaDeleteRun);
  }
  env_.applyEnabled();
}

void ListPages::buDeleteToCurrentForRunClick() {
  MoveRow(lbDeleteRun, nullptr, lbCurrentRun, nullptr, lists.lbDeltaDeleteRun, lists.lbDeltaCurrentRun);
  env_.applyEnabled();
}

void ListPages::buCurrentToDeleteForShellNewClick() {
  MoveRow(lbCurrentShellNew, &lists.lbCopyCurrentShellNew, lbDeleteShellNew, &lists.lbCopyDeleteShellNew,
          lists.lbDeltaCurrentShellNew, lists.lbDeltaDeleteShellNew);
  env_.applyEnabled();
}

void ListPages::buDeleteToCurrentForShellNewClick() {
  MoveRow(lbDeleteShellNew, &lists.lbCopyDeleteShellNew, lbCurrentShellNew, &lists.lbCopyCurrentShellNew,
          lists.lbDeltaDeleteShellNew, lists.lbDeltaCurrentShellNew);
  env_.applyEnabled();
}

void ListPages::buDeleteUninstallClick() {
  const bool ja = env_.qx.Japanese();
  if (env_.app.MessageBox(ja ? "削除したアンインストール情報をクリアします。\rクリアすると元に戻せなくなりますが宜しいですか"
                             : "If you clear deleted unistall information, you cannot return.\r Clear deleted uninstall "
                               "information ??",
                          "", port::MbIcon::Question, port::MbButtons::YesNo) != port::MbResult::Yes)
    return;
  lists.lbDeltaDelete.Items.Clear();
  lbDeleteUninstall.Items.Clear();
  lists.lbCopyDelete.Items.Clear();
  // At once, not at apply: the removed entries are lost for good.
  env_.qx.DeleteRegKey("HKLM", kDeleteUninstall);
}

// ---------------------------------------------------------------- apply

void ListPages::ApplyPendingMoves() {
  TQXCommon& qx = env_.qx;
  for (const std::string& k : lists.lbDeltaDelete.Items.All())
    qx.MoveRegKey("HKLM", std::string(kUninstall) + "\\" + k, std::string(kDeleteUninstall) + "\\" + k);
  for (const std::string& k : lists.lbDeltaCurrent.Items.All())
    qx.MoveRegKey("HKLM", std::string(kDeleteUninstall) + "\\" + k, std::string(kUninstall) + "\\" + k);
  // A start-up program keeps its type and data exactly (an expandable
  // command stays expandable); one that vanished since start is skipped.
  for (const std::string& n : lists.lbDeltaDeleteRun.Items.All()) qx.MoveRegValue("HKLM", kRun, kDeleteRun, n);
  for (const std::string& n : lists.lbDeltaCurrentRun.Items.All()) qx.MoveRegValue("HKLM", kDeleteRun, kRun, n);
  for (const std::string& p : lists.lbDeltaDeleteShellNew.Items.All()) {
    const std::string kept = std::string(kBackup) + "\\" + p + "\\ShellNew";
    qx.DeleteRegKey("HKCR", kept);
    qx.MoveRegKey("HKCR", p + "\\ShellNew", kept);
  }
  for (const std::string& p : lists.lbDeltaCurrentShellNew.Items.All())
    qx.MoveRegKey("HKCR", std::string(kBackup) + "\\" + p + "\\ShellNew", p + "\\ShellNew");
}

}  // namespace tolvane
