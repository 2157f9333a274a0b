#include "tolvane/page_window.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "tolvane/page_context.h"  // the filter for programs
#include "tolvane/page_network.h"  // numbers typed, the colours of a control a box enables
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kCPD = "Control Panel\\desktop";
constexpr const char* kWindowMetrics = "Control Panel\\desktop\\windowmetrics";
constexpr const char* kCD = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr const char* kPlacesBar = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\PlacesBar";
constexpr const char* kPS = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const char* kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr const char* kRestrictRunList =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\RestrictRun";

// The place value that stands for a text, in both directions.
constexpr int32_t kPlaceText = 999;
// The menu delay that means "open only on a click".
constexpr const char* kRequireClick = "65535";
constexpr int kMenuSpeedStandard = 200;

// The file name of a path, without its folder.
std::string FileNameOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A text as a 32-bit signed number; nothing when it is not one.
std::optional<int32_t> Int32Of(const std::string& text) {
  std::optional<int64_t> n = DecimalNumber(text);
  if (!n || *n < std::numeric_limits<int32_t>::min() || *n > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(*n);
}

ui::CheckBox& Box(ui::Control& parent, const char* name, ui::Rect r, const char* ja, const char* en) {
  return parent.Add<ui::CheckBox>(name, r, ja, en);
}

ui::Label& Note(ui::Control& parent, const char* name, ui::Rect r, const char* ja, const char* en = nullptr) {
  ui::Label& label = en ? parent.Add<ui::Label>(name, r, ja, en) : parent.Add<ui::Label>(name, r, ja);
  label.WordWrap = true;
  return label;
}

}  // namespace

bool AlwaysAllowedProgram(const std::string& name) {
  return name == "TOLVANE.EXE" || name == "ZAVAROVOV.EXE" || name == "REGEDIT.EXE";
}

