#include "nistrel/main_form.h"

#include <stdexcept>

#include "platform/files.h"
#include "platform/system.h"

namespace {

constexpr char CR = '\r';
constexpr int kPageLeft = 20, kAwayFirst = 509, kAway = 520, kReadmeLeft = 3, kReadmeAway = 510;

// A text file's lines, whatever its line ends.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

TfoMain::TfoMain(ui::Application& app, std::string firstArgument)
    : ui::Form(app, "foMain"), QX(app.Ports()), argument_(std::move(firstArgument)) {
  Border = ui::BorderStyle::Single;
  BorderIcons = 0;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(489, 375);
  SetCaption("トルヴァネ ver6.01 for WindowsXP");
  SetHint("Kelvorin ver6.01 for WindowsXP");

  mmReadme = &Add<ui::Memo>("mmReadme", {kReadmeLeft, 4, 484, 321});
  mmReadme->WordWrap = false;  // both scroll bars
  mmReadme->ScrollBars = true;
  mmReadme->SetColor(ui::clBtnFace);
  ui::Font fixed = mmReadme->EffectiveFont();
  fixed.name = "ＭＳ ゴシック";
  mmReadme->SetFont(fixed);

  buBack = &Add<ui::Button>("buBack", {143, 339, 110, 25}, "戻る", "Back");
  buBack->SetEnabled(false);
  buBack->OnClick = ui::Bind(this, &TfoMain::buBackClick);
  buNext = &Add<ui::Button>("buNext", {257, 339, 110, 25}, "同意する", "I Agree");
  buNext->OnClick = ui::Bind(this, &TfoMain::buNextClick);
  buCancel = &Add<ui::Button>("buCancel", {371, 339, 110, 25}, "同意しない", "Cancel");
  buCancel->OnClick = ui::Bind(this, &TfoMain::buCancelClick);

  gbComponent = &Add<ui::GroupBox>("gbComponent", {kAwayFirst, 16, 449, 80},
                                   "インストールするコンポーネントを選択して下さい", "Select components ...");
  cbTolvane = &gbComponent->Add<ui::CheckBox>("cbTolvane", {16, 24, 200, 17}, "トルヴァネ本体", "Kelvorin");
  cbPavrel = &gbComponent->Add<ui::CheckBox>("cbPavrel", {16, 50, 200, 17}, "パヴレル", "Vennick");
  cbMortavel = &gbComponent->Add<ui::CheckBox>("cbMortavel", {232, 24, 200, 17}, "モルタヴェル", "Morlisk");
  cbQuenlish = &gbComponent->Add<ui::CheckBox>("cbQuenlish", {232, 50, 200, 17}, "クエンリッシュ", "Quendrop");
  gbOption = &Add<ui::GroupBox>("gbOption", {kAwayFirst, 108, 449, 80}, "オプション", "Option");
  cbStartMenu = &gbOption->Add<ui::CheckBox>("cbStartMenu", {16, 24, 416, 17}, "スタートメニューに登録する",
                                             "Regist on Start Menu");
  cbDesktop = &gbOption->Add<ui::CheckBox>("cbDesktop", {16, 50, 416, 17}, "デスクトップにショートカットを作成する",
                                           "Create shortcut of Tolvane on desktop");
  for (ui::CheckBox* cb : {cbTolvane, cbPavrel, cbMortavel, cbQuenlish, cbStartMenu, cbDesktop}) cb->SetChecked(true);
  gbFolder = &Add<ui::GroupBox>("gbFolder", {kAwayFirst, 200, 449, 64}, "インストール先を指定して下さい", "Install to:");
  edFolder = &gbFolder->Add<ui::Edit>("edFolder", {16, 26, 330, 21});
  buFolder = &gbFolder->Add<ui::Button>("buFolder", {356, 24, 77, 25}, "参照", "...");
  buFolder->OnClick = ui::Bind(this, &TfoMain::buFolderClick);

  OnShow = ui::Bind(this, &TfoMain::FormShow);
}

void TfoMain::FormShow() {
  QX.ReadSystemInfo();
  if (!QX.Japanese()) {
    SwitchToEnglish();
    ui::Font f = mmReadme->EffectiveFont();
    f.charset = ui::kAnsiCharset;
    f.name = "MS Sans Serif";
    mmReadme->SetFont(f);
  }
  App().SetTitle(Caption());
  buBack->SetEnabled(false);
  UninstallMode = false;
  if (argument_.size() >= 2 && argument_[0] == '/' && (argument_[1] == 'U' || argument_[1] == 'u')) UninstallMode = true;

  if (!QX.WinXP()) {
    App().MessageBox(Say(std::string("このソフトはWindowsXPの環境で動作致します。") + CR + CR + "他の環境には導入できません。",
                         std::string("Unknown operating system !!") + CR + "This software can run on WindowsXP."),
                     "", port::MbIcon::Error);
    App().Terminate();
    return;
  }
  std::string exe = App().Ports().system->ModulePath();
  SourceDir = exe.substr(0, exe.find_last_of('\\') == std::string::npos ? 0 : exe.find_last_of('\\'));
  ListFile = SourceDir + "\\nistrel.ini";
  if (!QX.Administrator()) {
    App().MessageBox(Say(std::string("「トルヴァネ」を導入する為には管理者権限が必要です。") + CR +
                             "システム管理者の方にご相談下さい。" + CR + "インストールは中止します",
                         std::string("This software require Administrator authority.") + CR +
                             "Please contact to your system administrator." + CR + "Install process will cancel."),
                     "Authority Check", port::MbIcon::Information);
    App().Terminate();
    return;
  }
  std::string installed = QX.ReadRegString("HKLM", "Software\\Tazet\\Tolvane", "InstalledDir", "");
  edFolder->SetText(!installed.empty() ? installed : QX.BootDir() + "Program Files\\Tolvane");
  MenuDir = QX.ProgramsDir() + Say("\\トルヴァネ", "\\Kelvorin");

  if (UninstallMode) {
    std::vector<std::string> lines = mmReadme->Lines();
    if (QX.Japanese()) {
      lines.insert(lines.end(), {"「トルヴァネ」で変更した設定を標準に戻したい場合は、",
                                 "アンインストールをする前に「トルヴァネ」を起動して",
                                 "「標準に戻す」ボタンを押して「設定反映」ボタンを",
                                 "押してからアンインストールして下さい。", "",
                                 "「トルヴァネ」を今すぐアンインストールしますか？"});
    } else {
      lines.insert(lines.end(), {"If you wish to return to standard setting of Windows,",
                                 "you have to press \"Standard\" button and \"Apply\" button",
                                 "with Pelrond Grellow before uninstallation", "", "Uninstall immediately ??"});
    }
    mmReadme->SetLines(lines);
    buNext->SetCaption(Say("アンインストール", "Uninstall"));
    buCancel->SetCaption(Say("中止", "Cancel"));
  } else {
    PageNo = 1;
    LoadAgreement(SourceDir + Say("\\licence_ja.txt", "\\licence_en.txt"));
  }
}

// A missing agreement shows the standard error box; the window then opens
// with an empty agreement and installs as usual.
void TfoMain::LoadAgreement(const std::string& path) {
  std::optional<std::string> bytes = App().Ports().files->ReadAll(path);
  if (!bytes) {
    App().HandleException(this, std::make_exception_ptr(std::runtime_error(
                                    Say("ファイル " + path + " を開けません。", "Cannot open file \"" + path + "\""))));
    return;
  }
  mmReadme->SetLines(SplitLines(App().Ports().system->FromAnsi(*bytes)));
}

void TfoMain::buNextClick() {
  if (UninstallMode) {
    SubUninstall();
    App().MessageBox(Say("「トルヴァネ」 をアンインストールしました。", "Uninstall finished successfully!!"), "Uninstall",
                     port::MbIcon::Information);
    Close();
  } else if (PageNo == 1) {
    PageNo = 2;
    buBack->SetEnabled(true);
    buNext->SetCaption(Say("インストール", "Install"));
    buCancel->SetCaption(Say("中止", "Cancel"));
    mmReadme->SetLeft(kReadmeAway);
    for (ui::GroupBox* g : {gbComponent, gbOption, gbFolder}) g->SetLeft(kPageLeft);
  } else {
    Chosen = {cbTolvane->Checked(), cbPavrel->Checked(), cbMortavel->Checked(),
              cbQuenlish->Checked(), cbStartMenu->Checked(), cbDesktop->Checked()};
    InstallDir = edFolder->Text();
    SubInstall();
    Hide();
    App().MessageBox(Say("セットアップが終了しました。", "Setup finished completely."),
                     Say("トルヴァネ セットアップ", "Pelrond Grellow Setup"), port::MbIcon::Information);
    Close();
  }
}

void TfoMain::buBackClick() {
  PageNo = 1;
  buBack->SetEnabled(false);
  buNext->SetCaption(Say("同意する", "I Agree"));
  buCancel->SetCaption(Say("同意しない", "Cancel"));
  mmReadme->SetLeft(kReadmeLeft);
  for (ui::GroupBox* g : {gbComponent, gbOption, gbFolder}) g->SetLeft(kAway);
}

void TfoMain::buCancelClick() { Close(); }

void TfoMain::buFolderClick() {
  std::string chosen = ui::BrowseForFolder("", lastBrowsed_);
  if (chosen.empty()) return;
  lastBrowsed_ = chosen;
  edFolder->SetText(chosen);
}
