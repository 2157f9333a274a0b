// The Internet Explorer pages. tsIE1: the search page, the window titles of
// the browser and of the mail program, the anonymous-FTP password and the
// view-source editor. tsIE2: the toolbar background, the animated logo and
// the per-server connection limits (which apply writes with the network
// page). Several rules follow the browser's version (IE3 to IE6).
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "tolvane/catalogue.h"
#include "tolvane/number_edit.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class IEPages {
 public:
  // lbIdentities: the main window's hidden work list of mail identities.
  IEPages(ui::TabSheet& tsIE1, ui::TabSheet& tsIE2, Catalogue& catalogue, PageEnv& env, ui::ListBox& lbIdentities);

  // tsIE1
  ui::GroupBox& gbSearchPage;
  ui::ComboBox& cbSearchUrl;
  ui::GroupBox& gbTitleOfIE;
  ui::Edit& edIETitle;
  ui::GroupBox& gbTitleOfOE;
  ui::Edit& edOETitle;
  ui::GroupBox& gbAnonymousFTP;
  ui::Edit& edAnonymousFTP;
  ui::GroupBox& gbViewSourceEditor;
  ui::Edit& edViewSourceEditor;
  ui::Button& buViewSourceEditor;
  ui::Label& laViewSourceEditor;
  // tsIE2
  ui::CheckBox& cbBackBitmapIE5;
  ui::GroupBox& gbWallpaperIEtoolbar;
  ui::Image& imBackBitmapIE5;
  ui::CheckBox& cbIELogo;
  ui::GroupBox& gbIEAnimationLogo;
  ui::Image& imIELogo;
  ui::Label& laIELogoNote;
  ui::GroupBox& gbMaxConnectionsPerServer;
  ui::Label& laHttp11Server;
  ui::RightEdit& edMaxConnectionsPerServer11;
  ui::UpDown& udMaxConnectionsPerServer11;
  ui::Label& laHttp10Server;
  ui::RightEdit& edMaxConnectionsPerServer10;
  ui::UpDown& udMaxConnectionsPerServer10;
  ui::ListBox& lbIdentities;

  std::string BackBitmapIE5Path;  // empty: none
  std::string LogoBitmapPath;     // empty: none

  void imBackBitmapIE5Click();
  void cbBackBitmapIE5Click();
  void imIELogoClick();
  void cbIELogoClick();
  void buViewSourceEditorClick();

  // Start-up reads: the two pages (after the Explorer toolbar bitmap), and
  // the connection limits (with the network page). Apply: step 12 (after the
  // Explorer toolbar bitmap) and the limits of step 9. Standard values.
  Order read, readLimits, apply, applyLimits, standard;
  // The two connection limits, decided as a whole text.
  std::vector<std::unique_ptr<NumberEdit>> numbers;

 private:
  PageEnv& env_;
};

// The search-page presets; the first is the standard value.
extern const std::array<const char*, 9> kSearchUrlPresets;

// The standard anonymous-FTP password of the browser's version.
std::string StandardAnonymousFtp(const TQXCommon& qx);

}  // namespace tolvane
