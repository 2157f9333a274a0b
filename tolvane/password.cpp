#include "tolvane/password.h"

#include <tuple>

#include "tolvane/main_form.h"

namespace tolvane {

namespace {

const char* const kBackupKey = "Tolvane.Backup";

void Error(ui::Application& app, const std::string& text, const std::string& caption) {
  app.MessageBox(text, caption, port::MbIcon::Error);
}

}  // namespace

TfoLogin::TfoLogin(ui::Application& app, TQXCommon& qx, const std::string& lockPassword)
    : ui::Form(app, "foLogin"),
      laEnterPassword(Add<ui::Label>("laEnterPassword", {12, 12, 254, 16}, "パスワードを入力して下さい。",
                                     "Enter Password :")),
      edPassword(Add<ui::Edit>("edPassword", {12, 34, 254, 21})),
      buOK(Add<ui::Button>("buOK", {104, 66, 75, 25}, "OK", "OK")),
      buCancel(Add<ui::Button>("buCancel", {191, 66, 75, 25}, "Cancel", "Cancel")),
      qx_(qx),
      lockPassword_(lockPassword) {
  Border = ui::BorderStyle::Dialog;
  BorderIcons = 0;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(278, 101);
  edPassword.Case = ui::CharCase::Upper;
  edPassword.PasswordChar = U'*';
  ActiveControl = &edPassword;
  buOK.Default = true;
  buOK.OnClick = ui::Bind(this, &TfoLogin::buOKClick);
  buCancel.Cancel = true;
  buCancel.ModalResult = ui::mrCancel;
  OnShow = ui::Bind(this, &TfoLogin::FormShow);
}

void TfoLogin::FormShow() {
  TriesLeft = 3;
  SetCaption(App().Title());
}

void TfoLogin::buOKClick() {
  --TriesLeft;
  if (qx_.NormalizePassword(edPassword.Text()) == lockPassword_) {
    SetModalResult(ui::mrOk);
    return;
  }
  Error(App(), qx_.Japanese() ? "パスワードが違います!!" : "This password is incorrect!!", "Password Error");
  if (TriesLeft <= 0) SetModalResult(ui::mrCancel);
}

TfoSetPassword::TfoSetPassword(ui::Application& app, TQXCommon& qx, std::string& lockPassword)
    : ui::Form(app, "foSetPassword"),
      laNewPassword(Add<ui::Label>("laNewPassword", {12, 12, 180, 16}, "新しいパスワード", "New Password")),
      laNewPasswordConfirmation(Add<ui::Label>("laNewPasswordConfirmation", {12, 44, 180, 16},
                                               "新しいパスワードの確認入力", "New Password (Confirmation)")),
      edNewPassword1(Add<ui::Edit>("edNewPassword1", {196, 10, 150, 21})),
      edNewPassword2(Add<ui::Edit>("edNewPassword2", {196, 42, 150, 21})),
      buOK(Add<ui::Button>("buOK", {358, 8, 75, 25}, "OK", "OK")),
      buCancel(Add<ui::Button>("buCancel", {358, 40, 75, 25}, "ｷｬﾝｾﾙ", "Cancel")),
      qx_(qx),
      lockPassword_(lockPassword) {
  Border = ui::BorderStyle::Dialog;
  Position = ui::FormPosition::OwnerFormCenter;
  SetClientSize(444, 76);
  for (ui::Edit* e : {&edNewPassword1, &edNewPassword2}) {
    e->Case = ui::CharCase::Upper;
    e->PasswordChar = U'*';
  }
  ActiveControl = &edNewPassword1;
  buOK.Default = true;
  buOK.OnClick = ui::Bind(this, &TfoSetPassword::buOKClick);
  buCancel.Cancel = true;
  buCancel.ModalResult = ui::mrCancel;
  OnShow = ui::Bind(this, &TfoSetPassword::FormShow);
}

void TfoSetPassword::FormShow() { SetCaption(App().Title()); }

void TfoSetPassword::buOKClick() {
  if (edNewPassword1.Text() != edNewPassword2.Text()) {
    Error(App(), qx_.Japanese() ? "パスワードが一致しません！！" : "Password is incorrect!!", "");
    return;
  }
  // A longer password would be stored cut short and could never be typed
  // again at the login: refuse it. The limit counts what the scrambling
  // counts, the symbols of the normalised text (a double-byte character of
  // the ANSI code page takes two).
  if (qx_.NormalizePassword(edNewPassword1.Text()).size() > kMaxPasswordLength) {
    Error(App(),
          qx_.Japanese() ? "パスワードは37文字以内で入力して下さい。" : "The password must be at most 37 characters long.",
          "");
    return;
  }
  lockPassword_ = edNewPassword1.Text();
  SetModalResult(ui::mrOk);
}

bool RunLogin(TfoMain& main) {
  TfoLogin login(main.App(), main.QX, main.LockPassword);
  if (!main.QX.Japanese()) login.SwitchToEnglish();
  login.SetCaption(main.App().Title());
  return login.ShowModal() == ui::mrOk;
}

void TfoMain::LoadLockPassword() {
  LockPassword.clear();
  if (!QX.ReadRegString("HKLM", kAppPathsKey, "", "").empty()) {
    for (auto [root, key, name] : {std::tuple{"HKCR", kBackupKey, ""}, std::tuple{"HKLM", kAppPathsKey, "BackPass"},
                                   std::tuple{"HKLM", kSuiteKey, "Password"}}) {
      std::string stored = QX.ReadRegString(root, key, name, "");
      if (!stored.empty()) {
        LockPassword = QX.UnscramblePassword(stored);
        break;
      }
    }
  } else {
    // Stores this program did not write: the suite key's value is taken as
    // it stands.
    LockPassword = QX.ReadRegString("HKLM", kSuiteKey, "Password", "");
  }
}

void TfoMain::WriteLockPassword() {
  std::string scrambled = QX.ScramblePassword(LockPassword);
  QX.WriteRegString("HKCR", kBackupKey, "", scrambled);
  QX.WriteRegString("HKLM", kSuiteKey, "Password", scrambled);
  QX.WriteRegString("HKLM", kAppPathsKey, "BackPass", scrambled);
}

void TfoMain::buPasswordSettingClick() {
  {
    TfoSetPassword dialog(App(), QX, LockPassword);
    dialog.CenterOn = this;
    if (!QX.Japanese()) dialog.SwitchToEnglish();
    dialog.ShowModal();
  }
  sbPlay.SetEnabled(true);
}

}  // namespace tolvane
