// The lock password: the login asked at start, the dialog that changes it,
// and its three stores (written by every apply).
#pragma once
#include <string>

#include "ui/ui.h"

class TQXCommon;

namespace tolvane {

class TfoMain;

// The longest password that survives scrambling unchanged.
inline constexpr size_t kMaxPasswordLength = 37;

class TfoLogin : public ui::Form {
 public:
  TfoLogin(ui::Application& app, TQXCommon& qx, const std::string& lockPassword);
  ui::Label& laEnterPassword;
  ui::Edit& edPassword;
  ui::Button& buOK;
  ui::Button& buCancel;
  int TriesLeft = 3;
  void FormShow();
  void buOKClick();

 private:
  TQXCommon& qx_;
  const std::string& lockPassword_;
};

class TfoSetPassword : public ui::Form {
 public:
  TfoSetPassword(ui::Application& app, TQXCommon& qx, std::string& lockPassword);
  ui::Label& laNewPassword;
  ui::Label& laNewPasswordConfirmation;
  ui::Edit& edNewPassword1;
  ui::Edit& edNewPassword2;
  ui::Button& buOK;
  ui::Button& buCancel;
  void FormShow();
  void buOKClick();

 private:
  TQXCommon& qx_;
  std::string& lockPassword_;
};

// Shows the login for main.LockPassword; true when it was confirmed.
bool RunLogin(TfoMain& main);

}  // namespace tolvane
