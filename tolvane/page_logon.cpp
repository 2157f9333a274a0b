#include "tolvane/page_logon.h"

#include <algorithm>

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "tolvane/page_network.h"
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kWL = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kAC = "SOFTWARE\\Tazet\\Tolvane\\AutoClean";
constexpr const char* kCM = "SOFTWARE\\Tazet\\Tolvane\\CleanMRU";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
constexpr const char* kDefaultDesktop = ".DEFAULT\\Control Panel\\desktop";
constexpr const char* kStandardBackground = "58 110 165";

// A text split at its first blank; without a blank the part before is empty
// and the whole text goes on.
std::pair<std::string, std::string> SplitAtBlank(const std::string& text) {
  size_t blank = text.find(' ');
  if (blank == std::string::npos) return {"", text};
  return {text.substr(0, blank), text.substr(blank + 1)};
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

int ColourPart(const std::string& text) {
  std::optional<int64_t> n = DecimalNumber(Trimmed(text));
  if (!n) return 0;
  return static_cast<int>(std::clamp<int64_t>(*n, 0, 255));
}

LogonPages::LogonPages(ui::TabSheet& tsLogon1, ui::TabSheet& tsLogon2, Catalogue& catalogue, PageEnv& env,
                       Commands commands)
    : gbLoginMessage(tsLogon1.Add<ui::GroupBox>("gbLoginMessage", {16, 8, 330, 84},
                                                "ログオンする前にダイアログメッセージを表示する",
                                                "Dialog message before login")),
      laLoginMessageTitle(gbLoginMessage.Add<ui::Label>("laLoginMessageTitle", {12, 27, 68, 15}, "タイトル", "Title")),
      edLegalNoticeCaption(gbLoginMessage.Add<ui::Edit>("edLegalNoticeCaption", {84, 23, 234, 21})),
      laLoginMessage(gbLoginMessage.Add<ui::Label>("laLoginMessage", {12, 55, 68, 15}, "メッセージ", "Message")),
      edLegalNoticeText(gbLoginMessage.Add<ui::Edit>("edLegalNoticeText", {84, 51, 234, 21})),
      cbDontDisplayLastUserName(tsLogon1.Add<ui::CheckBox>("cbDontDisplayLastUserName", {16, 102, 330, 17},
                                                           "最後にログオンしたユーザー名を表示しない",
                                                           "Disable display last login user")),
      gbAutoLogin(tsLogon1.Add<ui::GroupBox>("gbAutoLogin", {16, 128, 330, 112}, "自動ログオン", "Automatic Login")),
      cbAutoAdminLogon(gbAutoLogin.Add<ui::CheckBox>("cbAutoAdminLogon", {12, 24, 306, 17}, "自動ログオンする",
                                                     "Enable automatic login")),
      laAutoLoginUser(gbAutoLogin.Add<ui::Label>("laAutoLoginUser", {12, 56, 68, 15}, "ユーザー名", "User")),
      edDefaultUserName(gbAutoLogin.Add<ui::Edit>("edDefaultUserName", {84, 52, 234, 21})),
      laAutoLoginPassword(gbAutoLogin.Add<ui::Label>("laAutoLoginPassword", {12, 84, 68, 15}, "パスワード",
                                                     "Password")),
      edDefaultPassword(gbAutoLogin.Add<ui::Edit>("edDefaultPassword", {84, 80, 234, 21})),
      gbLoginWallpaper(tsLogon1.Add<ui::GroupBox>("gbLoginWallpaper", {360, 8, 310, 60}, "ログオン画面の壁紙",
                                                  "Wallpaper when login")),
      edWallpaper(gbLoginWallpaper.Add<ui::Edit>("edWallpaper", {12, 25, 242, 21})),
      buWallpaper(gbLoginWallpaper.Add<ui::Button>("buWallpaper", {260, 24, 38, 23}, "参照", "...")),
      gbLoginBackColor(tsLogon1.Add<ui::GroupBox>("gbLoginBackColor", {360, 76, 310, 84}, "ログオン画面の背景色",
                                                  "Background color when login")),
      paBackground(gbLoginBackColor.Add<ui::Panel>("paBackground", {12, 24, 96, 48})),
      cbRmWinTempFile(tsLogon2.Add<ui::CheckBox>("cbRmWinTempFile", {16, 12, 654, 17}, "ログオン時にTempフォルダ内を削除",
                                                 "Remove files within temp folder when login")),
      cbFilesOnly(tsLogon2.Add<ui::CheckBox>("cbFilesOnly", {36, 38, 634, 17},
                                             "ファイルだけを削除（Tempフォルダ内のフォルダは削除されません）",
                                             "Remove files only. In other word, folder is not remove.")),
      laRmWinTempFileNote2(tsLogon2.Add<ui::Label>("laRmWinTempFileNote2", {36, 64, 76, 15}, "対象フォルダ：",
                                                   "Folder :")),
      laRmTempDir(tsLogon2.Add<ui::Label>("laRmTempDir", {116, 64, 554, 15}, "（環境変数TEMPの取得ができません）",
                                          "( Unknown )")),
      gbRemoveHistoryList(tsLogon2.Add<ui::GroupBox>("gbRemoveHistoryList", {16, 92, 654, 108},
                                                     "ログオン時に以下の履歴を削除する", "Remove history list")),
      cbRmRecent(gbRemoveHistoryList.Add<ui::CheckBox>("cbRmRecent", {12, 24, 630, 17}, "「最近使ったファイル」",
                                                       "Documents (Start Menu)")),
      cbRmFindMRU(gbRemoveHistoryList.Add<ui::CheckBox>("cbRmFindMRU", {12, 50, 630, 17},
                                                        "「検索条件」で入力された文字列", "String of find condition")),
      cbRmRunMRU(gbRemoveHistoryList.Add<ui::CheckBox>("cbRmRunMRU", {12, 76, 630, 17},
                                                       "「ファイル名を指定して実行」で入力された文字列",
                                                       "String of 'Run ...'")),
      env_(env),
      commands_(std::move(commands)) {
  edDefaultPassword.PasswordChar = U'*';
  paBackground.BevelOuter = ui::Bevel::Lowered;
  paBackground.SetCursor(ui::Cursor::HandPoint);
  // Unticked as the form holds it: the files-only switch waits for the box.
  cbFilesOnly.SetEnabled(false);
  EnableEdit(edDefaultUserName, false);
  EnableEdit(edDefaultPassword, false);

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::Edit* edit : {&edLegalNoticeCaption, &edLegalNoticeText, &edDefaultUserName, &edDefaultPassword,
                         &edWallpaper})
    edit->OnChange = applyEnabled;
  for (ui::CheckBox* box : {&cbDontDisplayLastUserName, &cbFilesOnly, &cbRmRecent, &cbRmFindMRU, &cbRmRunMRU})
    box->OnClick = applyEnabled;
  cbAutoAdminLogon.OnClick = [this](ui::Control&) { cbAutoAdminLogonClick(); };
  buWallpaper.OnClick = [this](ui::Control&) { buWallpaperClick(); };
  paBackground.OnClick = [this](ui::Control&) { paBackgroundClick(); };
  cbRmWinTempFile.OnClick = [this](ui::Control&) { cbRmWinTempFileClick(); };

  const auto logoff = ChangeClass::NeedLogoff;

  // --- tsLogon2: the clean-up switches -------------------------------------
  catalogue.Add(DwordFlag{.check = Of(cbRmWinTempFile), .at = {"HKLM", kAC, "WinTempFile"}, .cls = logoff,
                          .file = {{"Logon", "AutoCleanWinTempFile", FileForm::Boolean, "0"}}});
  catalogue.Add(Custom{
      .control = "laRmTempDir",
      .read =
          [this](RowContext& c) {
            laRmTempDir.SetCaption(c.qx.TempDir());
            return Loaded{};
          },
      .write = [](RowContext&) {},
      .standard = [](RowContext&) {}});
  catalogue.Add(DwordFlag{.check = Of(cbFilesOnly), .at = {"HKLM", kAC, "FilesOnly"}, .absent = 1, .standard = true,
                          .file = {{"Logon", "AutoCleanFilesOnly", FileForm::Boolean, "1"}}});
  // The older CleanMRU key goes at every apply; its switches live on under
  // AutoClean.
  catalogue.Add(Custom{.control = "CleanMRU",
                       .read = [](RowContext&) { return Loaded{}; },
                       .write = [](RowContext& c) { c.qx.DeleteRegKey("HKLM", kCM); },
                       .standard = [](RowContext&) {}});
  // A history switch is on when either key holds 1, so that a switch set by
  // an older version stays on.
  auto history = [&](ui::CheckBox& box, const char* value, const char* fileKey, const char* oldFileKey) {
    catalogue.Add(Custom{
        .control = box.Name(),
        .read =
            [&box, value](RowContext& c) {
              box.SetChecked(c.qx.ReadRegInteger("HKLM", kCM, value, 0) == 1);
              if (c.qx.ReadRegInteger("HKLM", kAC, value, 0) == 1) box.SetChecked(true);
              return Loaded{};
            },
        .write = [&box, value](RowContext& c) { c.qx.WriteRegInteger("HKLM", kAC, value, box.Checked() ? 1 : 0); },
        .standard = [&box](RowContext&) { box.SetChecked(false); },
        .state = [&box] { return Loaded{box.Checked()}; },
        .cls = logoff,
        // Read: the older "MRU" key first, whose state is the default of the newer one.
        .file = {{"MRU", oldFileKey, FileForm::Boolean, "0"}, {"Logon", fileKey, FileForm::Boolean, ""}}});
  };
  history(cbRmRecent, "RecentDocs", "AutoCleanRecentMRU", "Recent");
  history(cbRmFindMRU, "Doc Find Spec MRU", "AutoCleanFindMRU", "Find");
  history(cbRmRunMRU, "RunMRU", "AutoCleanRunMRU", "Run");
  // The companion runs at logon for the machine only while it has work:
  // any switch but files-only.
  catalogue.Add(Custom{
      .control = "TolvaneAutoClean",
      .read = [](RowContext&) { return Loaded{}; },
      .write =
          [this](RowContext& c) {
            c.qx.DeleteRegValue("HKCU", kRun, "TolvaneCleanMRU");
            c.qx.DeleteRegValue("HKLM", kRun, "TolvaneCleanMRU");
            const bool work = cbRmWinTempFile.Checked() || cbRmRecent.Checked() || cbRmFindMRU.Checked() ||
                              cbRmRunMRU.Checked();
            c.qx.DeleteRegValue("HKCU", kRun, "TolvaneAutoClean");
            if (work)
              c.qx.WriteRegString("HKLM", kRun, "TolvaneAutoClean", commands_.autoClean());
            else
              c.qx.DeleteRegValue("HKLM", kRun, "TolvaneAutoClean");
          },
      .standard = [](RowContext&) {}});

  // --- tsLogon1 ------------------------------------------------------------
  catalogue.Add(StringFlag{.check = Of(cbDontDisplayLastUserName), .at = {"HKLM", kWL, "DontDisplayLastUserName"},
                           .file = {{"Logon", "DontDisplayLastUserName", FileForm::Boolean, "0"}}});
  // Unticked, only "0" is written: the stored name and password stay.
  catalogue.Add(StringFlag{.check = Of(cbAutoAdminLogon), .at = {"HKLM", kWL, "AutoAdminLogon"},
                           .file = {{"Logon", "AutoAdminLogon", FileForm::Boolean, "0"}}});
  // The name and password edits are enabled only when automatic logon is on
  // and a value is stored; they are written only when automatic logon is on.
  auto logonValue = [&](ui::Edit& edit, const char* value, const char* fileKey) {
    catalogue.Add(Custom{
        .control = edit.Name(),
        .read =
            [this, &edit, value](RowContext& c) {
              edit.SetText("");
              EnableEdit(edit, false);
              std::string stored = c.qx.ReadRegString("HKLM", kWL, value, "");
              if (!stored.empty()) {
                edit.SetText(stored);
                if (cbAutoAdminLogon.Checked()) EnableEdit(edit, true);
              }
              return Loaded{};
            },
        .write =
            [this, &edit, value](RowContext& c) {
              if (cbAutoAdminLogon.Checked()) c.qx.WriteRegString("HKLM", kWL, value, edit.Text());
            },
        .standard = [&edit](RowContext&) { edit.SetText(""); },
        .state = [&edit] { return Loaded{edit.Text()}; },
        .file = {{"Logon", fileKey, FileForm::Text, ""}}});
  };
  logonValue(edDefaultUserName, "DefaultUserName", "DefaultUserName");
  logonValue(edDefaultPassword, "DefaultPassword", "DefaultPassword");
  catalogue.Add(Text{.edit = Of(edLegalNoticeCaption), .at = {"HKLM", kWL, "LegalNoticeCaption"},
                     .file = {{"Logon", "LegalNoticeCaption", FileForm::Text, ""}}});
  catalogue.Add(Text{.edit = Of(edLegalNoticeText), .at = {"HKLM", kWL, "LegalNoticeText"},
                     .file = {{"Logon", "LegalNoticeText", FileForm::Text, ""}}});
  catalogue.Add(Text{.edit = Of(edWallpaper), .at = {"HKU", kDefaultDesktop, "Wallpaper"},
                     .file = {{"Logon", "Wallpaper", FileForm::Text, ""}}});
  catalogue.Add(Custom{
      .control = "paBackground",
      .read =
          [this](RowContext& c) {
            ReadBackground(c.qx.ReadRegString("HKLM", kWL, "Background", kStandardBackground));
            return Loaded{};
          },
      .write = [this](RowContext& c) { c.qx.WriteRegString("HKLM", kWL, "Background", BackgroundText()); },
      .standard = [this](RowContext&) { ReadBackground(kStandardBackground); },
      .state = [this] { return Loaded{LogonBackgroundRed + " " + LogonBackgroundGreen + " " + LogonBackgroundBlue}; },
      .file = {{"Logon", "Background RValue", FileForm::Text, "0"},
               {"Logon", "Background GValue", FileForm::Text, "0"},
               {"Logon", "Background BValue", FileForm::Text, "0"}},
      // A part from a settings file is taken only as an integer from 0 to 255.
      .fileGet =
          [this](size_t i) {
            return Loaded{i == 0 ? LogonBackgroundRed : i == 1 ? LogonBackgroundGreen : LogonBackgroundBlue};
          },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            std::optional<int32_t> n = FileInteger(AsText(v));
            std::string& part = i == 0 ? LogonBackgroundRed : i == 1 ? LogonBackgroundGreen : LogonBackgroundBlue;
            part = n && *n >= 0 && *n <= 255 ? std::to_string(*n) : "0";
            ShowBackground();
          }});

  readLogon2 = catalogue.Rows({"cbRmWinTempFile", "laRmTempDir", "cbFilesOnly", "cbRmRecent", "cbRmFindMRU",
                               "cbRmRunMRU"});
  readLogon1 = catalogue.Rows({"cbDontDisplayLastUserName", "cbAutoAdminLogon", "edDefaultUserName",
                               "edDefaultPassword", "edLegalNoticeCaption", "edLegalNoticeText", "edWallpaper",
                               "paBackground"});
  applyCleanup = catalogue.Rows({"cbRmWinTempFile", "cbFilesOnly", "CleanMRU", "cbRmRecent", "cbRmFindMRU",
                                 "cbRmRunMRU", "TolvaneAutoClean"});
  applyLogon = readLogon1;  // step 20 writes in the order of the reads
  standard = catalogue.Rows({"edLegalNoticeCaption", "edLegalNoticeText", "cbDontDisplayLastUserName",
                             "cbAutoAdminLogon", "edDefaultUserName", "edDefaultPassword", "edWallpaper",
                             "paBackground", "cbRmWinTempFile", "cbFilesOnly", "cbRmRecent", "cbRmFindMRU",
                             "cbRmRunMRU"});
}

