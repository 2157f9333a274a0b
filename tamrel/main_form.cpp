#include "tamrel/main_form.h"

#include <charconv>
#include <stdexcept>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace {

constexpr uintptr_t kInstance = 0;  // the program's own instance
const char kShellIcons[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
const char kFolderSection[] = ".ShellClassInfo";

// An integer of an INI file as the class library reads it: signed decimal,
// "0x" followed by hex digits, or "$" and hex digits; anything else gives def.
int32_t IniInteger(const std::string& text, int32_t def) {
  std::string s = text;
  int base = 10;
  bool negative = false;
  size_t at = 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    at = 2;
  } else {
    if (at < s.size() && (s[at] == '-' || s[at] == '+')) negative = s[at++] == '-';
    if (at < s.size() && s[at] == '$') {
      base = 16;
      ++at;
    }
  }
  if (at >= s.size()) return def;
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data() + at, s.data() + s.size(), v, base);
  if (ec != std::errc() || end != s.data() + s.size()) return def;
  if (negative) v = -v;
  if (base == 16 && v > INT32_MAX && v <= UINT32_MAX) v -= int64_t{1} << 32;  // "$FFFFFFFF" is -1
  if (v < INT32_MIN || v > INT32_MAX) return def;
  return static_cast<int32_t>(v);
}

}  // namespace

TfoMain::TfoMain(ui::Application& app, std::string targetPath)
    : ui::Form(app, "foMain"), QX(app.Ports()), argument_(std::move(targetPath)) {
  Border = ui::BorderStyle::Single;
  BorderIcons = ui::biSystemMenu;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(252, 117);

  gbFolderIcon = &Add<ui::GroupBox>("gbFolderIcon", {16, 20, 81, 73}, "アイコン", "Icon");
  imFolder = &gbFolderIcon->Add<ui::Image>("imFolder", {24, 26, 32, 32});
  imFolder->SetCursor(ui::Cursor::HandPoint);
  imFolder->OnClick = ui::Bind(this, &TfoMain::imFolderClick);

  sbOK = &Add<ui::SpeedButton>("sbOK", {147, 8, 93, 29}, "設定反映", "Apply");
  sbOK->OnClick = ui::Bind(this, &TfoMain::sbOKClick);
  sbStandard = &Add<ui::SpeedButton>("sbStandard", {147, 44, 93, 29}, "標準に戻す", "Return");
  sbStandard->OnClick = ui::Bind(this, &TfoMain::sbStandardClick);
  sbClose = &Add<ui::SpeedButton>("sbClose", {147, 80, 93, 29}, "　閉じる　", "Close");
  sbClose->OnClick = ui::Bind(this, &TfoMain::sbCloseClick);

  OnShow = ui::Bind(this, &TfoMain::FormShow);
}

// A drive is a letter, a colon and a backslash ("C:\"); anything else is a folder.
bool TfoMain::IsDrive() const {
  return TargetPath.size() == 3 && ((TargetPath[0] >= 'A' && TargetPath[0] <= 'Z') || (TargetPath[0] >= 'a' && TargetPath[0] <= 'z')) &&
         TargetPath[1] == ':' && TargetPath[2] == '\\';
}

std::string TfoMain::DriveIconKey() const {
  return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\DriveIcons\\" + TargetPath.substr(0, 1) +
         "\\DefaultIcon";
}

void TfoMain::FormShow() {
  QX.ReadSystemInfo();
  if (!QX.Japanese()) SwitchToEnglish();
  IconDir = QX.ReadRegString("HKLM", "Software\\Tazet\\Tolvane", "IconDir", "");
  DriveDefaultLocation = QX.ReadRegString("HKLM", kShellIcons, "8", QX.SysDir() + "\\shell32.dll,8");
  FolderDefaultLocation = QX.ReadRegString("HKLM", kShellIcons, "3", QX.SysDir() + "\\shell32.dll,3");
  TargetPath = argument_;
  SetCaption(TargetPath);

  port::Profile& ini = *App().Ports().profile;
  if (IsDrive()) {
    IniPath = TargetPath + "AUTORUN.INF";
    HeldLocation = ini.Read(IniPath, "autorun", "icon", "");
    if (HeldLocation.empty()) HeldLocation = QX.ReadRegString("HKLM", DriveIconKey(), "", "");
    if (HeldLocation.empty()) HeldLocation = DriveDefaultLocation;
  } else {
    IniPath = TargetPath + "\\Desktop.ini";
    int32_t index = IniInteger(ini.Read(IniPath, kFolderSection, "IconIndex", ""), 0);
    std::string file = ini.Read(IniPath, kFolderSection, "IconFile", "");
    HeldLocation = file + "," + std::to_string(index);
    if (file.empty()) HeldLocation = FolderDefaultLocation;
  }
  ShowHeldIcon();
}

