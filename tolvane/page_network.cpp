#include "tolvane/page_network.h"

#include "common/qxcommon.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr const char* kPE = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kPN = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
constexpr const char* kAdapterClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}";
constexpr const char* kMirror = "Software\\Tazet\\Tolvane\\Adapters";
constexpr const char* kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
constexpr const char* kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr int32_t kDefaultMtu = 1500, kDefaultTcpWindowSize = 8760, kDefaultTtl = 128;

// A box and a number as one comparable state.
std::string BoxAndNumber(bool box, int32_t n) { return std::string(box ? "1:" : "0:") + std::to_string(n); }

}  // namespace

void EnableEdit(ui::Control& edit, bool enabled) {
  edit.SetEnabled(enabled);
  edit.SetColor(enabled ? ui::clWindow : ui::clMenu);
}

NetworkPage::NetworkPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env, ui::ListBox& adapterIds,
                         ui::ListBox& temp)
    : cbNoNetHood(sheet.Add<ui::CheckBox>("cbNoNetHood", {16, 12, 260, 17}, "ネットワークコンピュータアイコンを隠す",
                                          "Hide network neighborhood icon")),
      gbIconsWithinNetwork(sheet.Add<ui::GroupBox>("gbIconsWithinNetwork", {16, 40, 260, 76},
                                                   "ネットワークコンピュータ内のアイコン",
                                                   "Icons within Network Neighborhood")),
      cbNoEntireNetwork(gbIconsWithinNetwork.Add<ui::CheckBox>("cbNoEntireNetwork", {12, 24, 236, 17},
                                                               "ネットワーク全体アイコンを隠す",
                                                               "Hide Entire Network icon")),
      cbNoWorkgroupContents(gbIconsWithinNetwork.Add<ui::CheckBox>("cbNoWorkgroupContents", {12, 50, 236, 17},
                                                                   "ワークグループアイコンを隠す",
                                                                   "Hide Workgroup icon")),
      gbMTU(sheet.Add<ui::GroupBox>("gbMTU", {290, 8, 380, 108},
                                    "インターフェースが一度に転送可能な最大データサイズ (MTU)",
                                    "Max Transfer Unit (MTU)")),
      cbAdapterID(gbMTU.Add<ui::ComboBox>("cbAdapterID", {12, 22, 356, 21})),
      edMTU(gbMTU.Add<ui::RightEdit>("edMTU", {12, 52, 70, 21})),
      cbDisableMTU(gbMTU.Add<ui::CheckBox>("cbDisableMTU", {94, 54, 120, 17}, "規定値", "Default")),
      laMTUNote(gbMTU.Add<ui::Label>("laMTUNote", {12, 84, 356, 15},
                                     "MODEM:576, ISDN:1000, ADSL:1454, CATV:1472, LAN:1500",
                                     "MODEM:576, ISDN:1000, ADSL:1454, CATV:1472, LAN:1500")),
      gbTcpWindowSize(sheet.Add<ui::GroupBox>("gbTcpWindowSize", {16, 124, 654, 52},
                                              "確認応答無しに一度に受信可能なデータサイズ (RWIN)",
                                              "TCP Window Size (RWIN)")),
      edTcpWindowSize(gbTcpWindowSize.Add<ui::RightEdit>("edTcpWindowSize", {12, 22, 90, 21})),
      cbDisableTcpWindowSize(gbTcpWindowSize.Add<ui::CheckBox>("cbDisableTcpWindowSize", {114, 24, 150, 17},
                                                               "規定値", "Default")),
      gbDefaultTTL(sheet.Add<ui::GroupBox>("gbDefaultTTL", {16, 184, 654, 52},
                                           "宛先に未到着のパケットがネットワーク内に存在できる最長時間 (TTL)",
                                           "Time To Live (TTL)")),
      edDefaultTTL(gbDefaultTTL.Add<ui::RightEdit>("edDefaultTTL", {12, 22, 56, 21})),
      udDefaultTTL(gbDefaultTTL.Add<ui::UpDown>("udDefaultTTL", {68, 22, 16, 21})),
      cbDisableDefaultTTL(gbDefaultTTL.Add<ui::CheckBox>("cbDisableDefaultTTL", {114, 24, 150, 17}, "規定値",
                                                         "Default")),
      cbEnablePMTUBHDetect(sheet.Add<ui::CheckBox>(
          "cbEnablePMTUBHDetect", {16, 248, 654, 17}, "ブラックホールルータを検出する為の発見アルゴリズムを有効にする",
          "Enable attempt to detect MTU routers that do not send back ICMP fragmentation-needed messages.")),
      cbEnablePMTUDiscovery(sheet.Add<ui::CheckBox>("cbEnablePMTUDiscovery", {16, 274, 654, 17},
                                                    "バス最大転送ユニットの発見アルゴリズムを有効にする",
                                                    "Enable attempt to perform path MTU discovery")),
      lbAdapterID(adapterIds),
      lbTemp(temp),
      env_(env) {
  AdapterMtu.fill(kDefaultMtu);
  cbAdapterID.Style = ui::ComboStyle::DropDownList;
  edTcpWindowSize.SetText("8760");
  // TCP/IP takes a time to live of 1 to 255, so the up-down stops at 1.
  udDefaultTTL.SetRange(1, 255);
  udDefaultTTL.Increment = 16;
  udDefaultTTL.SetAssociate(&edDefaultTTL);

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::CheckBox* box : {&cbNoNetHood, &cbNoEntireNetwork, &cbNoWorkgroupContents, &cbEnablePMTUBHDetect,
                            &cbEnablePMTUDiscovery})
    box->OnClick = applyEnabled;
  cbAdapterID.OnSelect = [this](ui::Control&) { cbAdapterIDSelect(); };
  cbDisableMTU.OnClick = [this](ui::Control&) { cbDisableMTUClick(); };
  cbDisableTcpWindowSize.OnClick = [this](ui::Control&) { cbDisableTcpWindowSizeClick(); };
  cbDisableDefaultTTL.OnClick = [this](ui::Control&) { cbDisableDefaultTTLClick(); };
  udDefaultTTL.OnChangingEx = [this](ui::Control&, bool& allow, int16_t value, ui::UpDownButton) {
    udDefaultTTLChangingEx(allow, value);
  };
  // The numbers TCP/IP accepts. The MTU goes to the slot of the adapter
  // shown; with no adapter listed it goes nowhere.
  numbers.push_back(std::make_unique<NumberEdit>(
      env_, edMTU,
      NumberEdit::Field{"MTU", "MTU", kMtuMin, kMtuMax,
                        [this] { return Shown() ? AdapterMtu[*Shown()] : kDefaultMtu; },
                        [this](int32_t n) {
                          if (std::optional<int> k = Shown()) {
                            AdapterMtu[*k] = n;
                            DefaultMssValue = n - 40;
                          }
                        }}));
  numbers.push_back(std::make_unique<NumberEdit>(
      env_, edTcpWindowSize,
      NumberEdit::Field{"受信ウィンドウサイズ (RWIN)", "TCP Window Size (RWIN)", kTcpWindowSizeMin, kTcpWindowSizeMax,
                        [this] { return TcpWindowSizeValue; }, [this](int32_t n) { TcpWindowSizeValue = n; }}));
  numbers.push_back(
      std::make_unique<NumberEdit>(env_, edDefaultTTL, UpDownField(udDefaultTTL, "TTL", "Time To Live (TTL)")));

  const auto restart = ChangeClass::NeedRestart;
  const char* section = "Network Neighborhood";
  catalogue.Add(DwordFlag{.check = Of(cbNoNetHood), .at = {"HKCU", kPE, "NoNetHood"}, .cls = ChangeClass::NeedLogoff,
                          .file = {{section, "NoNetHood", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoEntireNetwork), .at = {"HKCU", kPN, "NoEntireNetwork"},
                          .file = {{section, "NoEntireNetwork", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbNoWorkgroupContents), .at = {"HKCU", kPN, "NoWorkgroupContents"},
                          .file = {{section, "NoWorkgroupContents", FileForm::Boolean, "0"}}});

  // The adapters: the mirror, the list, and one MTU slot per listed adapter.
  // The settings file carries them as a list (and DefaultMSS beside them).
  catalogue.Add(Custom{
      .control = "cbAdapterID",
      .read =
          [this](RowContext& c) {
            MirrorAdapters(c);
            ListAdapters(c);
            AdapterMtu.fill(kDefaultMtu);
            for (int i = 0; i < lbAdapterID.Items.Count(); ++i)
              AdapterMtu[i] = c.qx.ReadRegInteger("HKLM", std::string(kInterfaces) + "\\" + lbAdapterID.Items[i],
                                                  "MTU", kDefaultMtu);
            if (AdapterMtu[0] == kDefaultMtu)
              cbDisableMTU.SetChecked(true);
            else
              edMTU.SetText(std::to_string(AdapterMtu[0]));
            DefaultMssValue = AdapterMtu[0] - 40;
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            for (int i = 0; i < lbAdapterID.Items.Count(); ++i) {
              const std::string key = std::string(kInterfaces) + "\\" + lbAdapterID.Items[i];
              if (AdapterMtu[i] == kDefaultMtu)
                c.qx.DeleteRegValue("HKLM", key, "MTU");
              else
                c.qx.WriteRegInteger("HKLM", key, "MTU", AdapterMtu[i]);
            }
          },
      .standard =
          [this](RowContext&) {
            AdapterMtu.fill(kDefaultMtu);
            if (Shown()) edMTU.SetText(std::to_string(kDefaultMtu));
            cbDisableMTU.SetChecked(true);
            DefaultMssValue = kDefaultMtu - 40;
          },
      .state =
          [this] {
            std::string slots;
            for (int32_t mtu : AdapterMtu) slots += std::to_string(mtu) + ",";
            return Loaded{slots};
          },
      .cls = restart,
      // The settings file: the descriptions shown, the identifiers with their
      // MTU in pairs (matched to this machine's adapters by row alone), and
      // the MSS of the adapter last shown.
      .file = {{section, "Adapter(", FileForm::List, ""},
               {section, "AdapterID(", FileForm::List, ""},
               {section, "MTU(", FileForm::List, "1500"},
               {section, "DefaultMSS", FileForm::Integer, "1460"}},
      .fileGet = [this](size_t) { return Loaded{DefaultMssValue}; },
      .fileSet =
          [this](size_t, const Loaded& v) {
            if (ValidMtu(int64_t{AsInt(v)} + 40)) DefaultMssValue = AsInt(v);
          },
      .fileWriteList =
          [this](size_t i, FileListOut& out) {
            if (i == 0)
              for (int n = 0; n < cbAdapterID.Items.Count(); ++n)
                out.Put(FileListKey("Adapter(", n), cbAdapterID.Items[n]);
            if (i == 1)
              for (int n = 0; n < lbAdapterID.Items.Count() && n < kSlots; ++n) {
                out.Put(FileListKey("AdapterID(", n), lbAdapterID.Items[n]);
                out.Put(FileListKey("MTU(", n), std::to_string(AdapterMtu[n]));
              }
          },
      .fileReadList =
          [this](size_t i, FileListIn& in) {
            if (i != 2) return;
            const int listed = std::min(lbAdapterID.Items.Count(), kSlots);
            for (int n = 0; n < listed; ++n) {
              std::optional<std::string> raw = in.Get(FileListKey("MTU(", n));
              std::optional<int32_t> mtu = raw ? FileInteger(*raw) : std::nullopt;
              AdapterMtu[n] = mtu && ValidMtu(*mtu) ? *mtu : kDefaultMtu;
            }
            if (listed == 0) return;
            // The first adapter shown, as a selection by hand shows it.
            cbAdapterID.SetItemIndex(0);
            cbAdapterIDSelect();
          }});

  // The receive window; above 65535 it needs the window-scaling option.
  catalogue.Add(Custom{
      .control = "edTcpWindowSize",
      .read =
          [this](RowContext& c) {
            TcpWindowSizeValue = c.qx.ReadRegInteger("HKLM", kTcpip, "TcpWindowSize", kDefaultTcpWindowSize);
            edTcpWindowSize.SetText(std::to_string(TcpWindowSizeValue));
            if (TcpWindowSizeValue == kDefaultTcpWindowSize) cbDisableTcpWindowSize.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbDisableTcpWindowSize.Checked()) {
              for (const char* name : {"TcpWindowSize", "GlobalMaxTcpWindowSize", "Tcp1323Opts"})
                c.qx.DeleteRegValue("HKLM", kTcpip, name);
              return;
            }
            c.qx.WriteRegInteger("HKLM", kTcpip, "TcpWindowSize", TcpWindowSizeValue);
            c.qx.WriteRegInteger("HKLM", kTcpip, "GlobalMaxTcpWindowSize", TcpWindowSizeValue);
            if (TcpWindowSizeValue > 65535) c.qx.WriteRegInteger("HKLM", kTcpip, "Tcp1323Opts", 1);
          },
      .standard =
          [this](RowContext&) {
            edTcpWindowSize.SetText(std::to_string(kDefaultTcpWindowSize));
            cbDisableTcpWindowSize.SetChecked(true);
            TcpWindowSizeValue = kDefaultTcpWindowSize;
          },
      .state = [this] { return Loaded{BoxAndNumber(cbDisableTcpWindowSize.Checked(), TcpWindowSizeValue)}; },
      .cls = restart,
      .file = {{section, "DisableTcpWindowSize", FileForm::Boolean, "1"},
               {section, "TcpWindowSize", FileForm::Integer, "8760"}},
      .fileGet = [this](size_t i) { return i == 0 ? Loaded{cbDisableTcpWindowSize.Checked()} : Loaded{TcpWindowSizeValue}; },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            if (i == 0) return cbDisableTcpWindowSize.SetChecked(AsBool(v));
            // A size TCP/IP refuses is not taken; the edit shows the value apply writes.
            if (ValidTcpWindowSize(AsInt(v))) TcpWindowSizeValue = AsInt(v);
            edTcpWindowSize.SetText(std::to_string(TcpWindowSizeValue));
          }});

  // The time to live; a stored value TCP/IP would not take leaves the default.
  catalogue.Add(Custom{
      .control = "udDefaultTTL",
      .read =
          [this](RowContext& c) {
            TakeDefaultTtl(c.qx.ReadRegInteger("HKLM", kTcpip, "DefaultTTL", kDefaultTtl));
            udDefaultTTL.SetPosition(DefaultTtlValue);
            if (DefaultTtlValue == kDefaultTtl) cbDisableDefaultTTL.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbDisableDefaultTTL.Checked())
              c.qx.DeleteRegValue("HKLM", kTcpip, "DefaultTTL");
            else
              c.qx.WriteRegInteger("HKLM", kTcpip, "DefaultTTL", DefaultTtlValue);
          },
      .standard =
          [this](RowContext&) {
            udDefaultTTL.SetPosition(kDefaultTtl);
            cbDisableDefaultTTL.SetChecked(true);
            DefaultTtlValue = kDefaultTtl;
          },
      .state = [this] { return Loaded{BoxAndNumber(cbDisableDefaultTTL.Checked(), DefaultTtlValue)}; },
      .cls = restart,
      .file = {{section, "DisableDefaultTTL", FileForm::Boolean, "1"},
               {section, "DefaultTTL", FileForm::Integer, "128"}},
      .fileGet = [this](size_t i) { return i == 0 ? Loaded{cbDisableDefaultTTL.Checked()} : Loaded{DefaultTtlValue}; },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            if (i == 0) return cbDisableDefaultTTL.SetChecked(AsBool(v));
            if (TakeDefaultTtl(AsInt(v))) udDefaultTTL.SetPosition(DefaultTtlValue);
          }});

  catalogue.Add(DwordFlag{.check = Of(cbEnablePMTUBHDetect), .at = {"HKLM", kTcpip, "EnablePMTUBHDetect"},
                          .cls = restart, .file = {{section, "EnablePMTUBHDetect", FileForm::Boolean, "0"}}});
  catalogue.Add(DwordFlag{.check = Of(cbEnablePMTUDiscovery), .at = {"HKLM", kTcpip, "EnablePMTUDiscovery"},
                          .absent = 1, .standard = true, .cls = restart,
                          .file = {{section, "EnablePMTUDiscovery", FileForm::Boolean, "1"}}});

  read = catalogue.Rows({"cbNoNetHood", "cbNoEntireNetwork", "cbNoWorkgroupContents", "cbAdapterID",
                         "edTcpWindowSize", "udDefaultTTL", "cbEnablePMTUBHDetect", "cbEnablePMTUDiscovery"});
  apply = read;  // step 9 writes in the order of the reads
  standard = read;
}

