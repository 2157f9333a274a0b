// The three list pages on the memory ports: which uninstall entries, start-up
// programs and New-menu entries are listed on each side, the moves and their
// cancellation, the protected start-up names, the clear button, and the
// pending moves carried out in their order (alone and on the apply road).
#include <algorithm>
#include <map>

#include "tolvane/page_lists.h"
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::MbResult;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kDeleteUninstall = "SOFTWARE\\Tazet\\Tolvane\\DeleteUninstall";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";
constexpr const char* kDeleteRun = "SOFTWARE\\Tazet\\Tolvane\\DeleteRun";

std::string Sub(const std::string& key, const std::string& name) { return key + "\\" + name; }

// A registry that notes the key of every value written, in order: the
// targets of the pending moves show the order of the moves.
class RecordingRegistry : public port::MemoryRegistry {
 public:
  port::KeyHandle Open(Root root, const std::string& path, uint32_t access) override {
    return Note(MemoryRegistry::Open(root, path, access), root, path);
  }
  port::KeyHandle Create(Root root, const std::string& path) override {
    return Note(MemoryRegistry::Create(root, path), root, path);
  }
  bool Set(port::KeyHandle key, const std::string& name, const RegValue& value) override {
    written.push_back(paths_[key]);
    return MemoryRegistry::Set(key, name, value);
  }
  std::vector<std::string> written;

 private:
  port::KeyHandle Note(port::KeyHandle h, Root root, const std::string& path) {
    if (h) paths_[h] = std::string(root == Root::HKCR ? "HKCR\\" : "HKLM\\") + path;
    return h;
  }
  std::map<port::KeyHandle, std::string> paths_;
};

// The three pages on a form of their own, as the main window holds them.
struct ListTool {
  explicit ListTool(uint32_t locale = 1041) {
    system.SetLocale(locale);
    PutText(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\WINDOWS");
  }
  void Start() {
    qx.ReadSystemInfo();
    pages = std::make_unique<ListPages>(tsUninstall, tsRun, tsShellNew, env,
                                        ListPages::WorkLists{work("lbTemp"), work("lbCopyCurrent"),
                                                             work("lbCopyDelete"), work("lbDeltaCurrent"),
                                                             work("lbDeltaDelete"), work("lbDeltaCurrentRun"),
                                                             work("lbDeltaDeleteRun"), work("lbCopyCurrentShellNew"),
                                                             work("lbCopyDeleteShellNew"), work("lbDeltaCurrentShellNew"),
                                                             work("lbDeltaDeleteShellNew")});
    form.Show();
    pages->ReadUninstall();
    pages->ReadRun();
    pages->ReadShellNew();
    applyEnabled = 0;
  }
  ui::ListBox& work(const char* name) { return form.Add<ui::ListBox>(name); }
  // The user selects row i of a list and presses a button.
  void Move(ui::ListBox& list, int row, ui::Button& button) {
    list.UserSelect(row);
    button.UserClick();
  }
  std::vector<std::string> Rows(const ui::ListBox& list) const { return list.Items.All(); }

  // An uninstall entry as a program's installer writes one.
  void Program(const std::string& store, const std::string& sub, const std::string& name) {
    PutText(Root::HKLM, Sub(store, sub), "DisplayName", name);
    PutText(Root::HKLM, Sub(store, sub), "UninstallString", "C:\\" + sub + "\\uninst.exe");
  }
  // An extension of the New menu: its type and the type's display name,
  // and a ShellNew key with a NullFile value at `shellNew` (under HKCR).
  void Extension(const std::string& e, const std::string& type, const std::string& display) {
    PutText(Root::HKCR, e, "", type);
    if (!display.empty()) PutText(Root::HKCR, type, "", display);
  }
  void ShellNew(const std::string& at) { PutText(Root::HKCR, at, "NullFile", ""); }

  void Put(Root root, const std::string& key, const std::string& name, const RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
  }
  void PutText(Root root, const std::string& key, const std::string& name, const std::string& v) {
    Put(root, key, name, RegValue::Text(v));
  }
  std::optional<RegValue> Get(Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  bool KeyExists(Root root, const std::string& key) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (k) registry.Close(k);
    return k != 0;
  }
  std::vector<port::MemoryDialogs::Call> Boxes() const {
    std::vector<port::MemoryDialogs::Call> boxes;
    for (const auto& c : dialogs.Calls())
      if (c.kind == port::MemoryDialogs::Kind::MessageBox) boxes.push_back(c);
    return boxes;
  }

  RecordingRegistry registry;
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
  PageEnv env{app,   qx, files, dialogs, flags, [this] { ++applyEnabled; }, [] { return std::string(); },
              [] { return std::string(); }};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  ui::PageControl& sheets = form.Add<ui::PageControl>("PageControl");
  ui::TabSheet& tsShellNew = sheets.Add<ui::TabSheet>("tsShellNew", {}, "新規作成", "New");
  ui::TabSheet& tsUninstall = sheets.Add<ui::TabSheet>("tsUninstall", {}, "アンインストール", "Uninstall");
  ui::TabSheet& tsRun = sheets.Add<ui::TabSheet>("tsRun", {}, "自動実行", "Autorun");
  std::unique_ptr<ListPages> pages;
};

}  // namespace

