// The logon, performance and system pages on the memory ports: automatic
// logon and its stored name and password, the clean-up switches read from
// both keys and written under AutoClean, the Run value of the companion, the
// logon background colour (written as three numbers from 0 to 255 whatever
// the texts held), the file cache in units of 1024, Num Lock, the
// registration texts, the handlers and the standard values.
#include <gtest/gtest.h>

#include <memory>

#include "common/qxcommon.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "tolvane/page_logon.h"
#include "tolvane/page_system.h"
#include "ui/application.h"
#include "ui/form.h"

using namespace tolvane;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kWL = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kAC = "SOFTWARE\\Tazet\\Tolvane\\AutoClean";
constexpr const char* kCM = "SOFTWARE\\Tazet\\Tolvane\\CleanMRU";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
constexpr const char* kMM = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
constexpr const char* kCV = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kKeyboard = ".DEFAULT\\Control Panel\\Keyboard";
constexpr const char* kAutoClean = "\"C:\\Program Files\\Tolvane\\DURVOST.EXE\"";

// The four pages on a form of their own over the memory ports, as the main
// window holds them.
struct Tool {
  explicit Tool(uint32_t locale = 1041) {
    system.SetLocale(locale);
    system.SetEnv("TEMP", "C:\\DOCUME~1\\user\\LOCALS~1\\Temp");
    PutText(Root::HKLM, kCV, "SystemRoot", "C:\\WINDOWS");
    PutText(Root::HKLM, kCV, "ProductId", "55274-640-0000000-23000");
    PutText(Root::HKLM, kCV, "ProductName", "Microsoft Windows XP");
    registry.Close(registry.Create(Root::HKU, ".DEFAULT"));
  }

  // Builds the pages and runs their reads in the start-up order (other
  // pages' reads stand between the groups).
  void Start(bool english = false) {
    qx.ReadSystemInfo();
    performance = std::make_unique<PerformancePage>(tsPerformance, catalogue, env);
    system_ = std::make_unique<SystemPage>(tsSystem, catalogue, env);
    logon = std::make_unique<LogonPages>(tsLogon1, tsLogon2, catalogue, env,
                                         LogonPages::Commands{[] { return std::string(kAutoClean); }});
    if (english) form.SwitchToEnglish();
    form.Show();
    RowContext ctx = env.Context();
    for (const Order* order : {&system_->readRegistration, &performance->read, &system_->readNumLock,
                               &logon->readLogon2, &logon->readLogon1})
      ReadRows(*order, ctx);
    applyEnabled = 0;
  }
  // Apply steps 15, 16, 19 and 20, after the numeric edit decided its
  // number as the road lets it; false (nothing written) when it refused.
  bool Apply() {
    std::vector<NumberEdit*> numbers;
    for (auto& n : performance->numbers) numbers.push_back(n.get());
    if (!DecideAll(numbers)) return false;
    RowContext ctx = env.Context();
    for (const Order* order : {&performance->apply, &system_->apply, &logon->applyCleanup, &logon->applyLogon})
      WriteRows(*order, ctx);
    return true;
  }
  void FinishApply() {
    flags.Clear();
    catalogue.TakeLoaded();
  }
  void Standard() {
    RowContext ctx = env.Context();
    for (const Order* order : {&logon->standard, &performance->standard, &system_->standard}) StandardRows(*order, ctx);
  }

  void Put(Root root, const std::string& key, const std::string& name, const RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
  }
  void PutText(Root root, const std::string& key, const std::string& name, const std::string& v) {
    Put(root, key, name, RegValue::Text(v));
  }
  void PutDword(Root root, const std::string& key, const std::string& name, uint32_t v) {
    Put(root, key, name, RegValue::Dword(v));
  }
  std::optional<RegValue> Get(Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  std::string Text(Root root, const std::string& key, const std::string& name) {
    auto v = Get(root, key, name);
    return v ? v->TextOf() : "<absent>";
  }
  bool KeyExists(Root root, const std::string& key) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (k) registry.Close(k);
    return k != 0;
  }

