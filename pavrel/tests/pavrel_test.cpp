// The cleanup wizard on the memory ports: the drive list, the folder walk,
// every file rule and rejection, exclusions, totals, deletion with its
// questions, the settings, the administrator gate and the error report.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "pavrel/main_form.h"
#include "pavrel/program.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"

namespace {

using port::MbResult;
using port::Root;
using Rows = std::vector<std::string>;

const char kKey[] = "Software\\Tazet\\pavrel";
const char kNt[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kRecent[] = "C:\\Documents and Settings\\admin\\Recent";

// The memory file system, noting every folder listed, in order; a test can
// act while a folder is listed (as a queued click runs inside the search).
class RecordingFiles : public port::MemoryFiles {
 public:
  bool ForEachEntry(const std::string& folder, const std::function<bool(const port::FolderEntry&)>& visit) override {
    listed.push_back(folder);
    if (auto act = std::exchange(whileListing, nullptr)) act();
    return MemoryFiles::ForEachEntry(folder, visit);
  }
  std::vector<std::string> listed;
  std::function<void()> whileListing;  // runs once
};

// Message boxes during which a test can act, as a click that waited in the
// queue is dispatched inside a question's own message loop.
class AskingDialogs : public port::MemoryDialogs {
 public:
  port::MbResult MessageBox(uintptr_t owner, const std::string& text, const std::string& caption, port::MbIcon icon,
                            port::MbButtons buttons) override {
    if (auto act = std::exchange(whileAsking, nullptr)) act();
    return MemoryDialogs::MessageBox(owner, text, caption, icon, buttons);
  }
  std::function<void()> whileAsking;  // runs once
};

class Pavrel : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_.registry = &registry_;
    ports_.system = &system_;
    ports_.library = &library_;
    ports_.icons = &icons_;
    ports_.dialogs = &dialogs_;
    ports_.shell = &shell_;
    ports_.files = &files_;
    system_.SetModulePath("C:\\suite\\pavrel.exe");
    system_.SetLocale(1033);
    SetText(Root::HKLM, kNt, "SystemRoot", "C:\\WINDOWS");
    SetText(Root::HKLM, kNt, "ProductId", "55274-640-0000000-23000");
    SetText(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Recent", kRecent);
    files_.AddFolder("C:\\WINDOWS\\Temp");
    files_.SetVolume('C', port::VolumeInfo{"SYSTEM", "NTFS"});
  }

  void SetText(Root root, const std::string& key, const std::string& name, const std::string& value) {
    port::KeyHandle k = registry_.Create(root, key);
    registry_.Set(k, name, port::RegValue::Text(value));
    registry_.Close(k);
  }
  void SetDword(const std::string& name, uint32_t value) {
    port::KeyHandle k = registry_.Create(Root::HKLM, kKey);
    registry_.Set(k, name, port::RegValue::Dword(value));
    registry_.Close(k);
  }
  std::optional<port::RegValue> Stored(const std::string& name) {
    port::KeyHandle k = registry_.Open(Root::HKLM, kKey, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry_.Query(k, name);
    registry_.Close(k);
    return v;
  }

  TfoMain& Start() {
    app_.reset();
    app_ = std::make_unique<ui::Application>(ports_);
    RunPavrel(*app_);
    main_ = dynamic_cast<TfoMain*>(app_->MainForm());
    return *main_;
  }
  void Click(ui::Control& c) {
    app_->Dispatch(&c, [&] { c.UserClick(); });
  }
  // Starts, ticks only the given rule boxes (none when empty) and searches.
  TfoMain& Search(std::vector<ui::CheckBox* TfoMain::*> boxes = {}) {
    TfoMain& m = main_ ? *main_ : Start();
    for (auto b : {&TfoMain::cbBackupFile, &TfoMain::cbTempFile, &TfoMain::cbRecentlyFile, &TfoMain::cbGidFile,
                   &TfoMain::cbWindowsTextFile, &TfoMain::cbWindowsTempFile, &TfoMain::cbClusterFile,
                   &TfoMain::cbMscreateDir})
      (m.*b)->SetChecked(std::find(boxes.begin(), boxes.end(), b) != boxes.end());
    Click(*m.sbSearch);
    return m;
  }
  // The result rows as "folder\name size".
  std::vector<std::string> Listed() {
    std::vector<std::string> rows;
    for (int i = 0; i < main_->lvFile->Count(); ++i) {
      const ui::ListItem& it = main_->lvFile->Item(i);
      rows.push_back(it.subItems.at(0) + it.caption + " " + it.subItems.at(1) + (it.checked ? "" : " (unticked)"));
    }
    return rows;
  }
  // The paths of the memory tree that are gone since `before`.
  Rows Gone(const std::vector<port::MemoryFiles::Entry>& before) {
    std::vector<port::MemoryFiles::Entry> after = files_.Entries();
    Rows gone;
    for (const auto& e : before)
      if (std::find(after.begin(), after.end(), e) == after.end()) gone.push_back(e.path);
    EXPECT_LE(after.size(), before.size()) << "the deletion made something";
    return gone;
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& c : dialogs_.Calls())
      if (c.kind == port::MemoryDialogs::Kind::MessageBox) texts.push_back(c.text);
    return texts;
  }

  port::MemoryRegistry registry_;
  port::MemorySystem system_;
  port::MemoryLibrary library_;
  port::MemoryIcons icons_;
  AskingDialogs dialogs_;
  port::MemoryShell shell_;
  RecordingFiles files_;
  port::Ports ports_;
  std::unique_ptr<ui::Application> app_;
  TfoMain* main_ = nullptr;
};



TEST_F(Pavrel, FirstStartShowsFixedDrivesAndTheStandardSettings) {
  files_.AddDrive('D');
  files_.SetVolume('D', std::nullopt);
  files_.AddDrive('E');
  files_.SetDriveType('E', port::DriveType::Removable);
  files_.AddDrive('F');
  files_.SetVolume('F', port::VolumeInfo{"データ", "FAT32"});
  TfoMain& m = Start();
  EXPECT_EQ(m.cbDrive->Items, (Rows{"All Local Drive ( C: D: F: )", "C: [ SYSTEM ] NTFS", "D:", "F: [ データ ] FAT32"}));
  EXPECT_EQ(m.cbDrive->ItemIndex(), 0);
  EXPECT_EQ(app_->Title(), "Vennick ver6.01 for Windows");
  EXPECT_EQ(m.tsSetting->Caption(), "Setting");
  EXPECT_EQ(m.sbDeleteFile->Caption(), " Remove");
  EXPECT_EQ(m.lvFile->Columns[2].caption, "Size");
  EXPECT_EQ(m.lvFile->Columns[2].alignment, ui::Alignment::Right);
  EXPECT_FALSE(m.sbDeleteFile->Enabled());
  struct { ui::CheckBox* box; bool ticked; } boxes[] = {
      {m.cbBackupFile, true}, {m.cbTempFile, true}, {m.cbRecentlyFile, true}, {m.cbGidFile, true},
      {m.cbWindowsTextFile, false}, {m.cbWindowsTempFile, true}, {m.cbClusterFile, false},
      {m.cbMscreateDir, false}, {m.cbAutoRun, false}};
  for (auto& b : boxes) EXPECT_EQ(b.box->Checked(), b.ticked) << b.box->Name();
  EXPECT_FALSE(m.cbWindowsTempFile->Enabled()) << "XP keeps its temporary files elsewhere";
  for (ui::Edit* e : m.edFolder) EXPECT_EQ(e->Text(), "");
  EXPECT_EQ(m.CurrentStep, "MainForm Shown");

  system_.SetLocale(1041);
  TfoMain& ja = Start();
  EXPECT_EQ(ja.cbDrive->Items[0], "全てのローカルドライブ ( C: D: F: )");
  EXPECT_EQ(ja.sbSearch->Caption(), "  検索開始");
  EXPECT_EQ(ja.lvFile->Columns[1].caption, "パス名");
}

TEST_F(Pavrel, EachRuleListsItsFilesOnlyWhenTicked) {
  struct Case {
    const char* path;
    ui::CheckBox* TfoMain::*box;
  } cases[] = {
      {"C:\\a\\x.bak", &TfoMain::cbBackupFile},      {"C:\\a\\x.Old", &TfoMain::cbBackupFile},
      {"C:\\a\\x.$$$", &TfoMain::cbBackupFile},      {"C:\\a\\x.$a", &TfoMain::cbBackupFile},
      {"C:\\a\\~x.doc", &TfoMain::cbTempFile},       {"C:\\a\\~", &TfoMain::cbTempFile},
      {"C:\\a\\x.tmp", &TfoMain::cbTempFile},        {"C:\\a\\X.GID", &TfoMain::cbGidFile},
      {"C:\\Documents and Settings\\admin\\Recent\\doc.lnk", &TfoMain::cbRecentlyFile},
      {"C:\\WINDOWS\\setup.txt", &TfoMain::cbWindowsTextFile},
      {"C:\\WINDOWS\\Temp\\anything", &TfoMain::cbWindowsTempFile},
      {"C:\\FILE0000.CHK", &TfoMain::cbClusterFile}, {"C:\\a\\mscreate.dir", &TfoMain::cbMscreateDir},
  };
  // Near misses that no rule takes.
  for (const char* miss : {"C:\\a\\x.bak1", "C:\\a\\bak", "C:\\a\\x.tmp.doc", "C:\\a\\x$.doc", "C:\\a\\a~.doc",
                           "C:\\a\\readme.txt", "C:\\WINDOWS\\sub\\x.txt", "C:\\WINDOWS\\Temp\\sub\\y",
                           "C:\\Documents and Settings\\admin\\Recent\\sub\\old.lnk", "C:\\a\\mscreate.dir2"})
    files_.AddFile(miss, "m");
  for (const Case& c : cases) files_.AddFile(c.path, "12345");
  for (const Case& c : cases) {
    Search({c.box});
    Rows rows = Listed();
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::string(c.path) + " 5"), rows.end()) << c.path;
    for (const std::string& r : rows) {
      bool sameBox = false;
      for (const Case& o : cases) sameBox = sameBox || (r == std::string(o.path) + " 5" && o.box == c.box);
      EXPECT_TRUE(sameBox) << r << " listed with the box for " << c.path;
    }
  }
  Search();
  EXPECT_EQ(Listed(), Rows{}) << "no box ticked lists nothing";
}

