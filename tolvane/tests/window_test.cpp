// The window, start panel and restriction pages on the memory ports: every
// flag both ways, the places bar (numbers, texts and 999), the menu delay
// with "65535" and its clamping, the restricted-run list (up to the first
// gap, the always-allowed programs hidden and written first), the handlers;
// then on the main window's roads the password button and the log-off
// question of these pages.
#include "tolvane/page_window.h"

#include "tolvane/password.h"
#include "tolvane/tests/machine.h"
#include "tolvane/tests/network_ie_fixture.h"

using namespace tolvane;
using namespace tolvane::test;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kCPD = "Control Panel\\desktop";
constexpr const char* kPlacesBar = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\PlacesBar";
constexpr const char* kRestrictRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\RestrictRun";

// The three pages on a form of their own, as the main window holds them.
struct WindowTool : PageTool {
  using PageTool::PageTool;
  ui::TabSheet& tsWindow = pages.Add<ui::TabSheet>("tsWindow", {}, "ウィンドウ", "Window");
  ui::TabSheet& tsRestriction = pages.Add<ui::TabSheet>("tsRestriction", {}, "制限", "Restriction");
  ui::TabSheet& tsStartMenu = pages.Add<ui::TabSheet>("tsStartMenu", {}, "スタートパネル", "Start Menu");
  std::unique_ptr<WindowPages> w;
  int passwordClicks = 0;

  void Start() {
    qx.ReadSystemInfo();
    w = std::make_unique<WindowPages>(tsWindow, tsStartMenu, tsRestriction, catalogue, env,
                                      [this] { ++passwordClicks; });
    form.Show();
    RowContext ctx = env.Context();
    for (const Order* order : {&w->readDesktop, &w->readWindow, &w->readStartMenu, &w->readRestriction})
      ReadRows(*order, ctx);
    applyEnabled = 0;
  }
  void Apply() {
    RowContext ctx = env.Context();
    for (const Order* order : {&w->applyDesktop, &w->applyWindow, &w->applyStartMenu, &w->applyRestriction})
      WriteRows(*order, ctx);
  }
  void Standard() {
    RowContext ctx = env.Context();
    StandardRows(w->standard, ctx);
  }
  std::vector<std::string> Places() {
    std::vector<std::string> out;
    for (ui::Edit* e : w->edPlace) out.push_back(e->Text());
    return out;
  }
  // The list key's values "1", "2", ... as stored, up to the first missing one.
  std::vector<std::string> RunList() {
    std::vector<std::string> out;
    for (int k = 1;; ++k) {
      auto v = Get(Root::HKCU, kRestrictRun, std::to_string(k));
      if (!v) return out;
      out.push_back(v->TextOf());
    }
  }
};

// The values of one key (no subkeys) from one machine onto another, as the
// next start finds them.
void CopyKey(port::MemoryRegistry& from, port::MemoryRegistry& to, Root root, const std::string& key) {
  auto src = from.Open(root, key, port::kKeyReadTest);
  if (!src) return;
  auto dst = to.Create(root, key);
  for (const std::string& name : from.ValueNames(src)) to.Set(dst, name, *from.Query(src, name));
  from.Close(src);
  to.Close(dst);
}

std::optional<uint32_t> DwordOf(const std::optional<RegValue>& v) {
  if (!v || v->type != port::kRegDword || v->data.size() != 4) return std::nullopt;
  return v->data[0] | v->data[1] << 8 | v->data[2] << 16 | static_cast<uint32_t>(v->data[3]) << 24;
}

}  // namespace

