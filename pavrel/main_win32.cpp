// pavrel.exe: the cleanup wizard on the real ports.
#include <windows.h>

#include "pavrel/program.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Registry registry;
  port::Win32System system;
  port::Win32Library library;
  port::Win32Icons icons;
  port::Win32Dialogs dialogs;
  port::Win32Shell shell;
  port::Win32Files files;
  port::Ports ports;
  ports.registry = &registry;
  ports.system = &system;
  ports.library = &library;
  ports.icons = &icons;
  ports.dialogs = &dialogs;
  ports.shell = &shell;
  ports.files = &files;

  ui::Application app(ports);
  ui::win32::Renderer renderer(app);
  return RunPavrel(app);
}
