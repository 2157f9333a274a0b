// The installer on the memory ports: the list file's sections, the window's
// modes, pages and gates, the install and uninstall steps, and the refusals
// that keep a faulty list or a failed step from passing for success.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>

#include "nistrel/list_file.h"
#include "nistrel/main_form.h"
#include "nistrel/program.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_profile.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "platform/text.h"

namespace {

using port::Root;

const char kSetup[] = "C:\\setup";
const char kInstall[] = "C:\\Program Files\\Tolvane";
const char kPrograms[] = "C:\\Documents and Settings\\Admin\\Start Menu\\Programs";
const char kDesktop[] = "C:\\Documents and Settings\\Admin\\Desktop";
const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TOLVANE";
const char kSuite[] = "Software\\Tazet\\Tolvane";

// The suite's list in the shape of the real one, smaller.
const char kList[] =
    "[Tolvane]\r\nJA=トルヴァネ\r\nEN=Kelvorin\r\nFile1=tolvane.exe\r\nFile2=tamrel.exe\r\n"
    "[pavrel]\r\nJA=パヴレル\r\nEN=Vennick\r\nFile1=pavrel.exe\r\n"
    "[Mortavel]\r\nJA=モルタヴェル\r\nEN=Morlisk\r\n"
    "[Quenlish]\r\nJA=クエンリッシュ\r\nEN=Quendrop\r\n"
    "[Brisken]\r\nJA=ブリスケン\r\nEN=Brisken\r\nFile1=brisken.exe\r\n"
    "[Common]\r\nJA=旧版の説明\r\nEN=Old readme\r\nFile1=readme_old.txt\r\n"
    "[Common_JA]\r\nJA=トルヴァネ セットアップ\r\nFile1=nistrel.exe\r\nFile2=nistrel.ini\r\nFile3=licence_ja.txt\r\n"
    "[Common_EN]\r\nEN=Kelvorin Setup\r\nFile1=nistrel.exe\r\nFile2=nistrel.ini\r\nFile3=licence_en.txt\r\n"
    "[DeleteFile]\r\nFile1=obsolete.dll\r\n";

class Nistrel : public ::testing::Test {
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
    shell_.AttachFiles(&files_);
    SetReg(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\WINDOWS");
    SetReg(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductId", "55274-640");
    const char* folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    SetReg(Root::HKCU, folders, "Programs", kPrograms);
    SetReg(Root::HKCU, folders, "Desktop", kDesktop);
    files_.AddFolder("C:\\WINDOWS");
    files_.AddFolder("C:\\Program Files");
    files_.AddFolder(kPrograms);
    files_.AddFolder(kDesktop);
    PutSetup(kSetup, kList);
  }

  // A distribution folder with the list and every file it names.
  void PutSetup(const std::string& folder, const std::string& list) {
    files_.AddFile(folder + "\\nistrel.ini", list);
    for (const char* f : {"tolvane.exe", "tamrel.exe", "pavrel.exe", "nistrel.exe", "licence_ja.txt", "licence_en.txt"})
      files_.AddFile(folder + "\\" + f, std::string("bytes of ") + f);
    files_.AddFile(folder + "\\licence_ja.txt", "使用許諾\r\n第一条");
    files_.AddFile(folder + "\\licence_en.txt", "Licence\r\nFirst");
    system_.SetModulePath(folder + "\\nistrel.exe");
  }
  void SetReg(Root root, const std::string& key, const std::string& name, const std::string& value) {
    port::KeyHandle k = registry_.Create(root, key);
    registry_.Set(k, name, port::RegValue::Text(value));
    registry_.Close(k);
  }
  std::optional<port::RegValue> GetValue(Root root, const std::string& key, const std::string& name) {
    port::KeyHandle k = registry_.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry_.Query(k, name);
    registry_.Close(k);
    return v;
  }
  std::optional<std::string> GetReg(Root root, const std::string& key, const std::string& name) {
    auto v = GetValue(root, key, name);
    if (!v) return std::nullopt;
    return v->TextOf();
  }
  bool KeyExists(Root root, const std::string& key) {
    port::KeyHandle k = registry_.Open(root, key, port::kKeyReadTest);
    if (k) registry_.Close(k);
    return k != 0;
  }
  void English() {
    system_.SetLocale(1033);
    system_.SetCodePage(1252);
  }

  TfoMain& Start(const std::string& argument = "") {
    main_ = nullptr;
    app_.reset();
    app_ = std::make_unique<ui::Application>(ports_);
    RunNistrel(*app_, argument);
    main_ = dynamic_cast<TfoMain*>(app_->MainForm());
    return *main_;
  }
  void Click(ui::Control& c) {
    app_->Dispatch(&c, [&] { c.UserClick(); });
  }
  // From page 1 to the end of the install, with the boxes as the test set them.
  void Install(std::function<void(TfoMain&)> choose = {}) {
    TfoMain& m = Start();
    Click(*m.buNext);
    if (choose) choose(m);
    dialogs_.ClearCalls();
    Click(*m.buNext);
  }
  std::vector<port::MemoryDialogs::Call> Messages() const { return dialogs_.Calls(); }
  std::string LinkTarget(const std::string& link) {
    auto l = shell_.ReadShellLink(link);
    return l ? l->target : "<no link>";
  }
  std::string Menu(const std::string& name) { return std::string(kPrograms) + "\\トルヴァネ\\" + name + ".LNK"; }

  port::MemoryRegistry registry_;
  port::MemorySystem system_;
  port::MemoryLibrary library_;
  port::MemoryIcons icons_;
  port::MemoryDialogs dialogs_;
  port::MemoryShell shell_;
  port::MemoryFiles files_;
  port::MemoryProfile profile_{files_};
  port::Ports ports_;
  std::unique_ptr<ui::Application> app_;
  TfoMain* main_ = nullptr;
};

// ---------------------------------------------------------------- the list file

TEST_F(Nistrel, AListEndsAtItsFirstMissingOrEmptyFileAndNamesMatchWithoutCase) {
  files_.AddFile("C:\\l\\gap.ini",
                 "[TOLVANE]\r\nja=名\r\nen=Name\r\nfile1=a.exe\r\nFILE2=b.dll\r\nFile4=d.txt\r\n"
                 "[pavrel]\r\nFile1=p.exe\r\nFile2=q.txt\r\nFile3=\r\nFile4=r.txt\r\n");
  nistrel::ListFile list;
  list.Read(profile_, "C:\\l\\gap.ini");
  EXPECT_EQ(list.Section("Tolvane").files, (std::vector<std::string>{"a.exe", "b.dll"})) << "File3 missing";
  EXPECT_EQ(list.Section("PAVREL").files, (std::vector<std::string>{"p.exe", "q.txt"})) << "File3 empty";
  EXPECT_EQ(list.Section("Tolvane").ja, "名");
  EXPECT_EQ(list.Section("Tolvane").en, "Name");
  EXPECT_TRUE(list.Section("Brisken").files.empty());
  EXPECT_TRUE(list.Section("Nowhere").files.empty());
}

TEST(NistrelList, ValuesThatLeadOutsideTheirFolderAreTold) {
  struct Case {
    const char* name;
    bool inside;
  } cases[] = {
      {"tolvane.exe", true},  {"help\\tolvane_ja.chm", true}, {"", true},
      {"..\\evil.exe", false}, {"sub\\..\\..\\x.dll", false},  {"C:\\WINDOWS\\x.dll", false},
      {"d:x.dll", false},      {"\\x.dll", false},             {"/x.dll", false},
      {"\\\\server\\s\\x", false}, {"*.exe", false},          {"a?.txt", false},
      {"file.txt:stream", false},
  };
  for (const Case& c : cases) EXPECT_EQ(nistrel::StaysInside(c.name), c.inside) << c.name;
}

// ---------------------------------------------------------------- the window

TEST_F(Nistrel, TheFirstArgumentChoosesTheMode) {
  struct Case {
    const char* argument;
    bool uninstall;
  } cases[] = {{"/U", true}, {"/u", true}, {"/Uxyz", true}, {"/Uninstall", true},
               {"-U", false}, {"U", false}, {"", false}, {"/", false}};
  for (const Case& c : cases) {
    TfoMain& m = Start(c.argument);
    EXPECT_EQ(m.UninstallMode, c.uninstall) << c.argument;
    EXPECT_EQ(m.buNext->Caption(), c.uninstall ? "アンインストール" : "同意する") << c.argument;
    EXPECT_EQ(m.buCancel->Caption(), c.uninstall ? "中止" : "同意しない") << c.argument;
    EXPECT_FALSE(m.buBack->Enabled());
  }
}

TEST_F(Nistrel, InstallModeShowsTheAgreementInTheSystemsLanguage) {
  TfoMain& m = Start();
  EXPECT_EQ(m.Caption(), "トルヴァネ ver6.01 for WindowsXP");
  EXPECT_EQ(app_->Title(), m.Caption());
  EXPECT_EQ(m.mmReadme->Lines(), (std::vector<std::string>{"使用許諾", "第一条"}));
  EXPECT_EQ(m.mmReadme->EffectiveFont().name, "ＭＳ ゴシック");
  EXPECT_EQ(m.edFolder->Text(), kInstall);
  EXPECT_TRUE(Messages().empty());

  English();
  TfoMain& e = Start();
  EXPECT_EQ(e.Caption(), "Kelvorin ver6.01 for WindowsXP");
  EXPECT_EQ(app_->Title(), "Kelvorin ver6.01 for WindowsXP");
  EXPECT_EQ(e.mmReadme->Lines(), (std::vector<std::string>{"Licence", "First"}));
  EXPECT_EQ(e.mmReadme->EffectiveFont().name, "MS Sans Serif");
  EXPECT_EQ(e.mmReadme->EffectiveFont().charset, ui::kAnsiCharset);
  EXPECT_EQ(e.EffectiveFont().name, "MS Sans Serif");
  EXPECT_EQ(e.buNext->Caption(), "I Agree");
  EXPECT_EQ(e.gbComponent->Caption(), "Select components ...");
  EXPECT_EQ(e.cbDesktop->Caption(), "Create shortcut of Tolvane on desktop");
  EXPECT_EQ(e.buFolder->Caption(), "...");
}

TEST_F(Nistrel, AMissingAgreementShowsTheStandardBoxAndTheWindowStillInstalls) {
  // (A listed agreement that is missing would stop the install as any missing file.)
  std::string list = kList;
  list.erase(list.find("File3=licence_ja.txt\r\n"), std::string("File3=licence_ja.txt\r\n").size());
  files_.AddFile(std::string(kSetup) + "\\nistrel.ini", list);
  files_.RemoveFile(std::string(kSetup) + "\\licence_ja.txt");
  TfoMain& m = Start();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].icon, port::MbIcon::Error);
  EXPECT_NE(Messages()[0].text.find("licence_ja.txt"), std::string::npos);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(m.mmReadme->Text().empty());
  Click(*m.buNext);
  Click(*m.buNext);
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].text, "セットアップが終了しました。");
  EXPECT_TRUE(files_.FileExists(std::string(kInstall) + "\\tolvane.exe"));
}

