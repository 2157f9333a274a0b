// A scratch folder for the file and profile contract tests, on the memory
// ports or (Windows tree) on the real ones inside the Wine prefix's temporary
// folder. Everything a test makes there is removed again.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_profile.h"
#include "platform/profile.h"
#ifdef _WIN32
#include <windows.h>
#undef CopyFile  // the port's name, not the macro

#include "platform/text.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_profile.h"
#endif

namespace porttest {

struct Machine {
  std::string name;
  std::unique_ptr<port::Files> files;
  std::unique_ptr<port::Profile> profile;
  std::string base;  // an existing folder the test may use
  bool memory = false;
};

inline std::unique_ptr<Machine> MakeMemory() {
  auto m = std::make_unique<Machine>();
  auto files = std::make_unique<port::MemoryFiles>();
  files->AddFolder("C:\\WINDOWS");
  files->AddFolder("C:\\scratch");
  m->profile = std::make_unique<port::MemoryProfile>(*files);
  m->files = std::move(files);
  m->name = "memory";
  m->base = "C:\\scratch";
  m->memory = true;
  return m;
}

#ifdef _WIN32
inline std::unique_ptr<Machine> MakeWin32() {
  auto m = std::make_unique<Machine>();
  m->files = std::make_unique<port::Win32Files>();
  m->profile = std::make_unique<port::Win32Profile>();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::u16string t(reinterpret_cast<char16_t*>(temp));
  m->base = port::Utf16ToUtf8(t) + "suite-port-test-" + std::to_string(GetCurrentProcessId());
  m->files->MakeFolder(m->base);
  m->name = "win32";
  return m;
}
#endif

inline std::vector<std::string> MachineNames() {
#ifdef _WIN32
  return {"memory", "win32"};
#else
  return {"memory"};
#endif
}

class ScratchTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
#ifdef _WIN32
    m_ = GetParam() == "win32" ? MakeWin32() : MakeMemory();
#else
    m_ = MakeMemory();
#endif
  }
  void TearDown() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      files().SetAttributes(*it, port::kAttrNormal);
      if (!files().RemoveFile(*it)) files().RemoveFolder(*it);
    }
    files().SetAttributes(m_->base, port::kAttrNormal);
    files().RemoveFolder(m_->base);
  }

  port::Files& files() { return *m_->files; }
  port::Profile& profile() { return *m_->profile; }
  bool memory() const { return m_->memory; }
  // The path of a name in the scratch folder, to be removed after the test.
  std::string Path(const std::string& name) {
    made_.push_back(m_->base + "\\" + name);
    return made_.back();
  }
  std::string Put(const std::string& name, const std::string& bytes) {
    std::string p = Path(name);
    EXPECT_TRUE(files().WriteAll(p, bytes)) << p;
    return p;
  }
  std::string Folder(const std::string& name) {
    std::string p = Path(name);
    EXPECT_TRUE(files().MakeFolder(p)) << p;
    return p;
  }

  std::unique_ptr<Machine> m_;
  std::vector<std::string> made_;
};

}  // namespace porttest