TEST(WindowPages, EveryFlagReadsItsTickAndWritesBothStates) {
  // The stored value that ticks the box, one that does not (or nothing), and
  // what the box writes ticked and unticked.
  struct Case {
    const char* box;
    std::string key, value;
    RegValue ticks;
    std::optional<RegValue> unticks;  // nullopt: the value absent
    RegValue on, off;
    bool logoff;
  };
  const std::string advanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  const std::string ps = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  const std::string cd = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
  const std::string metrics = "Control Panel\\desktop\\windowmetrics";
  auto bin = [](uint8_t b) { return RegValue::Binary({b, 0, 0, 0}); };
  const Case cases[] = {
      {"cbSmoothScroll", kCPD, "SmoothScroll", bin(1), bin(2), bin(1), bin(0), true},
      {"cbMinAnimate", metrics, "MinAnimate", RegValue::Text("0"), RegValue::Text("1"), RegValue::Text("0"),
       RegValue::Text("1"), true},
      {"cbMinAnimate", metrics, "MinAnimate", RegValue::Text("0"), std::nullopt, RegValue::Text("0"),
       RegValue::Text("1"), true},
      {"cbMenuDropAlignment", kCPD, "MenuDropAlignment", RegValue::Text("1"), std::nullopt, RegValue::Text("1"),
       RegValue::Text("0"), true},
      {"cbClassicShell", kPE, "ClassicShell", RegValue::Dword(1), RegValue::Dword(2), RegValue::Dword(1),
       RegValue::Dword(0), true},
      {"cbNoSaveSettings", kPE, "NoSaveSettings", RegValue::Dword(1), RegValue::Text("1"), RegValue::Dword(1),
       RegValue::Dword(0), true},
      {"cbForegroundLockTimeout", kCPD, "ForegroundLockTimeout", RegValue::Dword(0), RegValue::Dword(50000),
       RegValue::Dword(0), RegValue::Dword(200000), true},
      {"cbForegroundLockTimeout", kCPD, "ForegroundLockTimeout", RegValue::Dword(0), std::nullopt,
       RegValue::Dword(0), RegValue::Dword(200000), true},
      {"cbNoPlaceBar", cd, "NoPlacesBar", RegValue::Dword(1), std::nullopt, RegValue::Dword(1), RegValue::Dword(0),
       false},
      {"cbBalloon", advanced, "EnableBalloonTips", RegValue::Dword(0), std::nullopt, RegValue::Dword(0),
       RegValue::Dword(1), false},
      {"cbNoClose", kPE, "NoClose", RegValue::Dword(1), std::nullopt, RegValue::Dword(1), RegValue::Dword(0), true},
      {"cbNoDispCPL", ps, "NoDispCPL", RegValue::Dword(1), std::nullopt, RegValue::Dword(1), RegValue::Dword(0),
       false},
      {"cbDisableRegistryTools", ps, "DisableRegistryTools", RegValue::Dword(1), std::nullopt, RegValue::Dword(1),
       RegValue::Dword(0), false},
      {"cbNoPropertiesMyComputer", kPE, "NoPropertiesMyComputer", RegValue::Dword(1), std::nullopt,
       RegValue::Dword(1), RegValue::Dword(0), true},
  };
  for (const Case& c : cases) {
    for (bool stored : {true, false}) {
      SCOPED_TRACE(std::string(c.box) + (stored ? " ticked" : " unticked"));
      WindowTool p;
      if (stored)
        p.Put(Root::HKCU, c.key, c.value, c.ticks);
      else if (c.unticks)
        p.Put(Root::HKCU, c.key, c.value, *c.unticks);
      p.Start();
      ui::CheckBox& box = p.form.Get<ui::CheckBox>(c.box);
      EXPECT_EQ(box.Checked(), stored);
      // Written as read, whatever was stored, with no change class.
      p.Apply();
      auto written = p.Get(Root::HKCU, c.key, c.value);
      ASSERT_TRUE(written);
      EXPECT_EQ(written->type, (stored ? c.on : c.off).type);
      EXPECT_EQ(written->data, (stored ? c.on : c.off).data);
      EXPECT_FALSE(p.flags.needLogoff);
      // The other state: written, and a log-off asked where the class says.
      box.Click();
      EXPECT_EQ(p.applyEnabled, 1);
      p.Apply();
      written = p.Get(Root::HKCU, c.key, c.value);
      EXPECT_EQ(written->data, (stored ? c.off : c.on).data);
      EXPECT_EQ(p.flags.needLogoff, c.logoff);
      EXPECT_FALSE(p.flags.needRestart || p.flags.iconChanged);
    }
  }
}

