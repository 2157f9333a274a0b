// nistrel.exe: the installer on the real ports.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "nistrel/program.h"
#include "platform/text.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The shell-link object needs COM on this thread.
  CoInitialize(nullptr);
  port::Win32Registry registry;
  port::Win32System system;
  port::Win32Library library;
  port::Win32Icons icons;
  port::Win32Dialogs dialogs;
  port::Win32Shell shell;
  port::Win32Files files;
  port::Win32Profile profile;
  port::Ports ports;
  ports.registry = &registry;
  ports.system = &system;
  ports.library = &library;
  ports.icons = &icons;
  ports.dialogs = &dialogs;
  ports.shell = &shell;
  ports.files = &files;
  ports.profile = &profile;

  std::string first;
  int argc = 0;
  if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc > 1) first = port::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[1]));
    LocalFree(argv);
  }
  int code;
  {
    ui::Application app(ports);
    ui::win32::Renderer renderer(app);
    code = RunNistrel(app, first);
  }
  CoUninitialize();
  return code;
}