void LogonPages::ReadBackground(const std::string& stored) {
  auto [red, rest] = SplitAtBlank(stored);
  auto [green, blue] = SplitAtBlank(rest);
  LogonBackgroundRed = red;
  LogonBackgroundGreen = green;
  LogonBackgroundBlue = blue;
  ShowBackground();
}

void LogonPages::ShowBackground() {
  paBackground.SetColor(
      ui::RGB(ColourPart(LogonBackgroundRed), ColourPart(LogonBackgroundGreen), ColourPart(LogonBackgroundBlue)));
}

std::string LogonPages::BackgroundText() const {
  return std::to_string(ColourPart(LogonBackgroundRed)) + " " + std::to_string(ColourPart(LogonBackgroundGreen)) +
         " " + std::to_string(ColourPart(LogonBackgroundBlue));
}

void LogonPages::cbAutoAdminLogonClick() {
  const bool on = cbAutoAdminLogon.Checked();
  EnableEdit(edDefaultUserName, on);
  EnableEdit(edDefaultPassword, on);
  env_.applyEnabled();
}

void LogonPages::buWallpaperClick() {
  port::FileDialogOptions options;
  options.filter = env_.qx.Japanese() ? "ビットマップ (*.BMP) | *.BMP" : "Bitmap (*.BMP) | *.BMP";
  options.initialDir = env_.qx.WinDir();
  if (std::optional<std::string> file = env_.dialogs.OpenPicture(env_.app.ActiveWindowHandle(), options))
    edWallpaper.SetText(*file);
}

void LogonPages::paBackgroundClick() {
  std::optional<uint32_t> chosen = env_.dialogs.ChooseColor(env_.app.ActiveWindowHandle(), paBackground.GetColor());
  if (!chosen) return;
  LogonBackgroundRed = std::to_string(*chosen & 0xFF);
  LogonBackgroundGreen = std::to_string((*chosen >> 8) & 0xFF);
  LogonBackgroundBlue = std::to_string((*chosen >> 16) & 0xFF);
  paBackground.SetColor(*chosen & 0xFFFFFF);
  env_.applyEnabled();
}

void LogonPages::cbRmWinTempFileClick() {
  cbFilesOnly.SetEnabled(cbRmWinTempFile.Checked());
  env_.applyEnabled();
}

}  // namespace tolvane
