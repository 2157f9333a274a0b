// The icon pages on the memory ports, on the main window's roads: the reads
// with their fallbacks, the writes (the user's overrides deleted before the
// class is written, as XP's merged classes need), the recycle-bin rule, the
// picker, the shortcut-arrow box, the colour depth, the standard values and
// the icon-cache rebuild.
#include "common/iconlist.h"
#include "tolvane/changing.h"
#include "tolvane/opening.h"
#include "tolvane/page_icons.h"
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::Root;

namespace {

constexpr const char* kShellIcons = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
constexpr const char* kMetrics = "Control Panel\\desktop\\windowmetrics";
constexpr const char* kShell32 = "C:\\WINDOWS\\SYSTEM32\\shell32.dll";
constexpr const char* kTransparent = "C:\\Program Files\\Tolvane\\transparency.ico,0";
constexpr const char* kTransparentJA = "C:\\Program Files\\Tolvane\\透明.ico,0";
constexpr const char* kRecycle = "645FF040-5081-101B-9F08-00AA002F954E";
constexpr const char* kInternet = "871C5380-42A0-1069-A2EA-08002B30309D";
constexpr const char* kInternet2 = "FBF23B42-E3F0-101B-8488-00AA003E56F8";
constexpr const char* kIE = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

std::string ClassKey(const std::string& g) { return "CLSID\\{" + g + "}\\DefaultIcon"; }
std::string UserClassKey(const std::string& g) { return "Software\\Classes\\CLSID\\{" + g + "}\\DefaultIcon"; }
std::string ExplorerKey(const std::string& g) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{" + g + "}\\DefaultIcon";
}

struct IconMachine : Machine {
  TfoIconList* picker = nullptr;
  IconPages* pages = nullptr;

  IconMachine() {
    PutString(Root::HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE", "", kIE);
    icons.AddFile(kShell32, 40);
    icons.AddFile("C:\\Icons\\set.icl", 10);
    icons.AddFile("D:\\top.ico", 1);
    icons.AddFile("C:\\Program Files\\Tolvane\\transparency.ico", 1);
  }
  void Start() {
    Machine::Start();
    picker = &app->CreateForm<TfoIconList>(main->QX, main->SelectedIconIndex);
    main->foIconList = picker;
    pages = main->PageSlices().Icons();
  }
  std::string& Held(const std::string& image) { return pages->Find(image)->held; }
  std::string Shown(const std::string& image) { return icons.Describe(pages->Find(image)->im->GetPicture().Handle()); }
  void ClickImage(const std::string& image) { Click(*pages->Find(image)->im); }
  // Plays the picker: another file (or the listed one), an item, OK.
  void PickNext(std::optional<std::string> file, int item) {
    app->ModalScript = [this, file, item](ui::Form& f) {
      auto& p = dynamic_cast<TfoIconList&>(f);
      if (file) {
        dialogs.Script(file);
        p.buOpenFile->UserClick();
      }
      p.lvIcon->UserClickItem(item);
      p.buOK->UserClick();
    };
  }
};

}  // namespace

// Rows 1 to 3: the user's class override, then Explorer's, then the class.
TEST(IconPages, TheUsersOverridesWinAndApplyMovesThemIntoTheClass) {
  struct Case {
    const char* image;
    const char* g;
  } cases[] = {{"imMyComputer", "20D04FE0-3AEA-1069-A2D8-08002B30309D"},
               {"imNetworkComputer", "208D2C60-3AEA-1069-A2D7-08002B30309D"},
               {"imMyDocuments", "450D8FBA-AD25-11D0-98A8-0800361B1103"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image);
    for (bool merged : {false, true}) {
      SCOPED_TRACE(merged ? "merged classes (XP)" : "one class tree (Wine)");
      IconMachine m;
      m.registry.mergeUserClasses = merged;
      m.PutString(Root::HKLM, "Software\\Classes\\" + ClassKey(c.g), "", "C:\\class.ico,0");
      m.PutString(Root::HKCU, ExplorerKey(c.g), "", "C:\\explorer.ico,1");
      m.PutString(Root::HKCU, UserClassKey(c.g), "", "C:\\Icons\\set.icl,2");
      m.Start();
      EXPECT_EQ(m.Held(c.image), "C:\\Icons\\set.icl,2");
      EXPECT_EQ(m.Shown(c.image), "C:\\Icons\\set.icl,2");
      m.Apply();
      EXPECT_EQ(m.Text(Root::HKLM, "Software\\Classes\\" + ClassKey(c.g), ""), "C:\\Icons\\set.icl,2");
      EXPECT_FALSE(m.registry.Open(Root::HKCU, UserClassKey(c.g), port::kKeyReadTest));
      EXPECT_FALSE(m.registry.Open(Root::HKCU, ExplorerKey(c.g), port::kKeyReadTest));
    }
  }
}

