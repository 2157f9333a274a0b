// TQXCommon on the real port under Wine in the harness's XP prefix: the
// system facts Wine reports, and values written here read back by Wine's
// own reg.exe with the expected types.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "common/qxcommon.h"
#include "platform/text.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace {

class QXWine : public ::testing::Test {
 protected:
  port::Win32Registry reg;
  port::Win32System sys;
  port::Win32Library lib;
  port::Ports ports{&reg, &sys, &lib, nullptr};
  TQXCommon qx{ports};
};

TEST_F(QXWine, ReadSystemInfoSeesAnXpAdministrator) {
  qx.ReadSystemInfo();
  EXPECT_TRUE(qx.WinXP());
  EXPECT_EQ(qx.BuildNumber(), 2600);
  EXPECT_EQ(qx.CSDVersion(), "Service Pack 3");
  EXPECT_TRUE(qx.Administrator()) << "Wine runs every program as administrator";
  // Wine stores SystemRoot as "C:\windows"; XP as "C:\WINDOWS".
  EXPECT_TRUE(port::EqualNoCase(qx.WinDir(), "C:\\windows")) << qx.WinDir();
  EXPECT_EQ(qx.BootDir(), "C:\\");
  EXPECT_TRUE(port::EqualNoCase(qx.SysDir(), "C:\\windows\\SYSTEM32")) << qx.SysDir();
  EXPECT_FALSE(qx.DesktopDir().empty());
  EXPECT_FALSE(qx.TempDir().empty());
  const char* lang = std::getenv("LANG");
  if (lang != nullptr && std::string(lang).starts_with("ja_JP")) {
    EXPECT_TRUE(qx.Japanese());
  } else {
    EXPECT_EQ(qx.Japanese(), GetSystemDefaultLCID() == 1041);
  }
  std::printf("WinDir \"%s\", IEVersion \"%s\", locale %lu, code page %u\n", qx.WinDir().c_str(),
              qx.IEVersion().c_str(), static_cast<unsigned long>(GetSystemDefaultLCID()), GetACP());
}

TEST_F(QXWine, TheHelpLibraryHasItsEntryPoint) {
  port::LibHandle h = lib.Load("hhctrl.ocx");
  ASSERT_NE(h, 0u);
  EXPECT_NE(lib.Find(h, "HtmlHelpA"), 0u);
  lib.Free(h);
}

// Runs a command and gives what it printed.
std::string RunCommand(const std::string& command) {
  std::u16string w = port::Utf8ToUtf16(command);
  FILE* pipe = _wpopen(std::wstring(w.begin(), w.end()).c_str(), L"rb");
  if (pipe == nullptr) return "";
  std::string out;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  _pclose(pipe);
  return out;
}

TEST_F(QXWine, RegQueryReadsBackTheTypesWritten) {
  std::string key = "Software\\SuiteTest\\Q" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(GetTickCount());
  qx.WriteRegString("HKCU", key, "plain", "hello");
  qx.WriteRegString("HKCU", key, "expand", "%SystemRoot%\\x");
  qx.WriteRegString("HKCU", key, "arg", "%1");
  qx.WriteRegInteger("HKCU", key, "number", 42);
  qx.WriteRegBinary("HKCU", key, "bytes", 0x04030201);
  std::string out = RunCommand("reg.exe query \"HKCU\\" + key + "\"");
  qx.DeleteRegKey("HKCU", key);
  EXPECT_FALSE(qx.RegKeyExists("HKCU", key));
  reg.DeleteKey(port::Root::HKCU, "Software\\SuiteTest");  // only once no other test's key is left

  // Each value line reads: name, type, data.
  std::map<std::string, std::pair<std::string, std::string>> seen;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string name, type, data;
    if (words >> name >> type && type.starts_with("REG_")) {
      words >> data;
      seen[name] = {type, data};
    }
  }
  using Seen = std::pair<std::string, std::string>;
  EXPECT_EQ(seen["plain"], (Seen{"REG_SZ", "hello"})) << out;
  EXPECT_EQ(seen["expand"], (Seen{"REG_EXPAND_SZ", "%SystemRoot%\\x"})) << out;
  EXPECT_EQ(seen["arg"], (Seen{"REG_SZ", "%1"})) << out;
  EXPECT_EQ(seen["number"], (Seen{"REG_DWORD", "0x2a"})) << out;
  EXPECT_EQ(seen["bytes"], (Seen{"REG_BINARY", "01020304"})) << out;
}

// On Wine's registry: moving a key onto the key that holds it, or into itself
// through a doubled backslash, changes nothing (before, the first lost both
// keys and the second nested keys until the stack overflowed).
TEST_F(QXWine, MoveRegKeyOntoItsParentOrIntoItselfChangesNothing) {
  std::string key = "Software\\SuiteTest\\M" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(GetTickCount());
  qx.WriteRegInteger("HKCU", key + "\\B", "v", 1);
  qx.MoveRegKey("HKCU", key + "\\B", key);
  qx.MoveRegKey("HKCU", key + "\\B", key + "\\\\B\\C");
  qx.MoveRegKey("HKCU", "", key + "\\New");
  EXPECT_EQ(qx.ReadRegInteger("HKCU", key + "\\B", "v", 0), 1);
  EXPECT_FALSE(qx.RegKeyExists("HKCU", key + "\\B\\C"));
  EXPECT_FALSE(qx.RegKeyExists("HKCU", key + "\\New"));
  qx.MoveRegKey("HKCU", key + "\\B", key + "\\\\Moved\\");
  EXPECT_EQ(qx.ReadRegInteger("HKCU", key + "\\Moved", "v", 0), 1);
  EXPECT_FALSE(qx.RegKeyExists("HKCU", key + "\\B"));
  qx.DeleteRegKey("HKCU", key);
  reg.DeleteKey(port::Root::HKCU, "Software\\SuiteTest");  // only once no other test's key is left
}

}  // namespace
