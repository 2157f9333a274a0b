// tolvane: the program block. The real ports, the renderer, the main window
// (the main form) and then the icon picker, and the message loop.
// First: the ports' and the ui's headers undo the macros it makes.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "common/iconlist.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shutdown.h"
#include "platform/win32/win32_system.h"
#include "tolvane/main_form.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Registry registry;
  port::Win32System system;
  port::Win32Library library;
  port::Win32Icons icons;
  port::Win32Dialogs dialogs;
  port::Win32Shutdown shutdown;
  port::Win32Shell shell;
  port::Win32Files files;
  port::Win32Profile profile;
  port::Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
                    .dialogs = &dialogs, .shutdown = &shutdown, .shell = &shell, .files = &files,
                    .profile = &profile};

  ui::Application app(ports);
  ui::win32::Renderer renderer(app);
  auto& foMain = app.CreateForm<tolvane::TfoMain>(tolvane::PagesFactory(tolvane::MakePages));
  foMain.foIconList = &app.CreateForm<TfoIconList>(foMain.QX, foMain.SelectedIconIndex);
  app.Run();
  return 0;
}