TEST(IconPages, EmptyOverridesFallThroughAndOnlyTheClassShowsItsIcon) {
  const char* g = "20D04FE0-3AEA-1069-A2D8-08002B30309D";
  IconMachine m;
  m.PutString(Root::HKCU, UserClassKey(g), "", "");
  m.PutString(Root::HKCU, ExplorerKey(g), "", "");
  m.PutString(Root::HKCR, ClassKey(g), "", "C:\\Icons\\set.icl,4");
  m.Start();
  EXPECT_EQ(m.Held("imMyComputer"), "C:\\Icons\\set.icl,4");
  // Nothing anywhere: empty, no icon, and apply writes the empty location.
  EXPECT_EQ(m.Held("imNetworkComputer"), "");
  EXPECT_EQ(m.Shown("imNetworkComputer"), "");
  EXPECT_EQ(m.Held("imTask"), "");
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("D6277990-4C6A-11CF-8D87-00AA0060F5BF"), ""), "");
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("208D2C60-3AEA-1069-A2D7-08002B30309D"), ""), "");
}

TEST(IconPages, TheInternetIconFallsBackAndLeavesTheShortProgramFolder) {
  struct Case {
    const char* name;
    std::optional<std::string> first, second;
    std::string held;
  } cases[] = {
      {"first absent: the second", std::nullopt, "C:\\ie2.ico,3", "C:\\ie2.ico,3"},
      {"both absent: empty", std::nullopt, std::nullopt, ""},
      {"first empty: the browser", "", "C:\\ie2.ico,3", std::string(kIE) + ",0"},
      {"first set", "C:\\ie1.ico,1", "C:\\ie2.ico,3", "C:\\ie1.ico,1"},
      {"short program folder", "\"C:\\PROGRA~1\\INTERN~1\\iexplore.exe\",-32528", "", std::string(kIE) + ",0"},
      {"unquoted short path stays", std::nullopt, "C:\\PROGRA~1\\x.ico,0", "C:\\PROGRA~1\\x.ico,0"},
      {"second on the short path", std::nullopt, "D:\\\\PROGRA~1\\x.ico,0", std::string(kIE) + ",0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IconMachine m;
    if (c.first) m.PutString(Root::HKCR, ClassKey(kInternet), "", *c.first);
    if (c.second) m.PutString(Root::HKCR, ClassKey(kInternet2), "", *c.second);
    m.Start();
    EXPECT_EQ(m.Held("imInternet"), c.held);
    m.Apply();
    // One location, three places.
    EXPECT_EQ(m.Text(Root::HKCR, ClassKey(kInternet), ""), c.held);
    EXPECT_EQ(m.Text(Root::HKCR, ClassKey(kInternet2), ""), c.held);
    EXPECT_EQ(m.Text(Root::HKLM, "SOFTWARE\\Clients\\StartMenuInternet\\IEXPLORE.EXE\\DefaultIcon", ""), c.held);
  }
}

// The recycle bin's current icon follows the one it showed at start.
TEST(IconPages, ApplyGivesTheRecycleBinTheNewIconOfTheStateItShowedAtStart) {
  struct Case {
    const char* name;
    std::optional<std::string> userCurrent, classCurrent;
    bool showsEmpty;
  } cases[] = {
      {"user's current is the empty one", "C:\\bin.ico,0", std::nullopt, true},
      {"user's current is the full one", "C:\\bin.ico,1", "C:\\bin.ico,0", false},
      {"class's current is the empty one", std::nullopt, "C:\\bin.ico,0", true},
      {"user's current empty, class's the empty one", "", "C:\\bin.ico,0", true},
      {"no current anywhere", std::nullopt, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IconMachine m;
    m.PutString(Root::HKCR, std::string("CLSID\\{") + kRecycle + "}\\DefaultIcon", "empty", "C:\\bin.ico,0");
    m.PutString(Root::HKCR, std::string("CLSID\\{") + kRecycle + "}\\DefaultIcon", "full", "C:\\bin.ico,1");
    if (c.userCurrent) m.PutString(Root::HKCU, ExplorerKey(kRecycle), "", *c.userCurrent);
    if (c.classCurrent) m.PutString(Root::HKCR, ClassKey(kRecycle), "", *c.classCurrent);
    m.Start();
    EXPECT_EQ(m.Held("imTrushEmpty"), "C:\\bin.ico,0");
    EXPECT_EQ(m.Held("imTrushFull"), "C:\\bin.ico,1");
    EXPECT_EQ(m.pages->RecycleBinShowsEmpty, c.showsEmpty);
    m.PickNext("C:\\Icons\\set.icl", 5);
    m.ClickImage("imTrushEmpty");
    m.PickNext("C:\\Icons\\set.icl", 6);
    m.ClickImage("imTrushFull");
    m.Apply();
    EXPECT_EQ(m.Text(Root::HKCU, ExplorerKey(kRecycle), "empty"), "C:\\Icons\\set.icl,5");
    EXPECT_EQ(m.Text(Root::HKCU, ExplorerKey(kRecycle), "full"), "C:\\Icons\\set.icl,6");
    EXPECT_EQ(m.Text(Root::HKCU, ExplorerKey(kRecycle), ""), c.showsEmpty ? "C:\\Icons\\set.icl,5" : "C:\\Icons\\set.icl,6");
  }
}

TEST(IconPages, AbsentShellIconsAndClassesShowTheirDefaults) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "3", "C:\\Icons\\set.icl,1");
  m.PutString(Root::HKLM, kShellIcons, "4", "");  // present and empty: kept empty
  m.Start();
  EXPECT_EQ(m.Held("imCloseFolder"), "C:\\Icons\\set.icl,1");
  EXPECT_EQ(m.Held("imOpenFolder"), "");
  EXPECT_EQ(m.Held("imUnknown"), std::string(kShell32) + ",0");
  EXPECT_EQ(m.Shown("imUnknown"), std::string(kShell32) + ",0");
  EXPECT_EQ(m.Held("imControlPanel"), std::string(kShell32) + ",-137");
  EXPECT_EQ(m.Held("imCompressedFolder"), "C:\\WINDOWS\\SYSTEM32\\ZIPFLDR.DLL,0");
  // Internet Explorer 6 without Active Desktop: the ActiveX cache is read,
  // the offline pages are not.
  EXPECT_EQ(m.Held("imActivexCacheFolder"), "C:\\WINDOWS\\SYSTEM32\\OCCACHE.DLL,0");
  EXPECT_EQ(m.Held("imKoudoku"), "");
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "4"), "");
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "35"), std::string(kShell32) + ",-137");  // Control Panel twice
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "37"), std::string(kShell32) + ",-138");
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("88C6C381-2E85-11D0-94DE-444553540000"), ""),
            "C:\\WINDOWS\\SYSTEM32\\OCCACHE.DLL,0");
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("F5175861-2688-11d0-9C5E-00AA00A45957"), ""), "<absent>");
  EXPECT_EQ(m.Text(Root::HKCR, "lnkfile", "IsShortcut"), "");
  EXPECT_FALSE(m.main->Changes.iconChanged);
}

