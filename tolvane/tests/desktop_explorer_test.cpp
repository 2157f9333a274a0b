// The desktop and Explorer pages on the memory ports: the start-up reads,
// the apply steps 6, 7, 10 and 12, the standard values, the handlers, and the
// mended faults (a picture that cannot be loaded, a negative drive mask).
#include <gtest/gtest.h>

#include "common/qxcommon.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "tolvane/page_desktop.h"
#include "tolvane/page_explorer.h"
#include "ui/application.h"
#include "ui/form.h"

using namespace tolvane;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kCPD = "Control Panel\\desktop";
constexpr const char* kTB = "Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr const char* kDesktop = "C:\\Documents and Settings\\user\\Desktop";
constexpr const char* kProgramFolder = "C:\\Program Files\\Tolvane";
constexpr const char* kShell32 = "C:\\WINDOWS\\SYSTEM32\\shell32.dll";
constexpr const char* kRecycleBinClass = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kDesktopRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kMyComputerRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\mycomputer\\NameSpace\\"
    "{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kDelegateFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\"
    "{59031a47-3f72-44a7-89c5-5595fe6b30ee}";
constexpr const char* kMyComputerOpen = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\open";

// One machine with the two pages on a form, as the main window holds them.
struct Tool {
  explicit Tool(uint32_t locale = 1041) {
    system.SetLocale(locale);
    Put(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", RegValue::Text("C:\\WINDOWS"));
    Put(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductId", RegValue::Text("55274"));
    Put(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
        RegValue::Text(kDesktop));
    files.AddFolder(kDesktop);
    files.AddFolder(kProgramFolder);
  }

  void Put(Root root, const std::string& key, const std::string& name, const RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
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

  // Builds the pages and runs their reads in the start-up order (other
  // pages' reads would stand between the groups).
  void Start() {
    qx.ReadSystemInfo();
    desktop = std::make_unique<DesktopPage>(tsDesktop, catalogue, env);
    explorer = std::make_unique<ExplorerPage>(tsExplorer, catalogue, env);
    RowContext ctx = env.Context();
    for (const Order* order : {&desktop->read, &explorer->readExplorer, &explorer->readRecycleBin,
                               &explorer->readToolbar})
      ReadRows(*order, ctx);
    applyEnabled = 0;
  }
  // Apply steps 6, 7, 10 and 12 of these pages.
  void Apply() {
    RowContext ctx = env.Context();
    for (const Order* order : {&desktop->apply, &explorer->applyExplorer, &explorer->applyRecycleBin,
                               &explorer->applyToolbar})
      WriteRows(*order, ctx);
  }
  // The end of an apply: flags cleared, loaded values taken again.
  void FinishApply() {
    flags.Clear();
    catalogue.TakeLoaded();
  }
  void Standard() {
    RowContext ctx = env.Context();
    StandardRows(desktop->standard, ctx);
    StandardRows(explorer->standard, ctx);
  }
  std::string Drives() const {
    std::string s;
    for (int n = 0; n < 26; ++n)
      if (explorer->cbDrive[n]->Checked()) s += static_cast<char>('A' + n);
    return s;
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
  PageEnv env{app,   qx, files, dialogs, flags, [this] { ++applyEnabled; }, [] { return std::string(kProgramFolder); },
              [] { return std::string(kShell32); }};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  ui::PageControl& pages = form.Add<ui::PageControl>("PageControl");
  ui::TabSheet& tsDesktop = pages.Add<ui::TabSheet>("tsDesktop", {}, "デスクトップ", "Desktop");
  ui::TabSheet& tsExplorer = pages.Add<ui::TabSheet>("tsExplorer", {}, "エクスプローラ", "Explorer");
  Catalogue catalogue;
  std::unique_ptr<DesktopPage> desktop;
  std::unique_ptr<ExplorerPage> explorer;
};

const std::string kJaControlPanel =
    std::string(kDesktop) + "\\ｺﾝﾄﾛｰﾙ ﾊﾟﾈﾙ.{21EC2020-3AEA-1069-A2DD-08002B30309D}";
const std::string kEnPrinters = std::string(kDesktop) + "\\Printers.{2227A280-3AEA-1069-A2DE-08002B30309D}";

}  // namespace

TEST(DesktopExplorerPages, StartUpReadsAPreparedRegistryIntoTheControls) {
  Tool t;
  t.Put(Root::HKCU, kPE, "NoActiveDesktop", RegValue::Dword(1));
  t.Put(Root::HKCU, kCPD, "PaintDesktopVersion", RegValue::Text("1"));
  t.Put(Root::HKCU, kPE, "NoTrayItemsDisplay", RegValue::Dword(2));
  t.Put(Root::HKCU, kPE, "NoToolbarsOnTaskbar", RegValue::Dword(1));
  t.files.AddFolder(kJaControlPanel);
  t.Put(Root::HKCR, "Folder\\Shell", "", RegValue::Text("explore"));
  t.Put(Root::HKCU, kPE, "NoDrives", RegValue::Dword(5));
  t.Put(Root::HKCR, kRecycleBinClass, "", RegValue::Text("Trash"));
  t.Put(Root::HKLM, kDesktopRecycleBin, "", RegValue::Text("Trash"));
  t.Put(Root::HKCU, kTB, "BackBitmap", RegValue::Text("C:\\Pictures\\bar.bmp"));
  t.files.AddFile("C:\\Pictures\\bar.bmp", "BM");
  t.icons.AddBitmap("C:\\Pictures\\bar.bmp");
  t.Start();

  DesktopPage& d = *t.desktop;
  ExplorerPage& e = *t.explorer;
  EXPECT_TRUE(d.cbNoActiveDesktop.Checked());
  EXPECT_TRUE(d.cbDesktopControlPanel.Checked());
  EXPECT_FALSE(d.cbDesktopPrinter.Checked());
  EXPECT_TRUE(d.cbPaintDesktopVersion.Checked());  // stored as the string "1"
  EXPECT_FALSE(d.cbNoTrayItemsDisplay.Checked());  // 2 is not 1
  EXPECT_TRUE(d.cbNoToolbarsOnTaskbar.Checked());
  EXPECT_TRUE(e.cbDblClickExplorer.Checked());
  EXPECT_TRUE(e.cbDelegateFolders.Checked());  // its key is absent
  EXPECT_EQ(t.Drives(), "AC");
  EXPECT_EQ(e.edTrushName.Text(), "Trash");
  EXPECT_FALSE(e.cbTrush.Checked());
  EXPECT_FALSE(e.cbMyComputerTrush.Checked());
  EXPECT_TRUE(e.cbBackBitmap.Checked());
  EXPECT_EQ(e.BackBitmapPath, "C:\\Pictures\\bar.bmp");
  EXPECT_FALSE(e.imBackBitmap.GetPicture().Empty());
  EXPECT_EQ(t.catalogue.Find("gbHideDrives")->LoadedValue(), Loaded{int32_t{5}});
  EXPECT_EQ(t.catalogue.Find("cbBackBitmap")->LoadedValue(), Loaded{std::string("C:\\Pictures\\bar.bmp")});

  // Applying the unchanged pages writes every row and asks for nothing.
  t.Apply();
  EXPECT_FALSE(t.flags.needLogoff || t.flags.needRestart || t.flags.iconChanged);
  EXPECT_EQ(t.Get(Root::HKCU, kCPD, "PaintDesktopVersion"), RegValue::Dword(1));
  EXPECT_EQ(t.Get(Root::HKCU, kPE, "NoTrayItemsDisplay"), RegValue::Dword(0));
  EXPECT_EQ(t.Get(Root::HKCU, kPE, "NoDrives"), RegValue::Dword(5));
  EXPECT_EQ(t.Get(Root::HKCR, "Folder\\Shell", ""), RegValue::Text("explore"));
  EXPECT_FALSE(t.KeyExists(Root::HKLM, kDelegateFolders));
  EXPECT_TRUE(t.files.FolderExists(kJaControlPanel));
  EXPECT_EQ(t.Get(Root::HKCU, kTB, "BackBitmap"), RegValue::Text("C:\\Pictures\\bar.bmp"));
}

TEST(DesktopExplorerPages, RecycleBinNameGoesToFourPlacesAndTheBoxesMoveIt) {
  Tool t;
  t.Start();
  ExplorerPage& e = *t.explorer;
  EXPECT_EQ(e.edTrushName.Text(), "ごみ箱");  // absent: the Japanese default
  EXPECT_TRUE(e.cbTrush.Checked());          // no desktop entry
  e.edTrushName.SetText("");
  e.cbTrush.SetChecked(false);
  e.cbMyComputerTrush.SetChecked(true);
  t.Apply();
  const std::string s = kShell32;
  EXPECT_EQ(t.Get(Root::HKCR, kRecycleBinClass, ""), RegValue::Text(""));
  EXPECT_EQ(t.Get(Root::HKCU,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}",
                  ""),
            RegValue::Text(""));
  EXPECT_EQ(t.Get(Root::HKCR, kRecycleBinClass, "LocalizedString"), RegValue::Text("@" + s + ",-8964@1041,"));
  EXPECT_EQ(t.Get(Root::HKCU, "Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache", "@" + s + ",-8964"),
            RegValue::Text(""));
  EXPECT_TRUE(t.KeyExists(Root::HKLM, kDesktopRecycleBin));
  EXPECT_TRUE(t.KeyExists(Root::HKLM, kMyComputerRecycleBin));

  e.edTrushName.SetText("Bin");
  e.cbTrush.SetChecked(true);
  t.Apply();
  EXPECT_FALSE(t.KeyExists(Root::HKLM, kDesktopRecycleBin));
  EXPECT_EQ(t.Get(Root::HKLM, kMyComputerRecycleBin, ""), RegValue::Text("Bin"));
  EXPECT_EQ(t.Get(Root::HKCR, kRecycleBinClass, "LocalizedString"), RegValue::Text("@" + s + ",-8964@1041,Bin"));
  EXPECT_FALSE(t.flags.needLogoff);  // the recycle bin asks for nothing
}

TEST(DesktopExplorerPages, DriveMaskIsDecodedBitByBit) {
  struct Case {
    std::optional<uint32_t> stored;
    std::string ticked;
    uint32_t written;
    bool logoff;
  };
  const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const Case cases[] = {
      {std::nullopt, "", 0, false},
      {5, "AC", 5, false},
      {0x3FFFFFF, all, 0x3FFFFFF, false},
      {0xFFFFFFFF, all, 0x3FFFFFF, true},  // negative: its bits, not nothing
      {0x80000001, "A", 1, true},
      {0x4000000, "", 0, true},  // no bit of a drive set
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? std::to_string(*c.stored) : "absent");
    Tool t;
    if (c.stored) t.Put(Root::HKCU, kPE, "NoDrives", RegValue::Dword(*c.stored));
    t.Start();
    EXPECT_EQ(t.Drives(), c.ticked);
    t.Apply();
    EXPECT_EQ(t.Get(Root::HKCU, kPE, "NoDrives"), RegValue::Dword(c.written));  // 0 too, never deleted
    EXPECT_EQ(t.flags.needLogoff, c.logoff);
    t.FinishApply();
    t.Apply();
    EXPECT_FALSE(t.flags.needLogoff);  // step 25 took the mask just written
  }
}

TEST(DesktopExplorerPages, LogoffOnlyForARealChange) {
  Tool t;
  t.Start();
  DesktopPage& d = *t.desktop;
  ExplorerPage& e = *t.explorer;
  d.cbNoActiveDesktop.Click();
  d.cbNoActiveDesktop.Click();
  e.cbDrive[3]->Click();
  e.cbDrive[3]->Click();
  d.cbDesktopPrinter.Click();  // no change class
  e.cbDelegateFolders.Click();
  EXPECT_EQ(t.applyEnabled, 6);
  t.Apply();
  EXPECT_FALSE(t.flags.needLogoff);
  EXPECT_TRUE(t.files.FolderExists(std::string(kDesktop) + "\\ﾌﾟﾘﾝﾀ.{2227A280-3AEA-1069-A2DE-08002B30309D}"));
  EXPECT_EQ(t.Get(Root::HKLM, kDelegateFolders, ""), RegValue::Text(""));

  d.cbNoTrayItemsDisplay.Click();
  t.Apply();
  EXPECT_TRUE(t.flags.needLogoff);
}

TEST(DesktopExplorerPages, StandardValuesChangeOnlyTheControls) {
  Tool t;
  t.Put(Root::HKCU, kPE, "NoActiveDesktop", RegValue::Dword(1));
  t.Put(Root::HKCU, kPE, "NoDrives", RegValue::Dword(0x10));
  t.Put(Root::HKCR, kRecycleBinClass, "", RegValue::Text("Trash"));
  t.Put(Root::HKCU, kTB, "BackBitmap", RegValue::Text("C:\\bar.bmp"));
  t.files.AddFile("C:\\bar.bmp", "BM");
  t.icons.AddBitmap("C:\\bar.bmp");
  t.Start();
  ASSERT_FALSE(t.explorer->imBackBitmap.GetPicture().Empty());
  t.Standard();
  EXPECT_FALSE(t.desktop->cbNoActiveDesktop.Checked());
  EXPECT_EQ(t.Drives(), "");
  EXPECT_TRUE(t.explorer->cbTrush.Checked() == false && t.explorer->cbDelegateFolders.Checked() == false);
  EXPECT_EQ(t.explorer->edTrushName.Text(), "ごみ箱");
  EXPECT_FALSE(t.explorer->cbBackBitmap.Checked());
  EXPECT_EQ(t.explorer->BackBitmapPath, "");  // through cbBackBitmapClick
  EXPECT_TRUE(t.explorer->imBackBitmap.GetPicture().Empty());
  EXPECT_GT(t.applyEnabled, 0);
  EXPECT_EQ(t.Get(Root::HKCU, kPE, "NoActiveDesktop"), RegValue::Dword(1));  // nothing written yet
  EXPECT_EQ(t.Get(Root::HKCU, kTB, "BackBitmap"), RegValue::Text("C:\\bar.bmp"));

  t.Apply();
  EXPECT_FALSE(t.Get(Root::HKCU, kTB, "BackBitmap"));
  EXPECT_EQ(t.Get(Root::HKCU, kPE, "NoDrives"), RegValue::Dword(0));
  EXPECT_TRUE(t.flags.needLogoff);
}

TEST(DesktopExplorerPages, ToolbarBitmapPickedThroughThePictureDialog) {
  Tool t;
  t.files.AddFile("C:\\Pictures\\wood.bmp", "BM");
  t.icons.AddBitmap("C:\\Pictures\\wood.bmp");
  t.Start();
  ExplorerPage& e = *t.explorer;

  t.dialogs.Cancel();
  e.imBackBitmap.Click();
  ASSERT_EQ(t.dialogs.Calls().size(), 1u);
  EXPECT_EQ(t.dialogs.Calls()[0].kind, port::MemoryDialogs::Kind::OpenPicture);
  EXPECT_EQ(t.dialogs.Calls()[0].file.filter, "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp) | *.bmp");
  EXPECT_EQ(t.dialogs.Calls()[0].file.initialDir, kProgramFolder);
  EXPECT_EQ(e.BackBitmapPath, "");
  EXPECT_EQ(t.applyEnabled, 0);

  t.dialogs.Script(std::optional<std::string>("C:\\Pictures\\wood.bmp"));
  e.imBackBitmap.Click();
  EXPECT_EQ(e.BackBitmapPath, "C:\\Pictures\\wood.bmp");
  EXPECT_FALSE(e.imBackBitmap.GetPicture().Empty());
  EXPECT_FALSE(e.cbBackBitmap.Checked());  // picking does not tick the box
  EXPECT_EQ(t.applyEnabled, 1);

  // Unticked: the value is deleted, and the changed path asks for log-off.
  t.Put(Root::HKCU, kTB, "BackBitmap", RegValue::Text("old"));
  t.Apply();
  EXPECT_FALSE(t.Get(Root::HKCU, kTB, "BackBitmap"));
  EXPECT_TRUE(t.flags.needLogoff);
}

TEST(DesktopExplorerPages, APictureThatCannotBeLoadedKeepsThePreviousOne) {
  Tool t;
  t.Put(Root::HKCU, kTB, "BackBitmap", RegValue::Text("C:\\Pictures\\wood.bmp"));
  t.files.AddFile("C:\\Pictures\\wood.bmp", "BM");
  t.icons.AddBitmap("C:\\Pictures\\wood.bmp");
  t.files.AddFile("C:\\Pictures\\broken.bmp", "not a bitmap");
  t.Start();
  ExplorerPage& e = *t.explorer;
  port::IconHandle before = e.imBackBitmap.GetPicture().Handle();
  ASSERT_NE(before, 0u);

  t.dialogs.Script(std::optional<std::string>("C:\\Pictures\\broken.bmp"));
  e.imBackBitmap.Click();
  ASSERT_EQ(t.dialogs.Calls().size(), 2u);
  const auto& box = t.dialogs.Calls()[1];
  EXPECT_EQ(box.kind, port::MemoryDialogs::Kind::MessageBox);
  EXPECT_EQ(box.icon, port::MbIcon::Error);
  EXPECT_NE(box.text.find("C:\\Pictures\\broken.bmp"), std::string::npos);
  EXPECT_EQ(e.BackBitmapPath, "C:\\Pictures\\wood.bmp");
  EXPECT_EQ(e.imBackBitmap.GetPicture().Handle(), before);
  EXPECT_EQ(t.applyEnabled, 0);
  EXPECT_FALSE(t.app.IsTerminated());
}

TEST(DesktopExplorerPages, ToolbarBitmapWithoutAPictureReadsTickedAndKeepsThePath) {
  struct Case {
    const char* path;
    bool exists, loadable;
  };
  const Case cases[] = {
      {"C:\\Pictures\\logo.gif", true, true},  // would load, but only .BMP is tried
      {"C:\\Pictures\\gone.bmp", false, false},
      {"C:\\Pictures\\broken.BMP", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Tool t;
    t.Put(Root::HKCU, kTB, "BackBitmap", RegValue::Text(c.path));
    if (c.exists) t.files.AddFile(c.path, "data");
    if (c.loadable) t.icons.AddBitmap(c.path);
    t.Start();
    EXPECT_TRUE(t.explorer->cbBackBitmap.Checked());
    EXPECT_TRUE(t.explorer->imBackBitmap.GetPicture().Empty());
    EXPECT_EQ(t.explorer->BackBitmapPath, c.path);
    t.Apply();
    EXPECT_EQ(t.Get(Root::HKCU, kTB, "BackBitmap"), RegValue::Text(c.path));
    EXPECT_FALSE(t.flags.needLogoff);
  }
}

TEST(DesktopExplorerPages, MyComputerDoubleClick) {
  Tool t;
  t.Put(Root::HKCR, std::string(kMyComputerOpen) + "\\command", "", RegValue::Text("explorer.exe"));
  t.Start();
  EXPECT_TRUE(t.explorer->cbDblClickExplorer.Checked());
  t.explorer->cbDblClickExplorer.SetChecked(false);
  t.Apply();
  EXPECT_FALSE(t.KeyExists(Root::HKCR, kMyComputerOpen));
  EXPECT_EQ(t.Get(Root::HKCR, "Folder\\Shell", ""), RegValue::Text(""));  // emptied, not deleted
}

TEST(DesktopExplorerPages, EnglishSystemUsesEnglishNames) {
  Tool t(1033);
  t.files.AddFolder(kJaControlPanel);  // made on a Japanese system: not seen here
  t.Start();
  EXPECT_FALSE(t.desktop->cbDesktopControlPanel.Checked());
  EXPECT_EQ(t.explorer->edTrushName.Text(), "Recycle Bin");
  t.desktop->cbDesktopPrinter.SetChecked(true);
  t.Apply();
  EXPECT_TRUE(t.files.FolderExists(kEnPrinters));

  t.dialogs.Cancel();
  t.explorer->imBackBitmap.Click();
  EXPECT_EQ(t.dialogs.Calls().back().file.filter, "Bitmap (*.bmp) | *.bmp");
}

TEST(DesktopExplorerPages, ControlsCarryTheirCaptionsAndEnglishHints) {
  Tool t;
  t.Start();
  ui::CheckBox& z = t.tsExplorer.Get<ui::CheckBox>("cbZ");
  EXPECT_EQ(z.Caption(), "Z");
  EXPECT_EQ(z.Hint(), "");
  EXPECT_EQ(t.tsDesktop.Get<ui::GroupBox>("gbTaskbar").Hint(), "Taskbar, TaskTray");
  EXPECT_EQ(t.tsDesktop.Get<ui::CheckBox>("cbNoToolbarsOnTaskbar").Caption(), "タスクバーのツールバーを無効にする");
  EXPECT_EQ(t.tsExplorer.Get<ui::GroupBox>("gbNameOfRecycleBin").Caption(), "ごみ箱の名前");
  EXPECT_EQ(t.explorer->imBackBitmap.GetCursor(), ui::Cursor::HandPoint);
  EXPECT_EQ(t.explorer->imBackBitmap.Width(), 80);
}
