// The folder-icon tool's one window: shows the icon of one folder or drive,
// lets the user pick another, and writes it where Explorer looks for it.
#pragma once
#include <cstdint>
#include <string>

#include "common/iconlist.h"
#include "common/qxcommon.h"
#include "ui/ui.h"

class TfoMain : public ui::Form {
 public:
  // targetPath: the command-line argument (a drive root such as C:\ or a folder).
  TfoMain(ui::Application& app, std::string targetPath);

  ui::GroupBox* gbFolderIcon;
  ui::Image* imFolder;
  ui::SpeedButton* sbOK;
  ui::SpeedButton* sbStandard;
  ui::SpeedButton* sbClose;

  std::string TargetPath;
  std::string IniPath;
  std::string DriveDefaultLocation;
  std::string FolderDefaultLocation;
  std::string HeldLocation;
  std::string IconDir;
  int32_t SelectedIconIndex = 0;
  TQXCommon QX;
  // The shared picker, made by the program block.
  TfoIconList* foIconList = nullptr;

  // A drive is a target of exactly three characters ("C:\"); all else is a folder.
  bool IsDrive() const;

  void FormShow();
  void imFolderClick();
  void sbOKClick();
  void sbStandardClick();
  void sbCloseClick();

 private:
  void SubIconList();
  void ShowHeldIcon();
  void ApplyDrive();
  void ApplyFolder();
  std::string DriveIconKey() const;
  void WriteIni(const std::string& key, const std::string& value);

  std::string argument_;
};