TEST_F(Nistrel, UninstallNoteHasSixJapaneseOrFiveEnglishLines) {
  TfoMain& m = Start("/U");
  ASSERT_EQ(m.mmReadme->Lines().size(), 6u);
  EXPECT_EQ(m.mmReadme->Lines()[5], "「トルヴァネ」を今すぐアンインストールしますか？");
  EXPECT_EQ(m.mmReadme->Lines()[4], "");
  English();
  TfoMain& e = Start("/u");
  ASSERT_EQ(e.mmReadme->Lines().size(), 5u);
  EXPECT_EQ(e.mmReadme->Lines()[1], "you have to press \"Standard\" button and \"Apply\" button");
  EXPECT_EQ(e.buNext->Caption(), "Uninstall");
  EXPECT_EQ(e.buCancel->Caption(), "Cancel");
}

TEST_F(Nistrel, PagesMoveTheirControlsAndBackKeepsTheChoices) {
  TfoMain& m = Start();
  EXPECT_EQ(m.gbComponent->Left(), 509);
  EXPECT_EQ(m.mmReadme->Left(), 3);
  Click(*m.buNext);
  EXPECT_EQ(m.PageNo, 2);
  EXPECT_TRUE(m.buBack->Enabled());
  EXPECT_EQ(m.buNext->Caption(), "インストール");
  EXPECT_EQ(m.buCancel->Caption(), "中止");
  EXPECT_EQ(m.mmReadme->Left(), 510);
  for (ui::Control* g : {m.gbComponent, m.gbOption, m.gbFolder}) EXPECT_EQ(g->Left(), 20) << g->Name();
  Click(*m.cbPavrel);
  Click(*m.cbDesktop);
  Click(*m.buBack);
  EXPECT_EQ(m.PageNo, 1);
  EXPECT_FALSE(m.buBack->Enabled());
  EXPECT_EQ(m.buNext->Caption(), "同意する");
  EXPECT_EQ(m.buCancel->Caption(), "同意しない");
  EXPECT_EQ(m.mmReadme->Left(), 3);
  for (ui::Control* g : {m.gbComponent, m.gbOption, m.gbFolder}) EXPECT_EQ(g->Left(), 520) << g->Name();
  Click(*m.buNext);
  EXPECT_TRUE(m.cbTolvane->Checked());
  EXPECT_FALSE(m.cbPavrel->Checked());
  EXPECT_FALSE(m.cbDesktop->Checked());
  EXPECT_TRUE(m.cbStartMenu->Checked());
}

