#include "platform/win32/win32_shutdown.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace port {

bool Win32Shutdown::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES tp{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid)) {
    CloseHandle(token);
    return false;
  }
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
  CloseHandle(token);
  return true;
}

void Win32Shutdown::EndSession(uint32_t flags) {
  wchar_t record[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"SUITE_SHUTDOWN_RECORD", record, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    if (FILE* f = _wfopen(record, L"a")) {
      std::fputs(flags == kExitReboot ? "reboot\n" : flags == kExitLogoff ? "logoff\n" : "other\n", f);
      std::fclose(f);
    }
    return;
  }
  ExitWindowsEx(flags, 0);
}

}  // namespace port
