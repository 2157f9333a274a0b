// The icon picker TfoIconList: lists the icons of one file and lets the user
// choose one, or another file. SubIconList is the caller contract that the
// settings tool and the folder-icon tool share.
#pragma once
#include <cstdint>
#include <string>

#include "common/qxcommon.h"
#include "ui/ui.h"

class TfoIconList : public ui::Form {
 public:
  // The picker writes the chosen index into the caller's selectedIconIndex.
  TfoIconList(ui::Application& app, TQXCommon& qx, int32_t& selectedIconIndex);

  ui::ListView* lvIcon;
  ui::StaticText* txIconName;
  ui::Button* buOpenFile;
  ui::Button* buOK;
  ui::Button* buCancel;
  ui::Image* imWK;
  ui::ImageList ilIcon{32, 32};
  ui::OpenDialog OpenDialogIcon;

  TQXCommon& QX() const { return qx_; }
  int32_t SelectedIconIndex() const { return selectedIconIndex_; }

  void FormShow();
  void lvIconClick();
  void lvIconDblClick();
  void buOKClick();
  void buOpenFileClick();

 private:
  void SubListIcons(const std::string& path);
  TQXCommon& qx_;
  int32_t& selectedIconIndex_;
};

// The caller's side (both programs): shows the picker for the held location
// and on OK takes the new location into heldLocation, shows its icon in
// image, sets changed and updates iconDir (the main window's IconDir; its
// SelectedIconIndex is the one the picker was made with). Returns whether OK was chosen
// (the settings tool then enables its Apply button).
bool SubIconList(TfoIconList& picker, const std::string& caption, ui::Image& image, std::string& heldLocation,
                 bool& changed, std::string& iconDir);

// The folder of a path without trailing backslash; a drive root keeps it.
std::string IconFolderOf(const std::string& path);
