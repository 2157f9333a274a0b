// A settings file is input from anywhere: this target loads arbitrary file
// contents into the main window on the memory ports (a Japanese Windows XP
// with two network adapters) and checks that every control and every value
// that apply writes ends within its range. Built with clang's libFuzzer under
// AddressSanitizer and UndefinedBehaviorSanitizer (scripts/build.sh fuzz).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_profile.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shutdown.h"
#include "platform/memory/memory_system.h"
#include "tolvane/catalogue.h"
#include "tolvane/main_form.h"
#include "ui/ui.h"

namespace {

using port::Root;

constexpr const char* kLoaded = "C:\\Settings\\loaded.ini";
constexpr const char* kSavedAgain = "C:\\Settings\\again.ini";

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "settings file fuzz: %s\n", what.c_str());
  std::abort();
}

struct Window {
  port::MemoryRegistry registry;
  port::MemorySystem system;
  port::MemoryLibrary library;
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::MemoryShutdown shutdown;
  port::MemoryShell shell;
  port::MemoryFiles files;
  port::MemoryProfile profile{files};
  port::Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
                    .dialogs = &dialogs, .shutdown = &shutdown, .shell = &shell, .files = &files,
                    .profile = &profile};
  std::unique_ptr<ui::Application> app;
  tolvane::TfoMain* main = nullptr;

  void Put(Root root, const std::string& key, const std::string& name, const std::string& text) {
    auto k = registry.Create(root, key);
    registry.Set(k, name, port::RegValue::Text(text));
    registry.Close(k);
  }

  Window() {
    const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    system.SetModulePath("C:\\Program Files\\Tolvane\\tolvane.exe");
    Put(Root::HKLM, nt, "ProductId", "55274-640-0000000-23000");
    Put(Root::HKLM, nt, "SystemRoot", "C:\\WINDOWS");
    Put(Root::HKLM, "Software\\Microsoft\\Internet Explorer", "Version", "6.0.2900.5512");
    auto k = registry.Create(Root::HKLM, "Software\\Tazet\\Tolvane");
    registry.Set(k, "RestorePointCreated", port::RegValue::Dword(1));
    registry.Close(k);
    const std::string cls = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}";
    const std::string interfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
    for (const char* id : {"{A1}", "{B2}"}) {
      Put(Root::HKLM, cls + "\\" + id, "NetCfgInstanceId", id);
      Put(Root::HKLM, cls + "\\" + id, "DriverDesc", std::string("Adapter ") + id);
      registry.Close(registry.Create(Root::HKLM, interfaces + "\\" + id));
    }
    files.AddFolder("C:\\WINDOWS\\SYSTEM32");
    files.AddFolder("C:\\Program Files\\Tolvane");
    files.AddFolder("C:\\Settings");
    app = std::make_unique<ui::Application>(ports);
    main = &app->CreateForm<tolvane::TfoMain>(tolvane::PagesFactory(tolvane::MakePages));
    app->Run();
    if (app->IsTerminated()) Fault("the window did not open");
  }

  // The shown numbers apply writes; every up-down, track bar, combo box and
  // list box within its range.
  void CheckShown() {
    auto number = [this](const char* edit) {
      return tolvane::FileInteger(main->Get<ui::Edit>(edit).Text()).value_or(-1);
    };
    if (int n = number("edTcpWindowSize"); n < 1) Fault("edTcpWindowSize shows " + std::to_string(n));
  }
  void CheckControls(ui::Control& c) {
    if (auto* u = dynamic_cast<ui::UpDown*>(&c); u && (u->Position() < u->Min() || u->Position() > u->Max()))
      Fault(c.Name() + " out of its range");
    if (auto* t = dynamic_cast<ui::TrackBar*>(&c); t && (t->Position() < t->Min() || t->Position() > t->Max()))
      Fault(c.Name() + " out of its range");
    if (auto* cb = dynamic_cast<ui::ComboBox*>(&c); cb && (cb->ItemIndex() < -1 || cb->ItemIndex() >= cb->Items.Count()))
      Fault(c.Name() + " selects no item");
    if (auto* lb = dynamic_cast<ui::ListBox*>(&c); lb && (lb->ItemIndex() < -1 || lb->ItemIndex() >= lb->Items.Count()))
      Fault(c.Name() + " selects no item");
    for (const auto& child : c.Children()) CheckControls(*child);
  }

  // The numbers apply writes, as the window saves them.
  void CheckNumber(const char* section, const std::string& key, int64_t min, int64_t max) {
    std::string text = profile.Read(kSavedAgain, section, key, "");
    std::optional<int32_t> n = tolvane::FileInteger(text);
    if (!n || *n < min || *n > max) Fault(key + " saved as \"" + text + "\"");
  }
  void CheckValues() {
    files.RemoveFile(kSavedAgain);
    main->sbSaveClick();
    for (const auto& call : dialogs.Calls())
      if (call.text.find("に書き込めません") != std::string::npos) Fault("the window could not be saved again");
    const char* net = "Network Neighborhood";
    CheckNumber(net, "DefaultTTL", 1, 255);
    CheckNumber(net, "TcpWindowSize", 1, 1073741823);
    CheckNumber(net, "DefaultMSS", 28, 65495);
    for (int n = 0; n < 2; ++n) CheckNumber(net, tolvane::FileListKey("MTU(", n), 68, 65535);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One window for every input, as one user opens one file after another.
  static Window* w = new Window();
  w->files.WriteAll(kLoaded, std::string(reinterpret_cast<const char*>(data), size));
  w->dialogs.ClearCalls();
  w->dialogs.Script(std::optional<std::string>(kLoaded));
  w->main->sbOpenClick();
  if (w->app->IsTerminated()) Fault("loading ended the program");
  w->CheckControls(*w->main);
  w->CheckShown();
  // Saving again is the slow part: the first input and every 16th (so that
  // an input run alone is checked whole).
  static int runs = 0;
  if (runs++ % 16 == 0) {
    w->dialogs.Script(std::optional<std::string>(kSavedAgain));
    w->CheckValues();
  }
  return 0;
}