void NetworkPage::MirrorAdapters(RowContext& c) {
  // Every adapter of the class key, also one without an identifier ("NULL");
  // a later adapter with the same identifier overwrites an earlier one.
  c.qx.GetRegKeyNames("HKLM", kAdapterClass);
  lbTemp.Items.Assign(c.qx.StringList());
  for (int i = 0; i < lbTemp.Items.Count(); ++i) {
    const std::string key = std::string(kAdapterClass) + "\\" + lbTemp.Items[i];
    const std::string id = c.qx.ReadRegString("HKLM", key, "NetCfgInstanceId", "NULL");
    const std::string description = c.qx.ReadRegString("HKLM", key, "DriverDesc", "");
    c.qx.WriteRegString("HKLM", std::string(kMirror) + "\\" + id, "DriverDesc", description);
  }
}

void NetworkPage::ListAdapters(RowContext& c) {
  // The interfaces whose adapter has a description, as many as there are slots.
  lbAdapterID.Items.Clear();
  lbTemp.Items.Clear();
  cbAdapterID.Items.Clear();
  c.qx.GetRegKeyNames("HKLM", kInterfaces);
  lbTemp.Items.Assign(c.qx.StringList());
  for (int i = 0; i < lbTemp.Items.Count() && lbAdapterID.Items.Count() < kSlots; ++i) {
    const std::string description =
        c.qx.ReadRegString("HKLM", std::string(kMirror) + "\\" + lbTemp.Items[i], "DriverDesc", "");
    if (description.empty()) continue;
    lbAdapterID.Items.Add(lbTemp.Items[i]);
    cbAdapterID.Items.Add(description);
    cbAdapterID.SetItemIndex(0);
  }
}