TEST(WindowPages, PlacesAreNumbersOrTextsAnd999StandsForATextBothWays) {
  WindowTool p;
  p.PutDword(Root::HKCU, kPlacesBar, "Place1", 999);  // a DWORD 999 reads as an empty place
  p.Start();
  EXPECT_EQ(p.Places(), (std::vector<std::string>{"", "", "", "", ""}));
  p.w->edPlace[0]->UserType("17");
  p.w->edPlace[2]->UserType("C:\\Data\\Shared");
  p.w->edPlace[3]->UserType("999");
  p.w->edPlace[4]->UserType("%USERPROFILE%\\Desktop");
  EXPECT_EQ(p.applyEnabled, 4);
  p.Apply();
  EXPECT_EQ(DwordOf(p.Get(Root::HKCU, kPlacesBar, "Place0")), 17u);
  EXPECT_EQ(p.Get(Root::HKCU, kPlacesBar, "Place1"), std::nullopt) << "the DWORD 999 is dropped; no renumbering";
  auto path = p.Get(Root::HKCU, kPlacesBar, "Place2");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->type, port::kRegSz);
  EXPECT_EQ(path->TextOf(), "C:\\Data\\Shared");
  auto text999 = p.Get(Root::HKCU, kPlacesBar, "Place3");
  ASSERT_TRUE(text999);
  EXPECT_EQ(text999->type, port::kRegSz);
  EXPECT_EQ(text999->TextOf(), "999");
  EXPECT_EQ(p.Get(Root::HKCU, kPlacesBar, "Place4")->type, port::kRegExpandSz);
  EXPECT_FALSE(p.flags.needLogoff);

  // All read back as the same texts.
  WindowTool again;
  CopyKey(p.registry, again.registry, Root::HKCU, kPlacesBar);
  again.Start();
  EXPECT_EQ(again.Places(), (std::vector<std::string>{"17", "", "C:\\Data\\Shared", "999", "%USERPROFILE%\\Desktop"}));
}