TEST_F(Nistrel, CancelEndsWithoutAQuestionOnEveryPageAndMode) {
  for (int page = 1; page <= 3; ++page) {
    TfoMain& m = Start(page == 3 ? "/U" : "");
    if (page == 2) Click(*m.buNext);
    Click(*m.buCancel);
    EXPECT_TRUE(app_->IsTerminated()) << page;
  }
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(KeyExists(Root::HKLM, kEntry));
}

TEST_F(Nistrel, TheFolderButtonTakesTheChosenFolderAsReturnedAndPreselectsIt) {
  TfoMain& m = Start();
  Click(*m.buNext);
  dialogs_.Script(std::optional<std::string>("C:\\Program Files"));
  Click(*m.buFolder);
  EXPECT_EQ(m.edFolder->Text(), "C:\\Program Files") << "nothing is appended";
  dialogs_.Cancel();
  Click(*m.buFolder);
  EXPECT_EQ(m.edFolder->Text(), "C:\\Program Files");
  ASSERT_EQ(dialogs_.Calls().size(), 2u);
  EXPECT_EQ(dialogs_.Calls()[0].initial, "");
  EXPECT_EQ(dialogs_.Calls()[1].initial, "C:\\Program Files");
  EXPECT_EQ(dialogs_.Calls()[1].caption, "") << "no title text";
  Click(*m.buNext);
  EXPECT_TRUE(files_.FileExists("C:\\Program Files\\tolvane.exe"));
  EXPECT_EQ(GetReg(Root::HKLM, kSuite, "InstalledDir"), "C:\\Program Files");
}

