// The start-up road on the memory ports: what the window shows when it
// opens, the two gates, the first-run restore point and a failing read.
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::Root;

TEST(Startup, OnXpReadsThePagesAndOpensWithApplyDisabled) {
  Machine m;
  m.PutDword(Root::HKCU, kPolicies, "NoActiveDesktop", 1);
  m.PutDword(Root::HKCU, kPolicies, "NoDrives", 5);
  m.Start();

  EXPECT_FALSE(m.app->IsTerminated());
  EXPECT_TRUE(m.main->Visible());
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_TRUE(m.Box("cbNoActiveDesktop").Checked());
  EXPECT_TRUE(m.Box("cbA").Checked());
  EXPECT_TRUE(m.Box("cbC").Checked());
  EXPECT_FALSE(m.Box("cbB").Checked());
  // The reads ran the boxes' handlers; the window opens with nothing unapplied.
  EXPECT_FALSE(m.main->sbPlay.Enabled());
  EXPECT_EQ(m.app->Title(), "トルヴァネ ver6.01 for WindowsXP");
  EXPECT_EQ(m.main->laAppName.Caption(), m.app->Title());
  EXPECT_EQ(m.app->ProcessMessagesRuns(), 1);
  EXPECT_EQ(m.app->Forms().size(), 1u) << "the splash is gone";
  EXPECT_TRUE(m.shell.Execs().empty()) << "the restore point was made before";
  EXPECT_EQ(m.main->lbUser.Items, (std::vector<std::string>{".DEFAULT", "S-1-5-21-1"}));
}

TEST(Startup, DerivesThePathsFromTheProgramAndTheSystem) {
  Machine m;
  m.Start();
  const TfoMain& w = *m.main;
  EXPECT_EQ(w.ProgramPath, kProgram);
  EXPECT_EQ(w.ProgramFolder, "C:\\Program Files\\Tolvane");
  EXPECT_EQ(w.FolderIconCommand, "\"C:\\Program Files\\Tolvane\\TAMREL.EXE\" \"%1\"");
  EXPECT_EQ(w.AutoCleanCommand, "\"C:\\Program Files\\Tolvane\\DURVOST.EXE\"");
  EXPECT_EQ(w.TransparentIconLocation, "C:\\Program Files\\Tolvane\\transparency.ico,0");
  EXPECT_EQ(w.TransparentIconLocationJA, "C:\\Program Files\\Tolvane\\透明.ico,0");
  EXPECT_EQ(w.RegBackFolder, "C:\\Program Files\\Tolvane\\RegBack");
  EXPECT_EQ(w.MsdosSysPath, "C:\\MSDOS.SYS");
  EXPECT_EQ(w.SystemIniPath, "C:\\WINDOWS\\SYSTEM.INI");
  EXPECT_EQ(w.NotepadCommand, "C:\\WINDOWS\\NOTEPAD.EXE %1");
  EXPECT_EQ(w.Shell32Path, "C:\\WINDOWS\\SYSTEM32\\shell32.dll");
  EXPECT_EQ(w.ZipfldrPath, "C:\\WINDOWS\\SYSTEM32\\ZIPFLDR.DLL");
  EXPECT_EQ(w.ShellIconSize, 32);
}

TEST(Startup, MakesMsdosSysHiddenAndSystem) {
  Machine m;
  m.files.AddFile("C:\\MSDOS.SYS", ";", port::kAttrReadOnly | port::kAttrArchive);
  m.Start();
  EXPECT_EQ(m.files.Attributes("C:\\MSDOS.SYS"), port::kAttrHidden | port::kAttrSystem);
}

TEST(Startup, PlacesTheWindowFromTheSuiteKey) {
  struct Case {
    std::optional<uint32_t> top, left;
    bool centred;
  };
  // Without a screen, the desktop is 1024 x 768; a place where no part of
  // the window would show starts centred.
  const Case cases[] = {{std::nullopt, std::nullopt, true}, {0, 0, true},
                        {0, 120, false},  {80, 0, false},
                        {0x7FFFFFFF, 0x7FFFFFFF, true}, {static_cast<uint32_t>(-32768), static_cast<uint32_t>(-100000), true},
                        {5000, 5000, true}, {768, 100, true}, {100, 1024, true},
                        {static_cast<uint32_t>(-50), static_cast<uint32_t>(-100), false}, {700, 1000, false}};
  for (const Case& c : cases) {
    Machine m;
    if (c.top) m.PutDword(Root::HKLM, kSuiteKey, "Top", *c.top);
    if (c.left) m.PutDword(Root::HKLM, kSuiteKey, "Left", *c.left);
    m.Start();
    if (c.centred) {
      ui::Rect s = m.app->Screen();
      EXPECT_EQ(m.main->Left(), (s.width - m.main->Width()) / 2) << static_cast<int>(c.left.value_or(0));
      EXPECT_EQ(m.main->Top(), (s.height - m.main->Height()) / 2) << static_cast<int>(c.top.value_or(0));
    } else {
      EXPECT_EQ(m.main->Left(), static_cast<int>(*c.left));
      EXPECT_EQ(m.main->Top(), static_cast<int>(*c.top));
    }
  }
}

