#include "ui/dialogs.h"

#include <stdexcept>

#include "ui/application.h"

namespace ui {

namespace {
port::Dialogs& Port() {
  port::Dialogs* d = Application::Current().Ports().dialogs;
  if (!d) throw std::logic_error("no dialogs port");
  return *d;
}
}  // namespace

bool FileDialog::Execute() {
  port::FileDialogOptions o{Title, Filter, FilterIndex, InitialDir, FileName, DefaultExt, OverwritePrompt};
  uintptr_t owner = Application::Current().ActiveWindowHandle();
  std::optional<std::string> chosen = mode_ == Mode::Save      ? Port().SaveFile(owner, o)
                                      : mode_ == Mode::Picture ? Port().OpenPicture(owner, o)
                                                               : Port().OpenFile(owner, o);
  if (!chosen) return false;
  FileName = *chosen;
  return true;
}

bool ColorDialog::Execute() {
  std::optional<uint32_t> chosen = Port().ChooseColor(Application::Current().ActiveWindowHandle(), Color);
  if (!chosen) return false;
  Color = *chosen;
  return true;
}

std::string BrowseForFolder(const std::string& title, const std::string& initial) {
  return Port().BrowseFolder(Application::Current().ActiveWindowHandle(), title, initial).value_or("");
}

}  // namespace ui