TEST(IconPages, APickTakesTheLocationTheFolderAndEnablesApply) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "8", std::string(kShell32) + ",8");
  m.Start();
  ASSERT_FALSE(m.main->sbPlay.Enabled());
  // Cancelled: nothing changes.
  m.app->ModalScript = [](ui::Form& f) { dynamic_cast<TfoIconList&>(f).buCancel->UserClick(); };
  m.ClickImage("imHardDisk");
  EXPECT_EQ(m.Held("imHardDisk"), std::string(kShell32) + ",8");
  EXPECT_FALSE(m.main->Changes.iconChanged);
  EXPECT_FALSE(m.main->sbPlay.Enabled());
  EXPECT_EQ(m.main->IconDir, "");

  // The listed file, icon 5: the system folder without its backslash.
  m.PickNext(std::nullopt, 5);
  m.ClickImage("imHardDisk");
  EXPECT_EQ(m.picker->Caption(), "ハードディスク");
  EXPECT_EQ(m.Held("imHardDisk"), std::string(kShell32) + ",5");
  EXPECT_EQ(m.Shown("imHardDisk"), std::string(kShell32) + ",5");
  EXPECT_EQ(m.main->IconDir, "C:\\WINDOWS\\SYSTEM32");
  EXPECT_TRUE(m.main->Changes.iconChanged);
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  // A file in a drive root keeps the root's backslash.
  m.PickNext("D:\\top.ico", 0);
  m.ClickImage("imKoudoku");
  EXPECT_EQ(m.main->IconDir, "D:\\");
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "8"), std::string(kShell32) + ",5");
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "IconDir"), "D:\\");
  // The offline pages need Active Desktop: picked, yet not written.
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("F5175861-2688-11d0-9C5E-00AA00A45957"), ""), "<absent>");
  EXPECT_EQ(m.system.iconMetricsSets.size(), 2u) << "the pick rebuilt the icon cache";
  EXPECT_FALSE(m.main->Changes.iconChanged);
}