  port::MemoryRegistry registry;
  port::MemorySystem system;
  port::MemoryLibrary library;
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::MemoryFiles files;
  port::Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
                    .dialogs = &dialogs};
  ui::Application app{ports};
  TQXCommon qx{ports};
  ChangeFlags flags;
  int applyEnabled = 0;
  PageEnv env{app,
              qx,
              files,
              dialogs,
              flags,
              [this] { ++applyEnabled; },
              [] { return std::string("C:\\Program Files\\Tolvane"); },
              [] { return std::string("C:\\WINDOWS\\SYSTEM32\\shell32.dll"); }};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  ui::PageControl& pages = form.Add<ui::PageControl>("PageControl");
  ui::TabSheet& tsLogon1 = pages.Add<ui::TabSheet>("tsLogon1", {}, "ログオン (1)", "Logon-1");
  ui::TabSheet& tsLogon2 = pages.Add<ui::TabSheet>("tsLogon2", {}, "ログオン (2)", "Logon-2");
  ui::TabSheet& tsPerformance = pages.Add<ui::TabSheet>("tsPerformance", {}, "パフォーマンス", "Performance");
  ui::TabSheet& tsSystem = pages.Add<ui::TabSheet>("tsSystem", {}, "システム", "System");
  Catalogue catalogue;
  std::unique_ptr<PerformancePage> performance;
  std::unique_ptr<SystemPage> system_;
  std::unique_ptr<LogonPages> logon;
};

}  // namespace

// --- Automatic logon ---------------------------------------------------------

TEST(LogonPage, AutomaticLogonWritesTheNameAndPasswordOnlyWhenTicked) {
  Tool t;
  t.PutText(Root::HKLM, kWL, "AutoAdminLogon", "1");
  t.PutText(Root::HKLM, kWL, "DefaultUserName", "admin");
  t.PutText(Root::HKLM, kWL, "DefaultPassword", "secret");
  t.Start();
  LogonPages& l = *t.logon;
  ASSERT_TRUE(l.cbAutoAdminLogon.Checked());
  EXPECT_EQ(l.edDefaultUserName.Text(), "admin");
  EXPECT_TRUE(l.edDefaultUserName.Enabled());
  EXPECT_EQ(l.edDefaultUserName.GetColor(), ui::clWindow);
  EXPECT_EQ(l.edDefaultPassword.PasswordChar, U'*');

  l.edDefaultUserName.UserType("operator");
  l.edDefaultPassword.UserType("");
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "AutoAdminLogon"), "1");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "DefaultUserName"), "operator");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "DefaultPassword"), "");

  // Unticked: "0" alone; the stored name and password stay, whatever the
  // edits show now (a settings file fills them also while disabled).
  l.cbAutoAdminLogon.Click();
  EXPECT_FALSE(l.edDefaultUserName.Enabled());
  EXPECT_EQ(l.edDefaultPassword.GetColor(), ui::clMenu);
  l.edDefaultUserName.SetText("someone else");
  l.edDefaultPassword.SetText("other");
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "AutoAdminLogon"), "0");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "DefaultUserName"), "operator");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "DefaultPassword"), "");
  EXPECT_FALSE(t.flags.needLogoff || t.flags.needRestart);  // the logon values ask for nothing
}

TEST(LogonPage, AnEmptyStoredNameLeavesItsEditDisabledUntilTheBoxIsClicked) {
  Tool t;
  t.PutText(Root::HKLM, kWL, "AutoAdminLogon", "1");
  t.PutText(Root::HKLM, kWL, "DefaultPassword", "secret");
  t.Start();
  LogonPages& l = *t.logon;
  EXPECT_TRUE(l.cbAutoAdminLogon.Checked());
  EXPECT_FALSE(l.edDefaultUserName.Enabled());
  EXPECT_EQ(l.edDefaultUserName.GetColor(), ui::clMenu);
  EXPECT_TRUE(l.edDefaultPassword.Enabled());
  l.cbAutoAdminLogon.Click();
  l.cbAutoAdminLogon.Click();
  EXPECT_TRUE(l.edDefaultUserName.Enabled());
  EXPECT_EQ(l.edDefaultUserName.GetColor(), ui::clWindow);

  // A stored name with automatic logon off shows, disabled; "1" alone ticks.
  Tool off;
  off.PutText(Root::HKLM, kWL, "AutoAdminLogon", "yes");
  off.PutText(Root::HKLM, kWL, "DefaultUserName", "admin");
  off.PutText(Root::HKLM, kWL, "DontDisplayLastUserName", "1");
  off.Start();
  EXPECT_FALSE(off.logon->cbAutoAdminLogon.Checked());
  EXPECT_EQ(off.logon->edDefaultUserName.Text(), "admin");
  EXPECT_FALSE(off.logon->edDefaultUserName.Enabled());
  EXPECT_TRUE(off.logon->cbDontDisplayLastUserName.Checked());
  off.Apply();
  EXPECT_EQ(off.Text(Root::HKLM, kWL, "AutoAdminLogon"), "0");
  EXPECT_EQ(off.Text(Root::HKLM, kWL, "DontDisplayLastUserName"), "1");
}