TEST_F(Pavrel, RejectedNamesSystemFilesAndNeverEnteredFolders) {
  files_.AddFile("C:\\a\\DATA.BAK", "x");
  files_.AddFile("C:\\a\\desktop.ini", "x");
  files_.AddFile("C:\\a\\edb.chk", "x");
  files_.AddFile("C:\\a\\sys.bak", "x", port::kAttrSystem | port::kAttrArchive);
  files_.AddFile("C:\\a\\hidden.bak", "xx", port::kAttrHidden);
  files_.AddFile("C:\\a\\ro.bak", "xxx", port::kAttrReadOnly);
  files_.AddFile("C:\\WINDOWS\\PCHEALTH\\x.bak", "x");
  files_.AddFile("C:\\WINDOWS\\Downloaded Program Files\\x.bak", "x");
  files_.AddFile("C:\\WINDOWS\\downloaded program files\\sub\\y.bak", "x");
  TfoMain& m = Start();
  m.edExt[0]->SetText("ini");
  Search({&TfoMain::cbBackupFile, &TfoMain::cbClusterFile});
  EXPECT_EQ(Listed(), (Rows{"C:\\a\\hidden.bak 2", "C:\\a\\ro.bak 3"}));
  for (const std::string& d : m.lbDir) EXPECT_EQ(d.find("PCHEALTH"), std::string::npos) << d;
}

