// The Explorer page (tsExplorer): the Shared Documents entry of My Computer,
// the hidden drive letters, a double-click on My Computer that opens Explorer,
// the Explorer toolbar bitmap, and the recycle bin's name and places.
#pragma once
#include <array>
#include <string>

#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class ExplorerPage {
 public:
  ExplorerPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env);

  ui::CheckBox& cbDelegateFolders;
  ui::GroupBox& gbHideDrives;
  std::array<ui::CheckBox*, 26> cbDrive{};  // cbA .. cbZ
  ui::Label& laHideDrivesNote;
  ui::CheckBox& cbDblClickExplorer;
  ui::CheckBox& cbBackBitmap;
  ui::GroupBox& gbWallpaperOfToolbar;
  ui::Image& imBackBitmap;
  ui::GroupBox& gbNameOfRecycleBin;
  ui::Edit& edTrushName;
  ui::CheckBox &cbTrush, &cbMyComputerTrush;

  // The Explorer toolbar bitmap; empty: none.
  std::string BackBitmapPath;

  void imBackBitmapClick();
  void cbBackBitmapClick();
  // The hidden-drives mask of the ticked boxes (bit n: drive A + n).
  int32_t DriveMask() const;

  // Start-up reads: the Explorer group, the recycle bin (after the network
  // page) and the toolbar bitmap (before the browser pages).
  Order readExplorer, readRecycleBin, readToolbar;
  // Apply steps 7, 10 and 12 (the first write of that step).
  Order applyExplorer, applyRecycleBin, applyToolbar;
  Order standard;

 private:
  void ReadDriveMask(int32_t mask);
  PageEnv& env_;
};

// The recycle bin's name when none is stored, and its standard name.
std::string DefaultRecycleBinName(const TQXCommon& qx);

// A picture of the browser's Toolbar key (the Explorer toolbar's background
// here, the browser's toolbar background and logo on its pages): a box, a
// picture and the file's path, one setting.
// Start-up: any stored path ticks the box and is kept; only an existing .BMP
// file is shown.
void ReadToolbarBitmap(RowContext& c, const char* value, ui::CheckBox& box, ui::Image& image, std::string& path);
// Apply: ticked, the path as held (also empty); unticked, the value deleted.
void WriteToolbarBitmap(RowContext& c, const char* value, const ui::CheckBox& box, const std::string& path);
// The picture dialog (from the program's folder); a file that holds no
// picture leaves the path and the picture as they were.
void PickToolbarBitmap(PageEnv& env, ui::Image& image, std::string& path);
// A path loaded from the settings file: shown when the box is ticked and the
// file exists; otherwise the picture stays as it was.
void ShowLoadedBitmap(PageEnv& env, const ui::CheckBox& box, ui::Image& image, const std::string& path);
// The box's click: unticked, no path and no picture.
void ToolbarBitmapClick(PageEnv& env, const ui::CheckBox& box, ui::Image& image, std::string& path);

}  // namespace tolvane
