// pavrel.exe: the cleanup wizard on the real ports.
#include <windows.h>

#include "pavrel/program.h"
#include "platform/win32/win32_ports.h"
#include "ui/win32/renderer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Ports real;

  ui::Application app(real.ports);
  ui::win32::Renderer renderer(app);
  return RunPavrel(app);
}
