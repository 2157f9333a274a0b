#include "tolvane/page_desktop.h"

#include "common/qxcommon.h"

namespace tolvane {

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kCPD = "Control Panel\\desktop";

}  // namespace

std::string ControlPanelFolder(const TQXCommon& qx) {
  return qx.DesktopDir() + (qx.Japanese() ? "\\ｺﾝﾄﾛｰﾙ ﾊﾟﾈﾙ.{21EC2020-3AEA-1069-A2DD-08002B30309D}"
                                          : "\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}");
}

std::string PrintersFolder(const TQXCommon& qx) {
  return qx.DesktopDir() + (qx.Japanese() ? "\\ﾌﾟﾘﾝﾀ.{2227A280-3AEA-1069-A2DE-08002B30309D}"
                                          : "\\Printers.{2227A280-3AEA-1069-A2DE-08002B30309D}");
}

DesktopPage::DesktopPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env)
    : cbNoActiveDesktop(sheet.Add<ui::CheckBox>("cbNoActiveDesktop", {16, 44, 330, 17},
                                                "アクティブデスクトップを無効にする", "Disable Active Desktop")),
      cbDesktopControlPanel(sheet.Add<ui::CheckBox>("cbDesktopControlPanel", {16, 72, 330, 17},
                                                    "デスクトップにコントロールパネルを追加する",
                                                    "Create 'Control Panel' icon on desktop")),
      cbDesktopPrinter(sheet.Add<ui::CheckBox>("cbDesktopPrinter", {16, 100, 330, 17},
                                               "デスクトップにプリンタを追加する",
                                               "Create 'Printers' icon on desktop")),
      cbPaintDesktopVersion(sheet.Add<ui::CheckBox>("cbPaintDesktopVersion", {16, 128, 330, 17},
                                                    "デスクトップにWindowsのバージョンを表示する",
                                                    "Paint Windows Version on desktop")),
      gbTaskbar(sheet.Add<ui::GroupBox>("gbTaskbar", {360, 12, 310, 84}, "タスクバー、タスクトレイ",
                                        "Taskbar, TaskTray")),
      cbNoTrayItemsDisplay(gbTaskbar.Add<ui::CheckBox>("cbNoTrayItemsDisplay", {12, 24, 286, 17},
                                                       "タスクトレイのアイコンを隠す",
                                                       "Remove Tray Items from Taskbar")),
      cbNoToolbarsOnTaskbar(gbTaskbar.Add<ui::CheckBox>("cbNoToolbarsOnTaskbar", {12, 52, 286, 17},
                                                        "タスクバーのツールバーを無効にする",
                                                        "Remove the Toolbars on the Taskbar")),
      env_(env) {
  for (ui::CheckBox* box : {&cbNoActiveDesktop, &cbDesktopControlPanel, &cbDesktopPrinter, &cbPaintDesktopVersion,
                            &cbNoTrayItemsDisplay, &cbNoToolbarsOnTaskbar})
    box->OnClick = [this](ui::Control&) { env_.applyEnabled(); };

  auto logoff = ChangeClass::NeedLogoff;
  catalogue.Add(DwordFlag{.check = Of(cbNoActiveDesktop), .at = {"HKCU", kPE, "NoActiveDesktop"}, .cls = logoff,
                          .file = {{"Desktop", "NoActiveDesktop", FileForm::Boolean, "0"}}});
  catalogue.Add(FolderPresence{.check = Of(cbDesktopControlPanel),
                               .path = [](const RowContext& c) { return ControlPanelFolder(c.qx); },
                               .file = {{"Desktop", "Control Panel", FileForm::Boolean, "0"}}});
  catalogue.Add(FolderPresence{.check = Of(cbDesktopPrinter),
                               .path = [](const RowContext& c) { return PrintersFolder(c.qx); },
                               .file = {{"Desktop", "Printers", FileForm::Boolean, "0"}}});
  // Older systems keep PaintDesktopVersion as a string; "1" ticks the box as
  // the DWORD 1 does, and the apply always writes the DWORD.
  catalogue.Add(Custom{
      .control = "cbPaintDesktopVersion",
      .read =
          [this](RowContext& c) {
            bool on = c.qx.ReadRegInteger("HKCU", kCPD, "PaintDesktopVersion", 0) == 1 ||
                      c.qx.ReadRegString("HKCU", kCPD, "PaintDesktopVersion", "0") == "1";
            cbPaintDesktopVersion.SetChecked(on);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            c.qx.WriteRegInteger("HKCU", kCPD, "PaintDesktopVersion", cbPaintDesktopVersion.Checked() ? 1 : 0);
          },
      .standard = [this](RowContext&) { cbPaintDesktopVersion.SetChecked(false); },
      .state = [this] { return Loaded{cbPaintDesktopVersion.Checked()}; },
      .cls = logoff,
      .file = {{"Desktop", "PaintDesktopVersion", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoTrayItemsDisplay), .at = {"HKCU", kPE, "NoTrayItemsDisplay"},
                          .cls = logoff, .file = {{"Desktop", "NoTrayItemsDisplay", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoToolbarsOnTaskbar), .at = {"HKCU", kPE, "NoToolbarsOnTaskbar"},
                          .cls = logoff, .file = {{"Desktop", "NoToolbarsOnTaskbar", FileForm::Boolean, "0"}}});

  read = catalogue.Rows({"cbNoActiveDesktop", "cbDesktopControlPanel", "cbDesktopPrinter", "cbPaintDesktopVersion",
                         "cbNoTrayItemsDisplay", "cbNoToolbarsOnTaskbar"});
  apply = read;  // step 6 writes in the order of the reads
  standard = read;
}

}  // namespace tolvane
