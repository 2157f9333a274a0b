#include "tolvane/page_explorer.h"

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kTB = "Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr const char* kDelegateFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\"
    "{59031a47-3f72-44a7-89c5-5595fe6b30ee}";
constexpr const char* kMyComputerOpen = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\open";
constexpr const char* kMyComputerCommand = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\open\\command";
constexpr const char* kFolderShell = "Folder\\Shell";
constexpr const char* kRecycleBinClass = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kRecycleBinUserClass =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kMuiCache = "Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
constexpr const char* kDesktopRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kMyComputerRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\mycomputer\\NameSpace\\"
    "{645FF040-5081-101B-9F08-00AA002F954E}";

// The extension of a path, from its last dot after the last backslash.
std::string Extension(const std::string& path) {
  size_t dot = path.rfind('.');
  size_t slash = path.rfind('\\');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot);
}

ui::CheckBox& DriveBox(ui::GroupBox& group, int n) {
  std::string letter(1, static_cast<char>('A' + n));
  int column = n / 5, row = n % 5;
  return group.Add<ui::CheckBox>("cb" + letter, {16 + column * 52, 22 + row * 24, 40, 17}, letter);
}

}  // namespace

std::string DefaultRecycleBinName(const TQXCommon& qx) { return qx.Japanese() ? "ごみ箱" : "Recycle Bin"; }