TEST(LogonPage, NoticeAndWallpaperAreWrittenAsTheEditsShow) {
  Tool t;
  t.PutText(Root::HKLM, kWL, "LegalNoticeCaption", "Notice");
  t.PutText(Root::HKU, ".DEFAULT\\Control Panel\\desktop", "Wallpaper", "C:\\WINDOWS\\old.bmp");
  t.Start();
  LogonPages& l = *t.logon;
  EXPECT_EQ(l.edLegalNoticeCaption.Text(), "Notice");
  EXPECT_EQ(l.edLegalNoticeText.Text(), "");
  EXPECT_EQ(l.edWallpaper.Text(), "C:\\WINDOWS\\old.bmp");

  // The wallpaper dialog starts in the Windows folder with the bitmap filter.
  t.dialogs.Script(std::optional<std::string>{"C:\\WINDOWS\\Zapotec.bmp"});
  l.buWallpaperClick();
  ASSERT_EQ(t.dialogs.Calls().size(), 1u);
  EXPECT_EQ(t.dialogs.Calls()[0].kind, port::MemoryDialogs::Kind::OpenPicture);
  EXPECT_EQ(t.dialogs.Calls()[0].file.filter, "ビットマップ (*.BMP) | *.BMP");
  EXPECT_EQ(t.dialogs.Calls()[0].file.initialDir, "C:\\WINDOWS");
  EXPECT_EQ(l.edWallpaper.Text(), "C:\\WINDOWS\\Zapotec.bmp");
  EXPECT_EQ(t.applyEnabled, 1);
  t.dialogs.Cancel();
  l.buWallpaperClick();
  EXPECT_EQ(l.edWallpaper.Text(), "C:\\WINDOWS\\Zapotec.bmp");

  l.edLegalNoticeText.UserType("Authorised users only.");
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "LegalNoticeCaption"), "Notice");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "LegalNoticeText"), "Authorised users only.");
  EXPECT_EQ(t.Text(Root::HKU, ".DEFAULT\\Control Panel\\desktop", "Wallpaper"), "C:\\WINDOWS\\Zapotec.bmp");
}

// --- Clean-up switches -----------------------------------------------------------

TEST(LogonPage, HistorySwitchesAreOnWhenEitherKeyHoldsOneAndMoveToAutoClean) {
  struct Case {
    std::optional<uint32_t> older, newer;  // CleanMRU, AutoClean
    bool ticked;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, false}, {1, std::nullopt, true}, {std::nullopt, 1, true}, {1, 1, true},
      {0, 1, true},                        {1, 0, true},            {2, 0, false},         {0, 0, false},
  };
  for (const char* value : {"RecentDocs", "Doc Find Spec MRU", "RunMRU"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(value) + " CleanMRU " + (c.older ? std::to_string(*c.older) : "-") + " AutoClean " +
                   (c.newer ? std::to_string(*c.newer) : "-"));
      Tool t;
      if (c.older) t.PutDword(Root::HKLM, kCM, value, *c.older);
      if (c.newer) t.PutDword(Root::HKLM, kAC, value, *c.newer);
      t.Start();
      ui::CheckBox& box = std::string(value) == "RecentDocs"  ? t.logon->cbRmRecent
                          : std::string(value) == "RunMRU"    ? t.logon->cbRmRunMRU
                                                              : t.logon->cbRmFindMRU;
      EXPECT_EQ(box.Checked(), c.ticked);
      t.Apply();
      EXPECT_EQ(t.Get(Root::HKLM, kAC, value), RegValue::Dword(c.ticked ? 1 : 0));
      EXPECT_FALSE(t.KeyExists(Root::HKLM, kCM));
      // The state read is the loaded value: applying it unchanged asks nothing.
      EXPECT_FALSE(t.flags.needLogoff);
    }
  }
}

