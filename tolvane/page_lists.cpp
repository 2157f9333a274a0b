#include "tolvane/page_lists.h"

#include <algorithm>
#include <cstring>
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

// An older copy that a removed store keeps beside a newer one of the same
// name: the name with this mark and a number from 2, so that the copy goes
// back under its own name. On the New menu the mark goes on the extension
// (the first part of the path), where the removed list looks for it.
constexpr const char* kOlderMark = " (Tolvane ";

std::string Marked(const std::string& entry, int n, bool firstPart) {
  const size_t cut = firstPart ? std::min(entry.find('\\'), entry.size()) : entry.size();
  return entry.substr(0, cut) + kOlderMark + std::to_string(n) + ")" + entry.substr(cut);
}

// The number of the mark (0 without one) and the name without it.
int OlderNumber(const std::string& stored, bool firstPart, std::string* original = nullptr) {
  const size_t cut = firstPart ? std::min(stored.find('\\'), stored.size()) : stored.size();
  const std::string head = stored.substr(0, cut);
  const size_t mark = head.rfind(kOlderMark);
  if (mark == std::string::npos || head.empty() || head.back() != ')') return 0;
  const std::string digits = head.substr(mark + std::strlen(kOlderMark), head.size() - 1 - mark - std::strlen(kOlderMark));
  if (digits.empty() || digits.size() > 6 || digits[0] == '0') return 0;
  for (char ch : digits)
    if (ch < '0' || ch > '9') return 0;
  if (original) *original = head.substr(0, mark) + stored.substr(cut);
  return std::stoi(digits);
}

std::string Unmarked(const std::string& stored, bool firstPart) {
  std::string original = stored;
  OlderNumber(stored, firstPart, &original);
  return original;
}

// The visible text of a row: an older copy shows its number after the text.
std::string Shown(const std::string& text, const std::string& stored, bool firstPart) {
  const int n = OlderNumber(stored, firstPart);
  return n ? text + " (" + std::to_string(n) + ")" : text;
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
    visible.Items.Add(Shown(name, keys.Items[i], false));
  }
  keys.Items.Assign(lists.lbTemp.Items.All());
  lists.lbTemp.Items.Clear();
}

void ListPages::ReadUninstall() {
  for (ui::ListBox* list : {&lbCurrentUninstall, &lbDeleteUninstall, &lists.lbCopyCurrent, &lists.lbCopyDelete})
    list->Items.Clear();
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
  // extension key, also for a removed entry (an older copy's without its
  // mark).
  for (const std::string& e : extensions) {
    const std::string live = removed ? Unmarked(e, true) : e;
    const std::string type = qx.ReadRegString("HKCR", live, "", "");
    const std::string display = qx.ReadRegString("HKCR", type, "", "");
    if (offered(store + e + "\\ShellNew")) {
      if (display.empty()) continue;
      keys.Items.Add(e);
      visible.Items.Add(Shown(display, e, true));
    } else if (qx.RegKeyExists("HKCR", live)) {
      const std::string p = qx.ReadRegString("HKCR", live, "", "error");
      if (p == "error" || !offered(store + e + "\\" + p + "\\ShellNew")) continue;
      keys.Items.Add(e + "\\" + p);
      visible.Items.Add(Shown(display, e, true));
    }
  }
}

