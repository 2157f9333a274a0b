#include "tolvane/main_form.h"

namespace tolvane {

namespace {

constexpr int kClientWidth = 692, kClientHeight = 439;
constexpr int kPagesHeight = 400;
// Working lists lie below the visible client area.
constexpr int kHiddenTop = kClientHeight + 20;

ui::ListBox& WorkList(ui::Form& form, const char* name) {
  auto& lb = form.Add<ui::ListBox>(name, {0, kHiddenTop, 120, 40});
  lb.SetVisible(false);
  return lb;
}

ui::SpeedButton& Command(ui::Form& form, const char* name, int index, const char* ja, const char* en) {
  constexpr int width = 90, gap = 7, left = 8;
  return form.Add<ui::SpeedButton>(name, {left + index * (width + gap), kPagesHeight + 6, width, 30}, ja, en);
}

}  // namespace

TfoMain::TfoMain(ui::Application& app, const PagesFactory& pages)
    : ui::Form(app, "foMain"),
      QX(app.Ports()),
      PageControl(Add<ui::PageControl>("PageControl", {0, 0, kClientWidth, kPagesHeight})),
      tsIcon1(PageControl.Add<ui::TabSheet>("tsIcon1", {}, "アイコン (1)", "Icon-1")),
      tsIcon2(PageControl.Add<ui::TabSheet>("tsIcon2", {}, "アイコン (2)", "Icon-2")),
      tsDesktop(PageControl.Add<ui::TabSheet>("tsDesktop", {}, "デスクトップ", "Desktop")),
      tsExplorer(PageControl.Add<ui::TabSheet>("tsExplorer", {}, "エクスプローラ", "Explorer")),
      tsNetwork(PageControl.Add<ui::TabSheet>("tsNetwork", {}, "ネットワーク", "Network")),
      tsContextMenu(PageControl.Add<ui::TabSheet>("tsContextMenu", {}, "右クリックメニュー", "Context Menu")),
      tsShellNew(PageControl.Add<ui::TabSheet>("tsShellNew", {}, "新規作成", "New")),
      tsWindow(PageControl.Add<ui::TabSheet>("tsWindow", {}, "ウィンドウ", "Window")),
      tsRestriction(PageControl.Add<ui::TabSheet>("tsRestriction", {}, "制限", "Restriction")),
      tsIE1(PageControl.Add<ui::TabSheet>("tsIE1", {}, "ie (1)", "ie-1")),
      tsIE2(PageControl.Add<ui::TabSheet>("tsIE2", {}, "ie (2)", "ie-2")),
      tsStartMenu(PageControl.Add<ui::TabSheet>("tsStartMenu", {}, "スタートパネル", "Start Menu")),
      tsLogon1(PageControl.Add<ui::TabSheet>("tsLogon1", {}, "ログオン (1)", "Logon-1")),
      tsLogon2(PageControl.Add<ui::TabSheet>("tsLogon2", {}, "ログオン (2)", "Logon-2")),
      tsPerformance(PageControl.Add<ui::TabSheet>("tsPerformance", {}, "パフォーマンス", "Performance")),
      tsSystem(PageControl.Add<ui::TabSheet>("tsSystem", {}, "システム", "System")),
      tsUninstall(PageControl.Add<ui::TabSheet>("tsUninstall", {}, "アンインストール", "Uninstall")),
      tsRun(PageControl.Add<ui::TabSheet>("tsRun", {}, "自動実行", "Autorun")),
      tsAbout(PageControl.Add<ui::TabSheet>("tsAbout", {}, "About", "About")),
      sbPlay(Command(*this, "sbPlay", 0, "設定反映", "Apply")),
      sbOpen(Command(*this, "sbOpen", 1, "ﾌｧｲﾙを開く", "Open")),
      sbSave(Command(*this, "sbSave", 2, "ﾌｧｲﾙに保存", "Save")),
      sbStandard(Command(*this, "sbStandard", 3, "標準に戻す", "Standard")),
      sbBackup(Command(*this, "sbBackup", 4, "ﾊﾞｯｸｱｯﾌﾟ", "Backup")),
      sbHelp(Command(*this, "sbHelp", 5, "ヘルプ", "Help")),
      sbStop(Command(*this, "sbStop", 6, "閉じる", "Close")),
      laAppName(tsAbout.Add<ui::Label>("laAppName", {40, 40, 600, 40})),
      laSubAppTitle(tsAbout.Add<ui::Label>("laSubAppTitle", {40, 90, 600, 20}, "Windows XP 設定変更ツール")),
      laQuestionRequest(tsAbout.Add<ui::Label>("laQuestionRequest", {40, 170, 600, 20},
                                               "ご質問、ご要望は下記メールアドレスへ",
                                               "Please send any question or request to the following address")),
      laEmail(tsAbout.Add<ui::Label>("laEmail", {60, 200, 500, 20}, "E-Mail : tolvane@tazet.example")),
      laHomePage(tsAbout.Add<ui::Label>("laHomePage", {60, 225, 500, 20}, "Official Site : https://www.tazet.example/")),
      laAboutLine(tsAbout.Add<ui::Label>("laAboutLine", {40, 300, 600, 20}, "Copyright (C) Tazet. All rights reserved.")),
      lbUser(WorkList(*this, "lbUser")),
      lbIdentities(WorkList(*this, "lbIdentities")),
      lbAdapterID(WorkList(*this, "lbAdapterID")),
      lbTemp(WorkList(*this, "lbTemp")),
      lbCopyCurrent(WorkList(*this, "lbCopyCurrent")),
      lbCopyDelete(WorkList(*this, "lbCopyDelete")),
      lbDeltaCurrent(WorkList(*this, "lbDeltaCurrent")),
      lbDeltaDelete(WorkList(*this, "lbDeltaDelete")),
      lbDeltaCurrentRun(WorkList(*this, "lbDeltaCurrentRun")),
      lbDeltaDeleteRun(WorkList(*this, "lbDeltaDeleteRun")),
      lbCopyCurrentShellNew(WorkList(*this, "lbCopyCurrentShellNew")),
      lbCopyDeleteShellNew(WorkList(*this, "lbCopyDeleteShellNew")),
      lbDeltaCurrentShellNew(WorkList(*this, "lbDeltaCurrentShellNew")),
      lbDeltaDeleteShellNew(WorkList(*this, "lbDeltaDeleteShellNew")) {
  SetCaption("トルヴァネ ver6.01 for WindowsXP");
  SetHint("Kelvorin ver6.01 for WindowsXP");
  Border = ui::BorderStyle::Single;
  BorderIcons = ui::biSystemMenu | ui::biMinimize;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(kClientWidth, kClientHeight);
  PageControl.MultiLine = true;
  PageControl.SetActivePageIndex(0);

  ui::Font big = laAppName.EffectiveFont();
  big.SetSize(20);
  big.bold = true;
  laAppName.SetFont(big);
  for (ui::Label* link : {&laEmail, &laHomePage}) {
    link->SetCursor(ui::Cursor::HandPoint);
    ui::Font f = link->EffectiveFont();
    f.underline = true;
    f.color = ui::clBlue;
    link->SetFont(f);
  }

  sbPlay.OnClick = ui::Bind(this, &TfoMain::sbPlayClick);
  sbStandard.OnClick = ui::Bind(this, &TfoMain::sbStandardClick);
  sbSave.OnClick = ui::Bind(this, &TfoMain::sbSaveClick);
  sbOpen.OnClick = ui::Bind(this, &TfoMain::sbOpenClick);
  sbBackup.OnClick = ui::Bind(this, &TfoMain::sbBackupClick);
  sbHelp.OnClick = ui::Bind(this, &TfoMain::sbHelpClick);
  sbStop.OnClick = ui::Bind(this, &TfoMain::sbStopClick);
  laEmail.OnClick = ui::Bind(this, &TfoMain::laEmailClick);
  laHomePage.OnClick = ui::Bind(this, &TfoMain::laHomePageClick);
  OnShow = ui::Bind(this, &TfoMain::FormShow);
  OnCloseQuery = [this](ui::Control&, bool& canClose) { canClose = FormCloseQuery(); };

  if (pages) pages_ = pages(*this);
  FormCreate();
}

TfoMain::~TfoMain() = default;

void TfoMain::FormCreate() {
  App().OnException = [this](ui::Control*, const std::exception& e) { SubAppException(e); };
}

void TfoMain::SubAppException(const std::exception& e) {
  std::string apology = QX.Japanese()
                            ? "ご迷惑をお掛けし申し訳ありません\rお手数ですが上記エラー内容をメールでご連絡頂ければ幸いです。"
                            : "Sorry, my program detected error.\rPlease inform me about above error message with E-mail.";
  App().MessageBox(std::string(e.what()) + "\r\r" + apology, "Exception Error", port::MbIcon::Error);
  App().Terminate();
}

void TfoMain::SwitchToEnglish() {
  ui::EnglishExceptions exceptions;
  exceptions.blank = {"laNoSaveSettingsNote", "laSubAppTitle"};
  exceptions.keep = {"laMTUNote"};
  exceptions.arial = {"laAppName", "laQuestionRequest"};
  ui::Form::SwitchToEnglish(exceptions);
}

}  // namespace tolvane