void TfoMain::ShowHeldIcon() { imFolder->SetIcon(QX.GetIconHandle(kInstance, HeldLocation)); }

void TfoMain::SubIconList() {
  // The picker's change flag tells the settings tool to enable Apply; here
  // Apply is always there.
  bool changed = false;
  ::SubIconList(*foIconList, App().Title(), *imFolder, HeldLocation, changed, IconDir);
}

void TfoMain::imFolderClick() { SubIconList(); }

void TfoMain::sbOKClick() {
  if (IsDrive())
    ApplyDrive();
  else
    ApplyFolder();
}

void TfoMain::ApplyDrive() {
  // AUTORUN.INF is the drive's own and stays as it is.
  QX.WriteRegString("HKLM", DriveIconKey(), "", HeldLocation);
  App().Ports().shell->ChangeNotify(port::kShcneAssocChanged, port::kShcnfFlush);
  Close();
}

void TfoMain::WriteIni(const std::string& key, const std::string& value) {
  if (App().Ports().profile->Write(IniPath, kFolderSection, key, value)) return;
  throw std::runtime_error(QX.Japanese() ? IniPath + " に書き込めません" : "Unable to write to " + IniPath);
}

void TfoMain::ApplyFolder() {
  port::Files& files = *App().Ports().files;
  QX.SplitIconLocation(HeldLocation);
  WriteIni("IconIndex", std::to_string(QX.IconIndex()));
  WriteIni("IconFile", QX.FileName());
  files.SetAttributes(IniPath, port::kAttrHidden | port::kAttrArchive);

  // Explorer reads Desktop.ini of a folder marked read-only or system. The
  // read-only and system bits change in two steps (first both set or only
  // read-only, then read-only cleared); the folder keeps its other
  // attributes, so a hidden folder stays hidden. Failures are not reported.
  constexpr uint32_t kOwn = port::kAttrReadOnly | port::kAttrSystem | port::kAttrDirectory;
  uint32_t kept = (files.Attributes(TargetPath).value_or(0) & ~kOwn) | port::kAttrArchive;
  if (HeldLocation != FolderDefaultLocation) {
    files.SetAttributes(TargetPath, kept | port::kAttrReadOnly | port::kAttrSystem);
    files.SetAttributes(TargetPath, kept | port::kAttrSystem);
  } else {
    files.SetAttributes(TargetPath, kept | port::kAttrReadOnly);
    files.SetAttributes(TargetPath, kept);
  }
  App().Ports().shell->ChangeNotify(port::kShcneAssocChanged, port::kShcnfFlush);
  Close();
}

void TfoMain::sbStandardClick() {
  bool japanese = QX.Japanese();
  if (IsDrive()) {
    HeldLocation = DriveDefaultLocation;
    App().MessageBox(japanese ? "完全に標準に戻したい場合は、\r各ドライブのルートにある\rAUTORUN.INFを削除して下さい。"
                              : "If you want to return standard completely,\rremove AUTORUN.INF on root directory.",
                     japanese ? "確認" : "", port::MbIcon::None);
  } else {
    HeldLocation = FolderDefaultLocation;
    App().MessageBox(japanese ? "完全に標準に戻したい場合は、\r各フォルダの直下にある\rDESKTOP.INIを削除して下さい。"
                              : "If you want to return standard completely,\rremove DESKTOP.INI in this folder.",
                     japanese ? "確認" : "", port::MbIcon::None);
  }
  ShowHeldIcon();
}

void TfoMain::sbCloseClick() { Close(); }
