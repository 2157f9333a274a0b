// The shell and shutdown ports: starting programs as WinExec does, on the
// memory shell and on the real one; the real shutdown's test guard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/memory/memory_files.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shutdown.h"
#include "platform/text.h"
#ifdef _WIN32
#include <windows.h>
#include <objbase.h>

#include "platform/text.h"
#include "platform/win32/win32_files.h"
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

// Shell links on a shell with its file system and a folder to write in.
struct LinkMachine {
  std::unique_ptr<port::Files> files;
  std::unique_ptr<port::Shell> shell;
  std::string base;
  port::MemoryShell* memory = nullptr;
};

std::unique_ptr<LinkMachine> MakeLinkMachine(const std::string& name) {
  auto m = std::make_unique<LinkMachine>();
#ifdef _WIN32
  if (name == "win32") {
    CoInitialize(nullptr);  // as the installer does at start
    m->files = std::make_unique<port::Win32Files>();
    m->shell = std::make_unique<port::Win32Shell>();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m->base = port::Utf16ToUtf8(reinterpret_cast<char16_t*>(temp)) + "suite-link-test-" +
              std::to_string(GetCurrentProcessId());
    m->files->MakeFolder(m->base);
    return m;
  }
#endif
  (void)name;
  auto files = std::make_unique<port::MemoryFiles>();
  auto shell = std::make_unique<port::MemoryShell>();
  shell->AttachFiles(files.get());
  m->memory = shell.get();
  m->base = "C:\\scratch";
  files->AddFolder(m->base);
  m->files = std::move(files);
  m->shell = std::move(shell);
  return m;
}

class LinkContract : public testing::TestWithParam<std::string> {};

TEST_P(LinkContract, ALinkReadsBackItsTargetAndFolderAndIsReplacedByTheNext) {
  auto m = MakeLinkMachine(GetParam());
  port::Files& files = *m->files;
  port::Shell& shell = *m->shell;
  std::string program = m->base + "\\prog.exe", other = m->base + "\\other.exe";
  ASSERT_TRUE(files.WriteAll(program, "MZ"));
  ASSERT_TRUE(files.WriteAll(other, "MZ"));
  std::string link = m->base + "\\Prog.LNK";
  EXPECT_EQ(shell.CreateShellLink(program, m->base + "\\", link), port::Shell::LinkResult::Written);
  EXPECT_TRUE(files.FileExists(link));
  auto read = shell.ReadShellLink(link);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(port::EqualNoCase(read->target, program)) << read->target;
  EXPECT_TRUE(port::EqualNoCase(read->workingFolder, m->base + "\\")) << read->workingFolder;

  EXPECT_EQ(shell.CreateShellLink(other, m->base + "\\", link), port::Shell::LinkResult::Written);
  read = shell.ReadShellLink(link);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(port::EqualNoCase(read->target, other)) << "an existing link is replaced: " << read->target;

  std::string nowhere = m->base + "\\missing\\Prog.LNK";
  EXPECT_EQ(shell.CreateShellLink(program, m->base + "\\", nowhere), port::Shell::LinkResult::NotSaved);
  EXPECT_FALSE(files.Exists(nowhere));
  EXPECT_FALSE(shell.ReadShellLink(program).has_value()) << "a program is no link";
  EXPECT_FALSE(shell.ReadShellLink(nowhere).has_value());

  for (const std::string& f : {link, program, other}) files.RemoveFile(f);
  EXPECT_TRUE(files.RemoveFolder(m->base));
}

TEST(MemoryShell, PlaysASystemWithoutTheShellLinkObject) {
  auto m = MakeLinkMachine("memory");
  m->memory->SetLinkObjectMissing(true);
  EXPECT_EQ(m->shell->CreateShellLink("C:\\a.exe", "C:\\", m->base + "\\a.LNK"), port::Shell::LinkResult::NoObject);
  EXPECT_FALSE(m->files->Exists(m->base + "\\a.LNK"));
}

INSTANTIATE_TEST_SUITE_P(Shells, LinkContract, testing::Values(
#ifdef _WIN32
                                                   "win32",
#endif
                                                   "memory"),
                         [](const auto& info) { return std::string(info.param); });

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