TEST(ListPages, UninstallListTakesOnlyEntriesWithCommandAndNameOnEachSide) {
  ListTool t;
  struct Entry {
    const char* sub;
    std::optional<RegValue> command, name;
    bool listed;
  };
  const Entry entries[] = {
      {"Both", RegValue::Text("x /u"), RegValue::Text("Both Program"), true},
      {"Expandable", RegValue::Text("%ProgramFiles%\\x /u", port::kRegExpandSz), RegValue::Text("Expandable"), true},
      {"EmptyName", RegValue::Text("x /u"), RegValue::Text(""), true},  // an empty row
      {"NoCommand", std::nullopt, RegValue::Text("No Command"), false},
      {"NoName", RegValue::Text("x /u"), std::nullopt, false},
      {"NameAsNumber", RegValue::Text("x /u"), RegValue::Dword(1), false},
      {"NameError", RegValue::Text("x /u"), RegValue::Text("error"), false},
      {"CommandError", RegValue::Text("error"), RegValue::Text("Command Error"), false},
      {"NameErrorCase", RegValue::Text("x /u"), RegValue::Text("Error"), true},  // the compare is exact
  };
  for (const char* store : {kUninstall, kDeleteUninstall}) {
    for (const Entry& e : entries) {
      t.PutText(Root::HKLM, Sub(store, e.sub), "Publisher", "someone");
      if (e.command) t.Put(Root::HKLM, Sub(store, e.sub), "UninstallString", *e.command);
      if (e.name) t.Put(Root::HKLM, Sub(store, e.sub), "DisplayName", *e.name);
    }
  }
  t.Start();
  // Enumeration order: sorted by the upper-cased subkey names.
  const std::vector<std::string> keys{"Both", "EmptyName", "Expandable", "NameErrorCase"};
  const std::vector<std::string> names{"Both Program", "", "Expandable", "Error"};
  EXPECT_EQ(t.Rows(t.pages->lbCurrentUninstall), names);
  EXPECT_EQ(t.Rows(t.pages->lists.lbCopyCurrent), keys);
  EXPECT_EQ(t.Rows(t.pages->lbDeleteUninstall), names);
  EXPECT_EQ(t.Rows(t.pages->lists.lbCopyDelete), keys);
  EXPECT_EQ(t.pages->lists.lbTemp.Items.Count(), 0);
  EXPECT_EQ(t.pages->lists.lbDeltaDelete.Items.Count() + t.pages->lists.lbDeltaCurrent.Items.Count(), 0);
}