std::optional<int> NetworkPage::Shown() const {
  int k = cbAdapterID.ItemIndex();
  if (k < 0 || k >= lbAdapterID.Items.Count() || k >= kSlots) return std::nullopt;
  return k;
}

void NetworkPage::cbAdapterIDSelect() {
  std::optional<int> k = Shown();
  if (!k) return;
  edMTU.SetText(std::to_string(AdapterMtu[*k]));
  cbDisableMTU.SetChecked(AdapterMtu[*k] == kDefaultMtu);
}

void NetworkPage::cbDisableMTUClick() {
  EnableEdit(edMTU, !cbDisableMTU.Checked());
  std::optional<int> k = Shown();
  if (k && cbDisableMTU.Checked()) AdapterMtu[*k] = kDefaultMtu;
  // Given back to the user, an empty edit shows the number its slot holds,
  // which apply takes unless the user types another.
  if (k && !cbDisableMTU.Checked() && edMTU.Text().empty()) edMTU.SetText(std::to_string(AdapterMtu[*k]));
  env_.applyEnabled();
}

void NetworkPage::cbDisableTcpWindowSizeClick() {
  EnableEdit(edTcpWindowSize, !cbDisableTcpWindowSize.Checked());
  env_.applyEnabled();
}

void NetworkPage::cbDisableDefaultTTLClick() {
  const bool enabled = !cbDisableDefaultTTL.Checked();
  EnableEdit(edDefaultTTL, enabled);
  udDefaultTTL.SetEnabled(enabled);
  env_.applyEnabled();
}

bool NetworkPage::TakeDefaultTtl(int64_t value) {
  if (!ValidTtl(value)) return false;
  DefaultTtlValue = static_cast<int32_t>(value);
  return true;
}

void NetworkPage::udDefaultTTLChangingEx(bool& allowChange, int16_t newValue) {
  TakeDefaultTtl(newValue);
  allowChange = true;
  env_.applyEnabled();
}

}  // namespace tolvane