TEST(WindowPages, PlacesKeyHoldsOnlyTheFilledRowsAndGoesWhenAllAreEmpty) {
  WindowTool p;
  for (int i = 0; i < 5; ++i) p.PutText(Root::HKCU, kPlacesBar, "Place" + std::to_string(i), "x");
  p.PutText(Root::HKCU, kPlacesBar, "Other", "kept by nobody");
  p.Start();
  for (int i : {1, 3, 4}) p.w->edPlace[i]->UserType("");
  p.w->edPlace[2]->UserType("-3");  // a negative number is a number too
  p.Apply();
  auto k = p.registry.Open(Root::HKCU, kPlacesBar, port::kKeyReadTest);
  ASSERT_NE(k, 0u);
  EXPECT_EQ(p.registry.ValueNames(k).size(), 2u) << "Place0 and Place2 only";
  p.registry.Close(k);
  EXPECT_EQ(p.Text(Root::HKCU, kPlacesBar, "Place0"), "x");
  EXPECT_EQ(DwordOf(p.Get(Root::HKCU, kPlacesBar, "Place2")), static_cast<uint32_t>(-3));

  p.w->edPlace[0]->UserType("");
  p.w->edPlace[2]->UserType("");
  p.Apply();
  EXPECT_FALSE(p.KeyExists(Root::HKCU, kPlacesBar));
  EXPECT_TRUE(p.KeyExists(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32"));
}

TEST(WindowPages, PlaceButtonsPutTheChosenFolderIntoTheirRow) {
  for (uint32_t locale : {1041u, 1033u}) {
    WindowTool p(locale);
    p.Start();
    p.dialogs.Script(std::optional<std::string>("C:\\Projects"));
    p.w->buPlace[3]->Click();
    EXPECT_EQ(p.dialogs.Calls().back().kind, port::MemoryDialogs::Kind::BrowseFolder);
    EXPECT_EQ(p.dialogs.Calls().back().caption, locale == 1041 ? "フォルダを選択して下さい" : "Select folder");
    EXPECT_EQ(p.Places(), (std::vector<std::string>{"", "", "", "C:\\Projects", ""}));
    EXPECT_EQ(p.applyEnabled, 1);
    p.dialogs.Cancel();
    p.w->buPlace[3]->Click();
    EXPECT_EQ(p.w->edPlace[3]->Text(), "C:\\Projects");
    EXPECT_EQ(p.applyEnabled, 1);
  }
}

TEST(WindowPages, MenuDelayReadsClampedAnd65535MeansWaitForClick) {
  struct Case {
    const char* what;
    std::optional<std::string> stored;
    int position;
    bool requireClick;
    std::string written;  // by an apply right after the start, with no log-off question
  };
  const Case cases[] = {
      {"absent", std::nullopt, 200, false, "200"},
      {"400", "400", 400, false, "400"},
      {"over the maximum", "2000", 1000, false, "1000"},
      {"not a number", "fast", 0, false, "0"},
      {"negative", "-5", 0, false, "0"},
      {"wait for a click", "65535", 1000, true, "65535"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowTool p;
    if (c.stored) p.PutText(Root::HKCU, kCPD, "MenuShowDelay", *c.stored);
    p.Start();
    EXPECT_EQ(p.w->tbMenuSpeed.Position(), c.position);
    EXPECT_EQ(p.w->cbMenuRequireClick.Checked(), c.requireClick);
    EXPECT_EQ(p.w->tbMenuSpeed.Enabled(), !c.requireClick);
    p.Apply();
    EXPECT_EQ(p.Text(Root::HKCU, kCPD, "MenuShowDelay"), c.written);
    EXPECT_EQ(p.Get(Root::HKCU, kCPD, "MenuShowDelay")->type, port::kRegSz);
    EXPECT_FALSE(p.flags.needLogoff);
  }
}

TEST(WindowPages, WaitForClickAsksForLogoffOnlyWhenThePositionMoves) {
  {
    WindowTool p;
    p.PutText(Root::HKCU, kCPD, "MenuShowDelay", "1000");
    p.Start();
    p.w->cbMenuRequireClick.Click();
    EXPECT_EQ(p.w->tbMenuSpeed.Position(), 1000);
    EXPECT_FALSE(p.w->tbMenuSpeed.Enabled());
    p.Apply();
    EXPECT_EQ(p.Text(Root::HKCU, kCPD, "MenuShowDelay"), "65535");
    EXPECT_FALSE(p.flags.needLogoff) << "the position stayed at 1000";
  }
  WindowTool p;
  p.PutText(Root::HKCU, kCPD, "MenuShowDelay", "400");
  p.Start();
  p.w->cbMenuRequireClick.Click();
  EXPECT_GE(p.applyEnabled, 1);
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kCPD, "MenuShowDelay"), "65535");
  EXPECT_TRUE(p.flags.needLogoff);

  // Unticked again: enabled at 200; the track bar moves by its own change too.
  p.FinishApply();
  p.w->cbMenuRequireClick.Click();
  EXPECT_TRUE(p.w->tbMenuSpeed.Enabled());
  EXPECT_EQ(p.w->tbMenuSpeed.Position(), 200);
  p.w->tbMenuSpeed.SetPosition(700);
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kCPD, "MenuShowDelay"), "700");
  EXPECT_TRUE(p.flags.needLogoff);

  // Standard: 200, enabled, unticked, from a ticked box as from any position.
  p.w->cbMenuRequireClick.Click();
  p.Standard();
  EXPECT_EQ(p.w->tbMenuSpeed.Position(), 200);
  EXPECT_TRUE(p.w->tbMenuSpeed.Enabled());
  EXPECT_FALSE(p.w->cbMenuRequireClick.Checked());
}

