// The shell and shutdown ports: starting programs as WinExec does, on the
// memory shell and on the real one; the real shutdown's test guard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shutdown.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shutdown.h"
#endif

namespace {

const char* const kCmd = "C:\\windows\\system32\\cmd.exe";

struct ShellCase {
  const char* name;
  std::function<std::unique_ptr<port::Shell>()> make;
};

class ShellContract : public testing::TestWithParam<ShellCase> {};

TEST_P(ShellContract, ExecStartsAnExistingProgramAndReportsAMissingOne) {
  auto shell = GetParam().make();
  EXPECT_GT(shell->Exec(std::string(kCmd) + " /c exit", port::kShowNormal), 31u);
  EXPECT_GT(shell->Exec(std::string("\"") + kCmd + "\" /c exit", port::kShowNormal), 31u) << "a quoted program";
  EXPECT_EQ(shell->Exec("C:\\windows\\system32\\no such program.exe", port::kShowNormal), 2u);
  EXPECT_EQ(shell->Exec("\"C:\\windows\\system32\\nothere.exe\" \"C:\\a b\\c.vbs\"", port::kShowNormal), 2u);
}

std::vector<ShellCase> Shells() {
  std::vector<ShellCase> shells = {{"memory", [] {
                                      auto s = std::make_unique<port::MemoryShell>();
                                      s->AddProgram(kCmd);
                                      return std::unique_ptr<port::Shell>(std::move(s));
                                    }}};
#ifdef _WIN32
  shells.push_back({"win32", [] { return std::unique_ptr<port::Shell>(new port::Win32Shell); }});
#endif
  return shells;
}

INSTANTIATE_TEST_SUITE_P(Shells, ShellContract, testing::ValuesIn(Shells()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryShutdown, RecordsRequestsAndPlaysARefusedToken) {
  port::MemoryShutdown s;
  EXPECT_TRUE(s.EnableShutdownPrivilege());
  s.EndSession(port::kExitLogoff);
  s.SetTokenRefused(true);
  EXPECT_FALSE(s.EnableShutdownPrivilege());
  EXPECT_EQ(s.Requests(), std::vector<uint32_t>{port::kExitLogoff});
}

#ifdef _WIN32
// Every test of the suite runs with the guard set; this one proves that the
// guard holds, so that no test can end the Wine session.
TEST(Win32Shutdown, TheTestGuardRecordsInsteadOfEndingTheSession) {
  const char* path = "shutdown-record.txt";
  std::remove(path);
  SetEnvironmentVariableW(L"SUITE_SHUTDOWN_RECORD", L"shutdown-record.txt");
  wchar_t seen[16] = {};
  // Never go on without the guard in place.
  ASSERT_GT(GetEnvironmentVariableW(L"SUITE_SHUTDOWN_RECORD", seen, 16), 0u);
  port::Win32Shutdown s;
  EXPECT_TRUE(s.EnableShutdownPrivilege());
  s.EndSession(port::kExitReboot);
  s.EndSession(port::kExitLogoff);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "reboot\nlogoff\n");
  in.close();
  std::remove(path);
}
#endif

}  // namespace