TEST(ListPages, UninstallMovesGoToTheBottomAndCancelEachOther) {
  ListTool t;
  t.Program(kUninstall, "A", "Same Name");
  t.Program(kUninstall, "B", "Same Name");
  t.Program(kUninstall, "C", "Other");
  t.Program(kDeleteUninstall, "Old", "Old Program");
  t.Start();
  ListPages& p = *t.pages;
  EXPECT_TRUE(p.buDeleteUninstall.Enabled());

  // Nothing selected: nothing moves, yet Apply is enabled and Clear is not.
  p.buCurrentToDelete.UserClick();
  EXPECT_EQ(t.applyEnabled, 1);
  EXPECT_FALSE(p.buDeleteUninstall.Enabled());
  EXPECT_EQ(p.lbCurrentUninstall.Items.Count(), 3);
  EXPECT_EQ(p.lists.lbDeltaDelete.Items.Count(), 0);

  // The second of two equal names is the second subkey.
  t.Move(p.lbCurrentUninstall, 1, p.buCurrentToDelete);
  EXPECT_EQ(t.Rows(p.lbCurrentUninstall), (std::vector<std::string>{"Same Name", "Other"}));
  EXPECT_EQ(t.Rows(p.lists.lbCopyCurrent), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(t.Rows(p.lbDeleteUninstall), (std::vector<std::string>{"Old Program", "Same Name"}));
  EXPECT_EQ(t.Rows(p.lists.lbCopyDelete), (std::vector<std::string>{"Old", "B"}));
  EXPECT_EQ(t.Rows(p.lists.lbDeltaDelete), (std::vector<std::string>{"B"}));
  EXPECT_EQ(p.lbCurrentUninstall.ItemIndex(), -1) << "the moved row is no longer selected";

  // Back again before apply: the pending move is cancelled, nothing recorded.
  t.Move(p.lbDeleteUninstall, 1, p.buDeleteToCurrent);
  EXPECT_EQ(t.Rows(p.lists.lbCopyCurrent), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(t.Rows(p.lbCurrentUninstall), (std::vector<std::string>{"Same Name", "Other", "Same Name"}));
  EXPECT_EQ(p.lists.lbDeltaDelete.Items.Count(), 0);
  EXPECT_EQ(p.lists.lbDeltaCurrent.Items.Count(), 0);
  t.registry.written.clear();
  p.ApplyPendingMoves();
  EXPECT_TRUE(t.registry.written.empty()) << "apply moves no key";
  EXPECT_TRUE(t.KeyExists(Root::HKLM, Sub(kUninstall, "B")));

  // The restore of a removed entry is recorded the other way.
  t.Move(p.lbDeleteUninstall, 0, p.buDeleteToCurrent);
  EXPECT_EQ(t.Rows(p.lists.lbDeltaCurrent), (std::vector<std::string>{"Old"}));
  EXPECT_EQ(t.applyEnabled, 4);
}

TEST(ListPages, ProtectedStartUpProgramsAreRefusedWithTheirNameUnchanged) {
  struct Case {
    uint32_t locale;
    const char* tail;
  };
  for (const Case& c : {Case{1041, "は重要な自動実行プログラムの為、削除はできません"},
                        Case{1033, " is important for Windows. You cannot remove this."}}) {
    SCOPED_TRACE(c.locale);
    ListTool t(c.locale);
    const std::vector<std::string> refused{"internat.exe", "ScanRegistry", "LOADPOWERPROFILE", "TolvaneCleanMRU",
                                           "SystemTray"};
    for (const std::string& name : refused) t.PutText(Root::HKLM, kRun, name, "x.exe");
    t.PutText(Root::HKLM, kRun, "SystemTray2", "x.exe");
    t.Start();
    ListPages& p = *t.pages;
    for (int i = 0; i < static_cast<int>(refused.size()); ++i) {
      t.Move(p.lbCurrentRun, i, p.buCurrentToDeleteForRun);
      ASSERT_EQ(t.Boxes().size(), static_cast<size_t>(i + 1));
      const auto box = t.Boxes().back();
      EXPECT_EQ(box.text, refused[i] + c.tail);
      EXPECT_EQ(box.caption, "");
      EXPECT_EQ(box.icon, port::MbIcon::Information);
      EXPECT_EQ(box.buttons, port::MbButtons::OK);
    }
    EXPECT_EQ(p.lbCurrentRun.Items.Count(), 6) << "nothing refused moved";
    EXPECT_EQ(p.lbDeleteRun.Items.Count(), 0);
    EXPECT_EQ(p.lists.lbDeltaDeleteRun.Items.Count(), 0);
    EXPECT_EQ(t.applyEnabled, 5) << "a refusal enables Apply all the same";

    t.Move(p.lbCurrentRun, 5, p.buCurrentToDeleteForRun);
    EXPECT_EQ(t.Rows(p.lbDeleteRun), (std::vector<std::string>{"SystemTray2"}));
    EXPECT_EQ(t.Rows(p.lists.lbDeltaDeleteRun), (std::vector<std::string>{"SystemTray2"}));
    EXPECT_EQ(t.Boxes().size(), refused.size());
    // Back and forth: the moves cancel; moving back checks no names.
    t.Move(p.lbDeleteRun, 0, p.buDeleteToCurrentForRun);
    EXPECT_EQ(p.lists.lbDeltaDeleteRun.Items.Count() + p.lists.lbDeltaCurrentRun.Items.Count(), 0);
    EXPECT_EQ(p.lbCurrentRun.Items[5], "SystemTray2");
  }
}

TEST(ListPages, StartUpProgramsMoveWithTheirTypeAndDataExactly) {
  ListTool t;
  const RegValue expand = RegValue::Text("%ProgramFiles%\\Tool\\tool.exe /tray", port::kRegExpandSz);
  const RegValue plainPercent = RegValue::Text("%ProgramFiles%\\plain.exe");  // a plain text that looks expandable
  const RegValue multi{port::kRegMultiSz, {'a', 0, 0, 0, 0, 0}};
  t.Put(Root::HKLM, kRun, "Expand", expand);
  t.Put(Root::HKLM, kRun, "PlainPercent", plainPercent);
  t.Put(Root::HKLM, kRun, "Multi", multi);
  t.Put(Root::HKLM, kRun, "Vanishing", RegValue::Text("v.exe"));
  t.Put(Root::HKLM, kDeleteRun, "Removed", expand);
  t.Put(Root::HKLM, kDeleteRun, "VanishingToo", RegValue::Text("w.exe"));
  t.Start();
  ListPages& p = *t.pages;
  EXPECT_EQ(t.Rows(p.lbCurrentRun), (std::vector<std::string>{"Expand", "PlainPercent", "Multi", "Vanishing"}));
  EXPECT_EQ(t.Rows(p.lbDeleteRun), (std::vector<std::string>{"Removed", "VanishingToo"}));
  for (int i = 0; i < 4; ++i) t.Move(p.lbCurrentRun, 0, p.buCurrentToDeleteForRun);
  for (int i = 0; i < 2; ++i) t.Move(p.lbDeleteRun, 0, p.buDeleteToCurrentForRun);
  EXPECT_EQ(t.Rows(p.lbCurrentRun), (std::vector<std::string>{"Removed", "VanishingToo"}));
  // Two programs vanish before apply (another tool removed them).
  auto k = t.registry.Open(Root::HKLM, kRun, port::kKeyAllAccess);
  t.registry.DeleteValue(k, "Vanishing");
  t.registry.Close(k);
  k = t.registry.Open(Root::HKLM, kDeleteRun, port::kKeyAllAccess);
  t.registry.DeleteValue(k, "VanishingToo");
  t.registry.Close(k);
  p.ApplyPendingMoves();

  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "Expand"), expand);
  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "PlainPercent"), plainPercent);
  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "Multi"), multi);
  EXPECT_EQ(t.Get(Root::HKLM, kRun, "Removed"), expand);
  for (const char* gone : {"Expand", "PlainPercent", "Multi"}) EXPECT_FALSE(t.Get(Root::HKLM, kRun, gone)) << gone;
  EXPECT_FALSE(t.Get(Root::HKLM, kDeleteRun, "Removed"));
  EXPECT_FALSE(t.Get(Root::HKLM, kDeleteRun, "Vanishing")) << "a vanished program is not written empty";
  EXPECT_FALSE(t.Get(Root::HKLM, kRun, "VanishingToo")) << "a vanished program is not written empty";
}