TEST(IconPages, EnglishCaptionsGoToThePicker) {
  IconMachine m;
  m.English();
  m.Start();
  m.app->ModalScript = [](ui::Form&) {};
  m.ClickImage("imTrushFull");
  EXPECT_EQ(m.picker->Caption(), "Recycle(Full)");
  EXPECT_EQ(m.main->Get<ui::RadioGroup>("rgIconColor").Caption(), "Colors of Icon");
  EXPECT_EQ(m.main->Get<ui::CheckBox>("cbIsShortcut").Caption(), "Hide shortcut icon");
}

TEST(ShortcutArrow, EitherTransparentIconReadsHidden) {
  for (std::optional<std::string> value : std::vector<std::optional<std::string>>{
           kTransparent, kTransparentJA, std::nullopt, std::string(kShell32) + ",29", "c:\\program files\\tolvane\\transparency.ico,0"}) {
    SCOPED_TRACE(value.value_or("<absent>"));
    IconMachine m;
    if (value) m.PutString(Root::HKLM, kShellIcons, "29", *value);
    m.Start();
    bool hidden = value && (*value == kTransparent || *value == kTransparentJA);
    EXPECT_EQ(m.Box("cbIsShortcut").Checked(), hidden);
    EXPECT_EQ(m.Held("imShortCut"), value.value_or(std::string(kShell32) + ",29"));
    EXPECT_FALSE(m.main->sbPlay.Enabled());
  }
}

TEST(ShortcutArrow, TickedAndAppliedPointsTheArrowAtTheTransparentIconAndRebuilds) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "29", "C:\\Icons\\set.icl,3");
  m.Start();
  std::vector<std::string> at29;
  m.system.WhenIconMetricsSet = [&] { at29.push_back(m.Text(Root::HKLM, kShellIcons, "29")); };
  m.Click(m.Box("cbIsShortcut"));
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  EXPECT_FALSE(m.main->Changes.iconChanged) << "ticking waits for apply";
  EXPECT_EQ(m.Shown("imShortCut"), "C:\\Icons\\set.icl,3");
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "29"), kTransparent);
  EXPECT_EQ(at29, (std::vector<std::string>{kTransparent, kTransparent})) << "the cache was rebuilt after the write";
  EXPECT_EQ(m.Held("imShortCut"), kTransparent);
  EXPECT_EQ(m.Shown("imShortCut"), kTransparent) << "shown once applied";
  EXPECT_FALSE(m.main->Changes.iconChanged);

  // Unticked while it holds the transparent icon: the arrow comes back at once.
  m.Click(m.Box("cbIsShortcut"));
  EXPECT_EQ(m.Held("imShortCut"), std::string(kShell32) + ",29");
  EXPECT_EQ(m.Shown("imShortCut"), std::string(kShell32) + ",29");
  EXPECT_TRUE(m.main->Changes.iconChanged);
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "29"), std::string(kShell32) + ",29");
  EXPECT_EQ(m.system.iconMetricsSets.size(), 4u);
}

