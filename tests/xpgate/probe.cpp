// A program that Windows XP's loader refuses: it imports GetTickCount64,
// which came with the next Windows. The XP gate must name it.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);

int main() {
  std::printf("%llu\n", static_cast<unsigned long long>(GetTickCount64()));
  return 0;
}