TEST(ListPages, NewMenuListsTheDirectAndTheTwoLevelForm) {
  ListTool t;
  t.Extension(".txt", "txtfile", "Text Document");
  t.ShellNew(".txt\\ShellNew");
  t.Extension(".nodisplay", "nodisplayfile", "");
  t.ShellNew(".nodisplay\\ShellNew");  // direct form without a display name: not listed
  t.Extension(".doc", "Word.Document.8", "Word Document");
  t.ShellNew(".doc\\Word.Document.8\\ShellNew");
  t.Extension(".two", "twofile", "");
  t.ShellNew(".two\\twofile\\ShellNew");  // two-level form: listed with an empty name
  t.Extension(".bmp", "Paint.Picture", "Bitmap Image");
  t.PutText(Root::HKCR, ".bmp\\ShellNew", "Other", "x");  // none of the four values
  for (const char* value : {"Data", "FileName", "Command"}) {
    const std::string e = std::string(".v") + value;
    t.Extension(e, e + "file", std::string("By ") + value);
    t.PutText(Root::HKCR, e + "\\ShellNew", value, "x");
  }
  // Shortcuts are never offered: .lnk and every name that begins so, in
  // small letters; in capitals they are taken.
  for (const char* e : {".lnk", ".lnkx", ".LNK2", ".Lnk3"}) {
    t.Extension(e, std::string("lnk") + e, std::string("Shortcut ") + e);
    t.ShellNew(std::string(e) + "\\ShellNew");
  }
  t.Extension("notext", "notextfile", "No Extension");
  t.ShellNew("notext\\ShellNew");
  // Removed side: the values below the backup key, the names from the live key.
  t.ShellNew("Tolvane.Backup\\.txt\\ShellNew");
  t.ShellNew("Tolvane.Backup\\.doc\\Word.Document.8\\ShellNew");
  t.ShellNew("Tolvane.Backup\\.gone\\ShellNew");  // its extension key is gone from HKCR
  t.ShellNew("Tolvane.Backup\\.lnkkept\\ShellNew");  // no shortcut test on this side
  t.Extension(".lnkkept", "lnkkeptfile", "Kept");
  t.ShellNew("Tolvane.Backup\\nodot\\ShellNew");
  t.Start();
  ListPages& p = *t.pages;
  EXPECT_EQ(t.Rows(p.lists.lbCopyCurrentShellNew),
            (std::vector<std::string>{".doc\\Word.Document.8", ".LNK2", ".Lnk3", ".two\\twofile", ".txt", ".vCommand",
                                      ".vData", ".vFileName"}));
  EXPECT_EQ(t.Rows(p.lbCurrentShellNew),
            (std::vector<std::string>{"Word Document", "Shortcut .LNK2", "Shortcut .Lnk3", "", "Text Document",
                                      "By Command", "By Data", "By FileName"}));
  EXPECT_EQ(t.Rows(p.lists.lbCopyDeleteShellNew),
            (std::vector<std::string>{".doc\\Word.Document.8", ".lnkkept", ".txt"}));
  EXPECT_EQ(t.Rows(p.lbDeleteShellNew), (std::vector<std::string>{"Word Document", "Kept", "Text Document"}));
}

TEST(ListPages, NewMenuLooksAtTheFirst499ExtensionsOnEachSide) {
  ListTool t;
  char name[16];
  for (int i = 0; i < 501; ++i) {
    std::snprintf(name, sizeof name, ".x%03d", i);
    t.Extension(name, std::string("type") + name, name);
    t.ShellNew(std::string(name) + "\\ShellNew");
    t.ShellNew("Tolvane.Backup\\" + std::string(name) + "\\ShellNew");
  }
  t.Extension("zzz", "x", "not an extension");  // names without a dot count for nothing
  t.Start();
  for (const ui::ListBox* list : {&t.pages->lists.lbCopyCurrentShellNew, &t.pages->lists.lbCopyDeleteShellNew}) {
    ASSERT_EQ(list->Items.Count(), ListPages::kExtensionLimit);
    EXPECT_EQ(list->Items[0], ".x000");
    EXPECT_EQ(list->Items[498], ".x498");
  }
}