TEST(ShortcutArrow, UntickedOverAnotherIconKeepsItAndApplyStillRebuilds) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "29", kTransparentJA);
  m.Start();
  ASSERT_TRUE(m.Box("cbIsShortcut").Checked());
  m.PickNext("C:\\Icons\\set.icl", 7);
  m.ClickImage("imShortCut");
  m.main->Changes.iconChanged = false;  // as if the pick had been applied
  m.Click(m.Box("cbIsShortcut"));
  EXPECT_EQ(m.Held("imShortCut"), "C:\\Icons\\set.icl,7");
  EXPECT_FALSE(m.main->Changes.iconChanged);
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "29"), "C:\\Icons\\set.icl,7");
  EXPECT_EQ(m.system.iconMetricsSets.size(), 2u) << "the box differs from its loaded state";
}

TEST(IconCache, TheRebuildDeletesTheCacheFilesAndStepsTheIconSizeDownAndBack) {
  struct Case {
    std::optional<std::string> size;
    std::string down, back;
  } cases[] = {{"32", "31", "32"}, {std::nullopt, "31", "32"}, {"x", "31", "32"}, {"48", "47", "48"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size.value_or("<absent>"));
    IconMachine m;
    if (c.size) m.PutString(Root::HKCU, kMetrics, "Shell Icon Size", *c.size);
    m.files.AddFile("C:\\WINDOWS\\ShellIconCache", "cache");
    m.files.AddFile("C:\\WINDOWS\\Shell~20", "cache");
    m.files.AddFile("C:\\WINDOWS\\ShellI~5", "in use", port::kAttrReadOnly);
    m.files.AddFile("C:\\WINDOWS\\notes.txt", "mine");
    m.Start();
    std::vector<std::string> sizes;
    std::vector<int> bars;
    m.system.WhenIconMetricsSet = [&] {
      sizes.push_back(m.Text(Root::HKCU, kMetrics, "Shell Icon Size"));
      for (ui::Form* f : m.app->Forms())
        if (auto* changing = dynamic_cast<TfoChanging*>(f)) bars.push_back(changing->UpdateProgress.Position());
    };
    m.PickNext(std::nullopt, 1);
    m.ClickImage("imFloppy");
    m.Apply();
    EXPECT_EQ(sizes, (std::vector<std::string>{c.down, c.back}));
    EXPECT_EQ(bars.size(), 2u);
    if (bars.size() == 2) EXPECT_EQ(bars[1], 190) << "the bar stands at 190 before the second notice";
    EXPECT_EQ(m.Text(Root::HKCU, kMetrics, "Shell Icon Size"), c.back);
    for (const auto& set : m.system.iconMetricsSets) {
      EXPECT_EQ(set.metrics, port::MemorySystem::DefaultIconMetrics()) << "handed back unchanged";
      EXPECT_EQ(set.flags, 3u);
    }
    EXPECT_FALSE(m.files.Exists("C:\\WINDOWS\\ShellIconCache"));
    EXPECT_FALSE(m.files.Exists("C:\\WINDOWS\\Shell~20"));
    EXPECT_TRUE(m.files.Exists("C:\\WINDOWS\\ShellI~5")) << "a file that cannot go stays";
    EXPECT_TRUE(m.files.Exists("C:\\WINDOWS\\notes.txt"));
  }
}

TEST(IconCache, RefusedIconMetricsSkipTheWholeRebuild) {
  IconMachine m;
  m.files.AddFile("C:\\WINDOWS\\ShellIconCache", "cache");
  m.system.failGetIconMetrics = true;
  m.Start();
  m.PickNext(std::nullopt, 1);
  m.ClickImage("imFloppy");
  m.Apply();
  EXPECT_TRUE(m.system.iconMetricsSets.empty());
  EXPECT_TRUE(m.files.Exists("C:\\WINDOWS\\ShellIconCache"));
  EXPECT_EQ(m.Text(Root::HKCU, kMetrics, "Shell Icon Size"), "<absent>");
  EXPECT_FALSE(m.main->Changes.iconChanged) << "cleared all the same";
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "6"), std::string(kShell32) + ",1");
}

