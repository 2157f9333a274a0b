// The baseline of the search benchmark: the two enumerations that the
// search must make, and nothing else. Lists the folders of one drive level
// by level (breadth-first, junctions not entered), then every folder once
// more for its files. Prints the counts and the time.
// Usage: bare_walk.exe D
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  std::wstring root = std::wstring(argc > 1 ? argv[1] : L"D") + L":";
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::vector<std::wstring> folders{root}, level{root}, next;
  WIN32_FIND_DATAW data;
  while (!level.empty()) {
    next.clear();
    for (const std::wstring& folder : level) {
      HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
      if (h == INVALID_HANDLE_VALUE) continue;
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          continue;
        if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..")) continue;
        next.push_back(folder + L"\\" + data.cFileName);
      } while (FindNextFileW(h, &data));
      FindClose(h);
    }
    folders.insert(folders.end(), next.begin(), next.end());
    level.swap(next);
  }
  unsigned long long files = 0;
  for (const std::wstring& folder : folders) {
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileW(h, &data));
    FindClose(h);
  }
  QueryPerformanceCounter(&end);
  double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  std::printf("bare walk: %zu folders, %llu files, %.3f s\n", folders.size(), files, seconds);
  return 0;
}