TEST_F(Pavrel, ExcludedFoldersAreNeverEntered) {
  files_.AddFile("C:\\Keep\\a.bak", "x");
  files_.AddFile("C:\\Keep\\Below\\b.bak", "x");
  files_.AddFile("C:\\Other\\c.bak", "x");
  files_.AddFile("C:\\WINDOWS\\Temp\\t.log", "x");
  files_.AddFile("C:\\\xC3\x84rger\\d.bak", "x");  // Ärger
  const std::string arger = "C:\\\xC3\x84rger\\d.bak 1";  // sorted as an A
  const Rows keepGone = {arger, "C:\\Other\\c.bak 1", "C:\\WINDOWS\\Temp\\t.log 1"};
  const Rows all = {arger, "C:\\Keep\\a.bak 1", "C:\\Keep\\Below\\b.bak 1", "C:\\Other\\c.bak 1",
                    "C:\\WINDOWS\\Temp\\t.log 1"};
  struct Case {
    std::string folder;
    Rows rows;
  } cases[] = {
      {"c:\\KEEP", keepGone},
      // As the folder browser gives it, or typed another way: the same folder.
      {"C:\\Keep\\", keepGone},
      {"c:/keep/", keepGone},
      {"C:\\\\Keep\\\\", keepGone},
      {"C:\\\xC3\xA4RGER", {"C:\\Keep\\a.bak 1", "C:\\Keep\\Below\\b.bak 1", "C:\\Other\\c.bak 1",
                           "C:\\WINDOWS\\Temp\\t.log 1"}},  // ärger: letter case beyond ASCII
      {"Keep", all},  // relative: no folder in particular
      {"C:\\Kee", all},
      // A drive the user protects is not searched at all.
      {"C:", {}},
      {"c:\\", {}},
      {"C:\\WINDOWS\\Temp", {arger, "C:\\Keep\\a.bak 1", "C:\\Keep\\Below\\b.bak 1", "C:\\Other\\c.bak 1"}},
  };
  TfoMain& m = Start();
  for (const Case& c : cases) {
    for (int slot : {0, 4}) {  // any of the five boxes
      for (ui::Edit* e : m.edFolder) e->SetText("");
      m.edFolder[slot]->SetText(c.folder);
      Search({&TfoMain::cbBackupFile, &TfoMain::cbWindowsTempFile});
      EXPECT_EQ(Listed(), c.rows) << c.folder << " in box " << slot + 1;
    }
  }
}

TEST_F(Pavrel, ExtensionBoxesMatchTheLastExtensionOnly) {
  files_.AddFile("C:\\e\\a.log", "x");
  files_.AddFile("C:\\e\\b.LOG", "x");
  files_.AddFile("C:\\e\\c.log.txt", "x");
  files_.AddFile("\\\\?\\C:\\e\\d.", "x");
  files_.AddFile("C:\\e\\noext", "x");
  files_.AddFile("C:\\e\\f.xyz", "x");
  TfoMain& m = Start();
  m.edExt[0]->SetText("Log");
  m.edExt[9]->SetText("XYZ");
  Search();
  EXPECT_EQ(Listed(), (Rows{"C:\\e\\a.log 1", "C:\\e\\b.LOG 1", "C:\\e\\d. 1", "C:\\e\\f.xyz 1"}))
      << "empty boxes match only a final dot";
  for (int i = 1; i < 9; ++i) m.edExt[i]->SetText("none");
  Search();
  EXPECT_EQ(Listed(), (Rows{"C:\\e\\a.log 1", "C:\\e\\b.LOG 1", "C:\\e\\f.xyz 1"}));
  m.edExt[1]->SetText("");
  Search();
  EXPECT_EQ(Listed(), (Rows{"C:\\e\\a.log 1", "C:\\e\\b.LOG 1", "C:\\e\\d. 1", "C:\\e\\f.xyz 1"}))
      << "an empty box stands for the extension \".\"; a name without one never matches";
}

