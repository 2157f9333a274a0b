// What a settings page needs from the main window: the shared component, the
// files and dialogs ports, the change-class flags, the Apply switch and the
// paths made at start. The main window fills one for all pages (pages.cpp);
// a test fills one on the memory ports.
#pragma once
#include <functional>
#include <string>

#include "tolvane/catalogue.h"

namespace port {
class Dialogs;
class Files;
}  // namespace port
namespace ui {
class Application;
}

namespace tolvane {

struct PageEnv {
  ui::Application& app;
  TQXCommon& qx;
  port::Files& files;
  port::Dialogs& dialogs;
  ChangeFlags& flags;
  std::function<void()> applyEnabled;
  // Paths made at start; asked each time, since start-up makes them after the
  // pages were built.
  std::function<std::string()> programFolder;
  std::function<std::string()> shell32Path;

  RowContext Context() { return RowContext{qx, files, flags}; }
};

}  // namespace tolvane
