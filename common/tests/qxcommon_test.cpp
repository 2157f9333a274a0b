// TQXCommon on the memory port: system facts, typed registry access, the
// lock-password scramble and help display.
#include <gtest/gtest.h>

#include "common/qxcommon.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"

using port::RegValue;
using port::Root;

namespace {

constexpr const char* kNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kSetup = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr const char* kDesktopNt =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{89820200-ECBD-11cf-8B85-00AA005B4340}";
constexpr const char* kDesktop9x =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{89820200-ECBD-11cf-8B85-00AA005B4395}";

class QXTest : public ::testing::Test {
 protected:
  void Put(Root root, const std::string& key, const std::string& name, const RegValue& v) {
    port::KeyHandle k = reg.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(reg.Set(k, name, v));
    reg.Close(k);
  }
  std::optional<RegValue> Get(Root root, const std::string& key, const std::string& name) {
    port::KeyHandle k = reg.Open(root, key, port::kKeyReadTest);
    auto v = k != 0 ? reg.Query(k, name) : std::nullopt;
    reg.Close(k);
    return v;
  }
  bool Exists(Root root, const std::string& key) {
    port::KeyHandle k = reg.Open(root, key, port::kKeyReadTest);
    reg.Close(k);
    return k != 0;
  }
  // A Japanese Windows XP SP3 with IE 6, as an administrator sees it.
  void MakeXp() {
    Put(Root::HKLM, kNt, "ProductId", RegValue::Text("55274-640-0000000-23000"));
    Put(Root::HKLM, kNt, "SystemRoot", RegValue::Text("C:\\WINDOWS"));
    Put(Root::HKLM, "Software\\Microsoft\\Internet Explorer", "Version", RegValue::Text("6.0.2900.5512"));
    const char* folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    Put(Root::HKCU, folders, "Desktop", RegValue::Text("C:\\Documents and Settings\\u\\Desktop"));
    Put(Root::HKCU, folders, "Start Menu", RegValue::Text("C:\\Documents and Settings\\u\\Start Menu"));
    Put(Root::HKCU, folders, "Programs", RegValue::Text("C:\\Documents and Settings\\u\\Start Menu\\Programs"));
    Put(Root::HKCU, folders, "Recent", RegValue::Text("C:\\Documents and Settings\\u\\Recent"));
    sys.SetEnv("TEMP", "C:\\DOCUME~1\\u\\LOCALS~1\\Temp");
  }