TEST(ListPages, NewMenuEntriesMoveWholeUnderTheBackupKeyAndBack) {
  ListTool t;
  t.Extension(".doc", "Word.Document.8", "Word Document");
  t.PutText(Root::HKCR, ".doc\\Word.Document.8\\ShellNew", "FileName", "winword.doc");
  t.PutText(Root::HKCR, ".doc\\Word.Document.8\\ShellNew\\Extra", "x", "y");
  t.Extension(".txt", "txtfile", "Text Document");
  t.ShellNew(".txt\\ShellNew");
  t.PutText(Root::HKCR, "Tolvane.Backup\\.txt\\ShellNew", "Stale", "old");  // an older backup is kept aside
  t.Start();
  ListPages& p = *t.pages;
  t.Move(p.lbCurrentShellNew, 0, p.buCurrentToDeleteForShellNew);
  t.Move(p.lbCurrentShellNew, 0, p.buCurrentToDeleteForShellNew);
  EXPECT_EQ(t.Rows(p.lists.lbDeltaDeleteShellNew), (std::vector<std::string>{".doc\\Word.Document.8", ".txt"}));
  p.ApplyPendingMoves();
  EXPECT_FALSE(t.KeyExists(Root::HKCR, ".doc\\Word.Document.8\\ShellNew"));
  EXPECT_EQ(t.Get(Root::HKCR, "Tolvane.Backup\\.doc\\Word.Document.8\\ShellNew", "FileName"),
            RegValue::Text("winword.doc"));
  EXPECT_TRUE(t.KeyExists(Root::HKCR, "Tolvane.Backup\\.doc\\Word.Document.8\\ShellNew\\Extra"));
  EXPECT_TRUE(t.Get(Root::HKCR, "Tolvane.Backup\\.txt\\ShellNew", "NullFile"));
  EXPECT_FALSE(t.Get(Root::HKCR, "Tolvane.Backup\\.txt\\ShellNew", "Stale"));
  EXPECT_EQ(t.Get(Root::HKCR, "Tolvane.Backup\\.txt (Tolvane 2)\\ShellNew", "Stale"), RegValue::Text("old"));
  EXPECT_TRUE(t.KeyExists(Root::HKCR, ".txt")) << "only the ShellNew key moves";

  // Brought back at a later run: an empty key stays below the backup key
  // and is not listed at the next start.
  t.pages->lists.lbDeltaDeleteShellNew.Items.Clear();
  t.Move(p.lbDeleteShellNew, 0, p.buDeleteToCurrentForShellNew);
  EXPECT_EQ(t.Rows(p.lists.lbDeltaCurrentShellNew), (std::vector<std::string>{".doc\\Word.Document.8"}));
  p.ApplyPendingMoves();
  EXPECT_EQ(t.Get(Root::HKCR, ".doc\\Word.Document.8\\ShellNew", "FileName"), RegValue::Text("winword.doc"));
  EXPECT_TRUE(t.KeyExists(Root::HKCR, ".doc\\Word.Document.8\\ShellNew\\Extra"));
  EXPECT_FALSE(t.KeyExists(Root::HKCR, "Tolvane.Backup\\.doc\\Word.Document.8\\ShellNew"));
  EXPECT_TRUE(t.KeyExists(Root::HKCR, "Tolvane.Backup\\.doc\\Word.Document.8"));
  for (ui::ListBox* list : {&p.lbCurrentShellNew, &p.lbDeleteShellNew, &p.lists.lbCopyCurrentShellNew,
                            &p.lists.lbCopyDeleteShellNew})
    list->Items.Clear();
  p.ReadShellNew();
  EXPECT_EQ(t.Rows(p.lists.lbCopyDeleteShellNew), (std::vector<std::string>{".txt"})) << "the empty key is not listed";
  EXPECT_EQ(t.Rows(p.lists.lbCopyCurrentShellNew), (std::vector<std::string>{".doc\\Word.Document.8"}));
}

TEST(ListPages, ClearForgetsTheRemovedUninstallEntriesAtOnceOnlyOnYes) {
  for (MbResult answer : {MbResult::No, MbResult::Yes}) {
    ListTool t;
    t.Program(kUninstall, "Live", "Live Program");
    t.Program(kDeleteUninstall, "Gone", "Gone Program");
    t.Start();
    ListPages& p = *t.pages;
    t.dialogs.Script(answer);
    p.buDeleteUninstall.UserClick();
    ASSERT_EQ(t.Boxes().size(), 1u);
    EXPECT_EQ(t.Boxes()[0].text, "削除したアンインストール情報をクリアします。\rクリアすると元に戻せなくなりますが宜しいですか");
    EXPECT_EQ(t.Boxes()[0].caption, "");
    EXPECT_EQ(t.Boxes()[0].icon, port::MbIcon::Question);
    EXPECT_EQ(t.Boxes()[0].buttons, port::MbButtons::YesNo);
    EXPECT_EQ(t.applyEnabled, 0) << "the clear button does not enable Apply";
    if (answer == MbResult::No) {
      EXPECT_EQ(t.Rows(p.lbDeleteUninstall), (std::vector<std::string>{"Gone Program"}));
      EXPECT_TRUE(t.KeyExists(Root::HKLM, Sub(kDeleteUninstall, "Gone")));
      continue;
    }
    EXPECT_EQ(p.lbDeleteUninstall.Items.Count() + p.lists.lbCopyDelete.Items.Count(), 0);
    EXPECT_FALSE(t.KeyExists(Root::HKLM, kDeleteUninstall));
    // A later move out and back works on the right subkey.
    t.Move(p.lbCurrentUninstall, 0, p.buCurrentToDelete);
    EXPECT_FALSE(p.buDeleteUninstall.Enabled());
    p.buDeleteUninstall.UserClick();
    EXPECT_EQ(t.Boxes().size(), 1u) << "no clearing under a pending move";
    p.ApplyPendingMoves();
    EXPECT_TRUE(t.Get(Root::HKLM, Sub(kDeleteUninstall, "Live"), "DisplayName"));
    t.pages->lists.lbDeltaDelete.Items.Clear();
    t.Move(p.lbDeleteUninstall, 0, p.buDeleteToCurrent);
    p.ApplyPendingMoves();
    EXPECT_EQ(t.Get(Root::HKLM, Sub(kUninstall, "Live"), "DisplayName"), RegValue::Text("Live Program"));
    EXPECT_FALSE(t.KeyExists(Root::HKLM, Sub(kDeleteUninstall, "Live")));
  }
  ListTool english(1033);
  english.Start();
  english.dialogs.Script(MbResult::No);
  english.pages->buDeleteUninstall.UserClick();
  ASSERT_EQ(english.Boxes().size(), 1u);
  EXPECT_EQ(english.Boxes()[0].text,
            "If you clear deleted unistall information, you cannot return.\r Clear deleted uninstall information ??");
}