TEST(IconColour, TheStoredDepthTicksItsRadioAndNoneWritesNothing) {
  struct Case {
    std::optional<std::string> stored;
    const char* ticked;  // nullptr: none
  } cases[] = {{std::nullopt, "ra16Color"}, {"4", "ra16Color"},   {"8", "ra256Color"}, {"16", "raHighColor"},
               {"24", "raTrueColor"},     {"32", "ra32bitColor"}, {"15", nullptr},     {" 8", nullptr}};
  const char* radios[] = {"ra16Color", "ra256Color", "raHighColor", "raTrueColor", "ra32bitColor"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("<absent>"));
    IconMachine m;
    if (c.stored) m.PutString(Root::HKCU, kMetrics, "Shell Icon BPP", *c.stored);
    m.Start();
    for (const char* r : radios)
      EXPECT_EQ(m.main->Get<ui::RadioButton>(r).Checked(), c.ticked && std::string(r) == c.ticked) << r;
    m.Apply();
    EXPECT_EQ(m.Text(Root::HKCU, kMetrics, "Shell Icon BPP"), c.stored.value_or(c.ticked ? "4" : "<absent>"));
    EXPECT_TRUE(m.Boxes().empty()) << "nothing changed: no log-off question";
  }
}

TEST(IconColour, AnotherDepthIsWrittenAndAsksForLogOff) {
  IconMachine m;
  m.PutString(Root::HKCU, kMetrics, "Shell Icon BPP", "15");
  m.Start();
  m.Click(m.main->Get<ui::RadioButton>("ra32bitColor"));
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKCU, kMetrics, "Shell Icon BPP"), "32");
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_EQ(m.Boxes()[0].text, "設定を反映するにはLogoffが必要です。\rLogoffしますか？");
  // Applied: the next apply asks nothing.
  m.Apply();
  EXPECT_EQ(m.Boxes().size(), 1u);
}

TEST(IconStandard, StandardLocationsAreWrittenWithoutARebuild) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "2", "C:\\Icons\\set.icl,9");
  m.PutString(Root::HKCU, kMetrics, "Shell Icon BPP", "8");
  m.Start();
  m.Click(m.main->sbStandard);
  EXPECT_EQ(m.Held("imDosApplication"), std::string(kShell32) + ",2");
  EXPECT_EQ(m.Shown("imDosApplication"), std::string(kShell32) + ",2");
  EXPECT_EQ(m.Held("imMyComputer"), "C:\\WINDOWS\\explorer.exe,0");
  EXPECT_EQ(m.Held("imMyDocuments"), "C:\\WINDOWS\\SYSTEM32\\mydocs.dll,0");
  EXPECT_EQ(m.Held("imTask"), "C:\\WINDOWS\\SYSTEM32\\mstask.dll,-100");
  EXPECT_EQ(m.Held("imInternet"), std::string(kIE) + ",0");
  EXPECT_EQ(m.Held("imKoudoku"), "C:\\WINDOWS\\SYSTEM32\\WEBCHECK.DLL,0") << "whatever the condition";
  EXPECT_EQ(m.Held("imDialup"), "C:\\WINDOWS\\SYSTEM32\\Netshell.dll,0");
  EXPECT_TRUE(m.main->Get<ui::RadioButton>("ra256Color").Checked()) << "the colour depth is left alone";
  EXPECT_FALSE(m.main->Changes.iconChanged);
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kShellIcons, "2"), std::string(kShell32) + ",2");
  EXPECT_EQ(m.Text(Root::HKCR, ClassKey("F5175861-2688-11d0-9C5E-00AA00A45957"), ""), "<absent>");
  EXPECT_TRUE(m.system.iconMetricsSets.empty());
}

TEST(IconStandard, AHiddenArrowComesBackWithTheStandardValues) {
  IconMachine m;
  m.PutString(Root::HKLM, kShellIcons, "29", kTransparent);
  m.Start();
  m.Click(m.main->sbStandard);
  EXPECT_FALSE(m.Box("cbIsShortcut").Checked());
  EXPECT_EQ(m.Held("imShortCut"), std::string(kShell32) + ",29");
  EXPECT_FALSE(m.main->Changes.iconChanged) << "row 9 held the standard already";
  m.Apply();
  EXPECT_EQ(m.system.iconMetricsSets.size(), 2u) << "the box differs from its loaded state";
}

TEST(IconRoads, ApplyAdvancesItsBar27TimesWithTheRealPages) {
  IconMachine m;
  m.Start();
  int advances = -1;
  m.system.WhenIconMetricsSet = [&] {
    for (ui::Form* f : m.app->Forms())
      if (auto* changing = dynamic_cast<TfoChanging*>(f)) advances = changing->Advances();
  };
  m.PickNext(std::nullopt, 1);
  m.ClickImage("imFloppy");
  m.Apply();
  EXPECT_EQ(advances, 27);
}
