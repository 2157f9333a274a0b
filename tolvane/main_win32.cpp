// tolvane: the program block. The real ports, the renderer, the main window
// (the main form) and then the icon picker, and the message loop.
// First: the ports' and the ui's headers undo the macros it makes.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "common/iconlist.h"
#include "platform/win32/win32_ports.h"
#include "tolvane/main_form.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Ports real;

  ui::Application app(real.ports);
  ui::win32::Renderer renderer(app);
  auto& foMain = app.CreateForm<tolvane::TfoMain>(tolvane::PagesFactory(tolvane::MakePages));
  foMain.foIconList = &app.CreateForm<TfoIconList>(foMain.QX, foMain.SelectedIconIndex);
  app.Run();
  return 0;
}
