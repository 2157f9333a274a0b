// A Japanese Windows XP machine on the memory ports with the settings tool's
// main window on it, for the tests of the roads.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/qxcommon.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_profile.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shutdown.h"
#include "platform/memory/memory_system.h"
#include "platform/text.h"
#include "tolvane/main_form.h"
#include "ui/ui.h"

namespace tolvane::test {

inline constexpr const char* kNtVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr const char* kProgram = "C:\\Program Files\\Tolvane\\tolvane.exe";

// A registry whose reads of one value fail with an error, as a class library
// raises one (the fault of a page read).
class FaultyRegistry : public port::MemoryRegistry {
 public:
  void FailQuery(port::Root root, std::string key, std::string name) {
    root_ = root, key_ = std::move(key), name_ = std::move(name);
    armed_ = true;
  }
  // XP's merged classes: HKCR opens the user's class key where the user has
  // one, so that a write through HKCR lands there.
  bool mergeUserClasses = false;

  port::KeyHandle Open(port::Root root, const std::string& path, uint32_t access) override {
    if (port::KeyHandle user = UserClass(root, path, access)) return user;
    port::KeyHandle h = MemoryRegistry::Open(root, path, access);
    if (armed_ && root == root_ && port::EqualNoCase(path, key_))
      faulty_ = h;
    else if (h == faulty_)
      faulty_ = 0;  // the handle number is reused for another key
    return h;
  }
  port::KeyHandle Create(port::Root root, const std::string& path) override {
    if (port::KeyHandle user = UserClass(root, path, port::kKeyAllAccess)) return user;
    return MemoryRegistry::Create(root, path);
  }
  std::optional<port::RegValue> Query(port::KeyHandle key, const std::string& name) override {
    if (armed_ && key == faulty_ && port::EqualNoCase(name, name_)) throw std::runtime_error("Registry read failed");
    return MemoryRegistry::Query(key, name);
  }

 private:
  port::KeyHandle UserClass(port::Root root, const std::string& path, uint32_t access) {
    if (!mergeUserClasses || root != port::Root::HKCR) return 0;
    return MemoryRegistry::Open(port::Root::HKCU, "Software\\Classes\\" + path, access);
  }
  bool armed_ = false;
  port::Root root_ = port::Root::HKCU;
  std::string key_, name_;
  port::KeyHandle faulty_ = 0;
};

struct Machine {
  FaultyRegistry registry;
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
  TfoMain* main = nullptr;

  Machine() {
    system.SetModulePath(kProgram);
    PutString(port::Root::HKLM, kNtVersion, "ProductId", "55274-640-0000000-23000");
    PutString(port::Root::HKLM, kNtVersion, "SystemRoot", "C:\\WINDOWS");
    PutString(port::Root::HKLM, "Software\\Microsoft\\Internet Explorer", "Version", "6.0.2900.5512");
    PutString(port::Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
              "C:\\Documents and Settings\\user\\デスクトップ");
    PutDword(port::Root::HKLM, kSuiteKey, "RestorePointCreated", 1);
    files.AddFolder("C:\\Documents and Settings\\user\\デスクトップ");
    files.AddFolder("C:\\WINDOWS\\SYSTEM32");
    files.AddFolder("C:\\Program Files\\Tolvane");  // the snapshot of each apply lies here
    shell.AddProgram("C:\\WINDOWS\\SYSTEM32\\WScript.exe");
    // As a fresh XP has them: Shared Documents in My Computer, the recycle bin on the desktop.
    PutString(port::Root::HKLM,
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\"
              "{59031a47-3f72-44a7-89c5-5595fe6b30ee}",
              "", "");
    PutString(port::Root::HKLM,
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
              "{645FF040-5081-101B-9F08-00AA002F954E}",
              "", "Recycle Bin");
    registry.Create(port::Root::HKU, ".DEFAULT");
    registry.Create(port::Root::HKU, "S-1-5-21-1");
  }

  // The installer's state: no restore point made yet.
  void FirstRun() {
    auto k = registry.Open(port::Root::HKLM, kSuiteKey, port::kKeyAllAccess);
    registry.DeleteValue(k, "RestorePointCreated");
    registry.Close(k);
  }
  void English() { system.SetLocale(1033), system.SetCodePage(1252); }

  // Builds the window with the real pages (or the given ones) and shows it.
  void Start(const PagesFactory& pages = MakePages) {
    app = std::make_unique<ui::Application>(ports);
    main = &app->CreateForm<TfoMain>(pages);
    app->Run();
  }
  void Click(ui::Control& c) { app->Dispatch(&c, [&c] { c.UserClick(); }); }
  // Apply as the road runs it, also while the button is disabled.
  void Apply() { app->Dispatch(&main->sbPlay, [this] { main->sbPlay.Click(); }); }

  void PutString(port::Root root, const std::string& key, const std::string& name, const std::string& v) {
    Put(root, key, name, port::RegValue::Text(v));
  }
  void PutDword(port::Root root, const std::string& key, const std::string& name, uint32_t v) {
    Put(root, key, name, port::RegValue::Dword(v));
  }
  void Put(port::Root root, const std::string& key, const std::string& name, const port::RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
  }
  std::optional<port::RegValue> Get(port::Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  std::string Text(port::Root root, const std::string& key, const std::string& name) {
    auto v = Get(root, key, name);
    return v ? v->TextOf() : "<absent>";
  }
  std::optional<uint32_t> Dword(port::Root root, const std::string& key, const std::string& name) {
    auto v = Get(root, key, name);
    if (!v || v->type != port::kRegDword || v->data.size() != 4) return std::nullopt;
    return v->data[0] | v->data[1] << 8 | v->data[2] << 16 | static_cast<uint32_t>(v->data[3]) << 24;
  }

  // The message boxes shown, in order.
  std::vector<port::MemoryDialogs::Call> Boxes() const {
    std::vector<port::MemoryDialogs::Call> boxes;
    for (const auto& c : dialogs.Calls())
      if (c.kind == port::MemoryDialogs::Kind::MessageBox) boxes.push_back(c);
    return boxes;
  }
  ui::CheckBox& Box(const std::string& name) { return main->Get<ui::CheckBox>(name); }
};

}  // namespace tolvane::test
