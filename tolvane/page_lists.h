// The three list pages: uninstall entries (tsUninstall), programs run at
// start-up (tsRun) and the Explorer New menu (tsShellNew). Each page shows a
// current list and a removed list; a move between them only records a
// pending move, which apply carries out in its fixed order. Removed entries
// wait in the suite's stores (DeleteUninstall, DeleteRun, HKCR
// Tolvane.Backup) until a later run brings them back.
//
// Every visible list with a key list keeps the two row-aligned: row i of the
// key list is the registry key of row i of the visible list.
#pragma once
#include <functional>
#include <string>

#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class ListPages {
 public:
  // The main window's hidden work lists that these pages use.
  struct WorkLists {
    ui::ListBox& lbTemp;
    ui::ListBox &lbCopyCurrent, &lbCopyDelete, &lbDeltaCurrent, &lbDeltaDelete;
    ui::ListBox &lbDeltaCurrentRun, &lbDeltaDeleteRun;
    ui::ListBox &lbCopyCurrentShellNew, &lbCopyDeleteShellNew, &lbDeltaCurrentShellNew, &lbDeltaDeleteShellNew;
  };
  ListPages(ui::TabSheet& tsUninstall, ui::TabSheet& tsRun, ui::TabSheet& tsShellNew, PageEnv& env,
            WorkLists lists);

  // --- tsUninstall ---
  ui::GroupBox& gbCurrentUninstall;
  ui::ListBox& lbCurrentUninstall;
  ui::Button &buCurrentToDelete, &buDeleteToCurrent;
  ui::GroupBox& gbRemovedUninstall;
  ui::ListBox& lbDeleteUninstall;
  ui::Button& buDeleteUninstall;
  ui::Label& laUninstallNote;
  // --- tsRun ---
  ui::GroupBox& gbCurrentAutorun;
  ui::ListBox& lbCurrentRun;
  ui::Button &buCurrentToDeleteForRun, &buDeleteToCurrentForRun;
  ui::GroupBox& gbRemovedAutorun;
  ui::ListBox& lbDeleteRun;
  ui::Label& laAutorunNote;
  // --- tsShellNew ---
  ui::GroupBox& gbCurrentNew;
  ui::ListBox& lbCurrentShellNew;
  ui::Button &buCurrentToDeleteForShellNew, &buDeleteToCurrentForShellNew;
  ui::GroupBox& gbRemovedNew;
  ui::ListBox& lbDeleteShellNew;

  WorkLists lists;

  // Start-up reads: the uninstall pair, the Run pair, the New-menu pair.
  void ReadUninstall();
  void ReadRun();
  void ReadShellNew();
  // Apply: the pending moves, in their order (uninstall entries out and
  // back, start-up programs out and back, New-menu entries out and back).
  void ApplyPendingMoves();

  void buCurrentToDeleteClick();
  void buDeleteToCurrentClick();
  void buCurrentToDeleteForRunClick();
  void buDeleteToCurrentForRunClick();
  void buCurrentToDeleteForShellNewClick();
  void buDeleteToCurrentForShellNewClick();
  void buDeleteUninstallClick();

  // Start-up programs that Windows needs; compared with the upper-cased name.
  static bool ProtectedRunName(const std::string& name);
  // At most this many extensions are looked at on each side of the New menu.
  static constexpr int kExtensionLimit = 499;

 private:
  // One page's pair of lists and where its entries live, as moves and apply
  // use them (Run rows have no key lists: their text is the value name).
  struct Pair {
    ui::ListBox& current;
    ui::ListBox* currentKeys;
    ui::ListBox& removed;
    ui::ListBox* removedKeys;
    ui::ListBox &pendingRemoval, &pendingRestore;
    bool firstPart;  // an older copy's mark goes on the path's first part
    std::function<bool(bool removed, const std::string& entry)> exists;
    std::function<void(bool fromRemoved, const std::string& from, bool toRemoved, const std::string& to)> move;
  };
  Pair UninstallPair();
  Pair RunPair();
  Pair ShellNewPair();
  // The first older name of the entry that the removed store does not hold
  // (nor the removed list, when `listed`: a row renamed before apply).
  std::string FreeOlderName(const Pair& pair, const std::string& entry, bool listed);
  void MoveToRemoved(Pair pair);
  bool MoveToCurrent(Pair pair);  // false: refused with a message
  void ReadUninstallSide(const std::string& key, ui::ListBox& visible, ui::ListBox& keys);
  void ReadShellNewSide(bool removed, ui::ListBox& visible, ui::ListBox& keys);
  PageEnv& env_;
};

}  // namespace tolvane