TEST(WindowPages, RestrictedRunListStopsAtTheFirstGapAndHidesTheAlwaysAllowed) {
  WindowTool p;
  p.PutDword(Root::HKCU, kPE, "RestrictRun", 1);
  p.PutText(Root::HKCU, kRestrictRun, "1", "ZAVAROVOV.EXE");  // as older versions wrote it
  p.PutText(Root::HKCU, kRestrictRun, "2", "REGEDIT.EXE");
  p.PutText(Root::HKCU, kRestrictRun, "3", "notepad.exe");
  p.PutText(Root::HKCU, kRestrictRun, "4", "TOLVANE.EXE");  // wherever it stands
  p.PutText(Root::HKCU, kRestrictRun, "5", "regedit.exe");  // the case counts
  p.PutText(Root::HKCU, kRestrictRun, "7", "calc.exe");     // after the gap at "6"
  p.Start();
  EXPECT_TRUE(p.w->cbRestrictRun.Checked());
  EXPECT_EQ(p.w->lbRestrictRun.Items, (std::vector<std::string>{"notepad.exe", "regedit.exe"}));
  EXPECT_TRUE(p.w->lbRestrictRun.Enabled());
  EXPECT_EQ(p.w->lbRestrictRun.GetColor(), ui::clWindow);

  // The apply writes the list anew: the two always allowed first, then the rows.
  p.Apply();
  EXPECT_EQ(DwordOf(p.Get(Root::HKCU, kPE, "RestrictRun")), 1u);
  EXPECT_EQ(p.RunList(), (std::vector<std::string>{"TOLVANE.EXE", "REGEDIT.EXE", "notepad.exe", "regedit.exe"}));
  EXPECT_EQ(p.Get(Root::HKCU, kRestrictRun, "7"), std::nullopt);
  EXPECT_FALSE(p.flags.needLogoff);
}

