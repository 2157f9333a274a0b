// The common dialogs as components of a form (OpenDialog, SaveDialog,
// OpenPictureDialog, ColorDialog, folder browse). Execute runs the dialog
// through the application's Dialogs port and keeps the answer.
#pragma once
#include <string>

#include "platform/dialogs.h"
#include "ui/control.h"

namespace ui {

class FileDialog {
 public:
  enum class Mode { Open, Save, Picture };
  explicit FileDialog(Mode mode = Mode::Open) : mode_(mode) {}
  std::string Title, Filter, InitialDir, FileName, DefaultExt;
  int FilterIndex = 1;
  bool OverwritePrompt = false;
  // True when the user chose a file; FileName is then its full path.
  bool Execute();

 private:
  Mode mode_;
};

class OpenDialog : public FileDialog {
 public:
  OpenDialog() : FileDialog(Mode::Open) {}
};
class SaveDialog : public FileDialog {
 public:
  SaveDialog() : FileDialog(Mode::Save) {}
};
class OpenPictureDialog : public FileDialog {
 public:
  OpenPictureDialog() : FileDialog(Mode::Picture) {}
};

class ColorDialog {
 public:
  ui::Color Color = clBlack;  // preset and answer (never a system colour)
  bool Execute();
};

// The system folder browser; the chosen path, or "" when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& initial = {});

}  // namespace ui
