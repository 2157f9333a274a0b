// The search of the cleanup wizard, timed: the real window on the real
// ports (without a screen), its drive list made as at start, one drive
// chosen and the search run once with the stored settings. Prints the
// folder and row counts and the time.
// With "window" after the drive, the window is on screen (the renderer) and
// the time until the list shows its rows is printed too.
// Usage: search_bench.exe D [window]
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "pavrel/main_form.h"
#include "platform/win32/win32_ports.h"
#include "ui/win32/renderer.h"

int wmain(int argc, wchar_t** argv) {
  char letter = static_cast<char>(argc > 1 ? argv[1][0] : L'D');
  port::Win32Ports real;
  ui::Application app(real.ports);
  std::unique_ptr<ui::win32::Renderer> renderer;
  if (argc > 2 && std::wstring(argv[2]) == L"window") renderer = std::make_unique<ui::win32::Renderer>(app);
  TfoMain& main = app.CreateForm<TfoMain>();
  main.Show();
  int entry = -1;
  for (int i = 1; i < main.cbDrive->Items.Count(); ++i)
    if (main.cbDrive->Items[i][0] == letter) entry = i;
  if (entry < 0) {
    std::printf("search: no fixed drive %c:\n", letter);
    return 1;
  }
  main.cbDrive->SetItemIndex(entry);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  main.sbSearchClick();
  QueryPerformanceCounter(&end);
  double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  if (renderer) {
    app.ProcessMessages();
    QueryPerformanceCounter(&end);
    std::printf("window shows the rows after %.3f s\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  }
  std::printf("search: %zu folders, %d rows, %.3f s (%s)\n", main.lbDir.size(), main.lvFile->Count(), seconds,
              main.laResult->Caption().c_str());
  return 0;
}