TEST(LogonPage, TempFolderSwitchesAndTheirLogoffComparison) {
  Tool t;
  t.Start();
  LogonPages& l = *t.logon;
  EXPECT_FALSE(l.cbRmWinTempFile.Checked());
  EXPECT_TRUE(l.cbFilesOnly.Checked());  // absent: on
  EXPECT_FALSE(l.cbFilesOnly.Enabled());
  EXPECT_EQ(l.laRmTempDir.Caption(), "C:\\DOCUME~1\\user\\LOCALS~1\\Temp");

  l.cbRmWinTempFile.Click();
  EXPECT_TRUE(l.cbFilesOnly.Enabled());
  l.cbFilesOnly.Click();
  t.Apply();
  EXPECT_EQ(t.Get(Root::HKLM, kAC, "WinTempFile"), RegValue::Dword(1));
  EXPECT_EQ(t.Get(Root::HKLM, kAC, "FilesOnly"), RegValue::Dword(0));
  EXPECT_TRUE(t.flags.needLogoff);

  // Applied again untouched: no log-off the second time; the files-only
  // switch alone asks for nothing.
  t.FinishApply();
  t.Apply();
  EXPECT_FALSE(t.flags.needLogoff);
  l.cbFilesOnly.Click();
  t.Apply();
  EXPECT_FALSE(t.flags.needLogoff);
  // A box ticked and unticked again is no change.
  l.cbRmRunMRU.Click();
  l.cbRmRunMRU.Click();
  t.Apply();
  EXPECT_FALSE(t.flags.needLogoff);
  l.cbRmRunMRU.Click();
  t.Apply();
  EXPECT_TRUE(t.flags.needLogoff);

  // The temp folder label shows what TEMP holds, also nothing.
  Tool none;
  none.system.SetEnv("TEMP", "");
  none.Start();
  EXPECT_EQ(none.logon->laRmTempDir.Caption(), "");
}

