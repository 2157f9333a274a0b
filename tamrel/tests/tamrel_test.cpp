// The folder-icon tool on the memory ports: start-up for drives and folders,
// picking, Apply, Return, Close and the refused write.
#include <gtest/gtest.h>

#include <memory>

#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_profile.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "tamrel/command_line.h"
#include "tamrel/main_form.h"
#include "tamrel/program.h"

namespace {

using port::Root;

const char kShell32[] = "C:\\WINDOWS\\SYSTEM32\\shell32.dll";
const char kFixture[] = "C:\\icons\\fixture.dll";
const char kDriveIcons[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\DriveIcons";
const char kShellIcons[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";

class Tamrel : public ::testing::Test {
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
    system_.SetModulePath("C:\\suite\\tamrel.exe");
    SetReg(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\WINDOWS");
    icons_.AddFile(kShell32, 40);
    icons_.AddFile(kFixture, 5);
    files_.AddFolder("C:\\WINDOWS\\SYSTEM32");
    files_.AddFolder("C:\\Data\\Photos");
    files_.AddDrive('D');
  }

  void SetReg(Root root, const std::string& key, const std::string& name, const std::string& value) {
    port::KeyHandle k = registry_.Create(root, key);
    registry_.Set(k, name, port::RegValue::Text(value));
    registry_.Close(k);
  }
  std::optional<std::string> GetReg(Root root, const std::string& key, const std::string& name) {
    port::KeyHandle k = registry_.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry_.Query(k, name);
    registry_.Close(k);
    if (!v) return std::nullopt;
    return v->TextOf();
  }
  std::string DriveKey(char letter) { return std::string(kDriveIcons) + "\\" + letter + "\\DefaultIcon"; }

  // Starts the program as Explorer's verb does: its path and the quoted target.
  TfoMain& Start(const std::string& target) {
    app_.reset();
    app_ = std::make_unique<ui::Application>(ports_);
    RunTamrel(*app_, "\"C:\\suite\\tamrel.exe\" \"" + target + "\"");
    main_ = dynamic_cast<TfoMain*>(app_->MainForm());
    return *main_;
  }
  void Click(ui::Control& c) {
    app_->Dispatch(&c, [&] { c.UserClick(); });
  }
  // Plays the picker: choose file (or keep the listed one) and item, then OK.
  void PickNext(std::optional<std::string> file, int item) {
    app_->ModalScript = [this, file, item](ui::Form& f) {
      auto& picker = dynamic_cast<TfoIconList&>(f);
      if (file) {
        dialogs_.Script(file);
        picker.buOpenFile->UserClick();
      }
      picker.lvIcon->UserClickItem(item);
      picker.buOK->UserClick();
    };
  }
  std::string Shown() { return icons_.Describe(main_->imFolder->GetPicture().Handle()); }
  std::vector<port::MemoryDialogs::Call> Boxes() {
    std::vector<port::MemoryDialogs::Call> boxes;
    for (const auto& c : dialogs_.Calls())
      if (c.kind == port::MemoryDialogs::Kind::MessageBox) boxes.push_back(c);
    return boxes;
  }

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

TEST(CommandLine, SplitsAsExplorerWritesIt) {
  struct Case {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"\"C:\\suite\\tamrel.exe\" \"C:\\\"", {"C:\\suite\\tamrel.exe", "C:\\"}},
      {"C:\\suite\\tamrel.exe \"D:\\My Photos\\Trip 1\"", {"C:\\suite\\tamrel.exe", "D:\\My Photos\\Trip 1"}},
      {"tamrel.exe \"C:\\a\\\" next", {"tamrel.exe", "C:\\a\\", "next"}},
      {"  tamrel.exe   C:\\plain\t", {"tamrel.exe", "C:\\plain"}},
      {"tamrel.exe C:\\Pro\"gram Fi\"les", {"tamrel.exe", "C:\\Program Files"}},
      {"\"tamrel.exe\"", {"tamrel.exe"}},
      {"tamrel.exe \"\"", {"tamrel.exe", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, TheTargetFollowsTheProgramsOwnPathHoweverItIsWritten) {
  const std::string program = "C:\\Program Files\\Tolvane\\TAMREL.EXE";
  struct Case {
    std::string line, target;
  } cases[] = {
      {"\"C:\\Program Files\\Tolvane\\TAMREL.EXE\" \"C:\\My Photos\"", "C:\\My Photos"},
      // A verb that does not quote the program's path with blanks in it.
      {"C:\\Program Files\\Tolvane\\TAMREL.EXE \"C:\\My Photos\"", "C:\\My Photos"},
      {"c:\\program files\\tolvane\\tamrel.exe \"D:\\\"", "D:\\"},
      {"  C:\\Program Files\\Tolvane\\TAMREL.EXE\tC:\\plain", "C:\\plain"},
      {"C:\\PROGRA~1\\Tolvane\\TAMREL.EXE \"C:\\x\"", "C:\\x"},  // another spelling: split whole
      {"TAMREL.EXE \"C:\\x\" more", "C:\\x"},
      {"C:\\Program Files\\Tolvane\\TAMREL.EXE", ""},
      {"\"C:\\Program Files\\Tolvane\\TAMREL.EXE\"", ""},
      {"C:\\Program Files\\Tolvane\\TAMREL.EXEX C:\\x", "Files\\Tolvane\\TAMREL.EXEX"},  // not the path
  };
  for (const Case& c : cases) EXPECT_EQ(TargetArgument(c.line, program), c.target) << c.line;
}

TEST_F(Tamrel, OnlyALetterColonAndBackslashIsADrive) {
  for (const char* target : {"abc", "C:x", "1:\\", "\xE3\x81\x82:\\", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}) {
    TfoMain& m = Start(target);
    EXPECT_FALSE(m.IsDrive()) << target;
    Click(*m.sbOK);
    port::KeyHandle k = registry_.Open(Root::HKLM, kDriveIcons, port::kKeyReadTest);
    if (k) {
      EXPECT_TRUE(registry_.SubKeys(k).empty()) << target;
      registry_.Close(k);
    }
  }
  EXPECT_TRUE(Start("d:\\").IsDrive());
}

TEST_F(Tamrel, WithoutTargetItSaysSoAndTouchesNothing) {
  for (uint32_t locale : {1041u, 1033u}) {
    system_.SetLocale(locale);
    dialogs_.ClearCalls();
    auto before = files_.Entries();
    ui::Application app(ports_);
    EXPECT_EQ(RunTamrel(app, "\"C:\\suite\\tamrel.exe\""), 0);
    EXPECT_EQ(app.MainForm(), nullptr);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, locale == 1041 ? "フォルダまたはドライブを指定して起動してください。"
                                            : "Start this program with a folder or a drive.");
    EXPECT_EQ(boxes[0].icon, port::MbIcon::Information);
    EXPECT_EQ(files_.Entries(), before);
    EXPECT_FALSE(files_.Exists("C:\\Desktop.ini"));
  }
}

TEST_F(Tamrel, WindowInBothLanguages) {
  TfoMain& ja = Start("C:\\Data\\Photos");
  EXPECT_EQ(ja.Caption(), "C:\\Data\\Photos");
  EXPECT_EQ(ja.ClientWidth(), 252);
  EXPECT_EQ(ja.ClientHeight(), 117);
  EXPECT_EQ(ja.sbOK->Caption(), "設定反映");
  EXPECT_EQ(ja.sbClose->Caption(), "　閉じる　");
  EXPECT_EQ(ja.EffectiveFont().name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(ja.imFolder->GetCursor(), ui::Cursor::HandPoint);

  system_.SetLocale(1033);
  TfoMain& en = Start("C:\\Data\\Photos");
  EXPECT_EQ(en.Caption(), "C:\\Data\\Photos");
  EXPECT_EQ(en.gbFolderIcon->Caption(), "Icon");
  EXPECT_EQ(en.sbOK->Caption(), "Apply");
  EXPECT_EQ(en.sbStandard->Caption(), "Return");
  EXPECT_EQ(en.sbClose->Caption(), "Close");
  EXPECT_EQ(en.EffectiveFont().name, "MS Sans Serif");
  EXPECT_EQ(en.EffectiveFont().charset, 0);
}

TEST_F(Tamrel, DriveIconFromAutorunIsUsedAsWrittenAndLeftUnchanged) {
  const std::string autorun = "[AutoRun]\r\nopen=setup.exe\r\nIcon=disk.ico,1\r\n";
  files_.AddFile("D:\\AUTORUN.INF", autorun);
  SetReg(Root::HKLM, DriveKey('D'), "", "C:\\other.ico,2");  // the autorun icon comes first
  TfoMain& m = Start("D:\\");
  EXPECT_EQ(m.IniPath, "D:\\AUTORUN.INF");
  EXPECT_EQ(m.HeldLocation, "disk.ico,1") << "relative to the root, without the drive put in front";
  EXPECT_EQ(Shown(), "");  // no such file here: no icon, but it is still held

  Click(*m.sbOK);
  EXPECT_EQ(GetReg(Root::HKLM, DriveKey('D'), ""), "disk.ico,1");
  EXPECT_EQ(files_.ReadAll("D:\\AUTORUN.INF"), autorun);
  ASSERT_EQ(shell_.Notifications().size(), 1u);
  EXPECT_EQ(shell_.Notifications()[0].event, 0x08000000);
  EXPECT_EQ(shell_.Notifications()[0].flags, 0x1000u);
  EXPECT_TRUE(app_->IsTerminated());
}

TEST_F(Tamrel, DriveFallsBackToItsKeyThenToTheShellIcon) {
  SetReg(Root::HKLM, DriveKey('D'), "", "C:\\mine.ico,4");
  EXPECT_EQ(Start("D:\\").HeldLocation, "C:\\mine.ico,4");
  EXPECT_EQ(Start("C:\\").HeldLocation, std::string(kShell32) + ",8");
  SetReg(Root::HKLM, kShellIcons, "8", "C:\\drive.ico,0");
  EXPECT_EQ(Start("C:\\").HeldLocation, "C:\\drive.ico,0");
  EXPECT_EQ(Shown(), "");
}

TEST_F(Tamrel, FolderIconFromDesktopIni) {
  struct Case {
    const char* ini;  // nullptr: no Desktop.ini
    std::string held;
  } cases[] = {
      {nullptr, std::string(kShell32) + ",3"},
      {"[.ShellClassInfo]\r\nIconFile=C:\\icons\\fixture.dll\r\nIconIndex=4\r\n", "C:\\icons\\fixture.dll,4"},
      {"[.ShellClassInfo]\r\nIconIndex=4\r\n", std::string(kShell32) + ",3"},  // no file: the standard icon
      {"[.ShellClassInfo]\r\nIconFile=C:\\icons\\fixture.dll\r\n", "C:\\icons\\fixture.dll,0"},
      {"[.ShellClassInfo]\r\nIconFile=x.ico\r\nIconIndex=two\r\n", "x.ico,0"},
      {"[.ShellClassInfo]\r\nIconFile=x.ico\r\nIconIndex=-12\r\n", "x.ico,-12"},
      {"[.ShellClassInfo]\r\nIconFile=x.ico\r\nIconIndex=0x10\r\n", "x.ico,16"},
  };
  for (const Case& c : cases) {
    if (c.ini)
      files_.AddFile("C:\\Data\\Photos\\Desktop.ini", c.ini, 0x22);
    else
      files_.RemoveFile("C:\\Data\\Photos\\Desktop.ini");
    TfoMain& m = Start("C:\\Data\\Photos");
    EXPECT_EQ(m.IniPath, "C:\\Data\\Photos\\Desktop.ini");
    EXPECT_EQ(m.HeldLocation, c.held) << (c.ini ? c.ini : "none");
  }
  EXPECT_EQ(Shown(), "");
  files_.AddFile("C:\\Data\\Photos\\Desktop.ini", "[.ShellClassInfo]\r\nIconFile=C:\\icons\\fixture.dll\r\n");
  Start("C:\\Data\\Photos");
  EXPECT_EQ(Shown(), "C:\\icons\\fixture.dll,0");
}

TEST_F(Tamrel, PickThenApplyOnAFolder) {
  SetReg(Root::HKLM, "Software\\Tazet\\Tolvane", "IconDir", "C:\\icons");
  files_.AddFile("C:\\Data\\Photos\\Desktop.ini", "[Other]\r\nkeep=1\r\n");
  TfoMain& m = Start("C:\\Data\\Photos");
  PickNext(kFixture, 2);
  Click(*m.imFolder);
  const auto& open = dialogs_.Calls().front();
  EXPECT_EQ(open.file.initialDir, "C:\\icons");
  EXPECT_EQ(open.caption, "tamrel") << "the picker's caption is the program's name";
  EXPECT_EQ(m.HeldLocation, "C:\\icons\\fixture.dll,2");
  EXPECT_EQ(Shown(), "C:\\icons\\fixture.dll,2");

  Click(*m.sbOK);
  EXPECT_EQ(files_.ReadAll("C:\\Data\\Photos\\Desktop.ini"),
            "[Other]\r\nkeep=1\r\n[.ShellClassInfo]\r\nIconIndex=2\r\nIconFile=C:\\icons\\fixture.dll\r\n");
  EXPECT_EQ(files_.Attributes("C:\\Data\\Photos\\Desktop.ini"), 0x22u);
  EXPECT_EQ(files_.Attributes("C:\\Data\\Photos"), 0x34u) << "system + archive";
  EXPECT_EQ(shell_.Notifications().size(), 1u);
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_EQ(GetReg(Root::HKLM, "Software\\Tazet\\Tolvane", "IconDir"), "C:\\icons") << "IconDir is not stored";
}

TEST_F(Tamrel, AHiddenFolderStaysHidden) {
  files_.AddFolder("C:\\Secret", port::kAttrDirectory | port::kAttrHidden);
  TfoMain& m = Start("C:\\Secret");
  PickNext(kFixture, 1);
  Click(*m.imFolder);
  Click(*m.sbOK);
  EXPECT_EQ(files_.Attributes("C:\\Secret"), 0x36u) << "hidden + system + archive";
}

TEST_F(Tamrel, ReturnThenApplyLeavesTheFolderWithArchiveOnly) {
  files_.AddFolder("C:\\Marked", port::kAttrDirectory | port::kAttrSystem | port::kAttrReadOnly);
  files_.AddFile("C:\\Marked\\Desktop.ini", "[.ShellClassInfo]\r\nIconFile=C:\\icons\\fixture.dll\r\nIconIndex=3\r\n", 0x26);
  TfoMain& m = Start("C:\\Marked");
  Click(*m.sbStandard);
  auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "完全に標準に戻したい場合は、\r各フォルダの直下にある\rDESKTOP.INIを削除して下さい。");
  EXPECT_EQ(boxes[0].caption, "確認");
  EXPECT_EQ(boxes[0].icon, port::MbIcon::None);
  EXPECT_EQ(Shown(), std::string(kShell32) + ",3");
  EXPECT_EQ(profile_.Read("C:\\Marked\\Desktop.ini", ".ShellClassInfo", "IconIndex", ""), "3") << "nothing written yet";

  Click(*m.sbOK);
  EXPECT_EQ(profile_.Read("C:\\Marked\\Desktop.ini", ".ShellClassInfo", "IconFile", ""), kShell32);
  EXPECT_EQ(profile_.Read("C:\\Marked\\Desktop.ini", ".ShellClassInfo", "IconIndex", ""), "3");
  EXPECT_EQ(files_.Attributes("C:\\Marked\\Desktop.ini"), 0x22u);
  EXPECT_EQ(files_.Attributes("C:\\Marked"), 0x30u) << "archive only";
}

TEST_F(Tamrel, ReturnOnADriveInEnglish) {
  system_.SetLocale(1033);
  SetReg(Root::HKLM, DriveKey('D'), "", "C:\\mine.ico,4");
  TfoMain& m = Start("D:\\");
  Click(*m.sbStandard);
  auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "If you want to return standard completely,\rremove AUTORUN.INF on root directory.");
  EXPECT_EQ(boxes[0].caption, "");
  Click(*m.sbOK);
  EXPECT_EQ(GetReg(Root::HKLM, DriveKey('D'), ""), std::string(kShell32) + ",8");
}

TEST_F(Tamrel, PickThenCloseWritesNothing) {
  TfoMain& m = Start("C:\\Data\\Photos");
  auto before = files_.Entries();
  PickNext(kFixture, 3);
  Click(*m.imFolder);
  EXPECT_EQ(m.HeldLocation, "C:\\icons\\fixture.dll,3");
  Click(*m.sbClose);
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_EQ(files_.Entries(), before);
  EXPECT_FALSE(GetReg(Root::HKLM, "Software\\Tazet\\Tolvane", "IconDir").has_value());
  EXPECT_TRUE(shell_.Notifications().empty());
}

TEST_F(Tamrel, CancelledPickChangesNothing) {
  TfoMain& m = Start("C:\\Data\\Photos");
  app_->ModalScript = [](ui::Form& f) { dynamic_cast<TfoIconList&>(f).buCancel->UserClick(); };
  Click(*m.imFolder);
  EXPECT_EQ(m.HeldLocation, std::string(kShell32) + ",3");
  EXPECT_EQ(m.IconDir, "");
}

TEST_F(Tamrel, ARefusedWriteShowsTheErrorAndTheWindowStays) {
  files_.AddFile("C:\\Data\\Photos\\Desktop.ini", "[.ShellClassInfo]\r\nIconIndex=1\r\n");
  files_.DenyWrite("C:\\Data\\Photos");
  TfoMain& m = Start("C:\\Data\\Photos");
  Click(*m.sbOK);
  auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "C:\\Data\\Photos\\Desktop.ini に書き込めません.");
  EXPECT_EQ(boxes[0].caption, "tamrel");
  EXPECT_EQ(boxes[0].icon, port::MbIcon::Error);
  EXPECT_FALSE(app_->IsTerminated());
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(shell_.Notifications().empty());
  EXPECT_EQ(files_.Attributes("C:\\Data\\Photos"), 0x10u);

  registry_.DenyWrite(Root::HKLM, kDriveIcons);
  TfoMain& d = Start("D:\\");
  Click(*d.sbOK);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].icon, port::MbIcon::Error);
  EXPECT_FALSE(app_->IsTerminated());
  EXPECT_TRUE(shell_.Notifications().empty());
}

}  // namespace