TEST(WindowPages, RestrictedRunListIsEditedWithItsButtonsOnlyWhileTicked) {
  for (uint32_t locale : {1041u, 1033u}) {
    SCOPED_TRACE(locale);
    WindowTool p(locale);
    p.PutText(Root::HKCU, kRestrictRun, "1", "kept.exe");  // rows without the box: shown, disabled
    p.Start();
    WindowPages& w = *p.w;
    EXPECT_EQ(w.lbRestrictRun.Items, (std::vector<std::string>{"kept.exe"}));
    for (ui::Control* c : std::initializer_list<ui::Control*>{&w.lbRestrictRun, &w.buRestrictRunAdd,
                                                              &w.buRestrictRunDelete})
      EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_EQ(w.lbRestrictRun.GetColor(), ui::clMenu);

    w.cbRestrictRun.Click();
    EXPECT_TRUE(w.buRestrictRunAdd.Enabled() && w.buRestrictRunDelete.Enabled() && w.lbRestrictRun.Enabled());
    EXPECT_EQ(w.lbRestrictRun.GetColor(), ui::clWindow);
    EXPECT_EQ(p.applyEnabled, 1);

    // Add: the file name without its folder, as picked; no duplicate check.
    p.dialogs.Script(std::optional<std::string>("C:\\Program Files\\Tools\\Editor.exe"));
    w.buRestrictRunAdd.Click();
    EXPECT_EQ(p.dialogs.Calls().back().file.filter,
              locale == 1041 ? "実行ファイル (*.EXE) | *.EXE" : "Executable File (*.EXE) | *.EXE");
    p.dialogs.Script(std::optional<std::string>("C:\\WINDOWS\\REGEDIT.EXE"));
    w.buRestrictRunAdd.Click();
    p.dialogs.Script(std::optional<std::string>("D:\\kept.exe"));
    w.buRestrictRunAdd.Click();
    p.dialogs.Cancel();
    w.buRestrictRunAdd.Click();
    EXPECT_EQ(w.lbRestrictRun.Items, (std::vector<std::string>{"kept.exe", "Editor.exe", "REGEDIT.EXE", "kept.exe"}));
    EXPECT_EQ(p.applyEnabled, 4);

    // Delete: the selected row; with none selected nothing, not even Apply.
    w.buRestrictRunDelete.Click();
    EXPECT_EQ(w.lbRestrictRun.Items.Count(), 4);
    EXPECT_EQ(p.applyEnabled, 4);
    w.lbRestrictRun.UserSelect(3);
    w.buRestrictRunDelete.Click();
    EXPECT_EQ(w.lbRestrictRun.Items, (std::vector<std::string>{"kept.exe", "Editor.exe", "REGEDIT.EXE"}));
    EXPECT_EQ(w.lbRestrictRun.ItemIndex(), -1);
    EXPECT_EQ(p.applyEnabled, 5);

    // Applied: the user's REGEDIT.EXE is written as value 5 and hidden at the next start.
    p.Apply();
    EXPECT_TRUE(p.flags.needLogoff);
    EXPECT_EQ(p.RunList(),
              (std::vector<std::string>{"TOLVANE.EXE", "REGEDIT.EXE", "kept.exe", "Editor.exe", "REGEDIT.EXE"}));
    WindowTool next(locale);
    CopyKey(p.registry, next.registry, Root::HKCU, kRestrictRun);
    next.Start();
    EXPECT_EQ(next.w->lbRestrictRun.Items, (std::vector<std::string>{"kept.exe", "Editor.exe"}));

    // The standard values untick the box and keep the rows; unticked and
    // applied, the value and the list key go.
    p.FinishApply();
    p.Standard();
    EXPECT_FALSE(w.cbRestrictRun.Checked());
    EXPECT_FALSE(w.buRestrictRunAdd.Enabled());
    EXPECT_EQ(w.lbRestrictRun.Items.Count(), 3);
    p.Apply();
    EXPECT_TRUE(p.flags.needLogoff);
    EXPECT_EQ(p.Get(Root::HKCU, kPE, "RestrictRun"), std::nullopt);
    EXPECT_FALSE(p.KeyExists(Root::HKCU, kRestrictRun));
  }
}

TEST(WindowPages, StandardUnticksEveryBoxAndEmptiesThePlaces) {
  WindowTool p;
  p.Start();
  for (ui::CheckBox* box : {&p.w->cbSmoothScroll, &p.w->cbMinAnimate, &p.w->cbMenuDropAlignment, &p.w->cbClassicShell,
                            &p.w->cbNoSaveSettings, &p.w->cbForegroundLockTimeout, &p.w->cbNoPlaceBar, &p.w->cbBalloon,
                            &p.w->cbNoClose, &p.w->cbNoDispCPL, &p.w->cbDisableRegistryTools,
                            &p.w->cbNoPropertiesMyComputer, &p.w->cbRestrictRun})
    box->SetChecked(true);
  for (ui::Edit* e : p.w->edPlace) e->SetText("5");
  p.w->tbMenuSpeed.SetPosition(900);
  p.applyEnabled = 0;
  p.Standard();
  for (const auto& row : p.catalogue.All())
    if (auto* box = dynamic_cast<ui::CheckBox*>(p.form.Find(row->Control()))) {
      EXPECT_FALSE(box->Checked()) << row->Control();
    }
  EXPECT_EQ(p.Places(), (std::vector<std::string>{"", "", "", "", ""}));
  EXPECT_EQ(p.w->tbMenuSpeed.Position(), 200);
  EXPECT_GT(p.applyEnabled, 0);
  EXPECT_FALSE(p.flags.needLogoff) << "nothing is written by the standard values";
}

