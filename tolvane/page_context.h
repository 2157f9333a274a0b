// The context menu page (tsContextMenu): four shell verbs in HKCR. A folder
// verb that starts the folder-icon tool on the folder, one that opens the
// folder in another Explorer window, one that opens a command prompt there,
// and an editor verb for files of no registered type (or for all files).
#pragma once
#include <functional>
#include <string>

#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class ContextMenuPage {
 public:
  // Commands made at start (asked each time, since start-up makes them after
  // the pages were built).
  struct Commands {
    std::function<std::string()> folderIcon;  // FolderIconCommand: the folder-icon tool, both parts quoted
    std::function<std::string()> notepad;     // NotepadCommand
  };
  ContextMenuPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env, Commands commands);

  ui::CheckBox& cbFolderIcon;
  ui::Label& laFolderIconNote;
  ui::CheckBox& cbNewWindow;
  ui::Label& laNewWindowNote;
  ui::CheckBox& cbNotepad;
  ui::Edit& edNotepadName;
  ui::Label& laNotepadNote1;
  ui::Edit& edNotepad;
  ui::Button& buNotepad;
  ui::Label &laNotepadNote2, &laNotepadNote3;
  ui::CheckBox& cbAllFileEditor;
  ui::Label& laAllFileEditorNote;
  ui::CheckBox& cbDosPrompt;
  ui::Label& laDosPromptNote;

  void cbFolderIconClick();
  void cbNotepadClick();
  void buNotepadClick();

  // Start-up reads (the context-menu group), apply step 8, apply step 17
  // (the folder-icon verb) and the standard values.
  Order read, apply, applyFolderIcon, standard;

 private:
  void EnableEditor(bool enabled);
  PageEnv& env_;
  Commands commands_;
};

// The command of the prompt verb: a command prompt in the folder, quoted so
// that any folder name arrives whole.
inline constexpr const char* kPromptCommand = "cmd.exe /K cd \"%1\"";

// The filter of the open dialog for a program, in the language mode.
std::string ExecutableFilter(const TQXCommon& qx);

}  // namespace tolvane