TEST_F(Nistrel, TheGatesEndTheProgramWithOneMessageWindowsFirst) {
  port::VersionInfo w2k;
  w2k.major = 5, w2k.minor = 0;
  system_.SetVersion(w2k);
  registry_.DenyWrite(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  Start();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "このソフトはWindowsXPの環境で動作致します。\r\r他の環境には導入できません。");
  EXPECT_EQ(Messages()[0].icon, port::MbIcon::Error);
  EXPECT_TRUE(app_->IsTerminated());

  dialogs_.ClearCalls();
  system_.SetVersion(port::VersionInfo{});
  English();
  Start("/U");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].caption, "Authority Check");
  EXPECT_EQ(Messages()[0].text,
            "This software require Administrator authority.\rPlease contact to your system administrator.\r"
            "Install process will cancel.");
  EXPECT_EQ(Messages()[0].icon, port::MbIcon::Information);
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_TRUE(KeyExists(Root::HKCU, "Software\\Microsoft")) << "nothing was uninstalled";
}

// ---------------------------------------------------------------- install

TEST_F(Nistrel, InstallCopiesTheTickedComponentsLinksThemAndWritesTheEntry) {
  files_.AddFile(std::string(kInstall) + "\\obsolete.dll", "old");
  files_.AddFile(std::string(kInstall) + "\\mine.txt", "the user's");
  for (const char* k : {"SOFTWARE\\tazet\\トルヴァネ ver4.1 for Windows95\\Sub", "SOFTWARE\\tazet\\トルヴァネ ver4.2 for Windows98",
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TOLVANE43"})
    SetReg(Root::HKLM, k, "x", "1");
  SetReg(Root::HKCU, "Software\\Tazet\\Old", "x", "1");
  Install();

  for (const char* f : {"tolvane.exe", "tamrel.exe", "pavrel.exe", "nistrel.exe", "nistrel.ini", "licence_ja.txt"})
    EXPECT_EQ(files_.ReadAll(std::string(kInstall) + "\\" + f), files_.ReadAll(std::string(kSetup) + "\\" + f)) << f;
  EXPECT_FALSE(files_.Exists(std::string(kInstall) + "\\licence_en.txt")) << "the other language's section";
  EXPECT_FALSE(files_.Exists(std::string(kInstall) + "\\obsolete.dll"));
  EXPECT_TRUE(files_.Exists(std::string(kInstall) + "\\mine.txt"));

  EXPECT_EQ(LinkTarget(Menu("トルヴァネ")), std::string(kInstall) + "\\tolvane.exe");
  EXPECT_EQ(LinkTarget(Menu("パヴレル")), std::string(kInstall) + "\\pavrel.exe");
  EXPECT_EQ(LinkTarget(Menu("トルヴァネ セットアップ")), std::string(kInstall) + "\\nistrel.exe");
  EXPECT_EQ(shell_.ReadShellLink(Menu("トルヴァネ"))->workingFolder, std::string(kInstall) + "\\");
  EXPECT_FALSE(files_.Exists(Menu("モルタヴェル"))) << "a component without files gets no shortcut";
  EXPECT_EQ(LinkTarget(std::string(kDesktop) + "\\トルヴァネ.LNK"), std::string(kInstall) + "\\tolvane.exe");

  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "DisplayName"), "トルヴァネ ver6.01 for WindowsXP");
  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "UninstallString"), "\"C:\\Program Files\\Tolvane\\NISTREL.EXE\" /U");
  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "InstallLocation"), kInstall);
  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "Publisher"), "Tazet");
  EXPECT_EQ(GetReg(Root::HKLM, kSuite, "InstalledDir"), kInstall);
  auto restore = GetValue(Root::HKLM, kSuite, "RestorePointCreated");
  ASSERT_TRUE(restore.has_value());
  EXPECT_EQ(*restore, port::RegValue::Dword(0));
  EXPECT_FALSE(KeyExists(Root::HKCU, "Software\\Tazet"));
  EXPECT_FALSE(KeyExists(Root::HKLM, "SOFTWARE\\tazet\\トルヴァネ ver4.1 for Windows95"));
  EXPECT_FALSE(KeyExists(Root::HKLM, "SOFTWARE\\tazet\\トルヴァネ ver4.2 for Windows98"));
  EXPECT_FALSE(KeyExists(Root::HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TOLVANE43"));

  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "セットアップが終了しました。");
  EXPECT_EQ(Messages()[0].caption, "トルヴァネ セットアップ");
  EXPECT_FALSE(main_->Visible());
  EXPECT_TRUE(app_->IsTerminated());

  // A second start shows the folder of the first; a second install converges.
  TfoMain& again = Start();
  EXPECT_EQ(again.edFolder->Text(), kInstall);
  auto before = files_.Entries();
  Click(*again.buNext);
  Click(*again.buNext);
  EXPECT_EQ(files_.Entries(), before);
}