TEST(LogonPage, TheRunValueStandsOnlyWhileASwitchHasWork) {
  struct Case {
    const char* name;
    bool temp, filesOnly, recent, find, run;
    bool runValue;
  };
  const Case cases[] = {
      {"nothing ticked", false, false, false, false, false, false},
      {"files only", false, true, false, false, false, false},
      {"temp folder", true, false, false, false, false, true},
      {"recent documents", false, false, true, false, false, true},
      {"search strings", false, true, false, true, false, true},
      {"run strings", false, false, false, false, true, true},
      {"all", true, true, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tool t;
    // What older versions and an earlier apply may have left.
    for (Root root : {Root::HKCU, Root::HKLM}) {
      t.PutText(root, kRun, "TolvaneAutoClean", "\"C:\\old\\DURVOST.EXE\"");
      t.PutText(root, kRun, "TolvaneCleanMRU", "\"C:\\old\\CLEANMRU.EXE\"");
    }
    t.PutText(Root::HKLM, kRun, "Other", "other.exe");
    t.PutDword(Root::HKLM, kAC, "FilesOnly", 0);
    t.Start();
    LogonPages& l = *t.logon;
    l.cbRmWinTempFile.SetChecked(c.temp);
    l.cbFilesOnly.SetChecked(c.filesOnly);
    l.cbRmRecent.SetChecked(c.recent);
    l.cbRmFindMRU.SetChecked(c.find);
    l.cbRmRunMRU.SetChecked(c.run);
    t.Apply();
    EXPECT_EQ(t.Text(Root::HKLM, kRun, "TolvaneAutoClean"), c.runValue ? kAutoClean : "<absent>");
    EXPECT_FALSE(t.Get(Root::HKCU, kRun, "TolvaneAutoClean"));
    EXPECT_FALSE(t.Get(Root::HKCU, kRun, "TolvaneCleanMRU"));
    EXPECT_FALSE(t.Get(Root::HKLM, kRun, "TolvaneCleanMRU"));
    EXPECT_EQ(t.Text(Root::HKLM, kRun, "Other"), "other.exe");
    EXPECT_EQ(t.Get(Root::HKLM, kAC, "FilesOnly"), RegValue::Dword(c.filesOnly ? 1 : 0));
  }
}

// --- Background colour ---------------------------------------------------------

TEST(LogonPage, BackgroundIsWrittenAsThreeNumbersFromZeroTo255) {
  struct Case {
    std::optional<std::string> stored;
    const char *red, *green, *blue;  // the texts read
    ui::Color panel;
    const char* written;
  };
  const Case cases[] = {
      {std::nullopt, "58", "110", "165", ui::RGB(58, 110, 165), "58 110 165"},
      {"0 0 0", "0", "0", "0", ui::clBlack, "0 0 0"},
      {"255 255 255", "255", "255", "255", ui::clWhite, "255 255 255"},
      {"300 -5 abc", "300", "-5", "abc", ui::RGB(255, 0, 0), "255 0 0"},
      {"1 2", "1", "", "2", ui::RGB(1, 0, 2), "1 0 2"},
      {"12", "", "", "12", ui::RGB(0, 0, 12), "0 0 12"},
      {"", "", "", "", ui::clBlack, "0 0 0"},
      {"10  20 30", "10", "", "20 30", ui::RGB(10, 0, 0), "10 0 0"},
      {"1 2 3 4", "1", "2", "3 4", ui::RGB(1, 2, 0), "1 2 0"},
      {"99999999999 0x10 7", "99999999999", "0x10", "7", ui::RGB(255, 0, 7), "255 0 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("<absent>"));
    Tool t;
    if (c.stored) t.PutText(Root::HKLM, kWL, "Background", *c.stored);
    t.Start();
    LogonPages& l = *t.logon;
    EXPECT_EQ(l.LogonBackgroundRed, c.red);
    EXPECT_EQ(l.LogonBackgroundGreen, c.green);
    EXPECT_EQ(l.LogonBackgroundBlue, c.blue);
    EXPECT_EQ(l.paBackground.GetColor(), c.panel);
    t.Apply();
    EXPECT_EQ(t.Text(Root::HKLM, kWL, "Background"), c.written);
  }

  // Texts a settings file put in the fields are written the same way.
  Tool t;
  t.Start();
  t.logon->LogonBackgroundRed = " 7 ";
  t.logon->LogonBackgroundGreen = "256";
  t.logon->LogonBackgroundBlue = "";
  t.logon->ShowBackground();
  EXPECT_EQ(t.logon->paBackground.GetColor(), ui::RGB(7, 255, 0));
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "Background"), "7 255 0");
}

TEST(LogonPage, TheColourDialogSetsTheThreeTextsAndCancelChangesNothing) {
  Tool t;
  t.PutText(Root::HKLM, kWL, "Background", "0 0 0");
  t.Start();
  LogonPages& l = *t.logon;

  t.dialogs.Script(std::optional<uint32_t>{});
  l.paBackground.UserClick();
  ASSERT_EQ(t.dialogs.Calls().size(), 1u);
  EXPECT_EQ(t.dialogs.Calls()[0].kind, port::MemoryDialogs::Kind::ChooseColor);
  EXPECT_EQ(t.dialogs.Calls()[0].color, ui::clBlack);  // preset with the panel's colour
  EXPECT_EQ(l.paBackground.GetColor(), ui::clBlack);
  EXPECT_EQ(l.LogonBackgroundRed + l.LogonBackgroundGreen + l.LogonBackgroundBlue, "000");
  EXPECT_EQ(t.applyEnabled, 0);

  t.dialogs.Script(std::optional<uint32_t>{ui::RGB(12, 34, 200)});
  l.paBackground.UserClick();
  EXPECT_EQ(l.LogonBackgroundRed, "12");
  EXPECT_EQ(l.LogonBackgroundGreen, "34");
  EXPECT_EQ(l.LogonBackgroundBlue, "200");
  EXPECT_EQ(l.paBackground.GetColor(), ui::RGB(12, 34, 200));
  EXPECT_EQ(t.applyEnabled, 1);
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "Background"), "12 34 200");
}

// --- Performance -------------------------------------------------------------------