TEST(Startup, EnglishSystemShowsTheEnglishTexts) {
  Machine m;
  m.English();
  m.Start();
  EXPECT_EQ(m.app->Title(), "Kelvorin ver6.01 for WindowsXP");
  EXPECT_EQ(m.main->sbPlay.Caption(), "Apply");
  EXPECT_EQ(m.main->tsContextMenu.Caption(), "Context Menu");
  EXPECT_EQ(m.main->tsRun.Caption(), "Autorun");
  EXPECT_EQ(m.main->laSubAppTitle.Caption(), "");
  EXPECT_EQ(m.main->laQuestionRequest.Caption(), "Please send any question or request to the following address");
  EXPECT_EQ(m.main->laQuestionRequest.EffectiveFont().name, "Arial");
  EXPECT_EQ(m.main->EffectiveFont().name, "MS Sans Serif");
  EXPECT_EQ(m.Box("cbNoActiveDesktop").Caption(), "Disable Active Desktop");
}

TEST(Startup, GatesEndTheProgramBeforeTheRestorePoint) {
  struct Case {
    const char* what;
    port::VersionInfo version;
    bool administrator;
    std::string message;
  };
  const Case cases[] = {
      {"Windows 2000 without rights: the XP message alone", {2, 5, 0, 2195, "Service Pack 4"}, false,
       "このソフトはWindowsXPの環境で動作致します。\r\r他の環境では実行できません。"},
      {"XP without rights", {}, false,
       "「トルヴァネ」を実行する為にはAdministrator権限が必要です。\r\rもしわからない場合はシステム管理者にご相談下さい。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.system.SetVersion(c.version);
    m.FirstRun();
    if (!c.administrator) m.registry.DenyWrite(Root::HKLM, kNtVersion);
    m.Start();
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_EQ(m.Boxes()[0].text, c.message);
    EXPECT_EQ(m.Boxes()[0].caption, "");
    EXPECT_EQ(m.Boxes()[0].icon, port::MbIcon::Error);
    EXPECT_TRUE(m.app->IsTerminated());
    EXPECT_TRUE(m.shell.Execs().empty());
    EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "RestorePointCreated"), std::nullopt);
  }
}

TEST(Startup, FirstRunStartsTheRestorePointScriptOnce) {
  for (bool english : {false, true}) {
    Machine m;
    if (english) m.English();
    m.FirstRun();
    m.Start();
    ASSERT_EQ(m.shell.Execs().size(), 1u);
    EXPECT_EQ(m.shell.Execs()[0].commandLine,
              std::string("C:\\WINDOWS\\SYSTEM32\\WScript.exe \"C:\\Program Files\\Tolvane\\CreateRestorePoint_") +
                  (english ? "EN" : "JA") + ".vbs\"");
    EXPECT_EQ(m.shell.Execs()[0].show, port::kShowNormal);
    EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "RestorePointCreated"), 1u);
    EXPECT_FALSE(m.main->sbPlay.Enabled());
  }
}

TEST(Startup, MissingScriptHostStillCountsTheRestorePointAsMade) {
  Machine m;
  m.shell = port::MemoryShell();  // no WScript.exe
  m.FirstRun();
  m.Start();
  ASSERT_EQ(m.shell.Execs().size(), 1u);
  EXPECT_FALSE(m.shell.Execs()[0].started);
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "RestorePointCreated"), 1u);
}

TEST(Startup, ExceptionWhileReadingThePagesShowsItAndEndsBeforeTheGates) {
  for (bool english : {false, true}) {
    Machine m;
    if (english) m.English();
    m.system.SetVersion({2, 5, 0, 2195, ""});  // gate 1 would speak
    m.PutDword(Root::HKCU, kPolicies, "NoActiveDesktop", 1);
    m.registry.FailQuery(Root::HKCU, kPolicies, "NoActiveDesktop");
    m.Start();
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_EQ(m.Boxes()[0].caption, "Exception Error");
    EXPECT_EQ(m.Boxes()[0].icon, port::MbIcon::Error);
    EXPECT_EQ(m.Boxes()[0].text,
              english ? "Registry read failed\r\rSorry, my program detected error.\r"
                        "Please inform me about above error message with E-mail."
                      : "Registry read failed\r\rご迷惑をお掛けし申し訳ありません\r"
                        "お手数ですが上記エラー内容をメールでご連絡頂ければ幸いです。");
    EXPECT_TRUE(m.app->IsTerminated());
  }
}