TEST_F(Nistrel, EnglishInstallUsesTheEnglishSectionsNamesAndMenuFolder) {
  English();
  Install();
  std::string menu = std::string(kPrograms) + "\\Kelvorin\\";
  EXPECT_EQ(LinkTarget(menu + "Kelvorin.LNK"), std::string(kInstall) + "\\tolvane.exe");
  EXPECT_EQ(LinkTarget(menu + "Vennick.LNK"), std::string(kInstall) + "\\pavrel.exe");
  EXPECT_EQ(LinkTarget(menu + "Kelvorin Setup.LNK"), std::string(kInstall) + "\\nistrel.exe");
  EXPECT_EQ(LinkTarget(std::string(kDesktop) + "\\Kelvorin.LNK"), std::string(kInstall) + "\\tolvane.exe");
  EXPECT_TRUE(files_.Exists(std::string(kInstall) + "\\licence_en.txt"));
  EXPECT_FALSE(files_.Exists(std::string(kInstall) + "\\licence_ja.txt"));
  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "DisplayName"), "Kelvorin ver6.01 for WindowsXP");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Setup finished completely.");
  EXPECT_EQ(Messages()[0].caption, "Pelrond Grellow Setup");
}

// The list as the distribution ships it: UTF-16LE with its byte-order mark,
// which the profile functions read as Unicode on every code page.
TEST_F(Nistrel, AUnicodeListInstallsOnAJapaneseAndAnEnglishSystem) {
  const std::string unicode = "\xFF\xFE" + port::Utf16Bytes(port::Utf8ToUtf16(kList), true);
  for (bool english : {false, true}) {
    if (english) English();
    PutSetup(kSetup, unicode);
    Install();
    ASSERT_EQ(Messages().size(), 1u) << Messages()[0].text;
    EXPECT_EQ(Messages()[0].icon, port::MbIcon::Information) << Messages()[0].text;
    std::string menu = std::string(kPrograms) + (english ? "\\Kelvorin\\Kelvorin" : "\\トルヴァネ\\トルヴァネ");
    EXPECT_EQ(LinkTarget(menu + ".LNK"), std::string(kInstall) + "\\tolvane.exe") << english;
    EXPECT_EQ(files_.ReadAll(std::string(kInstall) + "\\nistrel.ini"), unicode) << english;
    EXPECT_TRUE(files_.Exists(std::string(kInstall) + (english ? "\\licence_en.txt" : "\\licence_ja.txt")));
  }
}

TEST_F(Nistrel, OnlyTheCleanupWizardTickedGetsNoDesktopShortcutAndLosesTheOldOne) {
  files_.AddFile(std::string(kDesktop) + "\\トルヴァネ.LNK", "an older shortcut");
  Install([](TfoMain& m) {
    for (ui::CheckBox* cb : {m.cbTolvane, m.cbMortavel, m.cbQuenlish}) cb->SetChecked(false);
  });
  EXPECT_TRUE(files_.Exists(Menu("パヴレル")));
  EXPECT_TRUE(files_.Exists(Menu("トルヴァネ セットアップ")));
  EXPECT_FALSE(files_.Exists(Menu("トルヴァネ")));
  EXPECT_FALSE(files_.Exists(std::string(kDesktop) + "\\トルヴァネ.LNK"));
  EXPECT_TRUE(files_.Exists(std::string(kInstall) + "\\pavrel.exe"));
  EXPECT_FALSE(files_.Exists(std::string(kInstall) + "\\tolvane.exe"));
  EXPECT_FALSE(files_.Exists(std::string(kInstall) + "\\tamrel.exe"));
}

TEST_F(Nistrel, WithoutStartMenuShortcutsTheOldOnesAndTheEmptyFolderGo) {
  std::string menu = std::string(kPrograms) + "\\トルヴァネ";
  for (const char* n : {"トルヴァネ", "ブリスケン", "旧版の説明", "トルヴァネ セットアップ"}) files_.AddFile(menu + "\\" + n + ".LNK", "old");
  Install([](TfoMain& m) { m.cbStartMenu->SetChecked(false); });
  EXPECT_FALSE(files_.Exists(menu));
  EXPECT_TRUE(files_.Exists(std::string(kDesktop) + "\\トルヴァネ.LNK"));

  // A folder that holds something of the user's stays, with that alone.
  files_.AddFile(menu + "\\パヴレル.LNK", "old");
  files_.AddFile(menu + "\\user.txt", "the user's");
  Install([](TfoMain& m) { m.cbStartMenu->SetChecked(false); });
  EXPECT_TRUE(files_.Exists(menu + "\\user.txt"));
  EXPECT_FALSE(files_.Exists(menu + "\\パヴレル.LNK"));
}