TEST(WindowPages, SimpleRowsCarryTheirSettingsFileKey) {
  WindowTool p;
  p.Start();
  struct Case {
    const char *control, *section, *key;
    FileForm form;
  };
  const Case cases[] = {
      {"cbSmoothScroll", "Window", "SmoothScroll", FileForm::Boolean},
      {"cbForegroundLockTimeout", "Window", "ForegroundLockTimeout", FileForm::Boolean},
      {"edPlace4", "Window", "Place4", FileForm::Text},
      {"tbMenuSpeed", "Start Menu", "Speed", FileForm::Integer},
      {"cbMenuRequireClick", "Start Menu", "RequireClick", FileForm::Boolean},
      {"cbBalloon", "Start Menu", "DisableBalloonTips", FileForm::Boolean},
      {"cbRestrictRun", "Security", "RestrictRun", FileForm::Boolean},
      {"cbNoPropertiesMyComputer", "Security", "NoPropertiesMyComputer", FileForm::Boolean},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    Row* row = p.catalogue.Find(c.control);
    ASSERT_TRUE(row);
    ASSERT_EQ(row->File().size(), 1u);
    EXPECT_EQ(row->File()[0].section, c.section);
    EXPECT_EQ(row->File()[0].key, c.key);
    EXPECT_EQ(row->File()[0].form, c.form);
  }
  EXPECT_TRUE(p.catalogue.Find("lbRestrictRun")->File().empty()) << "a list of keys, the settings file's own";
}

TEST(WindowRoads, PasswordButtonOpensTheSetPasswordDialogAndEnablesApply) {
  Machine m;
  m.Start();
  ASSERT_FALSE(m.main->sbPlay.Enabled());
  bool shown = false;
  m.app->ModalScript = [&](ui::Form& form) {
    shown = dynamic_cast<TfoSetPassword*>(&form) != nullptr;
    dynamic_cast<TfoSetPassword&>(form).buCancel.UserClick();
  };
  auto& button = m.main->Get<ui::Button>("buPasswordSetting");
  EXPECT_EQ(button.Parent(), &m.main->tsRestriction);
  m.Click(button);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(m.main->sbPlay.Enabled()) << "whatever the dialog's result";
}

TEST(WindowRoads, TheRestrictionAppliedOnTheMainWindowAsksForLogoffOnce) {
  Machine m;
  m.PutString(Root::HKCU, kCPD, "MenuShowDelay", "400");
  m.PutString(Root::HKCU, kRestrictRun, "1", "old.exe");
  m.Start();
  EXPECT_FALSE(m.main->sbPlay.Enabled()) << "the reads enabled Apply, the start-up disabled it again";
  m.Click(m.Box("cbRestrictRun"));
  m.Click(m.Box("cbMenuRequireClick"));
  m.dialogs.Script(port::MbResult::No);
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Logoff"), std::string::npos);
  EXPECT_EQ(m.Text(Root::HKCU, kRestrictRun, "1"), "TOLVANE.EXE");
  EXPECT_EQ(m.Text(Root::HKCU, kRestrictRun, "3"), "old.exe");
  EXPECT_EQ(m.Text(Root::HKCU, kCPD, "MenuShowDelay"), "65535");
  EXPECT_EQ(m.Dword(Root::HKCU, kPE, "NoPropertiesMyComputer"), 0u);

  // Applied again unchanged: the loaded values were taken, no question.
  m.dialogs.ClearCalls();
  m.Apply();
  EXPECT_TRUE(m.Boxes().empty());

  // The standard values, then Apply: the restart question, the rows kept.
  m.Click(m.main->sbStandard);
  m.dialogs.Script(port::MbResult::No);
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKCU, kCPD, "MenuShowDelay"), "200");
  EXPECT_FALSE(m.Get(Root::HKCU, kRestrictRun, "1"));
  EXPECT_EQ(m.main->Get<ui::ListBox>("lbRestrictRun").Items.Count(), 1);
}
