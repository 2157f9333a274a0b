#include "tolvane/page_system.h"

#include <algorithm>

#include "common/qxcommon.h"
#include "tolvane/page_network.h"

namespace tolvane {

namespace {

constexpr const char* kMM = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
constexpr const char* kCV = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kKeyboard = ".DEFAULT\\Control Panel\\Keyboard";

}  // namespace

PerformancePage::PerformancePage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env)
    : gbMemory(sheet.Add<ui::GroupBox>("gbMemory", {16, 8, 654, 250}, "メモリー関連  (推奨：搭載メモリが256MB以上）",
                                       "Memory (Over 256MB only)")),
      cbDisablePagingExecutive(gbMemory.Add<ui::CheckBox>("cbDisablePagingExecutive", {12, 24, 628, 17},
                                                          "カーネルを常に物理メモリに配置",
                                                          "Always kernel stay on memory")),
      gbIoPageLockLimit(gbMemory.Add<ui::GroupBox>("gbIoPageLockLimit", {12, 50, 300, 84}, "ファイルキャッシュサイズ",
                                                   "File cache size")),
      cbIoPageLockLimit(gbIoPageLockLimit.Add<ui::CheckBox>("cbIoPageLockLimit", {12, 24, 276, 17},
                                                            "Windowsに設定をまかせる", "Entrust to Windows")),
      laIoPageLockLimit(gbIoPageLockLimit.Add<ui::Label>("laIoPageLockLimit", {12, 56, 80, 15}, "サイズ (MB)",
                                                         "Size (MB)")),
      edIoPageLockLimit(gbIoPageLockLimit.Add<ui::RightEdit>("edIoPageLockLimit", {96, 52, 60, 21})),
      udIoPageLockLimit(gbIoPageLockLimit.Add<ui::UpDown>("udIoPageLockLimit", {156, 52, 16, 21})),
      cbLargeSystemCache(gbMemory.Add<ui::CheckBox>("cbLargeSystemCache", {12, 146, 628, 17},
                                                    "アプリケーション起動用メモリをLargeモデルにする",
                                                    "Change from small model to large model")),
      cbSecondLevelDataCache(gbMemory.Add<ui::CheckBox>("cbSecondLevelDataCache", {12, 174, 628, 17},
                                                        "２次キャッシュサイズを強制的に512KBで認識させる",
                                                        "Forcibly recognize second data cache size as 512KB")),
      laSecondLevelDataCache(gbMemory.Add<ui::Label>(
          "laSecondLevelDataCache", {32, 198, 608, 36},
          "CPUがPentium-II又はKatmaiコアのPentium-III以外の場合は有効にしないで下さい。",
          "If you not use Pentium-III(Katmai Core) or Pentium-II, you must not validate.")),
      env_(env) {
  laSecondLevelDataCache.WordWrap = true;
  edIoPageLockLimit.SetText("0");
  udIoPageLockLimit.SetRange(0, 256);
  udIoPageLockLimit.Increment = 4;
  udIoPageLockLimit.Wrap = false;
  udIoPageLockLimit.SetAssociate(&edIoPageLockLimit);
  EnableEdit(edIoPageLockLimit, true);

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::CheckBox* box : {&cbDisablePagingExecutive, &cbLargeSystemCache, &cbSecondLevelDataCache})
    box->OnClick = applyEnabled;
  cbIoPageLockLimit.OnClick = [this](ui::Control&) { cbIoPageLockLimitClick(); };
  udIoPageLockLimit.OnChangingEx = [this](ui::Control&, bool& allow, int16_t, ui::UpDownButton) {
    allow = true;
    udIoPageLockLimitChanging();
  };
  // A size typed into the edit becomes the up-down's position.
  numbers.push_back(std::make_unique<NumberEdit>(
      env_, edIoPageLockLimit, UpDownField(udIoPageLockLimit, "ファイルキャッシュサイズ (MB)", "File cache size (MB)")));

  const auto restart = ChangeClass::NeedRestart;
  const char* section = "Performance";
  catalogue.Add(DwordFlag{.check = Of(cbDisablePagingExecutive), .at = {"HKLM", kMM, "DisablePagingExecutive"},
                          .cls = restart, .file = {{section, "DisablePagingExecutive", FileForm::Boolean, "0"}}});
  // The file cache: 0 lets Windows choose (the box); otherwise the position
  // in units of 1024. The loaded position is the stored value's quotient, so
  // that a value the up-down cannot show (above 256 units or below 0) counts
  // as changed when apply writes what the up-down shows.
  catalogue.Add(Custom{
      .control = "udIoPageLockLimit",
      .read =
          [this](RowContext& c) {
            const int32_t v = c.qx.ReadRegInteger("HKLM", kMM, "IoPageLockLimit", 0);
            if (v == 0) {
              cbIoPageLockLimit.SetChecked(true);
              return Loaded{int32_t{0}};
            }
            EnableEdit(edIoPageLockLimit, true);
            udIoPageLockLimit.SetEnabled(true);
            udIoPageLockLimit.SetPosition(v / 1024);
            return Loaded{int32_t{v / 1024}};
          },
      .write = [this](RowContext& c) { c.qx.WriteRegInteger("HKLM", kMM, "IoPageLockLimit", IoPageLockLimitValue()); },
      .standard = [this](RowContext&) { cbIoPageLockLimit.SetChecked(true); },
      .state = [this] { return Loaded{int32_t{udIoPageLockLimit.Position()}}; },
      .cls = restart,
      .file = {{section, "IoPageLockLimit", FileForm::Integer, "0"}},
      // From a settings file: 0 or less lets Windows choose; a size unticks
      // the box and moves the up-down (within its range).
      .fileGet = [this](size_t) { return Loaded{int32_t{udIoPageLockLimit.Position()}}; },
      .fileSet =
          [this](size_t, const Loaded& v) {
            const int32_t n = AsInt(v);
            cbIoPageLockLimit.SetChecked(n <= 0);
            if (n > 0) udIoPageLockLimit.SetPosition(std::clamp(n, udIoPageLockLimit.Min(), udIoPageLockLimit.Max()));
          }});
  catalogue.Add(DwordFlag{.check = Of(cbLargeSystemCache), .at = {"HKLM", kMM, "LargeSystemCache"}, .standard = true,
                          .cls = restart, .file = {{section, "LargeSystemCache", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbSecondLevelDataCache), .at = {"HKLM", kMM, "SecondLevelDataCache"}, .on = 512,
                          .cls = restart, .file = {{section, "SecondLevelDataCache", FileForm::Boolean, "0"}}});

  read = catalogue.Rows({"cbDisablePagingExecutive", "udIoPageLockLimit", "cbLargeSystemCache",
                         "cbSecondLevelDataCache"});
  apply = read;  // step 15 writes in the order of the reads
  standard = read;
}

