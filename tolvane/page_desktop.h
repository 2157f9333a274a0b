// The desktop page (tsDesktop): Active Desktop, the Control Panel and Printers
// folders on the desktop, the Windows version on the desktop, the tray icons
// and the taskbar toolbars. The shortcut-arrow box at the top of the left
// column belongs to the icon pages.
#pragma once
#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class DesktopPage {
 public:
  DesktopPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env);

  ui::CheckBox &cbNoActiveDesktop, &cbDesktopControlPanel, &cbDesktopPrinter, &cbPaintDesktopVersion;
  ui::GroupBox& gbTaskbar;
  ui::CheckBox &cbNoTrayItemsDisplay, &cbNoToolbarsOnTaskbar;

  // Start-up reads (the desktop group), apply step 6, and the standard values.
  Order read, apply, standard;

 private:
  PageEnv& env_;
};

// The junction folders' names, by the language of the system that runs the
// program (the Japanese ones in half-width katakana).
std::string ControlPanelFolder(const TQXCommon& qx);
std::string PrintersFolder(const TQXCommon& qx);

}  // namespace tolvane
