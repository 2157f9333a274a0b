// The folder-icon tool on the real ports under Wine: a folder of a temporary
// tree and the drive root of the test prefix. The picker's user and the file
// dialog are played (no screen); registry, profile functions, attributes,
// icon extraction and the shell notification are Wine's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/memory/memory_dialogs.h"
#include "platform/text.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "tamrel/main_form.h"
#include "tamrel/program.h"

namespace {

const wchar_t kDriveKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\DriveIcons\\C\\DefaultIcon";

std::wstring Wide(const std::string& s) {
  std::u16string w = port::Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}
std::string Narrow(const std::wstring& w) { return port::Utf16ToUtf8(std::u16string(w.begin(), w.end())); }

std::string ModuleFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return Narrow(p.substr(0, p.rfind(L'\\')));
}

// Runs a console program of the prefix and gives back what it printed.
std::string Output(const std::string& commandLine) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &sa, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = write;
  PROCESS_INFORMATION pi{};
  std::wstring line = Wide(commandLine);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return "";
  CloseHandle(write);
  std::string out;
  char buf[512];
  DWORD got = 0;
  while (ReadFile(read, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(read);
  return out;
}

class TamrelOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_.registry = &registry_;
    ports_.system = &system_;
    ports_.library = &library_;
    ports_.icons = &icons_;
    ports_.dialogs = &dialogs_;
    ports_.shell = &shell_;
    ports_.files = &files_;
    ports_.profile = &profile_;
    fixture_ = ModuleFolder() + "\\fixture_icons.dll";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    tree_ = Narrow(temp) + "tamrel-test-" + std::to_string(GetCurrentProcessId());
    folder_ = tree_ + "\\Photos";
    ASSERT_TRUE(files_.MakeFolder(tree_));
    ASSERT_TRUE(files_.MakeFolder(folder_));
  }
  void TearDown() override {
    files_.SetAttributes(folder_ + "\\Desktop.ini", FILE_ATTRIBUTE_NORMAL);
    files_.RemoveFile(folder_ + "\\Desktop.ini");
    files_.SetAttributes(folder_, FILE_ATTRIBUTE_NORMAL);
    files_.RemoveFolder(folder_);
    files_.RemoveFolder(tree_);
  }

  TfoMain& Start(const std::string& target) {
    app_.reset();
    app_ = std::make_unique<ui::Application>(ports_);
    RunTamrel(*app_, "\"C:\\suite\\bin\\tamrel.exe\" \"" + target + "\"");
    return dynamic_cast<TfoMain&>(*app_->MainForm());
  }
  // Picks icon `item` of the fixture file through the picker, as a user does.
  void Pick(TfoMain& m, int item) {
    app_->ModalScript = [&](ui::Form& f) {
      auto& picker = dynamic_cast<TfoIconList&>(f);
      dialogs_.Script(std::optional<std::string>(fixture_));
      picker.buOpenFile->UserClick();
      listed_ = picker.lvIcon->Count();
      picker.lvIcon->UserClickItem(item);
      picker.buOK->UserClick();
    };
    app_->Dispatch(m.imFolder, [&] { m.imFolder->UserClick(); });
  }
  void Apply(TfoMain& m) {
    app_->Dispatch(m.sbOK, [&] { m.sbOK->UserClick(); });
  }

  port::Win32Registry registry_;
  port::Win32System system_;
  port::Win32Library library_;
  port::Win32Icons icons_;
  port::MemoryDialogs dialogs_;
  port::Win32Shell shell_;
  port::Win32Files files_;
  port::Win32Profile profile_;
  port::Ports ports_;
  std::unique_ptr<ui::Application> app_;
  std::string fixture_, tree_, folder_;
  int listed_ = -1;
};

TEST_F(TamrelOnWine, PickAndApplyOnAFolderLeaveADesktopIniThatWineReads) {
  TfoMain& m = Start(folder_);
  EXPECT_EQ(m.Caption(), folder_);
  EXPECT_NE(m.imFolder->GetPicture().Handle(), 0u) << "the standard folder icon is shown: " << m.HeldLocation;

  Pick(m, 2);
  EXPECT_EQ(listed_, 3) << "the fixture holds three icons";
  EXPECT_EQ(m.HeldLocation, fixture_ + ",2");
  EXPECT_NE(m.imFolder->GetPicture().Handle(), 0u);
  Apply(m);
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_TRUE(dialogs_.Calls().size() == 1) << "only the file dialog, no error box";

  std::wstring ini = Wide(folder_ + "\\Desktop.ini");
  wchar_t value[MAX_PATH] = {};
  GetPrivateProfileStringW(L".ShellClassInfo", L"IconFile", L"", value, MAX_PATH, ini.c_str());
  EXPECT_EQ(Narrow(value), fixture_);
  GetPrivateProfileStringW(L".ShellClassInfo", L"IconIndex", L"", value, MAX_PATH, ini.c_str());
  EXPECT_EQ(Narrow(value), "2");
  DWORD iniAttributes = GetFileAttributesW(ini.c_str());
  EXPECT_TRUE(iniAttributes & FILE_ATTRIBUTE_HIDDEN) << std::hex << iniAttributes;
  DWORD folderAttributes = GetFileAttributesW(Wide(folder_).c_str());
  EXPECT_TRUE(folderAttributes & FILE_ATTRIBUTE_SYSTEM) << std::hex << folderAttributes;
  EXPECT_FALSE(folderAttributes & FILE_ATTRIBUTE_READONLY) << std::hex << folderAttributes;

  // Started again, the window shows what was applied.
  TfoMain& again = Start(folder_);
  EXPECT_EQ(again.HeldLocation, fixture_ + ",2");
}

TEST_F(TamrelOnWine, ApplyOnTheDriveRootWritesTheDriveIconKey) {
  TfoMain& m = Start("C:\\");
  EXPECT_EQ(m.Caption(), "C:\\");
  Pick(m, 1);
  Apply(m);
  EXPECT_TRUE(app_->IsTerminated());
  std::string out = Output("reg.exe query \"HKLM\\" + Narrow(kDriveKey) + "\" /ve");
  EXPECT_NE(out.find(fixture_ + ",1"), std::string::npos) << out;
  EXPECT_FALSE(files_.Exists("C:\\Desktop.ini"));
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kDriveKey);
}

// Any three characters used to count as a drive: "abc" made DriveIcons\a.
TEST_F(TamrelOnWine, ThreeCharactersThatAreNoDriveRootMakeNoDriveKey) {
  const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\DriveIcons\\a";
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
  TfoMain& m = Start("abc");
  EXPECT_FALSE(m.IsDrive());
  Apply(m);
  HKEY k = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k), ERROR_SUCCESS);
  if (k) RegCloseKey(k);
}

}  // namespace