TEST_F(Nistrel, ReadOnlyCopiesOfAnEarlierInstallAreReplaced) {
  files_.AddFile(std::string(kInstall) + "\\tolvane.exe", "old", port::kAttrReadOnly | port::kAttrArchive);
  files_.AddFile(std::string(kInstall) + "\\nistrel.ini", "old", port::kAttrReadOnly | port::kAttrHidden);
  Install();
  EXPECT_EQ(files_.ReadAll(std::string(kInstall) + "\\tolvane.exe"), "bytes of tolvane.exe");
  EXPECT_EQ(files_.ReadAll(std::string(kInstall) + "\\nistrel.ini"), kList);
  EXPECT_EQ(Messages().size(), 1u) << "only the end message";
}

TEST_F(Nistrel, InstallingFromTheInstallationFolderCopiesNothingOntoItself) {
  PutSetup(kInstall, kList);
  SetReg(Root::HKLM, kSuite, "InstalledDir", "c:\\program files\\TOLVANE\\");
  files_.SetAttributes(std::string(kInstall) + "\\tolvane.exe", port::kAttrReadOnly);
  auto before = files_.Entries();
  Install();
  ASSERT_EQ(Messages().size(), 1u) << Messages()[0].text;
  EXPECT_EQ(Messages()[0].text, "セットアップが終了しました。");
  EXPECT_EQ(files_.Entries().size(), before.size() + 5) << "four shortcuts and the menu folder, no more";
  EXPECT_EQ(files_.Attributes(std::string(kInstall) + "\\tolvane.exe"), port::kAttrReadOnly) << "not touched";
  EXPECT_EQ(GetReg(Root::HKLM, kEntry, "UninstallString"), "\"c:\\program files\\TOLVANE\\\\NISTREL.EXE\" /U");
}

// ---------------------------------------------------------------- refusals

// A refused install: the message names the cause, the window stays on page 2,
// no end message, no uninstall entry.
// The message ends with one full stop of the system's language.
void ExpectRefused(TfoMain& m, const std::vector<port::MemoryDialogs::Call>& calls, const std::string& named,
                   const std::string& context) {
  ASSERT_EQ(calls.size(), 1u) << context;
  EXPECT_EQ(calls[0].icon, port::MbIcon::Error) << context;
  EXPECT_NE(calls[0].text.find(named), std::string::npos) << context << ": " << calls[0].text;
  const std::string& t = calls[0].text;
  if (m.QX.Japanese())
    EXPECT_TRUE(t.size() > 3 && t.compare(t.size() - 3, 3, "。") == 0) << context << ": " << t;
  else
    EXPECT_TRUE(t.size() > 1 && t.back() == '.' && t[t.size() - 2] != '.' && static_cast<unsigned char>(t[0]) < 0x80)
        << context << ": " << t;
  EXPECT_TRUE(m.Visible()) << context;
  EXPECT_EQ(m.PageNo, 2) << context;
}

TEST_F(Nistrel, ListValuesLeadingOutsideTheirFolderStopTheInstallBeforeAnything) {
  struct Case {
    const char* section;
    const char* line;
  } cases[] = {
      {"Tolvane", "File3=..\\..\\WINDOWS\\system32\\evil.dll"},
      {"pavrel", "File2=C:\\WINDOWS\\evil.dll"},
      {"DeleteFile", "File2=\\boot.ini"},
      {"Brisken", "File2=*.*"},
      {"Mortavel", "JA=..\\..\\Startup\\evil"},
  };
  for (const Case& c : cases) {
    std::string list = kList;
    std::string header = std::string("[") + c.section + "]\r\n";
    list.insert(list.find(header) + header.size(), std::string(c.line) + "\r\n");
    files_.AddFile(std::string(kSetup) + "\\nistrel.ini", list);
    files_.AddFile(std::string(kDesktop) + "\\トルヴァネ.LNK", "old");
    auto before = files_.Entries();
    Install();
    ExpectRefused(*main_, Messages(), std::string("[") + c.section + "] " + c.line, c.line);
    EXPECT_EQ(files_.Entries(), before) << c.line;
    EXPECT_FALSE(KeyExists(Root::HKLM, kEntry)) << c.line;
  }
}