TEST_F(Pavrel, WalkIsBreadthFirstThenEveryFolderOnceMoreInSortedOrder) {
  files_.AddDrive('D');
  files_.AddFile("C:\\b\\b1\\deep\\z.bak", "x");
  files_.AddFile("C:\\B\\b2.bak", "x");
  files_.AddFile("C:\\a\\a1\\y.bak", "x");
  files_.AddFile("C:\\a\\x2.bak", "x");  // created before x1: listed first
  files_.AddFile("C:\\a\\x1.bak", "x");
  files_.AddFile("C:\\root.bak", "x");
  files_.AddFile("C:\\a b\\s.bak", "x");
  files_.AddFile("D:\\d.bak", "x");
  files_.AddFolder("C:\\WINDOWS\\Temp");
  TfoMain& m = Start();
  files_.listed.clear();
  Search({&TfoMain::cbBackupFile});
  Rows walk(files_.listed.begin(), files_.listed.begin() + 10);
  // Every folder is listed in the exact form, as its name was found.
  auto exact = [](Rows folders) {
    for (std::string& f : folders) f = "\\\\?\\" + f + (f.back() == '\\' ? "" : "\\");
    return folders;
  };
  EXPECT_EQ(walk, exact({"C:\\", "D:\\", "C:\\WINDOWS", "C:\\b", "C:\\a", "C:\\a b", "C:\\WINDOWS\\Temp", "C:\\b\\b1",
                         "C:\\a\\a1", "C:\\b\\b1\\deep"}))
      << "depth by depth, each level in the order found";
  EXPECT_EQ(m.lbDir, (Rows{"C:", "C:\\a", "C:\\a b", "C:\\a\\a1", "C:\\b", "C:\\b\\b1", "C:\\b\\b1\\deep",
                           "C:\\WINDOWS", "C:\\WINDOWS\\Temp", "D:"}))
      << "sorted as the list control sorts: without case, a blank before a backslash";
  Rows pass(files_.listed.begin() + 10, files_.listed.end());
  EXPECT_EQ(pass, exact(m.lbDir)) << "each folder is listed once more for its files";
  EXPECT_EQ(Listed(), (Rows{"C:\\root.bak 1", "C:\\a\\x2.bak 1", "C:\\a\\x1.bak 1", "C:\\a b\\s.bak 1",
                          "C:\\a\\a1\\y.bak 1", "C:\\b\\b2.bak 1", "C:\\b\\b1\\deep\\z.bak 1", "D:\\d.bak 1"}));

  // One drive alone.
  m.cbDrive->SetItemIndex(2);
  Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), Rows{"D:\\d.bak 1"});
}

TEST_F(Pavrel, TotalsAreSixtyFourBit) {
  files_.AddFile("C:\\t\\a.tmp", std::string(1500, 'a'));
  files_.AddFile("C:\\t\\b.tmp", std::string(1500, 'b'));
  TfoMain& m = Search({&TfoMain::cbTempFile});
  EXPECT_EQ(m.laResult->Caption(), "Total:2 files, 2(KB)");
  EXPECT_TRUE(m.sbDeleteFile->Enabled());
  EXPECT_EQ(m.CurrentStep, "Progress Bar Free");
  files_.AddFile("C:\\t\\big.tmp", "");
  files_.SetSize("C:\\t\\big.tmp", 5368709120ull);  // 5 GB: the high part counts
  files_.AddFile("C:\\t\\huge.tmp", "");
  files_.SetSize("C:\\t\\huge.tmp", 3221225472ull);  // 3 GB: no sign bit
  Search({&TfoMain::cbTempFile});
  EXPECT_EQ(Listed(), (Rows{"C:\\t\\a.tmp 1500", "C:\\t\\b.tmp 1500", "C:\\t\\big.tmp 5368709120",
                          "C:\\t\\huge.tmp 3221225472"}));
  EXPECT_EQ(m.laResult->Caption(), "Total:4 files, 8388610(KB)");

  system_.SetLocale(1041);
  main_ = nullptr;
  Start();
  Search({&TfoMain::cbTempFile});
  EXPECT_EQ(main_->laResult->Caption(), "合計：4ファイル，8388610キロバイト");
}

TEST_F(Pavrel, NoFixedDriveFindsNothing) {
  files_.SetDriveType('C', port::DriveType::Remote);
  files_.AddFile("C:\\x.bak", "x");
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(m.cbDrive->Items, Rows{"All Local Drive ( )"});
  EXPECT_TRUE(m.lbDir.empty());
  EXPECT_EQ(m.laResult->Caption(), "Total:0 files, 0(KB)");
  EXPECT_FALSE(m.sbDeleteFile->Enabled());
}

TEST_F(Pavrel, JunctionsAndUnreadableFoldersAreNotWalked) {
  files_.AddDrive('D');
  files_.AddFile("C:\\a\\real.bak", "x");
  files_.AddFile("C:\\skip\\s.bak", "x");
  files_.AddFile("D:\\other.bak", "x");
  files_.AddFile("C:\\locked\\l.bak", "x");
  files_.DenyList("C:\\locked");
  files_.AddJunction("C:\\a\\loop", "C:\\");
  files_.AddJunction("C:\\a\\into skip", "C:\\skip");
  files_.AddJunction("C:\\a\\drive d", "D:\\");
  // The model follows junctions as Windows does.
  Rows through;
  files_.ForEachEntry("C:\\a\\loop\\a\\loop", [&](const port::FolderEntry& e) { through.push_back(e.name); return true; });
  EXPECT_NE(std::find(through.begin(), through.end(), "skip"), through.end());

  TfoMain& m = Start();
  m.cbDrive->SetItemIndex(1);
  m.edFolder[2]->SetText("C:\\skip");
  Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), Rows{"C:\\a\\real.bak 1"});
  EXPECT_EQ(m.lbDir, (Rows{"C:", "C:\\a", "C:\\locked", "C:\\WINDOWS", "C:\\WINDOWS\\Temp"}));
}