TEST(PerformancePage, TheFileCacheIsStoredInUnitsOf1024) {
  struct Case {
    const char* name;
    std::optional<int32_t> stored;
    bool windowsChooses;
    int position;
    int32_t written;
    bool restart;  // when applied untouched
  };
  const Case cases[] = {
      {"absent", std::nullopt, true, 0, 0, false},
      {"zero", 0, true, 0, 0, false},
      {"4096", 4096, false, 4, 4096, false},
      {"1024", 1024, false, 1, 1024, false},
      {"1", 1, false, 0, 0, false},
      {"1023", 1023, false, 0, 0, false},
      {"2047", 2047, false, 1, 1024, false},
      {"the largest position", 262144, false, 256, 262144, false},
      {"above the range", 300000, false, 256, 262144, true},
      {"negative", -4096, false, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tool t;
    if (c.stored) t.PutDword(Root::HKLM, kMM, "IoPageLockLimit", static_cast<uint32_t>(*c.stored));
    t.Start();
    PerformancePage& p = *t.performance;
    EXPECT_EQ(p.cbIoPageLockLimit.Checked(), c.windowsChooses);
    EXPECT_EQ(p.udIoPageLockLimit.Position(), c.position);
    EXPECT_EQ(p.edIoPageLockLimit.Text(), std::to_string(c.position));
    EXPECT_EQ(p.udIoPageLockLimit.Enabled(), !c.windowsChooses);
    EXPECT_EQ(p.edIoPageLockLimit.Enabled(), !c.windowsChooses);
    EXPECT_EQ(p.edIoPageLockLimit.GetColor(), c.windowsChooses ? ui::clMenu : ui::clWindow);
    t.Apply();
    EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(static_cast<uint32_t>(c.written)));
    EXPECT_EQ(t.flags.needRestart, c.restart);
  }
}

TEST(PerformancePage, EntrustingTheFileCacheToWindowsWritesZeroAndAsksForARestart) {
  Tool t;
  t.PutDword(Root::HKLM, kMM, "IoPageLockLimit", 8 * 1024);
  t.Start();
  PerformancePage& p = *t.performance;
  ASSERT_EQ(p.udIoPageLockLimit.Position(), 8);
  p.cbIoPageLockLimit.Click();
  EXPECT_EQ(p.udIoPageLockLimit.Position(), 0);
  EXPECT_FALSE(p.udIoPageLockLimit.Enabled());
  EXPECT_GT(t.applyEnabled, 0);
  t.Apply();
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(0));
  EXPECT_TRUE(t.flags.needRestart);

  // Given back to the user: steps of 4, a typed size, the position × 1024.
  t.FinishApply();
  p.cbIoPageLockLimit.Click();
  EXPECT_TRUE(p.udIoPageLockLimit.Enabled());
  t.applyEnabled = 0;
  p.udIoPageLockLimit.UserStep(ui::UpDownButton::Up);
  EXPECT_EQ(p.udIoPageLockLimit.Position(), 4);
  EXPECT_GT(t.applyEnabled, 0);
  p.edIoPageLockLimit.UserType("100");
  EXPECT_EQ(p.udIoPageLockLimit.Position(), 4) << "the typed size is taken when the user leaves the edit";
  p.edIoPageLockLimit.UserExit();
  EXPECT_EQ(p.udIoPageLockLimit.Position(), 100);
  t.Apply();
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(100 * 1024));
  EXPECT_TRUE(t.flags.needRestart);
}

// The file cache size in the edit, decided from the whole text when the user
// leaves the edit or at Apply (the same rule as every numeric edit).
TEST(PerformancePage, ATypedFileCacheSizeIsTakenWholeOrRefused) {
  struct Case {
    const char* typed;
    std::optional<uint32_t> position;  // nothing: refused
  };
  for (const Case& c : {Case{"100", 100}, Case{"0", 0}, Case{"256", 256}, Case{"257", {}}, Case{"-4", {}},
                        Case{"", {}}, Case{"1e3", {}}, Case{"25 6", {}}})
    for (bool leave : {true, false}) {
      SCOPED_TRACE(std::string("\"") + c.typed + "\"" + (leave ? " left" : " applied"));
      Tool t;
      t.PutDword(Root::HKLM, kMM, "IoPageLockLimit", 8 * 1024);
      t.Start();
      PerformancePage& p = *t.performance;
      p.edIoPageLockLimit.UserType(c.typed);
      if (leave) p.edIoPageLockLimit.UserExit();
      const bool applied = t.Apply();
      std::vector<std::string> boxes;
      for (const auto& call : t.dialogs.Calls()) boxes.push_back(call.text);
      if (c.position) {
        EXPECT_TRUE(applied);
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(*c.position * 1024));
        continue;
      }
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0], "ファイルキャッシュサイズ (MB)には 0 から 256 までの数を入力して下さい。");
      EXPECT_EQ(p.edIoPageLockLimit.Text(), "8");
      EXPECT_EQ(applied, leave);
      EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(8 * 1024));
    }
}

