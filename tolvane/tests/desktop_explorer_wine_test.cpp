// The desktop and Explorer pages on the real registry and file system (Windows
// tree, under Wine): an apply writes what the memory ports say it writes, a
// fresh start reads it back, and the standard values applied take it away.
// The desktop folder is pointed at a scratch folder while the system facts
// are read, so that the junction folders are made inside the test's own tree
// (the prefix's own desktop may lead outside it).
#include <gtest/gtest.h>

#include "common/qxcommon.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "tolvane/page_desktop.h"
#include "tolvane/page_explorer.h"
#include "ui/application.h"
#include "ui/form.h"

using namespace tolvane;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kScratch = "C:\\suite\\scratch-catalogue";
constexpr const char* kDesktop = "C:\\suite\\scratch-catalogue\\Desktop";
constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kMyComputerRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\mycomputer\\NameSpace\\"
    "{645FF040-5081-101B-9F08-00AA002F954E}";

struct RealPorts {
  port::Win32Registry registry;
  port::Win32System system;
  port::Win32Library library;
  port::Win32Icons icons;
  port::Win32Files files;
  port::MemoryDialogs dialogs;  // no dialog is shown by these tests
  port::Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
                    .dialogs = &dialogs};

  std::optional<RegValue> Get(Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  void Set(Root root, const std::string& key, const std::string& name, const std::optional<RegValue>& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    if (v)
      registry.Set(k, name, *v);
    else
      registry.DeleteValue(k, name);
    registry.Close(k);
  }
};

// The two pages as one start of the program would build and read them.
struct Start {
  explicit Start(RealPorts& p) : p(p) {
    auto saved = p.Get(Root::HKCU, kShellFolders, "Desktop");
    p.Set(Root::HKCU, kShellFolders, "Desktop", RegValue::Text(kDesktop));
    qx.ReadSystemInfo();
    p.Set(Root::HKCU, kShellFolders, "Desktop", saved);
    desktop = std::make_unique<DesktopPage>(tsDesktop, catalogue, env);
    explorer = std::make_unique<ExplorerPage>(tsExplorer, catalogue, env);
    RowContext ctx = env.Context();
    for (const Order* o : {&desktop->read, &explorer->readExplorer, &explorer->readRecycleBin, &explorer->readToolbar})
      ReadRows(*o, ctx);
  }
  void Apply() {
    RowContext ctx = env.Context();
    for (const Order* o :
         {&desktop->apply, &explorer->applyExplorer, &explorer->applyRecycleBin, &explorer->applyToolbar})
      WriteRows(*o, ctx);
  }

  RealPorts& p;
  ui::Application app{p.ports};
  TQXCommon qx{p.ports};
  ChangeFlags flags;
  PageEnv env{app, qx, p.files, p.dialogs, flags, [] {}, [] { return std::string(kScratch); },
              [this] { return qx.SysDir() + "\\shell32.dll"; }};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  ui::PageControl& pages = form.Add<ui::PageControl>("PageControl");
  ui::TabSheet& tsDesktop = pages.Add<ui::TabSheet>("tsDesktop");
  ui::TabSheet& tsExplorer = pages.Add<ui::TabSheet>("tsExplorer");
  Catalogue catalogue;
  std::unique_ptr<DesktopPage> desktop;
  std::unique_ptr<ExplorerPage> explorer;
};

}  // namespace

TEST(DesktopExplorerOnWine, ApplyWritesWhatTheNextStartReadsAndStandardTakesItAway) {
  RealPorts p;
  p.files.MakeFolder(kScratch);
  p.files.MakeFolder(kDesktop);
  ASSERT_TRUE(p.files.FolderExists(kDesktop));
  {
    Start s(p);
    ASSERT_TRUE(s.qx.Japanese()) << "runs on the Japanese prefix";
    s.desktop->cbDesktopControlPanel.SetChecked(true);
    s.desktop->cbNoActiveDesktop.SetChecked(true);
    for (ui::CheckBox* b : s.explorer->cbDrive) b->SetChecked(false);
    s.explorer->cbDrive[0]->SetChecked(true);
    s.explorer->cbDrive[25]->SetChecked(true);
    s.explorer->cbDblClickExplorer.SetChecked(true);
    s.explorer->edTrushName.SetText("テスト箱");
    s.explorer->cbMyComputerTrush.SetChecked(true);
    s.Apply();
    EXPECT_TRUE(s.flags.needLogoff);
  }
  EXPECT_EQ(p.Get(Root::HKCU, kPE, "NoDrives"), RegValue::Dword(0x2000001));
  EXPECT_EQ(p.Get(Root::HKCR, "Folder\\Shell", ""), RegValue::Text("explore"));
  EXPECT_EQ(p.Get(Root::HKLM, kMyComputerRecycleBin, ""), RegValue::Text("テスト箱"));
  const std::string junction = std::string(kDesktop) + "\\ｺﾝﾄﾛｰﾙ ﾊﾟﾈﾙ.{21EC2020-3AEA-1069-A2DD-08002B30309D}";
  EXPECT_TRUE(p.files.FolderExists(junction));

  {
    Start s(p);
    EXPECT_TRUE(s.desktop->cbDesktopControlPanel.Checked());
    EXPECT_TRUE(s.desktop->cbNoActiveDesktop.Checked());
    EXPECT_TRUE(s.explorer->cbDrive[0]->Checked() && s.explorer->cbDrive[25]->Checked());
    EXPECT_FALSE(s.explorer->cbDrive[1]->Checked());
    EXPECT_TRUE(s.explorer->cbDblClickExplorer.Checked());
    EXPECT_EQ(s.explorer->edTrushName.Text(), "テスト箱");
    EXPECT_TRUE(s.explorer->cbMyComputerTrush.Checked());

    RowContext ctx = s.env.Context();
    StandardRows(s.desktop->standard, ctx);
    StandardRows(s.explorer->standard, ctx);
    s.explorer->cbTrush.SetChecked(false);
    s.Apply();
  }
  EXPECT_FALSE(p.files.FolderExists(junction));
  EXPECT_EQ(p.Get(Root::HKCU, kPE, "NoDrives"), RegValue::Dword(0));
  EXPECT_EQ(p.Get(Root::HKCR, "Folder\\Shell", ""), RegValue::Text(""));
  EXPECT_FALSE(p.Get(Root::HKLM, kMyComputerRecycleBin, ""));
  p.files.RemoveFolder(kDesktop);
  p.files.RemoveFolder(kScratch);
}
