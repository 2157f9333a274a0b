// tamrel.exe: the folder-icon tool on the real ports.
#include <windows.h>

#include <string>

#include "platform/text.h"
#include "platform/win32/win32_ports.h"
#include "tamrel/program.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Ports real;

  ui::Application app(real.ports);
  ui::win32::Renderer renderer(app);
  // The whole line, split by the program's own rules (see command_line.h).
  const wchar_t* line = GetCommandLineW();
  std::u16string wide(reinterpret_cast<const char16_t*>(line));
  return RunTamrel(app, port::Utf16ToUtf8(wide));
}