int32_t PerformancePage::IoPageLockLimitValue() const {
  if (cbIoPageLockLimit.Checked()) return 0;
  return int32_t{udIoPageLockLimit.Position()} << 10;
}

void PerformancePage::cbIoPageLockLimitClick() {
  const bool windowsChooses = cbIoPageLockLimit.Checked();
  if (windowsChooses) udIoPageLockLimit.SetPosition(0);
  EnableEdit(edIoPageLockLimit, !windowsChooses);
  udIoPageLockLimit.SetEnabled(!windowsChooses);
  env_.applyEnabled();
}

void PerformancePage::udIoPageLockLimitChanging() { env_.applyEnabled(); }

SystemPage::SystemPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env)
    : gbRegistration(sheet.Add<ui::GroupBox>("gbRegistration", {16, 8, 654, 132}, "登録情報", "Registration")),
      laProductName(gbRegistration.Add<ui::Label>("laProductName", {12, 24, 628, 15})),
      laProductId(gbRegistration.Add<ui::Label>("laProductId", {12, 46, 628, 15})),
      edRegOwner(gbRegistration.Add<ui::Edit>("edRegOwner", {12, 70, 320, 21})),
      edRegOrganization(gbRegistration.Add<ui::Edit>("edRegOrganization", {12, 100, 320, 21})),
      cbNumLock(sheet.Add<ui::CheckBox>("cbNumLock", {16, 152, 654, 17}, "起動時にNum Lockをオンにする",
                                        "Enable Num Lock after starting")),
      env_(env) {
  // Apply follows a click into the owner or organisation edit, not typing;
  // both are written at every apply all the same.
  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  edRegOwner.OnClick = applyEnabled;
  edRegOrganization.OnClick = applyEnabled;
  cbNumLock.OnClick = applyEnabled;

  auto shown = [&catalogue](ui::Label& label, const char* value) {
    catalogue.Add(Custom{
        .control = label.Name(),
        .read =
            [&label, value](RowContext& c) {
              label.SetCaption(c.qx.ReadRegString("HKLM", kCV, value, ""));
              return Loaded{};
            },
        .write = [](RowContext&) {},
        .standard = [](RowContext&) {}});
  };
  shown(laProductName, "ProductName");
  shown(laProductId, "ProductId");
  catalogue.Add(Text{.edit = Of(edRegOwner), .at = {"HKLM", kCV, "RegisteredOwner"},
                     .file = {{"System", "RegisteredOwner", FileForm::Text, ""}}});
  catalogue.Add(Text{.edit = Of(edRegOrganization), .at = {"HKLM", kCV, "RegisteredOrganization"},
                     .file = {{"System", "RegisteredOrganization", FileForm::Text, ""}}});
  catalogue.Add(StringFlag{.check = Of(cbNumLock), .at = {"HKU", kKeyboard, "InitialKeyboardIndicators"}, .on = "2",
                           .off = "0", .absent = "0", .file = {{"System", "NumLock", FileForm::Boolean, "0"}}});

  readRegistration = catalogue.Rows({"laProductName", "laProductId", "edRegOwner", "edRegOrganization"});
  readNumLock = catalogue.Rows({"cbNumLock"});
  apply = catalogue.Rows({"edRegOwner", "edRegOrganization", "cbNumLock"});
  standard = readNumLock;
}

}  // namespace tolvane