TEST_F(Pavrel, DeletionRemovesTheTickedRowsFiles) {
  files_.AddFile("C:\\d\\a.bak", std::string(2048, 'a'));
  files_.AddFile("C:\\d\\keep.bak", "k");
  files_.AddFile("C:\\d\\b.bak", std::string(1024, 'b'));
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  m.lvFile->UserCheckItem(1, false);
  Click(*m.sbDeleteFile);
  EXPECT_FALSE(files_.Exists("C:\\d\\a.bak"));
  EXPECT_FALSE(files_.Exists("C:\\d\\b.bak"));
  EXPECT_TRUE(files_.Exists("C:\\d\\keep.bak"));
  EXPECT_EQ(Listed(), Rows{"C:\\d\\keep.bak 1 (unticked)"});
  EXPECT_EQ(m.laResult->Caption(), "2 Files (3 (KB)) removed.");
  EXPECT_TRUE(m.sbDeleteFile->Enabled());
  EXPECT_TRUE(Messages().empty());

  Click(*m.sbDeleteFile);
  EXPECT_EQ(m.laResult->Caption(), "0 Files (0 (KB)) removed.") << "nothing ticked";
  EXPECT_EQ(Listed(), Rows{"C:\\d\\keep.bak 1 (unticked)"});
  m.lvFile->UserCheckItem(0, true);
  Click(*m.sbDeleteFile);
  EXPECT_FALSE(m.sbDeleteFile->Enabled()) << "the list is empty";
}

TEST_F(Pavrel, ReadOnlyFileIsDeletedOnlyWhenTheUserSaysYes) {
  files_.AddFile("C:\\r\\yes.bak", std::string(4096, 'y'), port::kAttrReadOnly | port::kAttrHidden);
  files_.AddFile("C:\\r\\no.bak", std::string(4096, 'n'), port::kAttrReadOnly);
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  dialogs_.Script(MbResult::Yes);  // yes.bak comes first
  dialogs_.Script(MbResult::No);
  Click(*m.sbDeleteFile);
  ASSERT_EQ(dialogs_.Calls().size(), 2u);
  const auto& q = dialogs_.Calls()[1];
  EXPECT_EQ(q.text, "C:\\r\\no.bak is read only.\rRemove this file forcibly??");
  EXPECT_EQ(q.caption, "Warning");
  EXPECT_EQ(q.icon, port::MbIcon::Warning);
  EXPECT_EQ(q.buttons, port::MbButtons::YesNoDefaultNo);
  EXPECT_TRUE(files_.Exists("C:\\r\\no.bak"));
  EXPECT_EQ(files_.Attributes("C:\\r\\no.bak"), port::kAttrReadOnly);
  EXPECT_FALSE(files_.Exists("C:\\r\\yes.bak"));
  EXPECT_EQ(Listed(), Rows{}) << "a declined row goes from the list all the same";
  EXPECT_EQ(m.laResult->Caption(), "1 Files (4 (KB)) removed.");
}

TEST_F(Pavrel, FailedDeletionsAreReportedAndTheLoopGoesOn) {
  files_.AddFile("C:\\f\\locked.bak", "l");
  files_.AddFile("C:\\f\\gone.bak", "g");
  files_.AddFile("C:\\f\\stuck.bak", "s", port::kAttrReadOnly | port::kAttrHidden);
  files_.AddFile("C:\\f\\fine.bak", std::string(1024, 'f'));
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  files_.Lock("C:\\f\\locked.bak");
  files_.Lock("C:\\f\\stuck.bak");
  files_.RemoveFile("C:\\f\\gone.bak");
  dialogs_.Script(MbResult::OK);
  dialogs_.Script(MbResult::OK);
  dialogs_.Script(MbResult::Yes);
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Messages(), (Rows{"C:\\f\\locked.bak\r\r cannot remove!! \rThis file is using by other software.",
                              "C:\\f\\gone.bak\r\r was not found.",
                              "C:\\f\\stuck.bak is read only.\rRemove this file forcibly??",
                              "C:\\f\\stuck.bak cannot remove!!"}));
  EXPECT_EQ(files_.Attributes("C:\\f\\stuck.bak"), port::kAttrReadOnly | port::kAttrHidden)
      << "a forced deletion that fails gives the file its attributes back";
  EXPECT_FALSE(files_.Exists("C:\\f\\fine.bak"));
  EXPECT_EQ(m.laResult->Caption(), "1 Files (1 (KB)) removed.");
  EXPECT_EQ(m.CurrentStep, "Delete");

  system_.SetLocale(1041);
  main_ = nullptr;
  Start();
  Search({&TfoMain::cbBackupFile});
  dialogs_.ClearCalls();
  dialogs_.Script(MbResult::OK);
  dialogs_.Script(MbResult::No);
  Click(*main_->sbDeleteFile);
  EXPECT_EQ(Messages(), (Rows{"C:\\f\\locked.bak\r\rの削除に失敗しました!!\r他のアプリケーションで使用中の可能性があります。",
                              "C:\\f\\stuck.bak\r\rは読み取り専用属性が付いています。\r強制的に削除しますか ??"}));
  EXPECT_EQ(main_->laResult->Caption(), "0ファイル（0キロバイト）を削除しました");
}