TEST(ListPages, PendingMovesRunInTheirOrder) {
  ListTool t;
  t.Program(kUninstall, "Out", "Out");
  t.Program(kDeleteUninstall, "Back", "Back");
  t.PutText(Root::HKLM, kRun, "RunOut", "a.exe");
  t.PutText(Root::HKLM, kDeleteRun, "RunBack", "b.exe");
  t.Extension(".out", "outfile", "Out File");
  t.ShellNew(".out\\ShellNew");
  t.Extension(".back", "backfile", "Back File");
  t.ShellNew("Tolvane.Backup\\.back\\ShellNew");
  t.Start();
  ListPages& p = *t.pages;
  // Moved in the opposite order to the apply's.
  t.Move(p.lbDeleteShellNew, 0, p.buDeleteToCurrentForShellNew);
  t.Move(p.lbCurrentShellNew, 0, p.buCurrentToDeleteForShellNew);
  t.Move(p.lbDeleteRun, 0, p.buDeleteToCurrentForRun);
  t.Move(p.lbCurrentRun, 0, p.buCurrentToDeleteForRun);
  t.Move(p.lbDeleteUninstall, 0, p.buDeleteToCurrent);
  t.Move(p.lbCurrentUninstall, 0, p.buCurrentToDelete);
  t.registry.written.clear();
  p.ApplyPendingMoves();
  const std::vector<std::string> order{
      "HKLM\\" + Sub(kDeleteUninstall, "Out"), "HKLM\\" + Sub(kUninstall, "Back"),
      "HKLM\\" + std::string(kDeleteRun),      "HKLM\\" + std::string(kRun),
      "HKCR\\Tolvane.Backup\\.out\\ShellNew",  "HKCR\\.back\\ShellNew"};
  std::vector<size_t> at;
  for (const std::string& target : order) {
    auto it = std::find(t.registry.written.begin(), t.registry.written.end(), target);
    ASSERT_NE(it, t.registry.written.end()) << target;
    at.push_back(static_cast<size_t>(it - t.registry.written.begin()));
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
  EXPECT_FALSE(t.flags.needRestart || t.flags.needLogoff || t.flags.iconChanged) << "the moves ask for nothing";
}

// On the main window's roads: the lists are read at start, the moves carried
// out by Apply, and the pending lists emptied after it.
TEST(ListPagesOnTheRoads, ApplyCarriesOutTheMovesAndEmptiesThePendingLists) {
  Machine m;
  m.PutString(Root::HKLM, Sub(kUninstall, "Prog"), "DisplayName", "Prepared Program");
  m.PutString(Root::HKLM, Sub(kUninstall, "Prog"), "UninstallString", "C:\\Prog\\uninst.exe");
  m.PutString(Root::HKLM, kRun, "Tray", "tray.exe");
  m.PutString(Root::HKCR, ".txt", "", "txtfile");
  m.PutString(Root::HKCR, "txtfile", "", "Text Document");
  m.PutString(Root::HKCR, ".txt\\ShellNew", "NullFile", "");
  m.Start();
  TfoMain& w = *m.main;
  auto& current = w.Get<ui::ListBox>("lbCurrentUninstall");
  auto& run = w.Get<ui::ListBox>("lbCurrentRun");
  auto& shellNew = w.Get<ui::ListBox>("lbCurrentShellNew");
  EXPECT_EQ(current.Items, (std::vector<std::string>{"Prepared Program"}));
  EXPECT_EQ(run.Items, (std::vector<std::string>{"Tray"}));
  EXPECT_EQ(shellNew.Items, (std::vector<std::string>{"Text Document"}));
  EXPECT_FALSE(w.sbPlay.Enabled());

  for (auto [list, button] : {std::pair{&current, "buCurrentToDelete"}, std::pair{&run, "buCurrentToDeleteForRun"},
                              std::pair{&shellNew, "buCurrentToDeleteForShellNew"}}) {
    m.app->Dispatch(list, [list] { list->UserSelect(0); });
    m.Click(w.Get<ui::Button>(button));
  }
  EXPECT_TRUE(w.sbPlay.Enabled());
  EXPECT_FALSE(w.Get<ui::Button>("buDeleteUninstall").Enabled());
  m.Click(w.sbPlay);
  EXPECT_EQ(m.Text(Root::HKLM, Sub(kDeleteUninstall, "Prog"), "DisplayName"), "Prepared Program");
  EXPECT_EQ(m.Text(Root::HKLM, Sub(kUninstall, "Prog"), "DisplayName"), "<absent>");
  EXPECT_EQ(m.Text(Root::HKLM, kDeleteRun, "Tray"), "tray.exe");
  EXPECT_EQ(m.Text(Root::HKLM, kRun, "Tray"), "<absent>");
  EXPECT_EQ(m.Text(Root::HKCR, "Tolvane.Backup\\.txt\\ShellNew", "NullFile"), "");
  EXPECT_TRUE(m.Boxes().empty()) << "no restart or log-off question";
  for (const char* pending : {"lbDeltaDelete", "lbDeltaCurrent", "lbDeltaDeleteRun", "lbDeltaCurrentRun",
                              "lbDeltaDeleteShellNew", "lbDeltaCurrentShellNew"})
    EXPECT_EQ(w.Get<ui::ListBox>(pending).Items.Count(), 0) << pending;
  EXPECT_TRUE(w.Get<ui::Button>("buDeleteUninstall").Enabled());
  EXPECT_FALSE(w.sbPlay.Enabled());
  EXPECT_EQ(w.Get<ui::ListBox>("lbDeleteUninstall").Items, (std::vector<std::string>{"Prepared Program"}));

  // A second apply moves nothing again.
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kDeleteRun, "Tray"), "tray.exe");
}

