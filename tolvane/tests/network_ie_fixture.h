// The network, context menu and Internet Explorer pages on a form of their
// own over the memory ports, as the main window holds them: a Japanese XP
// with IE 6 unless a test says otherwise, a network class key and TCP/IP
// interface keys that a test prepares.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/qxcommon.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "tolvane/page_context.h"
#include "tolvane/page_ie.h"
#include "tolvane/page_network.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolvane::test {

inline constexpr const char* kAdapterClass =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}";
inline constexpr const char* kMirror = "Software\\Tazet\\Tolvane\\Adapters";
inline constexpr const char* kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr const char* kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr const char* kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr const char* kActiveDesktop =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{89820200-ECBD-11cf-8B85-00AA005B4340}";
inline constexpr const char* kFolderIconCommand = "\"C:\\Program Files\\Tolvane\\TAMREL.EXE\" \"%1\"";

struct PageTool {
  explicit PageTool(uint32_t locale = 1041) {
    system.SetLocale(locale);
    PutText(port::Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\WINDOWS");
    PutText(port::Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductId", "55274");
    IEVersion("6.0.2900.5512");
    PutDword(port::Root::HKLM, kActiveDesktop, "IsInstalled", 1);
  }

  void IEVersion(const std::string& v) { PutText(port::Root::HKLM, "Software\\Microsoft\\Internet Explorer", "Version", v); }
  void NoActiveDesktop() { Delete(port::Root::HKLM, kActiveDesktop, "IsInstalled"); }

  // An adapter of the network class key (no identifier when id is empty),
  // and a TCP/IP interface.
  void Adapter(const std::string& sub, const std::string& id, const std::string& description) {
    const std::string key = std::string(kAdapterClass) + "\\" + sub;
    if (!id.empty()) PutText(port::Root::HKLM, key, "NetCfgInstanceId", id);
    PutText(port::Root::HKLM, key, "DriverDesc", description);
  }
  void Interface(const std::string& id, std::optional<uint32_t> mtu = std::nullopt) {
    const std::string key = std::string(kInterfaces) + "\\" + id;
    if (mtu)
      PutDword(port::Root::HKLM, key, "MTU", *mtu);
    else
      registry.Close(registry.Create(port::Root::HKLM, key));
  }
  std::optional<port::RegValue> Mtu(const std::string& id) {
    return Get(port::Root::HKLM, std::string(kInterfaces) + "\\" + id, "MTU");
  }

  // Builds the pages and runs their reads in the start-up order.
  void Start() {
    qx.ReadSystemInfo();
    context = std::make_unique<ContextMenuPage>(
        tsContextMenu, catalogue, env,
        ContextMenuPage::Commands{[] { return std::string(kFolderIconCommand); },
                                  [] { return std::string("C:\\WINDOWS\\NOTEPAD.EXE %1"); }});
    network = std::make_unique<NetworkPage>(tsNetwork, catalogue, env, lbAdapterID, lbTemp);
    ie = std::make_unique<IEPages>(tsIE1, tsIE2, catalogue, env, lbIdentities);
    form.Show();  // so that the user can reach the controls
    RowContext ctx = env.Context();
    for (const Order* order : {&context->read, &network->read, &ie->readLimits, &ie->read}) ReadRows(*order, ctx);
    applyEnabled = 0;
  }
  // Apply steps 8, 9, 12 and 17 of these pages, after the numeric edits
  // decided their numbers as the road lets them; false (nothing written)
  // when one refused its text.
  bool Apply() {
    std::vector<NumberEdit*> numbers;
    for (auto* page : {&network->numbers, &ie->numbers})
      for (auto& n : *page) numbers.push_back(n.get());
    if (!DecideAll(numbers)) return false;
    RowContext ctx = env.Context();
    for (const Order* order : {&context->apply, &network->apply, &ie->applyLimits, &ie->apply,
                               &context->applyFolderIcon})
      WriteRows(*order, ctx);
    return true;
  }
  void FinishApply() {
    flags.Clear();
    catalogue.TakeLoaded();
  }
  void Standard() {
    RowContext ctx = env.Context();
    for (const Order* order : {&context->standard, &network->standard, &ie->standard}) StandardRows(*order, ctx);
  }
  std::vector<port::MemoryDialogs::Call> Boxes() const {
    std::vector<port::MemoryDialogs::Call> boxes;
    for (const auto& c : dialogs.Calls())
      if (c.kind == port::MemoryDialogs::Kind::MessageBox) boxes.push_back(c);
    return boxes;
  }

  void Put(port::Root root, const std::string& key, const std::string& name, const port::RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
  }
  void PutText(port::Root root, const std::string& key, const std::string& name, const std::string& v) {
    Put(root, key, name, port::RegValue::Text(v));
  }
  void PutDword(port::Root root, const std::string& key, const std::string& name, uint32_t v) {
    Put(root, key, name, port::RegValue::Dword(v));
  }
  void Delete(port::Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyAllAccess);
    if (k) registry.DeleteValue(k, name), registry.Close(k);
  }
  std::optional<port::RegValue> Get(port::Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  std::string Text(port::Root root, const std::string& key, const std::string& name = "") {
    auto v = Get(root, key, name);
    return v ? v->TextOf() : "<absent>";
  }
  bool KeyExists(port::Root root, const std::string& key) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (k) registry.Close(k);
    return k != 0;
  }

  port::MemoryRegistry registry;
  port::MemorySystem system;
  port::MemoryLibrary library;
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::MemoryFiles files;
  port::Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
                    .dialogs = &dialogs};
  ui::Application app{ports};
  TQXCommon qx{ports};
  ChangeFlags flags;
  int applyEnabled = 0;
  PageEnv env{app,
              qx,
              files,
              dialogs,
              flags,
              [this] { ++applyEnabled; },
              [] { return std::string("C:\\Program Files\\Tolvane"); },
              [] { return std::string("C:\\WINDOWS\\SYSTEM32\\shell32.dll"); }};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  ui::PageControl& pages = form.Add<ui::PageControl>("PageControl");
  ui::TabSheet& tsNetwork = pages.Add<ui::TabSheet>("tsNetwork", {}, "ネットワーク", "Network");
  ui::TabSheet& tsContextMenu = pages.Add<ui::TabSheet>("tsContextMenu", {}, "右クリックメニュー", "Context Menu");
  ui::TabSheet& tsIE1 = pages.Add<ui::TabSheet>("tsIE1", {}, "ie (1)", "ie-1");
  ui::TabSheet& tsIE2 = pages.Add<ui::TabSheet>("tsIE2", {}, "ie (2)", "ie-2");
  ui::ListBox& lbAdapterID = form.Add<ui::ListBox>("lbAdapterID");
  ui::ListBox& lbTemp = form.Add<ui::ListBox>("lbTemp");
  ui::ListBox& lbIdentities = form.Add<ui::ListBox>("lbIdentities");
  Catalogue catalogue;
  std::unique_ptr<ContextMenuPage> context;
  std::unique_ptr<NetworkPage> network;
  std::unique_ptr<IEPages> ie;
};

}  // namespace tolvane::test