TEST_F(Pavrel, DeletionTakesExactlyTheListedName) {
  files_.AddFile("\\\\?\\C:\\n\\x.", "dot");
  files_.AddFile("C:\\n\\x", "plain");
  files_.AddFile("\\\\?\\C:\\n\\y.bak ", "blank");
  files_.AddFile("C:\\n\\y.bak", "plain");
  files_.AddFile("C:\\n\\lone.bak", "?");
  files_.MarkInexactName("C:\\n\\lone.bak");
  TfoMain& m = Start();
  m.edExt[0]->SetText("bak ");
  Search({});
  EXPECT_EQ(Listed(), (Rows{"C:\\n\\x. 3", "C:\\n\\y.bak  5"})) << "a name no path can give back is not listed";
  Click(*m.sbDeleteFile);
  EXPECT_EQ(files_.ReadAll("C:\\n\\x"), "plain");
  EXPECT_EQ(files_.ReadAll("C:\\n\\y.bak"), "plain");
  EXPECT_FALSE(files_.Exists("\\\\?\\C:\\n\\x."));
  EXPECT_FALSE(files_.Exists("\\\\?\\C:\\n\\y.bak "));
  EXPECT_EQ(m.laResult->Caption(), "2 Files (0 (KB)) removed.");
}

TEST_F(Pavrel, FoldersEndingInADotOrBlankAreSearchedAndCleanedAsThemselves) {
  // "D:\dd.\*" in the usual form lists D:\dd, an excluded folder here.
  files_.AddFile("C:\\dd\\same.bak", "in dd");
  files_.AddFile("C:\\dd\\other.bak", "in dd");
  files_.AddFile("\\\\?\\C:\\dd.\\same.bak", "system", port::kAttrSystem);
  files_.AddFile("\\\\?\\C:\\dd.\\own.bak", "own");
  files_.AddFile("\\\\?\\C:\\sp \\x.bak", "blank");
  files_.AddFile("C:\\sp\\y.bak", "plain");
  TfoMain& m = Start();
  m.edFolder[0]->SetText("C:\\dd");
  m.edFolder[1]->SetText("C:\\sp");
  Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), (Rows{"C:\\dd.\\own.bak 3", "C:\\sp \\x.bak 5"}));
  auto before = files_.Entries();
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Gone(before), (Rows{"C:\\dd.\\own.bak", "C:\\sp \\x.bak"}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(Pavrel, AFolderSwappedForAJunctionAfterTheSearchKeepsTheFilesItLeadsTo) {
  files_.AddDrive('E');
  files_.SetDriveType('E', port::DriveType::Removable);
  files_.AddFile("E:\\out\\x.bak", "outside");
  files_.AddFile("E:\\out\\deeper\\y.bak", "outside");
  files_.AddFile("C:\\d\\sw\\x.bak", "x");
  files_.AddFile("C:\\d\\sw\\deeper\\y.bak", "y");
  files_.AddFile("C:\\d\\z.bak", "z");
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), (Rows{"C:\\d\\z.bak 1", "C:\\d\\sw\\x.bak 1", "C:\\d\\sw\\deeper\\y.bak 1"}));
  for (const char* p : {"C:\\d\\sw\\deeper\\y.bak", "C:\\d\\sw\\x.bak"}) ASSERT_TRUE(files_.RemoveFile(p));
  ASSERT_TRUE(files_.RemoveFolder("C:\\d\\sw\\deeper"));
  ASSERT_TRUE(files_.RemoveFolder("C:\\d\\sw"));
  files_.AddJunction("C:\\d\\sw", "E:\\out");
  ASSERT_EQ(files_.ReadAll("C:\\d\\sw\\x.bak"), "outside") << "the model follows the junction";
  auto before = files_.Entries();
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Gone(before), Rows{"C:\\d\\z.bak"});
  const std::string why = "\r\r was not removed: a folder on its path is no longer the folder that was searched.";
  EXPECT_EQ(Messages(), (Rows{"C:\\d\\sw\\x.bak" + why, "C:\\d\\sw\\deeper\\y.bak" + why}));
  EXPECT_EQ(Listed(), Rows{}) << "refused rows go from the list as other ticked rows do";
  EXPECT_EQ(m.laResult->Caption(), "1 Files (0 (KB)) removed.");
}

TEST_F(Pavrel, AVanishedFileOrFolderIsNotTakenForItsCaseTwin) {
  files_.AddFile("C:\\v\\V.BAK", "listed");
  files_.AddFile("C:\\v\\Sub\\z.bak", "listed");
  TfoMain& m = Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), (Rows{"C:\\v\\V.BAK 6", "C:\\v\\Sub\\z.bak 6"}));
  // Gone since, and a name that differs only in case made in its place.
  ASSERT_TRUE(files_.RemoveFile("C:\\v\\V.BAK"));
  files_.AddFile("C:\\v\\v.bak", "twin");
  ASSERT_TRUE(files_.RemoveFile("C:\\v\\Sub\\z.bak"));
  ASSERT_TRUE(files_.RemoveFolder("C:\\v\\Sub"));
  files_.AddFile("C:\\v\\SUB\\z.bak", "twin");
  ASSERT_EQ(files_.ReadAll("\\\\?\\C:\\v\\V.BAK"), "twin") << "a lookup without case reaches the twin";
  auto before = files_.Entries();
  dialogs_.Script(MbResult::OK);
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Gone(before), Rows{});
  EXPECT_EQ(Messages(), (Rows{"C:\\v\\V.BAK\r\r was not found.", "C:\\v\\Sub\\z.bak\r\r was not found."}));
  EXPECT_EQ(m.laResult->Caption(), "0 Files (0 (KB)) removed.");
}