TEST(PerformancePage, MemoryBoxesTickOnTheirOwnValues) {
  Tool t;
  t.PutDword(Root::HKLM, kMM, "DisablePagingExecutive", 1);
  t.PutDword(Root::HKLM, kMM, "LargeSystemCache", 2);
  t.PutDword(Root::HKLM, kMM, "SecondLevelDataCache", 256);
  t.Start();
  PerformancePage& p = *t.performance;
  EXPECT_TRUE(p.cbDisablePagingExecutive.Checked());
  EXPECT_FALSE(p.cbLargeSystemCache.Checked());
  EXPECT_FALSE(p.cbSecondLevelDataCache.Checked());
  t.Apply();
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "LargeSystemCache"), RegValue::Dword(0));
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "SecondLevelDataCache"), RegValue::Dword(0));  // 256 is not kept
  EXPECT_FALSE(t.flags.needRestart);
  p.cbSecondLevelDataCache.Click();
  t.Apply();
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "SecondLevelDataCache"), RegValue::Dword(512));
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "DisablePagingExecutive"), RegValue::Dword(1));
  EXPECT_TRUE(t.flags.needRestart);
}

// --- System ----------------------------------------------------------------------

TEST(SystemPage, NumLockIsOnOnlyForTwo) {
  struct Case {
    std::optional<std::string> stored;
    bool ticked;
  };
  const Case cases[] = {{std::nullopt, false}, {"0", false}, {"1", false}, {"2", true}, {"2 ", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("<absent>"));
    Tool t;
    if (c.stored) t.PutText(Root::HKU, kKeyboard, "InitialKeyboardIndicators", *c.stored);
    t.Start();
    EXPECT_EQ(t.system_->cbNumLock.Checked(), c.ticked);
    t.Apply();
    EXPECT_EQ(t.Text(Root::HKU, kKeyboard, "InitialKeyboardIndicators"), c.ticked ? "2" : "0");
  }
}

TEST(SystemPage, RegistrationTextsAreShownAndTheOwnerWrittenAtEveryApply) {
  Tool t;
  t.PutText(Root::HKLM, kCV, "RegisteredOwner", "Owner");
  t.Start();
  SystemPage& s = *t.system_;
  EXPECT_EQ(s.laProductName.Caption(), "Microsoft Windows XP");
  EXPECT_EQ(s.laProductId.Caption(), "55274-640-0000000-23000");
  EXPECT_EQ(s.edRegOwner.Text(), "Owner");
  EXPECT_EQ(s.edRegOrganization.Text(), "");

  // Typing does not enable Apply; a click into the edit does.
  s.edRegOrganization.UserType("Tazet");
  EXPECT_EQ(t.applyEnabled, 0);
  s.edRegOwner.UserClick();
  EXPECT_EQ(t.applyEnabled, 1);
  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kCV, "RegisteredOwner"), "Owner");
  EXPECT_EQ(t.Text(Root::HKLM, kCV, "RegisteredOrganization"), "Tazet");
  EXPECT_EQ(t.Text(Root::HKLM, kCV, "ProductName"), "Microsoft Windows XP");
  EXPECT_FALSE(t.flags.needLogoff || t.flags.needRestart);
}

// --- Standard values -------------------------------------------------------------