// A program removed with this tool and installed again: the current and the
// removed store hold an entry of one name (likewise a New-menu entry that an
// installer wrote again). Three applies with ordinary clicks: the current
// entry out, then the two back one apply at a time (in either order). After
// every apply each copy is still whole in one of the stores, and the lists
// are what the registry holds.
TEST(ListPages, SameNameEntriesInBothStoresAreNeverLost) {
  struct Kind {
    const char* name;
    Root root;
    std::string current, removed;  // the two stores' parent keys
    std::string entry;             // the key below a store's parent ("X", ".txt\\ShellNew")
    const char* marker;            // the value that tells the copies apart
  };
  const Kind kinds[] = {
      {"uninstall", Root::HKLM, kUninstall, kDeleteUninstall, "X", "UninstallString"},
      {"New menu", Root::HKCR, "", "Tolvane.Backup", ".txt\\ShellNew", "Data"},
  };
  for (const Kind& k : kinds)
    for (bool olderFirst : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (olderFirst ? ", the older copy back first" : ", the newer back first"));
      ListTool t;
      const bool uninstall = k.root == Root::HKLM;
      auto at = [](const std::string& parent, const std::string& key) {
        return parent.empty() ? key : parent + "\\" + key;
      };
      if (uninstall) {
        t.Program(kUninstall, "X", "X 2.0");
        t.Program(kDeleteUninstall, "X", "X 1.0");
      } else {
        t.Extension(".txt", "txtfile", "Text Document");
        t.ShellNew(".txt\\ShellNew");
        t.ShellNew("Tolvane.Backup\\.txt\\ShellNew");
      }
      t.PutText(k.root, at(k.current, k.entry), k.marker, "newer");
      t.PutText(k.root, at(k.removed, k.entry), k.marker, "older");
      t.Start();
      ListPages& p = *t.pages;
      ui::ListBox& current = uninstall ? p.lbCurrentUninstall : p.lbCurrentShellNew;
      ui::ListBox& removed = uninstall ? p.lbDeleteUninstall : p.lbDeleteShellNew;
      ui::ListBox& currentKeys = uninstall ? p.lists.lbCopyCurrent : p.lists.lbCopyCurrentShellNew;
      ui::ListBox& removedKeys = uninstall ? p.lists.lbCopyDelete : p.lists.lbCopyDeleteShellNew;
      ui::Button& out = uninstall ? p.buCurrentToDelete : p.buCurrentToDeleteForShellNew;
      ui::Button& back = uninstall ? p.buDeleteToCurrent : p.buDeleteToCurrentForShellNew;

      // Where the copy with the marker's text lies, whole: the entry's name
      // in a store (and the entry's own values beside the marker).
      auto holders = [&](const char* which) {
        std::vector<std::string> found;
        for (const std::string* parent : {&k.current, &k.removed}) {
          std::vector<std::string> names;
          if (uninstall) {
            auto key = t.registry.Open(k.root, *parent, port::kKeyReadTest);
            if (key) names = t.registry.SubKeys(key), t.registry.Close(key);
          } else {
            names = {".txt"};
            auto key = t.registry.Open(k.root, *parent, port::kKeyReadTest);
            if (key && !parent->empty()) names = t.registry.SubKeys(key);
            if (key) t.registry.Close(key);
          }
          for (const std::string& name : names) {
            const std::string entry = uninstall ? at(*parent, name) : at(*parent, name + "\\ShellNew");
            auto marker = t.Get(k.root, entry, k.marker);
            if (!marker || marker->TextOf() != which) continue;
            const bool whole = uninstall ? t.Get(k.root, entry, "DisplayName") && t.Get(k.root, entry, "UninstallString")
                                         : t.Get(k.root, entry, "NullFile").has_value();
            if (whole) found.push_back((parent == &k.current ? "current:" : "removed:") + name);
          }
        }
        return found;
      };
      // The lists against the registry: every row names an entry of its
      // store, and no entry is listed twice or left out.
      auto listsMatch = [&] {
        SCOPED_TRACE("lists");
        ASSERT_EQ(current.Items.Count(), currentKeys.Items.Count());
        ASSERT_EQ(removed.Items.Count(), removedKeys.Items.Count());
        std::vector<std::string> listed, held;
        for (const std::string& row : currentKeys.Items.All()) listed.push_back("current:" + row);
        for (const std::string& row : removedKeys.Items.All()) listed.push_back("removed:" + row);
        for (const char* which : {"newer", "older"})
          for (const std::string& h : holders(which)) held.push_back(h);
        std::sort(listed.begin(), listed.end());
        std::sort(held.begin(), held.end());
        EXPECT_EQ(listed, held);
      };
      auto apply = [&] {
        t.dialogs.ClearCalls();
        p.ApplyPendingMoves();
        for (ui::ListBox* pending : {&p.lists.lbDeltaDelete, &p.lists.lbDeltaCurrent, &p.lists.lbDeltaDeleteShellNew,
                                     &p.lists.lbDeltaCurrentShellNew})
          pending->Items.Clear();
        EXPECT_EQ(holders("newer").size(), 1u);
        EXPECT_EQ(holders("older").size(), 1u);
        listsMatch();
      };
      listsMatch();

      // 1: the current entry out; the removed list shows two rows of two keys.
      t.Move(current, 0, out);
      EXPECT_EQ(removed.Items.Count(), 2);
      EXPECT_NE(removedKeys.Items[0], removedKeys.Items[1]);
      const std::vector<std::string> renamed = removedKeys.Items.All();
      apply();
      EXPECT_EQ(holders("newer"), (std::vector<std::string>{"removed:" + std::string(uninstall ? "X" : ".txt")}));
      EXPECT_EQ(holders("older"), (std::vector<std::string>{uninstall ? "removed:X (Tolvane 2)" : "removed:.txt (Tolvane 2)"}))
          << "the older copy lies under the name its row took at the move";
      for (const std::string& key : renamed) EXPECT_GE(removedKeys.Items.IndexOf(key), 0) << key;
      ASSERT_EQ(removed.Items.Count(), 2);
      EXPECT_EQ(current.Items.Count(), 0);

      // 2: one back.
      const int olderRow = holders("older")[0] == "removed:" + removedKeys.Items[0] ? 0 : 1;
      t.Move(removed, olderFirst ? olderRow : 1 - olderRow, back);
      EXPECT_TRUE(t.Boxes().empty());
      apply();
      EXPECT_EQ(holders(olderFirst ? "older" : "newer")[0].substr(0, 8), "current:");
      ASSERT_EQ(removed.Items.Count(), 1);

      // 3: the other back: the current store keeps what it holds, and says so.
      t.Move(removed, 0, back);
      ASSERT_EQ(t.Boxes().size(), 1u);
      EXPECT_NE(t.Boxes()[0].text.find("戻せません"), std::string::npos);
      EXPECT_EQ(t.Boxes()[0].icon, port::MbIcon::Warning);
      EXPECT_EQ(removed.Items.Count(), 1) << "the refused row stays";
      apply();
      EXPECT_EQ(current.Items.Count(), 1);
      EXPECT_EQ(removed.Items.Count(), 1);
    }
}