TEST_F(Pavrel, NamesAPathCannotGiveBackOrThatTwoFilesShareAreNotListed) {
  files_.AddFile("C:\\keep\\important.bak", "protected");
  files_.AddFile("C:\\odd1.bak", "x");
  files_.SetListedName("C:\\odd1.bak", "keep\\important.bak");
  files_.AddFile("C:\\oddDir\\inside.bak", "x");
  files_.SetListedName("C:\\oddDir", "keep\\sub");
  int n = 0;
  for (const char* shown : {"a:b.bak", "w*.bak", "q?.bak", "l<.bak", "g>.bak", "d\".bak", "p|.bak", "s/.bak", "t\t.bak"}) {
    std::string path = "C:\\odd\\n" + std::to_string(++n) + ".bak";
    files_.AddFile(path, "x");
    files_.SetListedName(path, shown);
  }
  // Two names the system could not decode, shown as the same text.
  files_.AddFile("C:\\sj\\a1.bak", "ticked");
  files_.AddFile("C:\\sj\\a2.bak", "unticked");
  files_.SetListedName("C:\\sj\\a1.bak", "\xEF\xBF\xBD.bak");
  files_.SetListedName("C:\\sj\\a2.bak", "\xEF\xBF\xBD.bak");
  files_.AddFile("C:\\sj\\fine.bak", "x");
  // Two names that differ only in case, as a disk that Wine maps holds them.
  files_.AddFile("C:\\ct\\V.BAK", "x");
  files_.AddCaseTwin("C:\\ct\\v.bak", "x");
  TfoMain& m = Start();
  m.edFolder[0]->SetText("C:\\keep");
  Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(Listed(), Rows{"C:\\sj\\fine.bak 1"});
  auto before = files_.Entries();
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Gone(before), Rows{"C:\\sj\\fine.bak"});
}

TEST_F(Pavrel, AQueuedClickDoesNotRunInsideTheDeletionOrTheSearch) {
  files_.AddFile("C:\\q\\a.bak", std::string(1024, 'a'), port::kAttrReadOnly);
  files_.AddFile("C:\\q\\b.bak", std::string(1024, 'b'));
  files_.AddFile("C:\\q\\c.bak", "c");
  TfoMain& m = Start();
  int listings = 0;
  files_.whileListing = [&] {
    EXPECT_FALSE(m.sbSearch->Enabled());
    EXPECT_FALSE(m.sbDeleteFile->Enabled());
    listings = -1;
    Click(*m.sbSearch);
    Click(*m.sbDeleteFile);
  };
  files_.listed.clear();
  Search({&TfoMain::cbBackupFile});
  listings = static_cast<int>(files_.listed.size());
  files_.listed.clear();
  Search({&TfoMain::cbBackupFile});
  EXPECT_EQ(listings, static_cast<int>(files_.listed.size())) << "one search's listings, no second search inside";
  EXPECT_TRUE(m.sbSearch->Enabled());

  m.lvFile->UserCheckItem(2, false);
  dialogs_.whileAsking = [&] {  // the read-only question of a.bak
    EXPECT_FALSE(m.sbDeleteFile->Enabled());
    Click(*m.sbDeleteFile);
    Click(*m.sbSearch);
  };
  dialogs_.Script(MbResult::Yes);
  auto before = files_.Entries();
  Click(*m.sbDeleteFile);
  EXPECT_EQ(Gone(before), (Rows{"C:\\q\\a.bak", "C:\\q\\b.bak"}));
  EXPECT_EQ(Messages(), Rows{"C:\\q\\a.bak is read only.\rRemove this file forcibly??"});
  EXPECT_EQ(Listed(), Rows{"C:\\q\\c.bak 1 (unticked)"});
  EXPECT_EQ(m.laResult->Caption(), "2 Files (2 (KB)) removed.");
  EXPECT_TRUE(m.sbDeleteFile->Enabled());
  EXPECT_TRUE(m.sbSearch->Enabled());
  Click(*m.sbClose);
  EXPECT_EQ(Stored("BackupFile"), port::RegValue::Dword(1)) << "the settings are saved as usual";
}

