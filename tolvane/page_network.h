// The network page (tsNetwork): the network folder's three policies, the MTU
// of each TCP/IP adapter, the receive window, the time to live and the two
// path-MTU switches. The adapters are found through the page's own mirror of
// the adapter descriptions under the suite key (subkey Adapters), which the
// start-up rewrites.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tolvane/catalogue.h"
#include "tolvane/number_edit.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class NetworkPage {
 public:
  // lbAdapterID and lbTemp: the main window's hidden work lists.
  NetworkPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env, ui::ListBox& lbAdapterID, ui::ListBox& lbTemp);

  ui::CheckBox& cbNoNetHood;
  ui::GroupBox& gbIconsWithinNetwork;
  ui::CheckBox &cbNoEntireNetwork, &cbNoWorkgroupContents;
  ui::GroupBox& gbMTU;
  ui::ComboBox& cbAdapterID;
  ui::RightEdit& edMTU;
  ui::CheckBox& cbDisableMTU;
  ui::Label& laMTUNote;  // the legend of common MTUs, the same in both languages
  ui::GroupBox& gbTcpWindowSize;
  ui::RightEdit& edTcpWindowSize;
  ui::CheckBox& cbDisableTcpWindowSize;
  ui::GroupBox& gbDefaultTTL;
  ui::RightEdit& edDefaultTTL;
  ui::UpDown& udDefaultTTL;
  ui::CheckBox& cbDisableDefaultTTL;
  ui::CheckBox &cbEnablePMTUBHDetect, &cbEnablePMTUDiscovery;
  ui::ListBox &lbAdapterID, &lbTemp;

  // One slot per listed adapter (item i of cbAdapterID and lbAdapterID);
  // 1500 stands for the default, whose registry value apply deletes.
  static constexpr int kSlots = 51;
  std::array<int32_t, kSlots> AdapterMtu{};
  int32_t DefaultMssValue = 1460;  // MTU of the adapter last shown minus 40; carried only in the settings file
  int32_t TcpWindowSizeValue = 8760;
  int32_t DefaultTtlValue = 128;

  void cbAdapterIDSelect();
  void cbDisableMTUClick();
  void cbDisableTcpWindowSizeClick();
  void cbDisableDefaultTTLClick();
  void udDefaultTTLChangingEx(bool& allowChange, int16_t newValue);

  // The time to live from any source (the registry, the up-down, a settings
  // file): a value TCP/IP refuses is not taken, DefaultTtlValue keeps the
  // last valid one. True when taken.
  bool TakeDefaultTtl(int64_t value);

  // The values TCP/IP accepts; a number outside is not taken.
  static constexpr int32_t kMtuMin = 68, kMtuMax = 65535, kTcpWindowSizeMin = 1, kTcpWindowSizeMax = 1073741823;
  static bool ValidMtu(int64_t n) { return n >= kMtuMin && n <= kMtuMax; }
  static bool ValidTcpWindowSize(int64_t n) { return n >= kTcpWindowSizeMin && n <= kTcpWindowSizeMax; }
  static bool ValidTtl(int64_t n) { return n >= 1 && n <= 255; }

  // Start-up reads (the network group), apply step 9 (this page's part) and
  // the standard values.
  Order read, apply, standard;
  // edMTU, edTcpWindowSize and edDefaultTTL, decided as a whole text.
  std::vector<std::unique_ptr<NumberEdit>> numbers;

 private:
  void MirrorAdapters(RowContext& c);
  void ListAdapters(RowContext& c);
  // The slot of the adapter shown, or nothing when no adapter is listed.
  std::optional<int> Shown() const;
  PageEnv& env_;
};

// An edit that a check box enables takes the window colour, disabled the
// menu colour.
void EnableEdit(ui::Control& edit, bool enabled);

}  // namespace tolvane
