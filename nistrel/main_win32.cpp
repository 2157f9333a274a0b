// nistrel.exe: the installer on the real ports.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "nistrel/program.h"
#include "platform/text.h"
#include "platform/win32/win32_ports.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The shell-link object needs COM on this thread.
  CoInitialize(nullptr);
  port::Win32Ports real;

  std::string first;
  int argc = 0;
  if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc > 1) first = port::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[1]));
    LocalFree(argv);
  }
  int code;
  {
    ui::Application app(real.ports);
    ui::win32::Renderer renderer(app);
    code = RunNistrel(app, first);
  }
  CoUninitialize();
  return code;
}