ExplorerPage::ExplorerPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env)
    : cbDelegateFolders(sheet.Add<ui::CheckBox>("cbDelegateFolders", {16, 12, 330, 17},
                                                "マイコンピュータから共有ドキュメントを隠す",
                                                "Hide shared documents icon within 'My Computer'")),
      gbHideDrives(sheet.Add<ui::GroupBox>("gbHideDrives", {16, 36, 330, 150},
                                           "マイコンピュータウィンドウ内のドライブシンボルを隠す",
                                           "Select drives you wish to hide within explorer below :  ")),
      laHideDrivesNote(sheet.Add<ui::Label>(
          "laHideDrivesNote", {16, 192, 330, 44},
          "この設定をＯＮにすると、スタートボタン上の右クリックで表示される「エクスプローラ」「開く」が選択不可となります。",
          "If you validate this setting, 'explorer' and 'open' menus on start button will be disabled.")),
      cbDblClickExplorer(sheet.Add<ui::CheckBox>("cbDblClickExplorer", {16, 244, 330, 17},
                                                 "マイコンピュータをダブルクリックしたらエクスプローラを起動",
                                                 "Run explorer when you double-click on 'My Computer'")),
      cbBackBitmap(sheet.Add<ui::CheckBox>("cbBackBitmap", {360, 12, 310, 17}, "ツールバーの背景を変更する",
                                           "Change wallpaper of toolbar")),
      gbWallpaperOfToolbar(sheet.Add<ui::GroupBox>("gbWallpaperOfToolbar", {360, 36, 310, 112}, "ツールバー背景",
                                                   "Wallpaper of toolbar")),
      imBackBitmap(gbWallpaperOfToolbar.Add<ui::Image>("imBackBitmap", {12, 22, 80, 80})),
      gbNameOfRecycleBin(sheet.Add<ui::GroupBox>("gbNameOfRecycleBin", {360, 156, 310, 56}, "ごみ箱の名前",
                                                 "Name of Recycle Bin")),
      edTrushName(gbNameOfRecycleBin.Add<ui::Edit>("edTrushName", {12, 24, 286, 21})),
      cbTrush(sheet.Add<ui::CheckBox>("cbTrush", {360, 220, 310, 17}, "ごみ箱アイコンを隠す",
                                      "Hide Recycle Bin icon")),
      cbMyComputerTrush(sheet.Add<ui::CheckBox>("cbMyComputerTrush", {360, 246, 310, 17},
                                                "マイコンピュータにごみ箱を表示",
                                                "Display Recycle Bin within 'My Computer'")),
      env_(env) {
  for (int n = 0; n < 26; ++n) cbDrive[n] = &DriveBox(gbHideDrives, n);
  laHideDrivesNote.WordWrap = true;
  imBackBitmap.SetCursor(ui::Cursor::HandPoint);

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::CheckBox* box : {&cbDelegateFolders, &cbDblClickExplorer, &cbTrush, &cbMyComputerTrush})
    box->OnClick = applyEnabled;
  for (ui::CheckBox* box : cbDrive) box->OnClick = applyEnabled;
  edTrushName.OnChange = applyEnabled;
  cbBackBitmap.OnClick = [this](ui::Control&) { cbBackBitmapClick(); };
  imBackBitmap.OnClick = [this](ui::Control&) { imBackBitmapClick(); };

  // Either way of opening Explorer from My Computer ticks the box; the apply
  // drops the command key and keeps Folder\Shell as the one switch.
  catalogue.Add(Custom{
      .control = "cbDblClickExplorer",
      .read =
          [this](RowContext& c) {
            cbDblClickExplorer.SetChecked(false);
            if (c.qx.ReadRegString("HKCR", kMyComputerCommand, "", "") == "explorer.exe")
              cbDblClickExplorer.SetChecked(true);
            if (c.qx.ReadRegString("HKCR", kFolderShell, "", "") == "explore") cbDblClickExplorer.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            c.qx.DeleteRegKey("HKCR", kMyComputerOpen);
            c.qx.WriteRegString("HKCR", kFolderShell, "", cbDblClickExplorer.Checked() ? "explore" : "");
          },
      .standard = [this](RowContext&) { cbDblClickExplorer.SetChecked(false); },
      .state = [this] { return Loaded{cbDblClickExplorer.Checked()}; },
      .file = {{"Explorer", "DoubleClickThenExplorer", FileForm::Boolean, "0"}}});
  catalogue.Add(KeyPresence{.check = Of(cbDelegateFolders), .root = "HKLM", .key = kDelegateFolders,
                            .tickedWhenPresent = false, .text = "",
                            .file = {{"Explorer", "HideDelegateFolders", FileForm::Boolean, "0"}}});

  // The hidden drives: one mask for 26 boxes. The loaded value is the raw
  // value read, so a mask with bits beyond Z counts as changed at the next
  // apply, which writes only the bits of the boxes.
  std::vector<FileKey> driveKeys;
  for (int n = 0; n < 26; ++n)
    driveKeys.push_back({"Explorer", std::string("Hide Drive:") + static_cast<char>('A' + n), FileForm::Boolean, "0"});
  catalogue.Add(Custom{
      .control = "gbHideDrives",
      .read =
          [this](RowContext& c) {
            int32_t raw = c.qx.ReadRegInteger("HKCU", kPE, "NoDrives", 0);
            ReadDriveMask(raw);
            return Loaded{raw};
          },
      .write = [this](RowContext& c) { c.qx.WriteRegInteger("HKCU", kPE, "NoDrives", DriveMask()); },
      .standard = [this](RowContext&) { ReadDriveMask(0); },
      .state = [this] { return Loaded{DriveMask()}; },
      .cls = ChangeClass::NeedLogoff,
      .file = driveKeys,
      .fileGet = [this](size_t i) { return Loaded{cbDrive.at(i)->Checked()}; },
      .fileSet = [this](size_t i, const Loaded& v) { cbDrive.at(i)->SetChecked(AsBool(v)); }});

  // The name goes to four places, so that the desktop, Explorer and the
  // localized shell name all show it.
  catalogue.Add(Custom{
      .control = "edTrushName",
      .read =
          [this](RowContext& c) {
            edTrushName.SetText(c.qx.ReadRegString("HKCR", kRecycleBinClass, "", DefaultRecycleBinName(c.qx)));
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            const std::string name = edTrushName.Text();
            const std::string shell32 = env_.shell32Path();
            c.qx.WriteRegString("HKCR", kRecycleBinClass, "", name);
            c.qx.WriteRegString("HKCU", kRecycleBinUserClass, "", name);
            c.qx.WriteRegString("HKCR", kRecycleBinClass, "LocalizedString", "@" + shell32 + ",-8964@1041," + name);
            c.qx.WriteRegString("HKCU", kMuiCache, "@" + shell32 + ",-8964", name);
          },
      .standard = [this](RowContext& c) { edTrushName.SetText(DefaultRecycleBinName(c.qx)); },
      .state = [this] { return Loaded{edTrushName.Text()}; },
      .file = {{"Recycle Bin", "Name", FileForm::Text, ""}}});
  Value trushName = [this](const RowContext&) { return edTrushName.Text(); };
  catalogue.Add(KeyPresence{.check = Of(cbTrush), .root = "HKLM", .key = kDesktopRecycleBin,
                            .tickedWhenPresent = false, .text = trushName,
                            .file = {{"Recycle Bin", "NoRecycleBin", FileForm::Boolean, "0"}}});
  catalogue.Add(KeyPresence{.check = Of(cbMyComputerTrush), .root = "HKLM", .key = kMyComputerRecycleBin,
                            .tickedWhenPresent = true, .text = trushName,
                            .file = {{"Recycle Bin", "RecycleBinOnMyComputer", FileForm::Boolean, "0"}}});

  // The toolbar bitmap: the box and the path are one setting; a path that is
  // no .BMP file, or is missing, stays ticked and kept with no picture.
  catalogue.Add(Custom{
      .control = "cbBackBitmap",
      .read =
          [this](RowContext& c) {
            ReadToolbarBitmap(c, "BackBitmap", cbBackBitmap, imBackBitmap, BackBitmapPath);
            return Loaded{};
          },
      .write = [this](RowContext& c) { WriteToolbarBitmap(c, "BackBitmap", cbBackBitmap, BackBitmapPath); },
      .standard = [this](RowContext&) { cbBackBitmap.SetChecked(false); },
      .state = [this] { return Loaded{BackBitmapPath}; },
      .cls = ChangeClass::NeedLogoff,
      .file = {{"Explorer", "BackBitmap", FileForm::Boolean, "0"}, {"Explorer", "BackBitmapFile", FileForm::Text, ""}},
      .fileGet = [this](size_t i) { return i == 0 ? Loaded{cbBackBitmap.Checked()} : Loaded{BackBitmapPath}; },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            if (i == 0) return cbBackBitmap.SetChecked(AsBool(v));
            BackBitmapPath = AsText(v);
            ShowLoadedBitmap(env_, cbBackBitmap, imBackBitmap, BackBitmapPath);
          }});

  readExplorer = catalogue.Rows({"cbDblClickExplorer", "cbDelegateFolders", "gbHideDrives"});
  readRecycleBin = catalogue.Rows({"edTrushName", "cbTrush", "cbMyComputerTrush"});
  readToolbar = catalogue.Rows({"cbBackBitmap"});
  applyExplorer = readExplorer;
  applyRecycleBin = readRecycleBin;
  applyToolbar = readToolbar;
  standard = catalogue.Rows({"cbDelegateFolders", "gbHideDrives", "cbDblClickExplorer", "cbBackBitmap", "cbTrush",
                             "cbMyComputerTrush", "edTrushName"});
}

