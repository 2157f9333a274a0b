// The real message box and common dialogs (wide-char Win32).
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#undef MessageBox
#undef ChooseColor

#include "platform/dialogs.h"

namespace port {

class Win32Dialogs : public Dialogs {
 public:
  MbResult MessageBox(uintptr_t owner, const std::string& text, const std::string& caption, MbIcon icon,
                      MbButtons buttons) override;
  std::optional<std::string> OpenFile(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<std::string> OpenPicture(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<uint32_t> ChooseColor(uintptr_t owner, uint32_t initial) override;
  std::optional<std::string> BrowseFolder(uintptr_t owner, const std::string& title,
                                          const std::string& initial) override;
};

// "Text | *.ext | Other | *.*" as the common dialogs want it: pairs
// separated by NULs, the blanks around each "|" dropped.
std::u16string FilterForDialog(const std::string& filter);

}  // namespace port