// Swapping in one apply: the current entry out and the older removed copy
// back; and an entry whose key vanished since start moves nothing.
TEST(ListPages, ASwapInOneApplyAndAVanishedEntryKeepEveryCopy) {
  ListTool t;
  t.Program(kUninstall, "X", "X 2.0");
  t.Program(kDeleteUninstall, "X", "X 1.0");
  t.Program(kUninstall, "Gone", "Gone");
  t.Program(kDeleteUninstall, "Gone", "Gone (kept)");
  t.Start();
  ListPages& p = *t.pages;
  auto row = [](ui::ListBox& list, const char* text) { return list.Items.IndexOf(text); };
  t.Move(p.lbCurrentUninstall, row(p.lbCurrentUninstall, "X 2.0"), p.buCurrentToDelete);  // X out
  ASSERT_GE(row(p.lbDeleteUninstall, "X 1.0 (2)"), 0) << "the older copy shows its number at once";
  t.Move(p.lbDeleteUninstall, row(p.lbDeleteUninstall, "X 1.0 (2)"), p.buDeleteToCurrent);  // the older X back
  EXPECT_TRUE(t.Boxes().empty());
  t.Move(p.lbCurrentUninstall, row(p.lbCurrentUninstall, "Gone"), p.buCurrentToDelete);  // its key goes before apply
  t.registry.DeleteKey(Root::HKLM, Sub(kUninstall, "Gone"));
  p.ApplyPendingMoves();
  EXPECT_EQ(t.Get(Root::HKLM, Sub(kUninstall, "X"), "DisplayName"), RegValue::Text("X 1.0"));
  EXPECT_EQ(t.Get(Root::HKLM, Sub(kDeleteUninstall, "X"), "DisplayName"), RegValue::Text("X 2.0"));
  EXPECT_EQ(t.Get(Root::HKLM, Sub(kDeleteUninstall, "Gone"), "DisplayName"), RegValue::Text("Gone (kept)"))
      << "a vanished source replaces nothing";
  EXPECT_EQ(t.Rows(p.lbCurrentUninstall), (std::vector<std::string>{"X 1.0"}));
  std::vector<std::string> removed = t.Rows(p.lbDeleteUninstall);
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, (std::vector<std::string>{"Gone (kept)", "X 2.0"}));
}

// Start-up programs follow the same rule: a command removed earlier and one
// of the same name installed again both survive, and the older one goes
// back under its own name once the name is free.
TEST(ListPages, SameNameStartUpProgramsKeepBothCommands) {
  ListTool t;
  t.PutText(Root::HKLM, kRun, "Tray", "new.exe");
  t.PutText(Root::HKLM, kDeleteRun, "Tray", "old.exe");
  t.Start();
  ListPages& p = *t.pages;
  t.Move(p.lbCurrentRun, 0, p.buCurrentToDeleteForRun);
  EXPECT_EQ(t.Rows(p.lbDeleteRun), (std::vector<std::string>{"Tray (Tolvane 2)", "Tray"}));
  p.ApplyPendingMoves();
  p.lists.lbDeltaDeleteRun.Items.Clear();
  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "Tray"), RegValue::Text("new.exe"));
  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "Tray (Tolvane 2)"), RegValue::Text("old.exe"));
  EXPECT_FALSE(t.Get(Root::HKLM, kRun, "Tray"));
  t.Move(p.lbDeleteRun, p.lbDeleteRun.Items.IndexOf("Tray (Tolvane 2)"), p.buDeleteToCurrentForRun);
  EXPECT_TRUE(t.Boxes().empty());
  p.ApplyPendingMoves();
  EXPECT_EQ(t.Get(Root::HKLM, kRun, "Tray"), RegValue::Text("old.exe"));
  EXPECT_EQ(t.Get(Root::HKLM, kDeleteRun, "Tray"), RegValue::Text("new.exe"));
  EXPECT_EQ(t.Rows(p.lbCurrentRun), (std::vector<std::string>{"Tray"}));
  EXPECT_EQ(t.Rows(p.lbDeleteRun), (std::vector<std::string>{"Tray"}));
}