TEST_F(Pavrel, SettingsRoundTripThroughTheRegistry) {
  files_.AddDrive('D');
  TfoMain& m = Start();
  m.cbBackupFile->SetChecked(false);
  m.cbClusterFile->SetChecked(true);
  m.cbAutoRun->SetChecked(false);
  m.edFolder[1]->SetText("C:\\Keep");
  m.edFolder[4]->SetText("%TEMP%\\x");
  m.edExt[9]->SetText("log");
  m.cbDrive->SetItemIndex(2);
  Click(*m.sbClose);
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_EQ(Stored("BackupFile"), port::RegValue::Dword(0));
  EXPECT_EQ(Stored("ClusterFile"), port::RegValue::Dword(1));
  EXPECT_EQ(Stored("Mscreate.Dir"), port::RegValue::Dword(0));
  EXPECT_EQ(Stored("AutoRun"), port::RegValue::Dword(0));
  EXPECT_EQ(Stored("Folder2"), port::RegValue::Text("C:\\Keep"));
  EXPECT_EQ(Stored("Folder5"), port::RegValue::Text("%TEMP%\\x", port::kRegExpandSz));
  EXPECT_EQ(Stored("Folder1"), port::RegValue::Text(""));
  EXPECT_EQ(Stored("ExtA"), port::RegValue::Text("log"));
  EXPECT_EQ(Stored("DefaultDriveIndex"), port::RegValue::Dword(2));

  TfoMain& again = Start();
  EXPECT_FALSE(again.cbBackupFile->Checked());
  EXPECT_TRUE(again.cbClusterFile->Checked());
  EXPECT_EQ(again.edFolder[4]->Text(), "%TEMP%\\x");
  EXPECT_EQ(again.edExt[9]->Text(), "log");
  EXPECT_EQ(again.cbDrive->ItemIndex(), 2);
  again.Close();  // the window's close box saves as well
  EXPECT_EQ(Stored("DefaultDriveIndex"), port::RegValue::Dword(2));

  // A value of another type reads as absent; a drive gone since leaves the first entry.
  port::KeyHandle k = registry_.Create(Root::HKLM, kKey);
  registry_.Set(k, "TempFile", port::RegValue::Text("0"));
  registry_.Close(k);
  for (uint32_t stored : {2u, 7u, 0xFFFFFFFFu}) {
    SetDword("DefaultDriveIndex", stored);
    files_.SetDriveType('D', port::DriveType::Remote);
    SetDword("BackupFile", 1);
    TfoMain& gone = Start();
    EXPECT_TRUE(gone.cbTempFile->Checked());
    EXPECT_EQ(gone.cbDrive->ItemIndex(), 0) << stored;
    files_.AddFile("C:\\g\\x.bak", "x");
    Click(*gone.sbSearch);
    EXPECT_EQ(Listed(), Rows{"C:\\g\\x.bak 1"});
  }
}

TEST_F(Pavrel, AutomaticSearchRunsBeforeTheAdministratorGate) {
  files_.AddFile("C:\\w\\x.bak", "x");
  SetDword("AutoRun", 1);
  TfoMain& m = Start();
  EXPECT_EQ(Listed(), Rows{"C:\\w\\x.bak 1"});
  EXPECT_FALSE(app_->IsTerminated());

  port::KeyHandle k = registry_.Create(Root::HKLM, kNt);
  registry_.DeleteValue(k, "ProductId");
  registry_.Close(k);
  files_.listed.clear();
  Start();
  EXPECT_FALSE(files_.listed.empty()) << "the automatic search ran first";
  EXPECT_EQ(Messages().back(), "This software require Administrator authority.\r\r"
                               "If you cannot understand, contact your administrator.");
  EXPECT_TRUE(app_->IsTerminated());
  EXPECT_EQ(Stored("BackupFile"), std::nullopt) << "an end at the gate writes nothing";
  (void)m;
}

TEST_F(Pavrel, ErrorReportNamesTheStepAndTheDrives) {
  files_.AddDrive('D');
  TfoMain& m = Start();
  registry_.DenyWrite(Root::HKLM, kKey);
  app_->Dispatch(&m, [&] { m.Close(); });
  ASSERT_FALSE(Messages().empty());
  const auto& report = dialogs_.Calls().back();
  EXPECT_EQ(report.caption, "Exception Error");
  EXPECT_EQ(report.icon, port::MbIcon::Error);
  std::string tail = "\r\rStep : MainForm Shown\r\r[Drive Info] Count=3\rAll Local Drive ( C: D: )\rC: [ SYSTEM ] NTFS\rD: [  ] NTFS"
                     "\r\rSorry, my program detected error.\rPlease inform me about above error message with E-mail.";
  ASSERT_GT(report.text.size(), tail.size());
  EXPECT_EQ(report.text.substr(report.text.size() - tail.size()), tail);
  EXPECT_NE(report.text.find("pavrel"), std::string::npos) << "the registry error names the key: " << report.text;
  EXPECT_TRUE(app_->IsTerminated());
}

TEST_F(Pavrel, HelpAndFolderButtons) {
  library_.AddLibrary("hhctrl.ocx", {"HtmlHelpA"});
  files_.AddFolder("C:\\Picked");
  TfoMain& m = Start();
  Click(*m.sbHelp);
  ASSERT_EQ(library_.Calls().size(), 1u);
  EXPECT_EQ(library_.Calls()[0].path, "C:\\suite\\tolvane_en.chm::/pavrel.htm>main");
  EXPECT_EQ(m.CurrentStep, "Show Help");

  dialogs_.Script(std::optional<std::string>("C:\\Picked"));
  Click(*m.buFolder[2]);
  EXPECT_EQ(m.edFolder[2]->Text(), "C:\\Picked");
  dialogs_.Cancel();
  Click(*m.buFolder[0]);
  EXPECT_EQ(m.edFolder[0]->Text(), "") << "cancel changes nothing";
  const auto& calls = dialogs_.Calls();
  EXPECT_EQ(calls[0].initial, "");
  EXPECT_EQ(calls[1].initial, "C:\\Picked") << "the folder picked last is preselected";
  files_.RemoveFolder("C:\\Picked");
  dialogs_.Cancel();
  Click(*m.buFolder[4]);
  EXPECT_EQ(dialogs_.Calls()[2].initial, "") << "but only while it exists";
}

}  // namespace