struct Failure {
  const char* what;
  std::function<void(port::MemoryFiles&, port::MemoryShell&)> arrange;
  std::string named;
};
const Failure kFailures[] = {
    {"no list file", [](auto& f, auto&) { f.RemoveFile(std::string(kSetup) + "\\nistrel.ini"); }, "nistrel.ini"},
    {"a listed file missing", [](auto& f, auto&) { f.RemoveFile(std::string(kSetup) + "\\tamrel.exe"); },
     "C:\\setup\\tamrel.exe"},
    {"the folder refused", [](auto& f, auto&) { f.DenyWrite("C:\\Program Files"); }, "C:\\Program Files\\Tolvane"},
    {"a copy refused",
     [](auto& f, auto&) {
       f.AddFolder(kInstall);
       f.AddFile(std::string(kInstall) + "\\pavrel.exe", "in use");
       f.DenyWrite(std::string(kInstall) + "\\pavrel.exe");
     },
     "C:\\Program Files\\Tolvane\\pavrel.exe"},
    {"the menu folder refused", [](auto& f, auto&) { f.DenyWrite(kPrograms); }, std::string(kPrograms) + "\\トルヴァネ"},
    {"a link refused", [](auto& f, auto&) { f.DenyWrite(kDesktop); }, std::string(kDesktop) + "\\トルヴァネ.LNK"},
    {"no shell-link object", [](auto&, auto& s) { s.SetLinkObjectMissing(true); }, "シェルリンク"},
};

void PrintTo(const Failure& f, std::ostream* os) { *os << f.what; }

class NistrelFailure : public Nistrel, public ::testing::WithParamInterface<Failure> {};

TEST_P(NistrelFailure, StopsTheInstallNamingWhatFailedBeforeTheEntryIsWritten) {
  const Failure& c = GetParam();
  c.arrange(files_, shell_);
  Install();
  ExpectRefused(*main_, Messages(), c.named, c.what);
  EXPECT_FALSE(KeyExists(Root::HKLM, kEntry));
  EXPECT_FALSE(KeyExists(Root::HKLM, kSuite));
}

INSTANTIATE_TEST_SUITE_P(Failures, NistrelFailure, ::testing::ValuesIn(kFailures), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

// Lists the install cannot finish with: it must stop before its first step,
// with a message that names what is missing, and never end as "finished".
std::string Without(std::string list, const std::string& text) {
  size_t at = list.find(text);
  EXPECT_NE(at, std::string::npos) << text;
  return list.erase(at, text.size());
}
// 3,000 bytes of a program where the list should be.
std::string AProgram() {
  std::string bytes = "MZ\x90";
  bytes.append(3, '\0');
  for (unsigned i = 0; bytes.size() < 3000; ++i) bytes += static_cast<char>((i * 7919u + (i >> 3)) & 0xFF);
  bytes.replace(400, 40, "This program cannot be run in DOS mode.\r\n");
  return bytes;
}

TEST_F(Nistrel, ADamagedListIsRefusedBeforeAnythingIsWritten) {
  const std::string commonJa =
      "[Common_JA]\r\nJA=トルヴァネ セットアップ\r\nFile1=nistrel.exe\r\nFile2=nistrel.ini\r\nFile3=licence_ja.txt\r\n";
  struct Case {
    const char* what;
    std::string list;
    bool english;
    std::string named;
  } cases[] = {
      {"a program", AProgram(), false, "インストーラのセクションがひとつもありません"},
      {"a program, English", AProgram(), true, "holds none of the installer's sections"},
      {"no [Common_JA]", Without(kList, commonJa), false, "必要なセクションがありません: [Common_JA]。"},
      {"no [Common_EN]", Without(kList, "[Common_EN]\r\nEN=Kelvorin Setup\r\n"), true,
       "lacks the sections it needs: [Common_EN]."},
      {"no [pavrel] while it is ticked", Without(kList, "[pavrel]\r\nJA=パヴレル\r\nEN=Vennick\r\nFile1=pavrel.exe\r\n"),
       false, "[pavrel]"},
      {"the installer not copied", Without(kList, "File1=nistrel.exe\r\nFile2=nistrel.ini\r\nFile3=licence_ja.txt\r\n"), false,
       "nistrel.exe、nistrel.ini をインストールしません"},
      {"the list not copied", Without(kList, "File2=nistrel.ini\r\nFile3=licence_en.txt\r\n"), true,
       "does not install nistrel.ini, which the uninstall needs."},
  };
  for (const Case& c : cases) {
    if (c.english) English();
    files_.AddFile(std::string(kSetup) + "\\nistrel.ini", c.list);
    auto before = files_.Entries();
    Install();
    ExpectRefused(*main_, Messages(), c.named, c.what);
    EXPECT_EQ(files_.Entries(), before) << c.what << ": nothing is written";
    EXPECT_FALSE(KeyExists(Root::HKLM, kEntry)) << c.what;
    EXPECT_FALSE(KeyExists(Root::HKLM, kSuite)) << c.what;
    if (c.english) {
      system_.SetLocale(1041);
      system_.SetCodePage(932);
    }
  }
}

TEST_F(Nistrel, AProgramInPlaceOfTheListIsNoUninstall) {
  std::string dir = kInstall;
  PutSetup(dir, AProgram());
  TfoMain& m = Start("/U");
  dialogs_.ClearCalls();
  Click(*m.buNext);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].icon, port::MbIcon::Error);
  EXPECT_NE(Messages()[0].text.find(dir + "\\nistrel.ini"), std::string::npos) << Messages()[0].text;
  EXPECT_TRUE(files_.Exists(dir + "\\tolvane.exe"));
  EXPECT_FALSE(app_->IsTerminated()) << "no success message, no end";
}