  port::MemoryRegistry reg;
  port::MemorySystem sys;
  port::MemoryLibrary lib;
  port::Ports ports{&reg, &sys, &lib, nullptr};
  TQXCommon qx{ports};
};

// ---------------------------------------------------------------- ReadSystemInfo

TEST_F(QXTest, ReadSystemInfoOnJapaneseXpAsAdministrator) {
  MakeXp();
  qx.ReadSystemInfo();
  EXPECT_TRUE(qx.WinXP());
  EXPECT_FALSE(qx.Win2000() || qx.NT40() || qx.Win95() || qx.Win98() || qx.WinME());
  EXPECT_EQ(qx.MajorVersion(), 5);
  EXPECT_EQ(qx.MinorVersion(), 1);
  EXPECT_EQ(qx.BuildNumber(), 2600);
  EXPECT_EQ(qx.CSDVersion(), "Service Pack 3");
  EXPECT_TRUE(qx.Japanese());
  EXPECT_TRUE(qx.Administrator());
  EXPECT_EQ(qx.WinDir(), "C:\\WINDOWS");
  EXPECT_EQ(qx.BootDir(), "C:\\");
  EXPECT_EQ(qx.SysDir(), "C:\\WINDOWS\\SYSTEM32");
  EXPECT_EQ(qx.DesktopDir(), "C:\\Documents and Settings\\u\\Desktop");
  EXPECT_EQ(qx.StartMenuDir(), "C:\\Documents and Settings\\u\\Start Menu");
  EXPECT_EQ(qx.ProgramsDir(), "C:\\Documents and Settings\\u\\Start Menu\\Programs");
  EXPECT_EQ(qx.RecentDir(), "C:\\Documents and Settings\\u\\Recent");
  EXPECT_EQ(qx.TempDir(), "C:\\DOCUME~1\\u\\LOCALS~1\\Temp");
  EXPECT_EQ(qx.IEVersion(), "6.0.2900.5512");
  EXPECT_TRUE(qx.IE6());
  EXPECT_EQ(reg.OpenHandles(), 0u) << "no key is left open";
}

TEST_F(QXTest, XpWithoutAdministratorRightsLosesTheWindowsFolder) {
  MakeXp();
  reg.DenyWrite(Root::HKLM, "");
  qx.ReadSystemInfo();
  EXPECT_TRUE(qx.WinXP());
  EXPECT_FALSE(qx.Administrator());
  EXPECT_EQ(qx.WinDir(), "");
  EXPECT_EQ(qx.BootDir(), "");
  EXPECT_EQ(qx.SysDir(), "\\SYSTEM32");
  EXPECT_EQ(qx.IEVersion(), "") << "HKLM reads need full access too";
  EXPECT_EQ(qx.DesktopDir(), "C:\\Documents and Settings\\u\\Desktop") << "HKCU stays readable";
}

TEST_F(QXTest, ReadSystemInfoAcrossWindowsVersions) {
  using Flag = bool (TQXCommon::*)() const;
  struct Case {
    const char* name;
    port::VersionInfo version;
    bool withProductId;
    int32_t build;
    Flag flag;  // the one OS flag set, or none
    bool administrator;
  };
  const Case cases[] = {
      {"XP without ProductId", {2, 5, 1, 2600, "Service Pack 3"}, false, 2600, &TQXCommon::WinXP, false},
      {"2000", {2, 5, 0, 2195, "Service Pack 4"}, true, 2195, &TQXCommon::Win2000, true},
      {"NT 4.0", {2, 4, 0, 1381, "Service Pack 6"}, true, 1381, &TQXCommon::NT40, true},
      {"Server 2003: not tested", {2, 5, 2, 3790, ""}, false, 3790, nullptr, true},
      {"95", {1, 4, 0, 0x040003B6, ""}, false, 950, &TQXCommon::Win95, true},
      {"98", {1, 4, 10, 0x040A08AE, " A "}, false, 2222, &TQXCommon::Win98, true},
      {"ME", {1, 4, 90, 0x045A0BB8, " "}, false, 3000, &TQXCommon::WinME, true},
      {"9x of another version", {1, 4, 20, 0x04140001, ""}, false, 0x04140001, nullptr, true},
      {"service-pack text cut at its NUL", {2, 5, 1, 2600, std::string("SP2\0junk", 8)}, true, 2600,
       &TQXCommon::WinXP, true},
  };
  const Flag flags[] = {&TQXCommon::Win95, &TQXCommon::Win98,   &TQXCommon::WinME,
                        &TQXCommon::NT40,  &TQXCommon::Win2000, &TQXCommon::WinXP};
  for (const Case& c : cases) {
    port::MemoryRegistry machine;
    port::MemorySystem facts;
    port::Ports p{&machine, &facts, &lib, nullptr};
    facts.SetVersion(c.version);
    auto put = [&](const char* key, const char* name, const char* text) {
      port::KeyHandle k = machine.Create(Root::HKLM, key);
      machine.Set(k, name, RegValue::Text(text));
      machine.Close(k);
    };
    put(kNt, "SystemRoot", "C:\\WINNT");
    if (c.withProductId) put(kNt, "ProductId", "51873-OEM");
    put(kSetup, "WinDir", "C:\\WIN98");
    put(kSetup, "SysDir", "C:\\WIN98\\SYSTEM");
    put(kSetup, "BootDir", "D:\\");
    TQXCommon q(p);
    q.ReadSystemInfo();
    for (Flag f : flags) EXPECT_EQ((q.*f)(), f == c.flag) << c.name;
    EXPECT_EQ(q.BuildNumber(), c.build) << c.name;
    EXPECT_EQ(q.CSDVersion(), c.version.csd.substr(0, c.version.csd.find('\0'))) << c.name;
    EXPECT_EQ(q.Administrator(), c.administrator) << c.name;
    bool nt = c.version.platform == 2;
    EXPECT_EQ(q.WinDir(), nt ? "C:\\WINNT" : "C:\\WIN98") << c.name;
    EXPECT_EQ(q.SysDir(), nt ? "C:\\WINNT\\SYSTEM32" : "C:\\WIN98\\SYSTEM") << c.name;
    EXPECT_EQ(q.BootDir(), nt ? "C:\\" : "D:\\") << c.name;
  }
}

TEST_F(QXTest, InternetExplorerVersionFlags) {
  struct Case {
    const char* version;  // nullptr: no value
    bool ie3, ie4, ie5, ie6;
  };
  const Case cases[] = {
      {"3.0", true, false, false, false},      {"4.72.3110.0", false, true, false, false},
      {"5.50.4807.2300", false, false, true, false}, {"6.0.2900.5512", false, false, false, true},
      {"7.0.5730.13", false, false, false, false}, {"10.0", false, false, false, false},
      {"", false, false, false, false},        {nullptr, false, false, false, false},
  };
  for (const Case& c : cases) {
    port::MemoryRegistry machine;
    port::Ports p{&machine, &sys, &lib, nullptr};
    if (c.version != nullptr) {
      port::KeyHandle k = machine.Create(Root::HKLM, "Software\\Microsoft\\Internet Explorer");
      machine.Set(k, "Version", RegValue::Text(c.version));
      machine.Close(k);
    }
    TQXCommon q(p);
    q.ReadSystemInfo();
    std::string shown = c.version ? c.version : "(absent)";
    EXPECT_EQ(q.IEVersion(), c.version ? c.version : "") << shown;
    EXPECT_EQ(q.IE3(), c.ie3) << shown;
    EXPECT_EQ(q.IE4(), c.ie4) << shown;
    EXPECT_EQ(q.IE5(), c.ie5) << shown;
    EXPECT_EQ(q.IE6(), c.ie6) << shown;
  }
}

TEST_F(QXTest, ActiveDesktopCountsOneAsBinaryOrDwordButNotAsText) {
  struct Case {
    const char* name;
    uint32_t platform;
    const char* key;
    RegValue value;
    bool expected;
  };
  const Case cases[] = {
      {"4-byte binary 1", 2, kDesktopNt, RegValue::Binary({1, 0, 0, 0}), true},
      {"DWORD 1", 2, kDesktopNt, RegValue::Dword(1), true},
      {"DWORD 0", 2, kDesktopNt, RegValue::Dword(0), false},
      {"text 1", 2, kDesktopNt, RegValue::Text("1"), false},
      {"8-byte binary 1", 2, kDesktopNt, RegValue::Binary({1, 0, 0, 0, 0, 0, 0, 0}), false},
      {"9x key on 9x", 1, kDesktop9x, RegValue::Dword(1), true},
      {"NT key on 9x", 1, kDesktopNt, RegValue::Dword(1), false},
      {"9x key on NT", 2, kDesktop9x, RegValue::Dword(1), false},
  };
  for (const Case& c : cases) {
    port::MemoryRegistry machine;
    port::MemorySystem facts;
    facts.SetVersion({c.platform, 4, 10, 1998, ""});
    port::Ports p{&machine, &facts, &lib, nullptr};
    port::KeyHandle k = machine.Create(Root::HKLM, c.key);
    machine.Set(k, "IsInstalled", c.value);
    machine.Close(k);
    TQXCommon q(p);
    q.ReadSystemInfo();
    EXPECT_EQ(q.ActiveDesktop(), c.expected) << c.name;
  }
}

TEST_F(QXTest, JapaneseOnlyForTheJapaneseSystemLocale) {
  for (auto [lcid, japanese] : {std::pair{1041u, true}, {1033u, false}, {2052u, false}}) {
    sys.SetLocale(lcid);
    qx.ReadSystemInfo();
    EXPECT_EQ(qx.Japanese(), japanese) << lcid;
  }
  EXPECT_EQ(qx.TempDir(), "") << "TEMP unset";
}

// ---------------------------------------------------------------- registry

TEST_F(QXTest, RootTextsAreExactOtherwiseThePreviousRootStays) {
  const std::pair<const char*, Root> roots[] = {
      {"HKCR", Root::HKCR}, {"HKCU", Root::HKCU}, {"HKLM", Root::HKLM}, {"HKU", Root::HKU}};
  for (auto [text, root] : roots) {
    qx.WriteRegInteger(text, "Software\\Roots", text, 1);
    EXPECT_TRUE(Get(root, "Software\\Roots", text)) << text;
  }
  EXPECT_TRUE(Get(Root::HKLM, "Software\\Classes\\Software\\Roots", "HKCR")) << "HKCR is HKLM\\Software\\Classes";
  for (const char* other : {"hklm", "HKEY_LOCAL_MACHINE", "", "HKCU "}) {
    qx.SetRegRoot("HKU");
    qx.WriteRegInteger(other, "Software\\Other", "v", 2);
    EXPECT_TRUE(Get(Root::HKU, "Software\\Other", "v")) << "'" << other << "' keeps HKU";
    EXPECT_FALSE(Exists(Root::HKCU, "Software\\Other")) << other;
    EXPECT_FALSE(Exists(Root::HKLM, "Software\\Other")) << other;
  }
}

TEST_F(QXTest, WriteRegStringStoresExpandableOnlyForAPercentReference) {
  struct Case {
    const char* text;
    uint32_t type;
  };
  const Case cases[] = {
      {"%SystemRoot%\\system32\\shell32.dll", port::kRegExpandSz},
      {"%", port::kRegExpandSz},
      {"%1", port::kRegSz},
      {"%1 %*", port::kRegSz},
      {"\"%1\"", port::kRegSz},
      {"C:\\a%TEMP%", port::kRegSz},
      {"", port::kRegSz},
  };
  for (const Case& c : cases) {
    qx.WriteRegString("HKCU", "Software\\Strings", c.text, c.text);
    auto v = Get(Root::HKCU, "Software\\Strings", c.text);
    ASSERT_TRUE(v) << c.text;
    EXPECT_EQ(*v, RegValue::Text(c.text, c.type)) << c.text << ": with its terminating NUL";
    EXPECT_EQ(qx.ReadRegString("HKCU", "Software\\Strings", c.text, "default"), c.text) << "not expanded";
  }
}

TEST_F(QXTest, ReadsGiveTheDefaultUnlessTheTypeAndSizeFit) {
  const char* key = "Software\\Typed";
  Put(Root::HKCU, key, "sz", RegValue::Text("text\0after", port::kRegSz));
  Put(Root::HKCU, key, "expand", RegValue::Text("%TEMP%", port::kRegExpandSz));
  Put(Root::HKCU, key, "empty", RegValue::Text(""));
  Put(Root::HKCU, key, "dword", RegValue::Dword(0xFFFFFFFE));
  Put(Root::HKCU, key, "bin4", RegValue::Binary({1, 2, 3, 0x84}));
  Put(Root::HKCU, key, "bin8", RegValue::Binary({1, 0, 0, 0, 0, 0, 0, 0}));
  Put(Root::HKCU, key, "bin3", RegValue::Binary({1, 0, 0}));
  Put(Root::HKCU, key, "multi", RegValue{port::kRegMultiSz, {'a', 0, 0, 0, 0, 0}});
  struct Case {
    const char* name;
    std::string text;
    int32_t integer, binary;
  };
  const Case cases[] = {
      {"sz", "text", -1, -1},
      {"expand", "%TEMP%", -1, -1},
      {"empty", "", -1, -1},
      {"dword", "def", -2, -1},
      {"bin4", "def", -1, static_cast<int32_t>(0x84030201)},
      {"bin8", "def", -1, -1},
      {"bin3", "def", -1, -1},
      {"multi", "def", -1, -1},
      {"missing", "def", -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qx.ReadRegString("HKCU", key, c.name, "def"), c.text) << c.name;
    EXPECT_EQ(qx.ReadRegInteger("HKCU", key, c.name, -1), c.integer) << c.name;
    EXPECT_EQ(qx.ReadRegBinary("HKCU", key, c.name, -1), c.binary) << c.name;
    EXPECT_EQ(qx.RegValueExists("HKCU", key, c.name), std::string(c.name) != "missing") << c.name;
  }
  EXPECT_EQ(qx.ReadRegString("HKCU", "Software\\Missing", "sz", "def"), "def");
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, AKeyWithoutFullAccessExistsButReadsDefaults) {
  Put(Root::HKLM, "Software\\Locked", "v", RegValue::Dword(5));
  reg.DenyWrite(Root::HKLM, "Software\\Locked");
  EXPECT_TRUE(qx.RegKeyExists("HKLM", "Software\\Locked")) << "read rights suffice";
  EXPECT_FALSE(qx.RegValueExists("HKLM", "Software\\Locked", "v"));
  EXPECT_EQ(qx.ReadRegInteger("HKLM", "Software\\Locked", "v", 9), 9);
  qx.GetRegValueNames("HKLM", "Software\\Locked");
  EXPECT_TRUE(qx.StringList().empty());
}

TEST_F(QXTest, WritesRaiseARegistryErrorNamingTheKeyOrTheValue) {
  reg.DenyWrite(Root::HKLM, "Software\\Locked");
  Put(Root::HKLM, "Software\\Existing", "", RegValue::Text(""));
  reg.DenyWrite(Root::HKLM, "Software\\Existing");
  reg.FailNextSet(Root::HKCU, "Software\\Flaky", "Refused");
  auto message = [](auto&& write) -> std::string {
    try {
      write();
    } catch (const RegistryError& e) {
      return e.what();
    }
    return "(no error)";
  };
  std::string create = message([&] { qx.WriteRegString("HKLM", "Software\\Locked\\New", "v", "x"); });
  EXPECT_NE(create.find("Software\\Locked\\New"), std::string::npos) << create;
  std::string open = message([&] { qx.WriteRegInteger("HKLM", "Software\\Existing", "Counter", 1); });
  EXPECT_NE(open.find("'Counter'"), std::string::npos) << open;
  std::string set = message([&] { qx.WriteRegBinary("HKCU", "Software\\Flaky", "Refused", 1); });
  EXPECT_NE(set.find("'Refused'"), std::string::npos) << set;
  EXPECT_FALSE(Get(Root::HKCU, "Software\\Flaky", "Refused"));
  EXPECT_EQ(reg.OpenHandles(), 0u) << "a failed write leaves no key open";
  qx.WriteRegBinary("HKCU", "Software\\Flaky", "Refused", 0x0A0B0C0D);  // the refusal was once
  EXPECT_EQ(Get(Root::HKCU, "Software\\Flaky", "Refused"), RegValue::Binary({0x0D, 0x0C, 0x0B, 0x0A}));
}

TEST_F(QXTest, DeletesRemoveWholeTreesAndReportNothing) {
  Put(Root::HKCU, "Software\\Tree\\A\\Deep", "v", RegValue::Dword(1));
  Put(Root::HKCU, "Software\\Tree\\B", "v", RegValue::Dword(1));
  Put(Root::HKCU, "Software\\Tree", "keep", RegValue::Dword(1));
  Put(Root::HKCU, "Software\\Tree", "drop", RegValue::Dword(1));
  qx.DeleteRegValue("HKCU", "Software\\Tree", "drop");
  qx.DeleteRegValue("HKCU", "Software\\Tree", "never there");
  qx.DeleteRegValue("HKCU", "Software\\Nowhere", "v");
  EXPECT_FALSE(Get(Root::HKCU, "Software\\Tree", "drop"));
  EXPECT_TRUE(Get(Root::HKCU, "Software\\Tree", "keep"));
  qx.DeleteRegKey("HKCU", "Software\\Tree");
  EXPECT_FALSE(Exists(Root::HKCU, "Software\\Tree"));
  EXPECT_TRUE(Exists(Root::HKCU, "Software"));
  qx.DeleteRegKey("HKCU", "Software\\Nowhere");

  Put(Root::HKLM, "Software\\Guarded\\Sub", "v", RegValue::Dword(1));
  reg.DenyWrite(Root::HKLM, "Software\\Guarded");
  EXPECT_NO_THROW(qx.DeleteRegKey("HKLM", "Software\\Guarded"));
  EXPECT_NO_THROW(qx.DeleteRegValue("HKLM", "Software\\Guarded\\Sub", "v"));
  EXPECT_TRUE(Get(Root::HKLM, "Software\\Guarded\\Sub", "v")) << "a refused deletion leaves it";
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, MoveRegKeyCopiesEverythingExactlyAndRemovesTheOld) {
  const RegValue multi{port::kRegMultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}};
  const RegValue odd{0x11, {9, 8, 7}};
  Put(Root::HKCR, "Old", "", RegValue::Text("default"));
  Put(Root::HKCR, "Old", "multi", multi);
  Put(Root::HKCR, "Old", "odd", odd);
  Put(Root::HKCR, "Old\\shell\\open\\command", "", RegValue::Text("%SystemRoot%\\x.exe \"%1\"", port::kRegExpandSz));
  Put(Root::HKCR, "Old\\Empty", "", RegValue::Text(""));
  Put(Root::HKCR, "New\\Stale", "gone", RegValue::Dword(1));
  qx.MoveRegKey("HKCR", "Old", "New");
  EXPECT_FALSE(Exists(Root::HKCR, "Old"));
  EXPECT_FALSE(Exists(Root::HKCR, "New\\Stale")) << "the target was deleted first";
  EXPECT_EQ(Get(Root::HKCR, "New", ""), RegValue::Text("default"));
  EXPECT_EQ(Get(Root::HKCR, "New", "multi"), multi);
  EXPECT_EQ(Get(Root::HKCR, "New", "odd"), odd);
  EXPECT_EQ(Get(Root::HKCR, "New\\shell\\open\\command", ""),
            RegValue::Text("%SystemRoot%\\x.exe \"%1\"", port::kRegExpandSz));
  EXPECT_TRUE(Exists(Root::HKCR, "New\\Empty"));
  qx.GetRegValueNames("HKCR", "New");
  EXPECT_EQ(qx.StringList(), (std::vector<std::string>{"", "multi", "odd"})) << "values keep their order";

