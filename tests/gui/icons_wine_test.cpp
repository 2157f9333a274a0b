// The real icon port and TQXCommon's icon operations on the fixture library
// of three icons (beside the test in C:\suite\bin).
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "common/qxcommon.h"
#include "platform/win32/win32_icons.h"

namespace {

const char* kFixture = "C:\\suite\\bin\\fixture_icons.dll";

TEST(Win32Icons, CountsAndExtractsTheFixturesIcons) {
  port::Win32Icons icons;
  EXPECT_EQ(icons.Count(0, kFixture), 3);
  EXPECT_EQ(icons.Count(0, "C:\\suite\\bin\\missing.dll"), 0);
  port::IconHandle h = icons.Extract(0, kFixture, 2);
  EXPECT_NE(h, 0u);
  port::IconHandle copy = icons.Copy(h);
  EXPECT_NE(copy, 0u);
  icons.Destroy(copy);
  icons.Destroy(h);
  EXPECT_EQ(icons.Extract(0, kFixture, 3), 0u);
}

TEST(Win32Icons, NotAnIconFileGivesNoIcon) {
  // ExtractIcon answers 1 for a file that is no executable, library or icon.
  HANDLE f = CreateFileW(L"C:\\suite\\bin\\plain.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n;
  WriteFile(f, "text", 4, &n, nullptr);
  CloseHandle(f);
  port::Win32Icons icons;
  EXPECT_EQ(icons.Extract(0, "C:\\suite\\bin\\plain.txt", 0), 0u);
  EXPECT_EQ(icons.Count(0, "C:\\suite\\bin\\plain.txt"), 0) << "ExtractIcon counts such a file as 1";
  port::Ports ports;
  ports.icons = &icons;
  TQXCommon qx(ports);
  EXPECT_EQ(qx.GetIconCount(0, "C:\\suite\\bin\\plain.txt,0"), 0);
  DeleteFileW(L"C:\\suite\\bin\\plain.txt");
}

TEST(Win32Icons, TheComponentSplitsTheLocationFirst) {
  port::Win32Icons icons;
  port::Ports ports;
  ports.icons = &icons;
  TQXCommon qx(ports);
  EXPECT_EQ(qx.GetIconCount(0, std::string(kFixture) + ",9"), 3);
  port::IconHandle h = qx.GetIconHandle(0, std::string(kFixture) + ",1");
  EXPECT_NE(h, 0u);
  icons.Destroy(h);
  EXPECT_EQ(qx.FileName(), kFixture);
  EXPECT_EQ(qx.IconIndex(), 1);
}

// The port takes icons without the shell library; it must answer as the
// shell's ExtractIconW does, file by file and index by index: the count,
// whether there is an icon, and its size.
TEST(Win32Icons, AnswersAsTheShellsExtractIcon) {
  HANDLE f = CreateFileW(L"C:\\suite\\bin\\plain2.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n;
  WriteFile(f, "text", 4, &n, nullptr);
  CloseHandle(f);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring files[] = {L"C:\\suite\\bin\\fixture_icons.dll", L"C:\\windows\\system32\\shell32.dll",
                                L"C:\\suite\\bin\\plain2.txt", L"C:\\suite\\bin\\missing.dll", self};
  port::Win32Icons icons;
  auto width = [](HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return -1;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return static_cast<int>(bm.bmWidth);
  };
  for (const std::wstring& file : files) {
    for (int index : {-1, 0, 1, 2, 3, 40, -2, -9}) {
      SCOPED_TRACE(std::to_string(index) + " of file " + std::to_string(&file - files));
      HICON shell = ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
      HICON ours = icons.api.extractIcon(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
      auto value = [](HICON h) { return reinterpret_cast<uintptr_t>(h); };
      if (index == -1 || value(shell) <= 1) {
        EXPECT_EQ(value(ours), value(shell));
      } else {
        ASSERT_GT(value(ours), 1u);
        EXPECT_EQ(width(ours), width(shell));
      }
      if (index != -1 && value(shell) > 1) DestroyIcon(shell);
      if (index != -1 && value(ours) > 1) DestroyIcon(ours);
    }
  }
  DeleteFileW(L"C:\\suite\\bin\\plain2.txt");
}

}  // namespace