TEST_F(Nistrel, AnEmptyInstallFolderCannotBeCreated) {
  TfoMain& m = Start();
  Click(*m.buNext);
  m.edFolder->SetText("");
  dialogs_.ClearCalls();
  Click(*m.buNext);
  ExpectRefused(m, Messages(), "フォルダ", "empty folder");
  EXPECT_FALSE(files_.Exists("C:\\tolvane.exe"));
  EXPECT_FALSE(KeyExists(Root::HKLM, kEntry));
}

TEST_F(Nistrel, NoShortcutIsMadeWithAnEmptyNameOrTarget) {
  std::string list = kList;
  list.replace(list.find("JA=パヴレル\r\n"), std::string("JA=パヴレル\r\n").size(), "");
  files_.AddFile(std::string(kSetup) + "\\nistrel.ini", list);
  Install();
  EXPECT_TRUE(files_.Exists(std::string(kInstall) + "\\pavrel.exe"));
  EXPECT_FALSE(files_.Exists(Menu(""))) << "no \\.LNK";
  EXPECT_TRUE(files_.Exists(Menu("トルヴァネ")));
  for (const auto& e : files_.Entries()) EXPECT_EQ(e.path.find("\\.LNK"), std::string::npos) << e.path;
}

// ---------------------------------------------------------------- uninstall

TEST_F(Nistrel, UninstallFromItsFolderRemovesEveryListedFileShortcutAndTheEntry) {
  // The list file is the first file listed: the uninstall deletes it first and
  // still knows every later section.
  std::string list = kList;
  list.replace(list.find("File1=tolvane.exe"), std::string("File1=tolvane.exe").size(),
               "File1=nistrel.ini\r\nFile2=tolvane.exe");
  list.replace(list.find("File2=tamrel.exe"), std::string("File2=tamrel.exe").size(), "File3=tamrel.exe");
  PutSetup(kSetup, list);
  Install();
  ASSERT_TRUE(files_.Exists(Menu("トルヴァネ")));
  std::string dir = kInstall;
  files_.AddFile(dir + "\\brisken.exe", "a sibling never installed");
  files_.AddFile(dir + "\\readme_old.txt", "left by an old version");
  files_.AddFile(dir + "\\MySettings.ini", "the user's snapshot");

  system_.SetModulePath(dir + "\\NISTREL.EXE");
  TfoMain& m = Start("/U");
  dialogs_.ClearCalls();
  Click(*m.buNext);
  for (const char* f : {"nistrel.ini", "tolvane.exe", "tamrel.exe", "pavrel.exe", "brisken.exe", "readme_old.txt",
                        "nistrel.exe", "licence_ja.txt"})
    EXPECT_FALSE(files_.Exists(dir + "\\" + f)) << f;
  EXPECT_TRUE(files_.Exists(dir + "\\MySettings.ini"));
  EXPECT_TRUE(files_.FolderExists(dir));
  EXPECT_FALSE(files_.Exists(std::string(kPrograms) + "\\トルヴァネ"));
  EXPECT_FALSE(files_.Exists(std::string(kDesktop) + "\\トルヴァネ.LNK"));
  EXPECT_FALSE(KeyExists(Root::HKLM, kEntry));
  EXPECT_EQ(GetReg(Root::HKLM, kSuite, "InstalledDir"), kInstall) << "the suite key stays";
  EXPECT_TRUE(files_.Exists(std::string(kSetup) + "\\tolvane.exe")) << "only the uninstaller's own folder";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "「トルヴァネ」 をアンインストールしました。");
  EXPECT_EQ(Messages()[0].caption, "Uninstall");
  EXPECT_TRUE(app_->IsTerminated());
}

TEST_F(Nistrel, UninstallRefusesAListThatLeadsOutside) {
  files_.AddFile("C:\\WINDOWS\\keep.dll", "system");
  std::string list = kList;
  list.insert(list.find("[Common]\r\n") + 10, "File2=..\\WINDOWS\\keep.dll\r\n");
  files_.AddFile(std::string(kSetup) + "\\nistrel.ini", list);
  TfoMain& m = Start("/U");
  Click(*m.buNext);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].text.find("[Common] File2=..\\WINDOWS\\keep.dll"), std::string::npos);
  EXPECT_TRUE(files_.Exists("C:\\WINDOWS\\keep.dll"));
  EXPECT_TRUE(files_.Exists(std::string(kSetup) + "\\tolvane.exe"));
}

}  // namespace
