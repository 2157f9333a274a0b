// The real icon port and TQXCommon's icon operations on the fixture library
// of three icons (beside the test in C:\suite\bin).
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
// whether there is an icon, and the icon itself. Asked twice over, so that
// its kept library serves the second round.
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
  // The icon's size and every pixel of its colour and mask images.
  auto pixels = [](HICON icon) {
    std::vector<uint32_t> all;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return all;
    HDC dc = GetDC(nullptr);
    for (HBITMAP bm : {info.hbmColor, info.hbmMask}) {
      if (!bm) continue;
      BITMAP b{};
      GetObjectW(bm, sizeof b, &b);
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), b.bmWidth, b.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      std::vector<uint32_t> px(static_cast<size_t>(b.bmWidth) * static_cast<size_t>(b.bmHeight));
      GetDIBits(dc, bm, 0, static_cast<UINT>(b.bmHeight), px.data(), &bi, DIB_RGB_COLORS);
      all.push_back(static_cast<uint32_t>(b.bmWidth));
      all.push_back(static_cast<uint32_t>(b.bmHeight));
      all.insert(all.end(), px.begin(), px.end());
      DeleteObject(bm);
    }
    ReleaseDC(nullptr, dc);
    return all;
  };
  for (int round = 0; round < 2; ++round)
  for (const std::wstring& file : files) {
    for (int index : {-1, 0, 1, 2, 3, 40, 237, -2, -9, -16710}) {
      SCOPED_TRACE(std::to_string(index) + " of file " + std::to_string(&file - files));
      HICON shell = ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
      HICON ours = icons.api.extractIcon(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
      auto value = [](HICON h) { return reinterpret_cast<uintptr_t>(h); };
      if (index == -1 || value(shell) <= 1) {
        EXPECT_EQ(value(ours), value(shell));
      } else {
        ASSERT_GT(value(ours), 1u);
        std::vector<uint32_t> want = pixels(shell);
        EXPECT_FALSE(want.empty());
        EXPECT_TRUE(pixels(ours) == want);
      }
      if (index != -1 && value(shell) > 1) DestroyIcon(shell);
      if (index != -1 && value(ours) > 1) DestroyIcon(ours);
    }
  }
  DeleteFileW(L"C:\\suite\\bin\\plain2.txt");
}

}  // namespace