WindowPages::WindowPages(ui::TabSheet& tsWindow, ui::TabSheet& tsStartMenu, ui::TabSheet& tsRestriction,
                         Catalogue& catalogue, PageEnv& env, std::function<void()> passwordSetting)
    : cbSmoothScroll(Box(tsWindow, "cbSmoothScroll", {16, 8, 330, 17}, "スクロールを滑らかにする",
                         "Enable to smooth scroll")),
      cbMinAnimate(Box(tsWindow, "cbMinAnimate", {16, 30, 330, 17}, "最小化時のアニメーションをやめる",
                       "Disable to animation when you minimized window")),
      cbMenuDropAlignment(Box(tsWindow, "cbMenuDropAlignment", {16, 52, 330, 17}, "プルダウンメニューを右揃えにする",
                              "Arrange pull-down menu to right side")),
      cbClassicShell(Box(tsWindow, "cbClassicShell", {16, 74, 330, 17}, "従来のWindowsスタイルでウィンドウ表示する",
                         "Display window by old style")),
      laClassicShellNote(Note(tsWindow, "laClassicShellNote", {34, 93, 312, 54},
                              "この設定を有効にすると、Webスタイルでは表示されません。",
                              "If you want to hide menu corresponding to Web page, validate this setting. If you "
                              "validate this setting, the window will not be displayed by web page, 'LogOff' menu "
                              "appear in ShutDown menu.")),
      cbNoSaveSettings(Box(tsWindow, "cbNoSaveSettings", {16, 150, 330, 17}, "設定の保存の無効化",
                           "Disable saving the window setting")),
      // No English form: blank in English mode.
      laNoSaveSettingsNote(Note(tsWindow, "laNoSaveSettingsNote", {34, 169, 312, 64},
                                "デスクトップで何らかの変更（例えばフォルダを開き、フォルダウィンドウのサイズを変更する等）を"
                                "行ってWindowsを終了すると、変更した設定は恒久的に（次回変更時迄）保存されます。"
                                "これはこの保存機能を無効にできます。")),
      cbForegroundLockTimeout(Box(tsWindow, "cbForegroundLockTimeout", {16, 236, 330, 17}, "タスクバー上で点滅させない",
                                  "Disable flash in taskbar")),
      laForegroundLockTimeout(Note(tsWindow, "laForegroundLockTimeout", {34, 255, 312, 50},
                                   "既に起動しているアプリケーションの別セッションを起動した際にタスクバー上で３回点滅するの"
                                   "ではなくフォアグラウンドにします。",
                                   "If you trigger session of same application, this setting move foreground, not "
                                   "flash 3 times in taskbar.")),
      gbPlaceBar(tsWindow.Add<ui::GroupBox>("gbPlaceBar", {356, 8, 314, 298}, "コモンダイアログのプレースバー",
                                            "Place Bar in Common Dialog")),
      cbNoPlaceBar(Box(gbPlaceBar, "cbNoPlaceBar", {12, 20, 290, 17}, "プレースバーを隠す", "Hide Place Bar")),
      laPlaceBar(Note(gbPlaceBar, "laPlaceBar", {12, 190, 290, 104},
                      "アプリケーションで「開く」や「名前を付けて保存」を選択したときに表示される共通のダイアログの左側の"
                      "領域がプレースバーです。標準では「最近使ったファイル」、「デスクトップ」、「マイドキュメント」、"
                      "「マイコンピュータ」、「マイネットワーク」の順です。",
                      "Place bar is new function upon WindowsMe or Windows2000. When you select 'Open' or 'Save as', "
                      "you can see common dialog. Place bar means left object within this dialog.")),
      gbMenuSpeed(tsStartMenu.Add<ui::GroupBox>("gbMenuSpeed", {16, 8, 330, 104}, "スタートメニューの表示速度",
                                                "Menu Speed")),
      laMenuSpeedFast(gbMenuSpeed.Add<ui::Label>("laMenuSpeedFast", {12, 40, 40, 15}, "速い", "Fast")),
      tbMenuSpeed(gbMenuSpeed.Add<ui::TrackBar>("tbMenuSpeed", {52, 22, 226, 40})),
      laMenuSpeedSlow(gbMenuSpeed.Add<ui::Label>("laMenuSpeedSlow", {284, 40, 40, 15}, "遅い", "Slow")),
      cbMenuRequireClick(Box(gbMenuSpeed, "cbMenuRequireClick", {12, 74, 306, 17}, "クリックするまで開かないようにする",
                             "Wait for Click")),
      cbBalloon(Box(tsStartMenu, "cbBalloon", {16, 124, 330, 17}, "通知領域のバルーン表示（ヒント）を無効にする",
                    "Disable Balloon(Hint) in Notification Area")),
      gbHideStartMenuItem(tsStartMenu.Add<ui::GroupBox>("gbHideStartMenuItem", {356, 8, 314, 52},
                                                        "スタートメニュー項目を使用不可（隠す）にする",
                                                        "Disable item of start menu")),
      cbNoClose(Box(gbHideStartMenuItem, "cbNoClose", {12, 24, 290, 17}, "Windowsの終了", "Shut Down")),
      gbRestriction(tsRestriction.Add<ui::GroupBox>("gbRestriction", {16, 8, 330, 80}, "アクセス制限", "Restriction")),
      cbNoDispCPL(Box(gbRestriction, "cbNoDispCPL", {12, 24, 306, 17}, "コントロールパネル－画面",
                      "Control Panel -> Display")),
      cbDisableRegistryTools(Box(gbRestriction, "cbDisableRegistryTools", {12, 50, 306, 17}, "レジストリエディタ",
                                 "Registry Editor")),
      cbNoPropertiesMyComputer(Box(tsRestriction, "cbNoPropertiesMyComputer", {16, 100, 330, 17},
                                   "マイコンピュータのプロパティを隠す", "Remove Properties from My Computer")),
      buPasswordSetting(tsRestriction.Add<ui::Button>("buPasswordSetting", {16, 272, 260, 27},
                                                      "「トルヴァネ」のパスワード変更", "Change password of Kelvorin")),
      gbRestrictRun(tsRestriction.Add<ui::GroupBox>("gbRestrictRun", {356, 8, 314, 298}, "実行可能なアプリケーション",
                                                    "Executable application")),
      cbRestrictRun(Box(gbRestrictRun, "cbRestrictRun", {12, 20, 290, 17}, "実行可能なアプリケーションを制限する",
                        "Restrict executable application")),
      lbRestrictRun(gbRestrictRun.Add<ui::ListBox>("lbRestrictRun", {12, 44, 196, 244})),
      buRestrictRunAdd(gbRestrictRun.Add<ui::Button>("buRestrictRunAdd", {218, 44, 84, 25}, "追加", "Add")),
      buRestrictRunDelete(gbRestrictRun.Add<ui::Button>("buRestrictRunDelete", {218, 76, 84, 25}, "削除", "Delete")),
      env_(env),
      passwordSetting_(std::move(passwordSetting)) {
  for (int i = 0; i < 5; ++i) {
    const std::string n = std::to_string(i);
    const int top = 48 + i * 28;
    edPlace[i] = &gbPlaceBar.Add<ui::Edit>("edPlace" + n, {12, top, 240, 21});
    buPlace[i] = &gbPlaceBar.Add<ui::Button>("buPlace" + n, {258, top, 44, 21}, "参照", "...");
  }
  tbMenuSpeed.SetRange(0, 1000);
  tbMenuSpeed.LineSize = 100;
  tbMenuSpeed.PageSize = 100;
  tbMenuSpeed.Frequency = 100;
  tbMenuSpeed.Ticks = ui::TickMarks::TopLeft;

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::CheckBox* box : {&cbSmoothScroll, &cbMinAnimate, &cbMenuDropAlignment, &cbClassicShell, &cbNoSaveSettings,
                            &cbForegroundLockTimeout, &cbNoPlaceBar, &cbBalloon, &cbNoClose, &cbNoDispCPL,
                            &cbDisableRegistryTools, &cbNoPropertiesMyComputer})
    box->OnClick = applyEnabled;
  for (int i = 0; i < 5; ++i) {
    edPlace[i]->OnChange = applyEnabled;
    buPlace[i]->OnClick = [this, i](ui::Control&) { buPlaceClick(i); };
  }
  tbMenuSpeed.OnChange = applyEnabled;
  cbMenuRequireClick.OnClick = [this](ui::Control&) { cbMenuRequireClickClick(); };
  cbRestrictRun.OnClick = [this](ui::Control&) { cbRestrictRunClick(); };
  buRestrictRunAdd.OnClick = [this](ui::Control&) { buRestrictRunAddClick(); };
  buRestrictRunDelete.OnClick = [this](ui::Control&) { buRestrictRunDeleteClick(); };
  buPasswordSetting.OnClick = [this](ui::Control&) { passwordSetting_(); };

  const auto logoff = ChangeClass::NeedLogoff;

  // --- tsWindow ---------------------------------------------------------------
  catalogue.Add(BinaryFlag{.check = Of(cbSmoothScroll), .at = {"HKCU", kCPD, "SmoothScroll"}, .cls = logoff,
                           .file = {{"Window", "SmoothScroll", FileForm::Boolean, "0"}}});
  catalogue.Add(StringFlag{.check = Of(cbMinAnimate), .at = {"HKCU", kWindowMetrics, "MinAnimate"}, .on = "0",
                           .off = "1", .cls = logoff, .file = {{"Window", "MinAnimate", FileForm::Boolean, "0"}}});
  catalogue.Add(StringFlag{.check = Of(cbMenuDropAlignment), .at = {"HKCU", kCPD, "MenuDropAlignment"}, .on = "1",
                           .off = "0", .cls = logoff,
                           .file = {{"Window", "MenuDropAlignment", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbClassicShell), .at = {"HKCU", kPE, "ClassicShell"}, .cls = logoff,
                          .file = {{"Window", "ClassicShell", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoSaveSettings), .at = {"HKCU", kPE, "NoSaveSettings"}, .cls = logoff,
                          .file = {{"Window", "NoSaveSettings", FileForm::Boolean, "0"}}});
  // Ticked: a window started again comes to the front at once instead of
  // flashing; unticked, the system's own time is written back.
  catalogue.Add(DwordFlag{.check = Of(cbForegroundLockTimeout), .at = {"HKCU", "Control Panel\\Desktop",
                                                                        "ForegroundLockTimeout"},
                          .on = 0, .off = 200000, .absent = 200000, .cls = logoff,
                          .file = {{"Window", "ForegroundLockTimeout", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoPlaceBar), .at = {"HKCU", kCD, "NoPlacesBar"},
                          .file = {{"Window", "NoPlaceBar", FileForm::Boolean, "0"}}});

  // The places: a number is the shell's special-folder number (a DWORD), any
  // other text a folder (a string); 999 stands for "a text" both ways. The
  // key is written anew on every apply from the first place on, so empty
  // edits leave gaps and no value of an earlier apply stays.
  for (int i = 0; i < 5; ++i) {
    const std::string value = "Place" + std::to_string(i);
    ui::Edit& edit = *edPlace[i];
    catalogue.Add(Custom{
        .control = edit.Name(),
        .read =
            [&edit, value](RowContext& c) {
              int32_t n = c.qx.ReadRegInteger("HKCU", kPlacesBar, value, kPlaceText);
              edit.SetText(n == kPlaceText ? c.qx.ReadRegString("HKCU", kPlacesBar, value, "") : std::to_string(n));
              return Loaded{};
            },
        .write =
            [&edit, value, i](RowContext& c) {
              if (i == 0) c.qx.DeleteRegKey("HKCU", kPlacesBar);
              const std::string text = edit.Text();
              if (text.empty()) return;
              int32_t n = Int32Of(text).value_or(kPlaceText);
              if (n == kPlaceText)
                c.qx.WriteRegString("HKCU", kPlacesBar, value, text);
              else
                c.qx.WriteRegInteger("HKCU", kPlacesBar, value, n);
            },
        .standard = [&edit](RowContext&) { edit.SetText(""); },
        .state = [&edit] { return Loaded{edit.Text()}; },
        .file = {{"Window", value, FileForm::Text, ""}}});
  }

  // --- tsStartMenu --------------------------------------------------------------
  // The menu delay in milliseconds, a text; "65535" opens the menu only on a
  // click (the box below). A log-off is asked when the position moved, not
  // when only the written text differs.
  catalogue.Add(Custom{
      .control = "tbMenuSpeed",
      .read =
          [this](RowContext& c) {
            std::string t = c.qx.ReadRegString("HKCU", kCPD, "MenuShowDelay", std::to_string(kMenuSpeedStandard));
            tbMenuSpeed.SetPosition(Int32Of(t).value_or(0));  // the track bar clamps to 0 .. 1000
            return Loaded{int32_t{tbMenuSpeed.Position()}};
          },
      .write =
          [this](RowContext& c) {
            c.qx.WriteRegString("HKCU", kCPD, "MenuShowDelay",
                                cbMenuRequireClick.Checked() ? kRequireClick : std::to_string(tbMenuSpeed.Position()));
          },
      .standard = [this](RowContext&) { tbMenuSpeed.SetPosition(kMenuSpeedStandard); },
      .state = [this] { return Loaded{int32_t{tbMenuSpeed.Position()}}; },
      .cls = logoff,
      .file = {{"Start Menu", "Speed", FileForm::Integer, "0"}}});
  // The same value as the track bar, which writes it.
  catalogue.Add(Custom{
      .control = "cbMenuRequireClick",
      .read =
          [this](RowContext& c) {
            cbMenuRequireClick.SetChecked(c.qx.ReadRegString("HKCU", kCPD, "MenuShowDelay", "") == kRequireClick);
            return Loaded{};
          },
      .write = [](RowContext&) {},
      .standard = [this](RowContext&) { cbMenuRequireClick.SetChecked(false); },
      .state = [this] { return Loaded{cbMenuRequireClick.Checked()}; },
      .file = {{"Start Menu", "RequireClick", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbBalloon), .at = {"HKCU", kAdvanced, "EnableBalloonTips"}, .on = 0, .off = 1,
                          .absent = 1, .file = {{"Start Menu", "DisableBalloonTips", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoClose), .at = {"HKCU", kPE, "NoClose"}, .cls = logoff,
                          .file = {{"Start Menu", "NoClose", FileForm::Boolean, "0"}}});

  // --- tsRestriction ------------------------------------------------------------
  catalogue.Add(DwordFlag{.check = Of(cbNoDispCPL), .at = {"HKCU", kPS, "NoDispCPL"},
                          .file = {{"Security", "NoDispCPL", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbDisableRegistryTools), .at = {"HKCU", kPS, "DisableRegistryTools"},
                          .file = {{"Security", "DisableRegistryTools", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoPropertiesMyComputer), .at = {"HKCU", kPE, "NoPropertiesMyComputer"},
                          .cls = logoff, .file = {{"Security", "NoPropertiesMyComputer", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbRestrictRun), .at = {"HKCU", kPE, "RestrictRun"}, .deleteWhenOff = true,
                          .cls = logoff, .file = {{"Security", "RestrictRun", FileForm::Boolean, "0"}}});
  // The list: values "1", "2", ... up to the first gap. The always-allowed
  // programs are written first and never shown, so that a restriction ticked
  // here cannot lock the settings tool out at the next logon. Unticked, the
  // list key goes and the rows are gone at the next start.
  catalogue.Add(Custom{
      .control = "lbRestrictRun",
      .read =
          [this](RowContext& c) {
            lbRestrictRun.Items.Clear();
            for (int k = 1;; ++k) {
              std::string t = c.qx.ReadRegString("HKCU", kRestrictRunList, std::to_string(k), "");
              if (t.empty()) break;
              if (!AlwaysAllowedProgram(t)) lbRestrictRun.Items.Add(t);
            }
            cbRestrictRunClick();  // the list's state follows the box, ticked or not
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            c.qx.DeleteRegKey("HKCU", kRestrictRunList);
            if (!cbRestrictRun.Checked()) return;
            int k = 1;
            for (const char* program : kAlwaysAllowedPrograms)
              c.qx.WriteRegString("HKCU", kRestrictRunList, std::to_string(k++), program);
            for (const std::string& program : lbRestrictRun.Items.All())
              c.qx.WriteRegString("HKCU", kRestrictRunList, std::to_string(k++), program);
          },
      .standard = [](RowContext&) {},  // the rows stay
      .state = nullptr,
      .file = {}});  // "FileName0", "FileName1", ...: one key per row (the settings file's own)

  readDesktop = catalogue.Rows({"cbNoPropertiesMyComputer"});
  readWindow = catalogue.Rows({"cbSmoothScroll", "cbMinAnimate", "cbMenuDropAlignment", "cbNoSaveSettings",
                               "cbClassicShell", "cbForegroundLockTimeout", "cbNoPlaceBar", "edPlace0", "edPlace1",
                               "edPlace2", "edPlace3", "edPlace4"});
  readStartMenu = catalogue.Rows({"tbMenuSpeed", "cbMenuRequireClick", "cbBalloon", "cbNoClose"});
  readRestriction = catalogue.Rows({"cbNoDispCPL", "cbDisableRegistryTools", "cbRestrictRun", "lbRestrictRun"});
  applyDesktop = readDesktop;
  applyWindow = catalogue.Rows({"cbSmoothScroll", "cbMinAnimate", "cbMenuDropAlignment", "cbNoSaveSettings",
                                "cbClassicShell", "cbForegroundLockTimeout", "cbNoPlaceBar", "edPlace0", "edPlace1",
                                "edPlace2", "edPlace3", "edPlace4"});
  applyStartMenu = catalogue.Rows({"tbMenuSpeed", "cbBalloon", "cbNoClose"});
  applyRestriction = readRestriction;
  // The track bar goes to its standard before the click box is unticked,
  // whose handler then enables it at the same position.
  standard = catalogue.Rows({"cbSmoothScroll", "cbMinAnimate", "cbMenuDropAlignment", "cbClassicShell",
                             "cbNoSaveSettings", "cbForegroundLockTimeout", "cbNoPlaceBar", "edPlace0", "edPlace1",
                             "edPlace2", "edPlace3", "edPlace4", "tbMenuSpeed", "cbMenuRequireClick", "cbBalloon",
                             "cbNoClose", "cbNoDispCPL", "cbDisableRegistryTools", "cbNoPropertiesMyComputer",
                             "cbRestrictRun"});
}

void WindowPages::buPlaceClick(int i) {
  const char* title = env_.qx.Japanese() ? "フォルダを選択して下さい" : "Select folder";
  std::optional<std::string> folder = env_.dialogs.BrowseFolder(env_.app.ActiveWindowHandle(), title, "");
  if (folder) edPlace[i]->SetText(*folder);  // its change enables Apply
}

void WindowPages::cbMenuRequireClickClick() {
  if (cbMenuRequireClick.Checked()) {
    tbMenuSpeed.SetPosition(65535);  // clamped to the slowest
    tbMenuSpeed.SetEnabled(false);
  } else {
    tbMenuSpeed.SetEnabled(true);
    tbMenuSpeed.SetPosition(kMenuSpeedStandard);
  }
  env_.applyEnabled();
}

void WindowPages::cbRestrictRunClick() {
  const bool on = cbRestrictRun.Checked();
  EnableEdit(lbRestrictRun, on);
  buRestrictRunAdd.SetEnabled(on);
  buRestrictRunDelete.SetEnabled(on);
  env_.applyEnabled();
}

void WindowPages::buRestrictRunAddClick() {
  port::FileDialogOptions options;
  options.filter = ExecutableFilter(env_.qx);
  std::optional<std::string> file = env_.dialogs.OpenFile(env_.app.ActiveWindowHandle(), options);
  if (!file) return;
  lbRestrictRun.Items.Add(FileNameOf(*file));
  env_.applyEnabled();
}

void WindowPages::buRestrictRunDeleteClick() {
  const int row = lbRestrictRun.ItemIndex();
  if (row < 0) return;
  lbRestrictRun.Items.Delete(row);
  lbRestrictRun.SetItemIndex(-1);  // as the list shows it: nothing selected
  env_.applyEnabled();
}

}  // namespace tolvane
