// The logon, performance and system pages on the main window's roads: read
// at start in their groups, written at apply in their steps, with the
// companion's Run value made from the program's folder, and the log-off and
// restart questions that their changes call for.
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::MbResult;
using port::Root;

namespace {

constexpr const char* kWL = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
constexpr const char* kMM = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

}  // namespace

TEST(LogonSystemRoads, ReadAtStartWrittenAtApplyAndAskingWhatTheirClassesNeed) {
  Machine m;
  m.PutDword(Root::HKLM, "SOFTWARE\\Tazet\\Tolvane\\CleanMRU", "RecentDocs", 1);
  m.PutString(Root::HKLM, kWL, "Background", "0 0 0");
  m.PutString(Root::HKLM, kWL, "AutoAdminLogon", "1");
  m.PutString(Root::HKLM, kWL, "DefaultUserName", "admin");
  m.PutString(Root::HKLM, kNtVersion, "ProductName", "Microsoft Windows XP");
  m.PutString(Root::HKLM, kNtVersion, "RegisteredOwner", "Owner");
  m.PutDword(Root::HKLM, kMM, "IoPageLockLimit", 4096);
  m.PutString(Root::HKU, ".DEFAULT\\Control Panel\\Keyboard", "InitialKeyboardIndicators", "2");
  m.Start();
  TfoMain& w = *m.main;
  EXPECT_TRUE(m.Box("cbRmRecent").Checked());
  EXPECT_TRUE(m.Box("cbAutoAdminLogon").Checked());
  EXPECT_TRUE(w.Get<ui::Edit>("edDefaultUserName").Enabled());
  EXPECT_EQ(w.Get<ui::Panel>("paBackground").GetColor(), ui::clBlack);
  EXPECT_EQ(w.Get<ui::Label>("laProductName").Caption(), "Microsoft Windows XP");
  EXPECT_EQ(w.Get<ui::Edit>("edRegOwner").Text(), "Owner");
  EXPECT_EQ(w.Get<ui::UpDown>("udIoPageLockLimit").Position(), 4);
  EXPECT_TRUE(m.Box("cbNumLock").Checked());
  EXPECT_FALSE(w.sbPlay.Enabled());

  // Untouched: the older switch moves to AutoClean, the Run value starts the
  // companion beside the program, and nothing asks.
  m.Apply();
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_EQ(m.Dword(Root::HKLM, "SOFTWARE\\Tazet\\Tolvane\\AutoClean", "RecentDocs"), 1u);
  EXPECT_FALSE(m.Get(Root::HKLM, "SOFTWARE\\Tazet\\Tolvane\\CleanMRU", "RecentDocs"));
  EXPECT_EQ(m.Text(Root::HKLM, kRun, "TolvaneAutoClean"), "\"C:\\Program Files\\Tolvane\\DURVOST.EXE\"");
  EXPECT_EQ(m.Text(Root::HKLM, kWL, "Background"), "0 0 0");
  EXPECT_EQ(m.Text(Root::HKLM, kWL, "DefaultUserName"), "admin");
  EXPECT_EQ(m.Dword(Root::HKLM, kMM, "IoPageLockLimit"), 4096u);
  EXPECT_EQ(m.Text(Root::HKU, ".DEFAULT\\Control Panel\\Keyboard", "InitialKeyboardIndicators"), "2");

  // The history switch off: the log-off question, and the Run value goes.
  m.Click(m.Box("cbRmRecent"));
  EXPECT_TRUE(w.sbPlay.Enabled());
  m.dialogs.Script(MbResult::No);
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Logoff"), std::string::npos);
  EXPECT_EQ(m.Text(Root::HKLM, kRun, "TolvaneAutoClean"), "<absent>");

  // The file cache changed as well as a switch: the restart question alone.
  m.Click(m.Box("cbRmRunMRU"));
  m.Click(m.Box("cbIoPageLockLimit"));
  m.dialogs.Script(MbResult::No);
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 2u);
  EXPECT_NE(m.Boxes()[1].text.find("再起動"), std::string::npos);
  EXPECT_EQ(m.Dword(Root::HKLM, kMM, "IoPageLockLimit"), 0u);
  EXPECT_EQ(m.Text(Root::HKLM, kRun, "TolvaneAutoClean"), "\"C:\\Program Files\\Tolvane\\DURVOST.EXE\"");
}