void ListPages::ReadShellNew() {
  for (ui::ListBox* list : {&lbCurrentShellNew, &lbDeleteShellNew, &lists.lbCopyCurrentShellNew,
                            &lists.lbCopyDeleteShellNew})
    list->Items.Clear();
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

ListPages::Pair ListPages::UninstallPair() {
  TQXCommon& qx = env_.qx;
  auto path = [](bool removed, const std::string& entry) {
    return std::string(removed ? kDeleteUninstall : kUninstall) + "\\" + entry;
  };
  return {lbCurrentUninstall, &lists.lbCopyCurrent, lbDeleteUninstall, &lists.lbCopyDelete, lists.lbDeltaDelete,
          lists.lbDeltaCurrent, false,
          [&qx, path](bool removed, const std::string& e) { return qx.RegKeyExists("HKLM", path(removed, e)); },
          [&qx, path](bool fromRemoved, const std::string& from, bool toRemoved, const std::string& to) {
            qx.MoveRegKey("HKLM", path(fromRemoved, from), path(toRemoved, to));
          }};
}

ListPages::Pair ListPages::RunPair() {
  TQXCommon& qx = env_.qx;
  auto key = [](bool removed) { return removed ? kDeleteRun : kRun; };
  return {lbCurrentRun, nullptr, lbDeleteRun, nullptr, lists.lbDeltaDeleteRun, lists.lbDeltaCurrentRun, false,
          [&qx, key](bool removed, const std::string& n) { return qx.RegValueExists("HKLM", key(removed), n); },
          // A start-up program keeps its type and data exactly (an expandable
          // command stays expandable).
          [&qx, key](bool fromRemoved, const std::string& from, bool toRemoved, const std::string& to) {
            qx.MoveRegValue("HKLM", key(fromRemoved), key(toRemoved), from, to);
          }};
}

ListPages::Pair ListPages::ShellNewPair() {
  TQXCommon& qx = env_.qx;
  auto path = [](bool removed, const std::string& p) {
    return (removed ? std::string(kBackup) + "\\" : std::string()) + p + "\\ShellNew";
  };
  return {lbCurrentShellNew, &lists.lbCopyCurrentShellNew, lbDeleteShellNew, &lists.lbCopyDeleteShellNew,
          lists.lbDeltaDeleteShellNew, lists.lbDeltaCurrentShellNew, true,
          [&qx, path](bool removed, const std::string& p) { return qx.RegKeyExists("HKCR", path(removed, p)); },
          [&qx, path](bool fromRemoved, const std::string& from, bool toRemoved, const std::string& to) {
            qx.MoveRegKey("HKCR", path(fromRemoved, from), path(toRemoved, to));
          }};
}

std::string ListPages::FreeOlderName(const Pair& pair, const std::string& entry, bool listed) {
  const ui::ListBox& keys = pair.removedKeys ? *pair.removedKeys : pair.removed;
  for (int n = 2;; ++n) {
    std::string name = Marked(entry, n, pair.firstPart);
    if (!pair.exists(true, name) && (!listed || keys.Items.IndexOf(name) < 0)) return name;
  }
}

void ListPages::MoveToRemoved(Pair pair) {
  const int i = pair.current.ItemIndex();
  if (i >= 0 && i < pair.current.Items.Count()) {
    const std::string k = pair.currentKeys ? pair.currentKeys->Items[i] : pair.current.Items[i];
    // An entry of that name removed in an earlier run keeps its data under
    // an older name, which its row takes at once (apply renames the key
    // before the newer one arrives). Moving back a row restored in this run
    // only cancels that restore.
    ui::ListBox& keys = pair.removedKeys ? *pair.removedKeys : pair.removed;
    if (pair.pendingRestore.Items.IndexOf(k) < 0)
      for (int j = keys.Items.IndexOf(k); j >= 0; j = keys.Items.IndexOf(k)) {
        const std::string older = FreeOlderName(pair, k, true);
        if (pair.removedKeys) pair.removed.Items.Set(j, Shown(pair.removed.Items[j], older, pair.firstPart));
        keys.Items.Set(j, older);
      }
  }
  MoveRow(pair.current, pair.currentKeys, pair.removed, pair.removedKeys, pair.pendingRestore, pair.pendingRemoval);
}

bool ListPages::MoveToCurrent(Pair pair) {
  const int i = pair.removed.ItemIndex();
  if (i >= 0 && i < pair.removed.Items.Count()) {
    const std::string s = pair.removedKeys ? pair.removedKeys->Items[i] : pair.removed.Items[i];
    const std::string k = Unmarked(s, pair.firstPart);
    // The current store keeps the entry it holds: a removed copy of the same
    // name stays removed. Only a row removed in this run may always go back.
    const bool cancel = pair.pendingRemoval.Items.IndexOf(s) >= 0;
    bool taken = pair.exists(false, k) && pair.pendingRemoval.Items.IndexOf(k) < 0;
    for (const std::string& r : pair.pendingRestore.Items.All()) taken = taken || Unmarked(r, pair.firstPart) == k;
    if (taken && !cancel) {
      const std::string& text = pair.removed.Items[i];
      env_.app.MessageBox(env_.qx.Japanese() ? "「" + text + "」と同じ名前の項目が現在の一覧にあるため、戻せません。"
                                             : "\"" + text + "\" cannot go back: the current list holds an entry of the "
                                               "same name.",
                          "", port::MbIcon::Warning);
      return false;
    }
  }
  MoveRow(pair.removed, pair.removedKeys, pair.current, pair.currentKeys, pair.pendingRemoval, pair.pendingRestore);
  return true;
}

void ListPages::buCurrentToDeleteClick() {
  MoveToRemoved(UninstallPair());
  env_.applyEnabled();
  buDeleteUninstall.SetEnabled(false);  // the removed store must not be cleared under a pending move
}

void ListPages::buDeleteToCurrentClick() {
  MoveToCurrent(UninstallPair());
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
    MoveToRemoved(RunPair());
  }
  env_.applyEnabled();
}

void ListPages::buDeleteToCurrentForRunClick() {
  MoveToCurrent(RunPair());
  env_.applyEnabled();
}

void ListPages::buCurrentToDeleteForShellNewClick() {
  MoveToRemoved(ShellNewPair());
  env_.applyEnabled();
}

void ListPages::buDeleteToCurrentForShellNewClick() {
  MoveToCurrent(ShellNewPair());
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
  // Removals first, then restores, page by page. An entry that vanished
  // since start moves nothing; an entry never replaces another: a removed
  // store keeps its older copy under an older name, and the current store
  // keeps what it holds (the copy stays removed).
  for (Pair pair : {UninstallPair(), RunPair(), ShellNewPair()}) {
    for (const std::string& k : pair.pendingRemoval.Items.All()) {
      if (!pair.exists(false, k)) continue;
      if (pair.exists(true, k)) pair.move(true, k, true, FreeOlderName(pair, k, false));
      pair.move(false, k, true, k);
    }
    for (const std::string& s : pair.pendingRestore.Items.All()) {
      const std::string k = Unmarked(s, pair.firstPart);
      if (pair.exists(true, s) && !pair.exists(false, k)) pair.move(true, s, false, k);
    }
  }
  // The lists show the stores as they are now.
  ReadUninstall();
  ReadRun();
  ReadShellNew();
}

}  // namespace tolvane