  qx.MoveRegKey("HKCR", "Missing", "New");
  EXPECT_EQ(Get(Root::HKCR, "New", ""), RegValue::Text("default")) << "a missing source changes nothing";
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, MoveRegKeyKeepsTheOldKeyWhenACopyWriteIsRefused) {
  Put(Root::HKCU, "Software\\From\\Sub", "a", RegValue::Dword(1));
  Put(Root::HKCU, "Software\\From\\Sub", "b", RegValue::Dword(2));
  reg.FailNextSet(Root::HKCU, "Software\\To\\Sub", "b");
  qx.MoveRegKey("HKCU", "Software\\From", "Software\\To");
  EXPECT_EQ(Get(Root::HKCU, "Software\\From\\Sub", "b"), RegValue::Dword(2)) << "nothing lost";
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, MoveRegValueKeepsTypeAndDataAndSkipsAnAbsentValue) {
  const RegValue expand = RegValue::Text("%ProgramFiles%\\Tool\\tool.exe /s", port::kRegExpandSz);
  const RegValue plain = RegValue::Text("%1 is no reference");  // WriteRegString would store it plain too
  const RegValue odd{port::kRegBinary, {1, 2, 3}};
  Put(Root::HKLM, "Software\\From", "expand", expand);
  Put(Root::HKLM, "Software\\From", "plain", RegValue::Text("C:\\x.exe"));
  Put(Root::HKLM, "Software\\From", "odd", odd);
  Put(Root::HKLM, "Software\\To", "plain", plain);
  for (const char* name : {"expand", "odd"}) EXPECT_TRUE(qx.MoveRegValue("HKLM", "Software\\From", "Software\\New", name));
  EXPECT_EQ(Get(Root::HKLM, "Software\\New", "expand"), expand);
  EXPECT_EQ(Get(Root::HKLM, "Software\\New", "odd"), odd);
  EXPECT_FALSE(Get(Root::HKLM, "Software\\From", "expand"));
  EXPECT_TRUE(qx.MoveRegValue("HKLM", "Software\\From", "Software\\To", "plain")) << "an older value is replaced";
  EXPECT_EQ(Get(Root::HKLM, "Software\\To", "plain"), RegValue::Text("C:\\x.exe"));

  EXPECT_FALSE(qx.MoveRegValue("HKLM", "Software\\From", "Software\\Other", "gone"));
  EXPECT_FALSE(Exists(Root::HKLM, "Software\\Other")) << "nothing is written for an absent value";
  Put(Root::HKLM, "Software\\From", "self", plain);
  EXPECT_FALSE(qx.MoveRegValue("HKLM", "Software\\From", "software\\FROM\\", "self"));
  EXPECT_EQ(Get(Root::HKLM, "Software\\From", "self"), plain) << "onto its own key it stays";

  reg.FailNextSet(Root::HKLM, "Software\\To", "self");
  EXPECT_THROW(qx.MoveRegValue("HKLM", "Software\\From", "Software\\To", "self"), RegistryError);
  EXPECT_EQ(Get(Root::HKLM, "Software\\From", "self"), plain) << "a refused write keeps the old value";
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, MoveRegKeyOntoItselfIntoItselfOrOntoItsParentChangesNothing) {
  // Keys compare by their path without empty parts and without case.
  const std::pair<const char*, const char*> moves[] = {
      {"Software\\Self", "Software\\Self"},         {"Software\\Self", "software\\SELF\\"},
      {"Software\\Self", "Software\\Self\\Sub"},    {"Software\\Self", "Software\\Self\\New"},
      {"Software\\Self", "Software\\\\Self\\New"}, {"\\Software\\Self\\", "Software\\Self\\New"},
      {"Software\\Self\\Sub", "Software\\Self"},    {"Software\\Self\\Sub", "Software"},
      {"Software\\Self\\Sub", "\\SOFTWARE\\\\self"}, {"", "Software\\Self\\New"},
      {"\\", "Software\\Self\\New"},               {"Software\\Self", ""},
  };
  Put(Root::HKCU, "Software\\Self\\Sub", "v", RegValue::Dword(1));
  Put(Root::HKCU, "Software\\Self", "w", RegValue::Dword(2));
  for (const auto& [from, to] : moves) {
    qx.MoveRegKey("HKCU", from, to);
    EXPECT_EQ(Get(Root::HKCU, "Software\\Self\\Sub", "v"), RegValue::Dword(1)) << from << " -> " << to;
    EXPECT_EQ(Get(Root::HKCU, "Software\\Self", "w"), RegValue::Dword(2)) << from << " -> " << to;
    EXPECT_FALSE(Exists(Root::HKCU, "Software\\Self\\New")) << from << " -> " << to;
  }
  qx.MoveRegKey("HKCU", "Software\\Self", "Software\\Selfish");  // only a common prefix
  EXPECT_EQ(Get(Root::HKCU, "Software\\Selfish\\Sub", "v"), RegValue::Dword(1));
  qx.MoveRegKey("HKCU", "\\Software\\\\Selfish\\", "Software\\Other\\\\Moved");  // empty parts dropped
  EXPECT_EQ(Get(Root::HKCU, "Software\\Other\\Moved\\Sub", "v"), RegValue::Dword(1));
  EXPECT_FALSE(Exists(Root::HKCU, "Software\\Selfish"));
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(QXTest, MoveRegKeyMovesNothingWhenTheTargetCannotBeDeleted) {
  Put(Root::HKLM, "Software\\From", "a", RegValue::Dword(1));
  Put(Root::HKLM, "Software\\Pinned", "p", RegValue::Dword(1));
  reg.DenyWrite(Root::HKLM, "Software\\Pinned");
  qx.MoveRegKey("HKLM", "Software\\From", "Software\\Pinned");
  EXPECT_EQ(Get(Root::HKLM, "Software\\From", "a"), RegValue::Dword(1));
  EXPECT_FALSE(Get(Root::HKLM, "Software\\Pinned", "a"));
}

TEST_F(QXTest, NameListsInEnumerationOrderReplacedByEachCall) {
  for (const char* sub : {"Zeta", "alpha", "Mid"}) {
    Put(Root::HKCU, std::string("Software\\List\\") + sub, "", RegValue::Text(""));
  }
  for (const char* name : {"z", "A", "m"}) Put(Root::HKCU, "Software\\List", name, RegValue::Dword(0));
  qx.GetRegKeyNames("HKCU", "Software\\List");
  EXPECT_EQ(qx.StringList(), (std::vector<std::string>{"alpha", "Mid", "Zeta"}));
  qx.GetRegValueNames("HKCU", "Software\\List");
  EXPECT_EQ(qx.StringList(), (std::vector<std::string>{"z", "A", "m"}));
  qx.GetRegKeyNames("HKCU", "Software\\Missing");
  EXPECT_TRUE(qx.StringList().empty()) << "the previous list is gone";
}

// ---------------------------------------------------------------- lock password

TEST_F(QXTest, NormalizePasswordCountsBytesAsTheAnsiCodePage) {
  struct Case {
    uint32_t codePage;
    const char* text;
    const char* normalised;
  };
  const Case cases[] = {
      {932, "", ""},
      {932, "abc-XYZ 09", "ABC XYZ 09"},
      {932, "p@ss.w\xC3\xB6rd", "P SS W RD"},                        // ö has no 932 code: one '?'
      {932, "\xEF\xBD\xB1\xEF\xBD\xB2" "1", "  1"},                       // half-width katakana: one byte each
      {932, "\xE3\x81\x82\xE3\x81\x84", "    "},                       // two double-byte characters
      {932, "a\xE6\x97\xA5" "b", "A B "},                                 // each adds a space at the end
      {1252, "\xE3\x81\x82\xE3\x81\x84", "  "},                        // no 1252 code: '?' each
      {1252, "\xC3\xA9t\xC3\xA9", " T "},
  };
  for (const Case& c : cases) {
    sys.SetCodePage(c.codePage);
    EXPECT_EQ(qx.NormalizePassword(c.text), c.normalised) << c.codePage << " " << c.text;
  }
}

TEST_F(QXTest, ScrambleKnownValuesAndCase) {
  EXPECT_EQ(qx.ScramblePassword(""), "");
  EXPECT_EQ(qx.ScramblePassword("a"), "T");
  EXPECT_EQ(qx.ScramblePassword("ab1"), "7BB");
  EXPECT_EQ(qx.ScramblePassword("Pass Word 9"), "0716S7KOQ8O");
  EXPECT_EQ(qx.ScramblePassword("pass word 9"), qx.ScramblePassword("PASS WORD 9"));
  EXPECT_EQ(qx.ScramblePassword("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string(37, 'Q'));
  EXPECT_EQ(qx.UnscramblePassword("0716S7KOQ8O"), "PASS WORD 9");
}

TEST_F(QXTest, ScrambleRoundTrips) {
  const std::string cases[] = {
      "", "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ ", std::string(37, ' '), " ", "Z", std::string(37, 'Z'),
      "0 9 A Z",
  };
  for (const std::string& x : cases) {
    std::string s = qx.ScramblePassword(x);
    EXPECT_EQ(s.size(), x.size()) << x;
    EXPECT_EQ(s.find_first_not_of("Q7MZ2XK9A0RT4BWE1UJC8YH3LPG5NSD6VIF O"), std::string::npos) << x;
    EXPECT_EQ(qx.UnscramblePassword(s), x) << x;
  }
}

// Beyond the 37 symbols a single wrap would leave the alphabet; the shift
// wraps modulo 37 instead, so any length stays inside it and round trips.
TEST_F(QXTest, ScrambleStaysInsideTheAlphabetsWhateverTheInput) {
  std::string longer;
  for (int i = 0; i < 120; ++i) longer += "Z9 "[i % 3];
  std::string s = qx.ScramblePassword(longer);
  EXPECT_EQ(s.find_first_not_of("Q7MZ2XK9A0RT4BWE1UJC8YH3LPG5NSD6VIF O"), std::string::npos);
  EXPECT_EQ(qx.UnscramblePassword(s), longer);

  // A hand-edited value: symbols outside the scrambled alphabet read as its space.
  const std::string edited[] = {"q!\xE3\x81\x82~", std::string(200, '#'), std::string("\xFF\x01", 2)};
  for (const std::string& e : edited) {
    std::string w = qx.UnscramblePassword(e);
    EXPECT_EQ(w.find_first_not_of("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string::npos) << e;
  }
  EXPECT_EQ(qx.UnscramblePassword("q"), qx.UnscramblePassword(" "));
}

// ---------------------------------------------------------------- help

TEST_F(QXTest, ShowHtmlHelpLoadsTheLibraryOnceAndShowsTheTopic) {
  lib.AddLibrary("hhctrl.ocx", {"HtmlHelpA", "HtmlHelpW"});
  {
    TQXCommon q(ports);
    EXPECT_EQ(q.ShowHtmlHelp(0x77, "C:\\suite\\tolvane_ja.chm::/index.htm>main"), 0x4242u);
    EXPECT_EQ(q.ShowHtmlHelp(0x77, "C:\\suite\\tolvane_ja.chm::/other.htm>main"), 0x4242u);
    ASSERT_EQ(lib.Calls().size(), 2u);
    EXPECT_EQ(lib.Calls()[0].window, 0x77u);
    EXPECT_EQ(lib.Calls()[0].path, "C:\\suite\\tolvane_ja.chm::/index.htm>main");
    EXPECT_EQ(lib.Calls()[1].command, 0u) << "HH_DISPLAY_TOPIC";
    EXPECT_EQ(lib.Calls()[1].data, 0u);
    EXPECT_EQ(lib.Loaded(), 1u) << "loaded once";
  }
  EXPECT_EQ(lib.Loaded(), 0u) << "freed with the component";
}

TEST_F(QXTest, ShowHtmlHelpWithoutTheLibraryShowsNothingAndTriesAgain) {
  EXPECT_EQ(qx.ShowHtmlHelp(1, "a.chm::/t.htm>main"), 0u);
  lib.AddLibrary("hhctrl.ocx", {"HtmlHelpA"});
  EXPECT_EQ(qx.ShowHtmlHelp(1, "a.chm::/t.htm>main"), 0x4242u);
}

// A library without HtmlHelpA is no help library: it is freed again and
// never called through.
TEST_F(QXTest, ShowHtmlHelpFreesALibraryWithoutTheEntryPoint) {
  lib.AddLibrary("hhctrl.ocx", {"HtmlHelpW"});
  EXPECT_EQ(qx.ShowHtmlHelp(1, "a.chm::/t.htm>main"), 0u);
  EXPECT_EQ(qx.ShowHtmlHelp(1, "a.chm::/t.htm>main"), 0u);
  EXPECT_TRUE(lib.Calls().empty());
  EXPECT_EQ(lib.Loaded(), 0u);
}

}  // namespace