void ExplorerPage::ReadDriveMask(int32_t mask) {
  // Bit by bit, so that every set bit of the 26 ticks its drive whatever the
  // other bits hold (a mask with the sign bit set included).
  const uint32_t bits = static_cast<uint32_t>(mask);
  for (int n = 25; n >= 0; --n) cbDrive[n]->SetChecked((bits >> n) & 1u);
}

int32_t ExplorerPage::DriveMask() const {
  uint32_t mask = 0;
  for (int n = 0; n < 26; ++n)
    if (cbDrive[n]->Checked()) mask |= 1u << n;
  return static_cast<int32_t>(mask);
}

void ExplorerPage::imBackBitmapClick() { PickToolbarBitmap(env_, imBackBitmap, BackBitmapPath); }

void ExplorerPage::cbBackBitmapClick() { ToolbarBitmapClick(env_, cbBackBitmap, imBackBitmap, BackBitmapPath); }

void ReadToolbarBitmap(RowContext& c, const char* value, ui::CheckBox& box, ui::Image& image, std::string& path) {
  path.clear();
  std::string stored = c.qx.ReadRegString("HKCU", kTB, value, "");
  if (stored.empty()) return;
  box.SetChecked(true);
  if (port::UpperNoCase(Extension(stored)) == ".BMP" && c.files.FileExists(stored)) image.LoadBitmap(stored);
  path = stored;
}

void WriteToolbarBitmap(RowContext& c, const char* value, const ui::CheckBox& box, const std::string& path) {
  if (box.Checked())
    c.qx.WriteRegString("HKCU", kTB, value, path);
  else
    c.qx.DeleteRegValue("HKCU", kTB, value);
}

void PickToolbarBitmap(PageEnv& env, ui::Image& image, std::string& path) {
  port::FileDialogOptions options;
  options.filter = env.qx.Japanese() ? "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp) | *.bmp" : "Bitmap (*.bmp) | *.bmp";
  options.initialDir = env.programFolder();
  std::optional<std::string> file = env.dialogs.OpenPicture(env.app.ActiveWindowHandle(), options);
  if (!file) return;
  if (!image.LoadBitmap(*file)) {
    env.app.MessageBox(env.qx.Japanese() ? "画像ファイルを読み込めません。\r" + *file
                                         : "The picture file cannot be loaded.\r" + *file,
                       "", port::MbIcon::Error, port::MbButtons::OK);
    return;
  }
  path = *file;
  env.applyEnabled();
}

void ShowLoadedBitmap(PageEnv& env, const ui::CheckBox& box, ui::Image& image, const std::string& path) {
  if (box.Checked() && !path.empty() && env.files.FileExists(path)) image.LoadBitmap(path);
}

void ToolbarBitmapClick(PageEnv& env, const ui::CheckBox& box, ui::Image& image, std::string& path) {
  if (!box.Checked()) {
    path.clear();
    image.ClearPicture();
  }
  env.applyEnabled();
}

}  // namespace tolvane