TEST(LogonSystemPages, StandardValuesAreThoseOfAFreshSystemAndLeaveTheRegistrationAlone) {
  Tool t;
  t.PutText(Root::HKLM, kWL, "LegalNoticeCaption", "Notice");
  t.PutText(Root::HKLM, kWL, "LegalNoticeText", "Text");
  t.PutText(Root::HKLM, kWL, "AutoAdminLogon", "1");
  t.PutText(Root::HKLM, kWL, "DefaultUserName", "admin");
  t.PutText(Root::HKLM, kWL, "DefaultPassword", "secret");
  t.PutText(Root::HKLM, kWL, "DontDisplayLastUserName", "1");
  t.PutText(Root::HKLM, kWL, "Background", "0 0 0");
  t.PutText(Root::HKU, ".DEFAULT\\Control Panel\\desktop", "Wallpaper", "C:\\w.bmp");
  for (const char* v : {"WinTempFile", "RecentDocs", "Doc Find Spec MRU", "RunMRU"}) t.PutDword(Root::HKLM, kAC, v, 1);
  t.PutDword(Root::HKLM, kAC, "FilesOnly", 0);
  t.PutDword(Root::HKLM, kMM, "DisablePagingExecutive", 1);
  t.PutDword(Root::HKLM, kMM, "IoPageLockLimit", 8192);
  t.PutDword(Root::HKLM, kMM, "SecondLevelDataCache", 512);
  t.PutText(Root::HKU, kKeyboard, "InitialKeyboardIndicators", "2");
  t.PutText(Root::HKLM, kCV, "RegisteredOwner", "Owner");
  t.Start();
  t.Standard();
  LogonPages& l = *t.logon;
  PerformancePage& p = *t.performance;
  SystemPage& s = *t.system_;
  EXPECT_GT(t.applyEnabled, 0);
  for (ui::Edit* e : {&l.edLegalNoticeCaption, &l.edLegalNoticeText, &l.edDefaultUserName, &l.edDefaultPassword,
                      &l.edWallpaper})
    EXPECT_EQ(e->Text(), "") << e->Name();
  for (ui::CheckBox* b : {&l.cbDontDisplayLastUserName, &l.cbAutoAdminLogon, &l.cbRmWinTempFile, &l.cbRmRecent,
                          &l.cbRmFindMRU, &l.cbRmRunMRU, &p.cbDisablePagingExecutive, &p.cbSecondLevelDataCache,
                          &s.cbNumLock})
    EXPECT_FALSE(b->Checked()) << b->Name();
  EXPECT_TRUE(l.cbFilesOnly.Checked());
  EXPECT_FALSE(l.cbFilesOnly.Enabled());
  EXPECT_EQ(l.paBackground.GetColor(), ui::RGB(58, 110, 165));
  EXPECT_TRUE(p.cbLargeSystemCache.Checked());
  EXPECT_TRUE(p.cbIoPageLockLimit.Checked());
  EXPECT_EQ(p.udIoPageLockLimit.Position(), 0);
  EXPECT_EQ(s.edRegOwner.Text(), "Owner");
  EXPECT_EQ(s.laProductName.Caption(), "Microsoft Windows XP");

  t.Apply();
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "Background"), "58 110 165");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "AutoAdminLogon"), "0");
  EXPECT_EQ(t.Text(Root::HKLM, kWL, "DefaultUserName"), "admin");
  EXPECT_FALSE(t.Get(Root::HKLM, kRun, "TolvaneAutoClean"));
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "IoPageLockLimit"), RegValue::Dword(0));
  EXPECT_EQ(t.Get(Root::HKLM, kMM, "LargeSystemCache"), RegValue::Dword(1));
  EXPECT_EQ(t.Text(Root::HKLM, kCV, "RegisteredOwner"), "Owner");
  EXPECT_TRUE(t.flags.needLogoff);
  EXPECT_TRUE(t.flags.needRestart);
}

TEST(LogonSystemPages, EnglishCaptionsAndFilter) {
  Tool t(1033);
  t.Start(true);
  EXPECT_EQ(t.logon->laRmTempDir.Caption(), "C:\\DOCUME~1\\user\\LOCALS~1\\Temp");  // the read follows the switch
  EXPECT_EQ(t.logon->cbFilesOnly.Caption(), "Remove files only. In other word, folder is not remove.");
  EXPECT_EQ(t.performance->gbMemory.Caption(), "Memory (Over 256MB only)");
  EXPECT_EQ(t.system_->cbNumLock.Caption(), "Enable Num Lock after starting");
  t.dialogs.Cancel();
  t.logon->buWallpaperClick();
  EXPECT_EQ(t.dialogs.Calls().back().file.filter, "Bitmap (*.BMP) | *.BMP");
}
