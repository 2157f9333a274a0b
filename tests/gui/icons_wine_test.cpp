// The real icon port and TQXCommon's icon operations on the fixture library
// of three icons (beside the test in C:\suite\bin).
#include <gtest/gtest.h>

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

}  // namespace
