// Message boxes and the common dialogs (open, save, picture, colour, folder
// browse). win32 shows the real ones; memory records each call and answers
// from a script that the test sets.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// <windows.h> makes these names macros; in a Win32 file include it before
// this header and call the wide functions by their W names.
#undef MessageBox
#undef ChooseColor

namespace port {

enum class MbIcon { None, Question, Information, Warning, Error };
enum class MbButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore,
                       YesNoDefaultNo /* Yes and No, No the default button */ };
// The numbers of IDOK .. IDNO.
enum class MbResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogOptions {
  std::string title;       // "" : the system's
  std::string filter;      // "Description | pattern | Description | pattern", blanks around "|" allowed
  int filterIndex = 1;
  std::string initialDir;
  std::string fileName;    // preset
  std::string defaultExt;  // without the dot
  bool overwritePrompt = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // owner: a window handle of the renderer, or 0.
  virtual MbResult MessageBox(uintptr_t owner, const std::string& text, const std::string& caption,
                              MbIcon icon, MbButtons buttons) = 0;
  // The chosen file's full path; nothing when cancelled.
  virtual std::optional<std::string> OpenFile(uintptr_t owner, const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFile(uintptr_t owner, const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> OpenPicture(uintptr_t owner, const FileDialogOptions& options) = 0;
  // COLORREF (0x00BBGGRR) in and out.
  virtual std::optional<uint32_t> ChooseColor(uintptr_t owner, uint32_t initial) = 0;
  // File-system folders, rooted at the desktop; initial is preselected when it exists.
  virtual std::optional<std::string> BrowseFolder(uintptr_t owner, const std::string& title,
                                                  const std::string& initial) = 0;
};

}  // namespace port
