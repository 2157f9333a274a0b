// The settings file on the memory ports: save and open through their
// dialogs, the round trip of every key of the catalogue, the identity and
// the older format, the value forms, the defaults of missing keys, the lists,
// the reports, and the snapshot that every apply merges into the one before.
#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "tolvane/settings_file.h"
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::Root;

namespace {

constexpr const char* kFolder = "C:\\Program Files\\Tolvane";
constexpr const char* kSnapshot = "C:\\Program Files\\Tolvane\\MySettings.ini";
constexpr const char* kSaved = "C:\\Settings\\saved.ini";
constexpr const char* kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
constexpr const char* kAdapterClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}";
constexpr const char* kCannotWriteJA = " に書き込めません";

// A machine with two network adapters and a folder for settings files.
struct FileMachine : Machine {
  FileMachine() {
    files.AddFolder("C:\\Settings");
    Adapter("0001", "{A1}", "First Adapter");
    Adapter("0002", "{B2}", "Second Adapter");
  }
  void Adapter(const std::string& sub, const std::string& id, const std::string& description) {
    PutString(Root::HKLM, std::string(kAdapterClass) + "\\" + sub, "NetCfgInstanceId", id);
    PutString(Root::HKLM, std::string(kAdapterClass) + "\\" + sub, "DriverDesc", description);
    registry.Close(registry.Create(Root::HKLM, std::string(kInterfaces) + "\\" + id));
  }
  const Catalogue& Rows() { return *main->PageSlices().FileRows(); }

  void Save(const std::string& path) {
    dialogs.Script(std::optional<std::string>(path));
    Click(main->sbSave);
  }
  void Open(const std::string& path) {
    dialogs.Script(std::optional<std::string>(path));
    Click(main->sbOpen);
  }
  std::string File(const std::string& path = kSaved) { return files.ReadAll(path).value_or("<none>"); }
  std::string Key(const std::string& section, const std::string& key, const std::string& path = kSaved) {
    return profile.Read(path, section, key, "<absent>");
  }
  // A file that holds only the identity and these lines of its sections.
  void Put(const std::string& body, const std::string& path = kSaved) {
    files.AddFile(path, "[Control]\r\nTitle=Tolvane Configuration File\r\n" + body);
  }

  // Every one-value key of the catalogue as the window holds it.
  std::map<std::string, Loaded> Values() {
    std::map<std::string, Loaded> values;
    for (const auto& row : Rows().All())
      for (size_t i = 0; i < row->File().size(); ++i)
        if (row->File()[i].form != FileForm::List)
          values[row->File()[i].section + "/" + row->File()[i].key] = FileValue(*main, *row, i);
    return values;
  }
  ui::ComboBox& Combo(const std::string& name) { return main->Get<ui::ComboBox>(name); }
  ui::Edit& EditOf(const std::string& name) { return main->Get<ui::Edit>(name); }
  ui::UpDown& UpDownOf(const std::string& name) { return main->Get<ui::UpDown>(name); }
};

std::string Show(const Loaded& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  if (auto* n = std::get_if<int32_t>(&v)) return std::to_string(*n);
  if (auto* t = std::get_if<std::string>(&v)) return "\"" + *t + "\"";
  return "-";
}

// Another value than v, as a user would choose one.
Loaded Other(const Loaded& v, int n) {
  if (auto* b = std::get_if<bool>(&v)) return !*b;
  if (auto* i = std::get_if<int32_t>(&v)) return *i + 1;
  return AsText(v) + "-" + std::to_string(n);
}

// The section headers of a file, in order.
std::vector<std::string> Sections(const std::string& bytes) {
  std::vector<std::string> names;
  std::regex header(R"(\[([^\]]*)\]\r\n)");
  for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), header); it != std::sregex_iterator(); ++it)
    names.push_back((*it)[1]);
  return names;
}

// The keys of one section of a file, in order.
std::vector<std::string> KeysOf(const std::string& bytes, const std::string& section) {
  std::vector<std::string> keys;
  size_t at = bytes.find("[" + section + "]\r\n");
  if (at == std::string::npos) return keys;
  at = bytes.find('\n', at) + 1;
  while (at < bytes.size() && bytes[at] != '[') {
    size_t end = bytes.find("\r\n", at);
    std::string line = bytes.substr(at, end - at);
    keys.push_back(line.substr(0, line.find('=')));
    at = end + 2;
  }
  return keys;
}

}  // namespace

TEST(SettingsFile, SavedAndOpenedTheWindowStandsAsItWasSavedForEveryKey) {
  FileMachine a;
  a.Start();
  const std::map<std::string, Loaded> fresh = a.Values();
  // Every key that is written gets another value (the older format's keys,
  // only read, share their control with a written one).
  auto written = [](const FileKey& k) {
    return k.form != FileForm::List &&
           std::find(kWriteSections.begin(), kWriteSections.end(), k.section) != kWriteSections.end();
  };
  int n = 0;
  for (const auto& row : a.Rows().All())
    for (size_t i = 0; i < row->File().size(); ++i)
      if (written(row->File()[i])) SetFileValue(*a.main, *row, i, Other(FileValue(*a.main, *row, i), ++n));
  // The second adapter with its own MTU, and a lock.
  a.Combo("cbAdapterID").UserSelect(1);
  a.Click(a.Box("cbDisableMTU"));
  a.EditOf("edMTU").UserType("1454");
  a.EditOf("edMTU").UserExit();
  a.main->LockPassword = "OPEN SESAME 7";
  const std::map<std::string, Loaded> saved = a.Values();
  // (Of the five icon-colour radios only one can be selected.)
  const std::set<std::string> radios = {"Icon/16Color", "Icon/256Color", "Icon/HighColor", "Icon/TrueColor",
                                        "Icon/32bitColor"};
  for (const auto& [key, value] : saved)
    if (!radios.count(key)) EXPECT_NE(Show(value), Show(fresh.at(key))) << key << " keeps the value of a fresh window";
  a.Save(kSaved);
  EXPECT_TRUE(a.Boxes().empty() || a.Boxes().size() == 1) << "at most the folder-icon warning";

  FileMachine b;
  b.Start();
  b.files.AddFile(kSaved, a.File());
  b.dialogs.ClearCalls();
  b.Open(kSaved);
  for (const auto& [key, value] : saved) EXPECT_EQ(Show(b.Values().at(key)), Show(value)) << key;
  EXPECT_EQ(b.main->LockPassword, "OPEN SESAME 7");
  EXPECT_TRUE(b.main->sbPlay.Enabled());
  EXPECT_TRUE(b.main->Changes.needLogoff);
  EXPECT_FALSE(b.main->Changes.needRestart || b.main->Changes.iconChanged);
  // The first adapter is shown; the second keeps its MTU for the apply.
  EXPECT_EQ(b.Combo("cbAdapterID").ItemIndex(), 0);
  EXPECT_TRUE(b.Box("cbDisableMTU").Checked());
  b.Combo("cbAdapterID").UserSelect(1);
  EXPECT_EQ(b.EditOf("edMTU").Text(), "1454");
  EXPECT_FALSE(b.Box("cbDisableMTU").Checked());
  b.Apply();
  EXPECT_EQ(b.Dword(Root::HKLM, std::string(kInterfaces) + "\\{B2}", "MTU"), 1454u);
}

TEST(SettingsFile, LoadingWhatTheWindowShowsStillEnablesApplyAndAsksForLogoff) {
  FileMachine m;
  m.Start();
  m.Save(kSaved);
  m.Open(kSaved);
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  EXPECT_TRUE(m.main->Changes.needLogoff);
}

TEST(SettingsFile, TheDialogsArePreparedInTheLanguageAndACancelDoesNothing) {
  for (bool english : {false, true}) {
    FileMachine m;
    if (english) m.English();
    m.Start();
    m.dialogs.Cancel();
    m.Click(m.main->sbSave);
    m.dialogs.Cancel();
    m.Click(m.main->sbOpen);
    ASSERT_EQ(m.dialogs.Calls().size(), 2u);
    const auto& save = m.dialogs.Calls()[0];
    const auto& open = m.dialogs.Calls()[1];
    EXPECT_EQ(save.kind, port::MemoryDialogs::Kind::SaveFile);
    EXPECT_EQ(save.file.filter, english ? "Setting file (*.INI) | *.INI" : "設定ファイル (*.INI) | *.INI");
    EXPECT_EQ(save.file.initialDir, kFolder);
    EXPECT_EQ(save.file.defaultExt, "INI");
    EXPECT_EQ(open.kind, port::MemoryDialogs::Kind::OpenFile);
    EXPECT_EQ(open.file.filter, save.file.filter);
    EXPECT_EQ(open.file.initialDir, kFolder);
    EXPECT_EQ(open.file.defaultExt, "");
    EXPECT_FALSE(m.files.Exists(kSaved));
    EXPECT_FALSE(m.main->sbPlay.Enabled());
  }
}

TEST(SettingsFile, ANewFileHoldsTheSectionsInTheirOrderAndTheReports) {
  FileMachine m;
  m.system.SetTotalPhysicalMemory(uint64_t{1023} << 20);
  m.PutString(Root::HKLM, "Hardware\\Description\\System\\CentralProcessor\\0", "Identifier",
              "x86 Family 6 Model 15 Stepping 11");
  m.Start();
  m.Save(kSaved);
  const std::string bytes = m.File();
  // The headers follow the writer's order; the lists without rows have none.
  std::vector<std::string> headers = Sections(bytes);
  ASSERT_FALSE(headers.empty());
  EXPECT_EQ(headers.front(), "Control");
  size_t at = 0;
  for (const std::string& h : headers) {
    while (at < kWriteSections.size() && h != kWriteSections[at]) ++at;
    EXPECT_LT(at, kWriteSections.size()) << h << " out of order";
  }
  for (const char* empty : {"ShellNew", "Uninstall", "Run"})
    EXPECT_EQ(std::count(headers.begin(), headers.end(), empty), 0) << empty;
  EXPECT_EQ(KeysOf(bytes, "Control"), (std::vector<std::string>{"Title", "FileName", "Version"}));
  EXPECT_EQ(m.Key("Control", "Title"), "Tolvane Configuration File");
  EXPECT_EQ(m.Key("Control", "FileName"), kSaved);
  EXPECT_EQ(m.Key("Control", "Version"), "トルヴァネ ver6.01 for WindowsXP");
  EXPECT_EQ(KeysOf(bytes, "Desktop"), (std::vector<std::string>{"Control Panel", "Printers", "PaintDesktopVersion",
                                                                 "NoActiveDesktop", "NoTrayItemsDisplay",
                                                                 "NoToolbarsOnTaskbar"}));
  EXPECT_EQ(KeysOf(bytes, "Network Neighborhood"),
            (std::vector<std::string>{"NoNetHood", "NoEntireNetwork", "NoWorkgroupContents", "Adapter(0)",
                                      "Adapter(1)", "AdapterID(0)", "MTU(0)", "AdapterID(1)", "MTU(1)",
                                      "DisableTcpWindowSize", "DefaultMSS", "TcpWindowSize", "DisableDefaultTTL",
                                      "DefaultTTL", "EnablePMTUBHDetect", "EnablePMTUDiscovery"}));
  EXPECT_EQ(m.Key("Network Neighborhood", "Adapter(1)"), "Second Adapter");
  EXPECT_EQ(m.Key("Network Neighborhood", "AdapterID(1)"), "{B2}");
  EXPECT_EQ(m.Key("Network Neighborhood", "MTU(1)"), "1500");
  EXPECT_EQ(m.Key("Network Neighborhood", "DisableTcpWindowSize"), "1");
  // The reports.
  EXPECT_EQ(m.Key("Windows", "MajorVersion"), "5");
  EXPECT_EQ(m.Key("Windows", "MinorVersion"), "1");
  EXPECT_EQ(m.Key("Windows", "BuildNumber"), "2600");
  EXPECT_EQ(m.Key("Windows", "CSDVersion"), "Service Pack 3");
  EXPECT_EQ(m.Key("Windows", "Internet Explorer Version"), "6.0.2900.5512");
  EXPECT_EQ(m.Key("Windows", "WindowsXP"), "1");
  EXPECT_EQ(m.Key("Windows", "Windows2000"), "0");
  EXPECT_EQ(m.Key("Windows", "IE6"), "1");
  EXPECT_EQ(m.Key("PC", "Processor Type"), "x86 Family 6 Model 15 Stepping 11");
  EXPECT_EQ(m.Key("PC", "Memory Size"), "1024") << "MB, rounded up by one";
  EXPECT_EQ(m.Key("Path", "Tolvane"), kProgram);
  EXPECT_EQ(m.Key("Path", "tamrel"), "\"C:\\Program Files\\Tolvane\\TAMREL.EXE\" \"%1\"");
  EXPECT_EQ(m.Key("Path", "SHELL32.DLL"), "C:\\WINDOWS\\SYSTEM32\\shell32.dll");
  EXPECT_EQ(m.Key("Path", "RcvTrayCLSID"), "");
  EXPECT_EQ(m.Key("Path", "TRANSPARENCY.ICO"), "C:\\Program Files\\Tolvane\\transparency.ico,0");
  EXPECT_EQ(m.Key("Directory", "Tolvane"), kFolder);
  EXPECT_EQ(m.Key("Directory", "RegBackup"), "C:\\Program Files\\Tolvane\\RegBack");
  EXPECT_EQ(m.Key("Directory", "Windows"), "C:\\WINDOWS");
  EXPECT_EQ(m.Key("Users", "0"), ".DEFAULT");
  EXPECT_EQ(m.Key("Users", "1"), "S-1-5-21-1");
  EXPECT_EQ(m.Key("Icon", "Receive Tray"), "");
  EXPECT_EQ(m.Key("Security", "Code"), "") << "no lock";
  // Saving changes nothing in the window.
  EXPECT_FALSE(m.main->sbPlay.Enabled());
  EXPECT_FALSE(m.main->Changes.needLogoff);
}

TEST(SettingsFile, SavingMergesIntoTheFileAndASavedListIsExactlyTheList) {
  FileMachine m;
  m.Start();
  m.files.AddFile(kSaved,
                  "[Application]\r\nTitle=トルヴァネ\r\n[Users]\r\n0=old\r\n5=older\r\nnote=kept\r\n"
                  "[Network Neighborhood]\r\nAdapter(2)=Gone\r\nAdapterID(2)={C3}\r\nMTU(2)=576\r\nMTU(17)=1000\r\n");
  m.Save(kSaved);
  EXPECT_EQ(m.Key("Application", "Title"), "トルヴァネ") << "a section this save does not write stays";
  EXPECT_EQ(KeysOf(m.File(), "Users"), (std::vector<std::string>{"0", "note", "1"}));
  EXPECT_EQ(m.Key("Users", "0"), ".DEFAULT");
  for (const char* surplus : {"Adapter(2)", "AdapterID(2)", "MTU(2)", "MTU(17)"})
    EXPECT_EQ(m.Key("Network Neighborhood", surplus), "<absent>") << surplus;
  EXPECT_EQ(m.Key("Network Neighborhood", "MTU(1)"), "1500");

  // An adapter fewer and a user fewer: their keys go with them.
  FileMachine n;
  n.registry.DeleteKey(Root::HKLM, std::string(kInterfaces) + "\\{B2}");
  n.Start();
  n.files.AddFile(kSaved, m.File());
  n.main->lbUser.Items.Assign({"S-1-5-21-1"});
  n.Save(kSaved);
  EXPECT_EQ(n.Key("Users", "1"), "<absent>");
  EXPECT_EQ(n.Key("Users", "note"), "kept") << "only numbered keys are list entries";
  for (const char* surplus : {"Adapter(1)", "AdapterID(1)", "MTU(1)"})
    EXPECT_EQ(n.Key("Network Neighborhood", surplus), "<absent>") << surplus;
}

TEST(SettingsFile, TheIdentityDecidesAndTheOlderFormatGetsItsNotice) {
  const std::string notice =
      "これは以前のバージョンの設定ファイルです。\rバージョン４．５Ａより設定ファイルの形式が変更になりました。\r\r"
      "バージョン４．５Ａ以降で保存した設定ファイルを指定して下さい。";
  struct Case {
    const char* what;
    std::optional<std::string> file;  // nothing: the chosen name does not exist
    bool notice, loads;
  };
  const Case cases[] = {
      {"no title", "[Explorer]\r\nHide Drive:C=1\r\n", false, false},
      {"another title", "[Control]\r\nTitle=tolvane configuration file\r\n[Explorer]\r\nHide Drive:C=1\r\n", false,
       false},
      {"a missing file", std::nullopt, false, false},
      {"an older version", "[Application]\r\nTitle=トルヴァネ\r\n[Explorer]\r\nHide Drive:C=1\r\n", true, false},
      {"an older version saved over",
       "[Application]\r\nTitle=トルヴァネ\r\n[Control]\r\nTitle=Tolvane Configuration File\r\n[Explorer]\r\n"
       "Hide Drive:C=1\r\n",
       true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool english : {false, true}) {
      FileMachine m;
      if (english) m.English();
      m.Start();
      if (c.file) m.files.AddFile(kSaved, *c.file);
      const auto before = m.Values();
      m.main->LockPassword = "KEPT";
      m.Open(kSaved);
      std::vector<port::MemoryDialogs::Call> boxes = m.Boxes();
      ASSERT_EQ(boxes.size(), c.notice ? 1u : 0u);
      if (c.notice) {
        EXPECT_EQ(boxes[0].text, notice) << "in Japanese in both modes";
        EXPECT_EQ(boxes[0].caption, "申し訳ございません");
        EXPECT_EQ(boxes[0].icon, port::MbIcon::Information);
      }
      EXPECT_EQ(m.Box("cbC").Checked(), c.loads);
      EXPECT_EQ(m.main->sbPlay.Enabled(), c.loads);
      EXPECT_EQ(m.main->Changes.needLogoff, c.loads);
      EXPECT_EQ(m.main->LockPassword, c.loads ? "" : "KEPT") << "an absent Code is no lock";
      if (!c.loads) {
        for (const auto& [key, value] : m.Values()) EXPECT_EQ(Show(value), Show(before.at(key))) << key;
      }
    }
  }
}

TEST(SettingsFile, IntegersAreDecimalOrHexadecimalAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<int32_t> number;
  };
  const Case numbers[] = {{"12", 12},          {"-5", -5},           {"+7", 7},        {"0x1F", 31},
                          {"0X1f", 31},        {"0xFFFFFFFF", -1},   {"2147483647", INT32_MAX},
                          {"-2147483648", INT32_MIN},                {"12abc", std::nullopt},
                          {"0x", std::nullopt}, {"", std::nullopt},  {"-", std::nullopt},
                          {"0x1G", std::nullopt}, {"0x123456789", std::nullopt},
                          {"2147483648", std::nullopt},              {"1 2", std::nullopt}};
  for (const Case& c : numbers) EXPECT_EQ(FileInteger(c.text), c.number) << c.text;

  // Through the file: the time to live (1 to 255; the default 128 for what
  // is no number; a number out of range leaves the value before), and a box.
  struct Through {
    const char* ttl;
    int ttlAfter;
    const char* box;
    bool ticked;
  };
  const Through cases[] = {{"12abc", 128, "12abc", false}, {"0x1F", 31, "0x1", true}, {"-5", 64, "-5", true},
                           {"0x", 128, "0x", false},       {"", 128, "", false},       {"300", 64, "2", true}};
  for (const Through& c : cases) {
    SCOPED_TRACE(c.ttl);
    FileMachine m;
    m.Start();
    m.UpDownOf("udDefaultTTL").SetPosition(64);
    m.Put(std::string("[Network Neighborhood]\r\nDefaultTTL=") + c.ttl + "\r\n[Desktop]\r\nNoActiveDesktop=" +
          c.box + "\r\n");
    m.Open(kSaved);
    EXPECT_EQ(m.UpDownOf("udDefaultTTL").Position(), c.ttlAfter);
    EXPECT_EQ(m.Box("cbNoActiveDesktop").Checked(), c.ticked);
  }
}

TEST(SettingsFile, MissingKeysTakeTheDefaultsOfTheFile) {
  FileMachine m;
  m.Start();
  // Everything away from the file's defaults first.
  m.Click(m.Box("cbDisableTcpWindowSize"));
  m.Click(m.Box("cbDisableDefaultTTL"));
  m.Click(m.Box("cbEnablePMTUDiscovery"));
  m.Click(m.Box("cbNotepad"));
  m.Click(m.Box("cbAllFileEditor"));
  m.Click(m.Box("cbC"));
  for (const char* edit : {"edIETitle", "edOETitle", "edAnonymousFTP", "edViewSourceEditor"})
    m.EditOf(edit).UserType("changed");
  m.Combo("cbSearchUrl").UserType("http://example.invalid/?q=%s");
  m.UpDownOf("udMaxConnectionsPerServer10").SetPosition(9);
  m.UpDownOf("udMaxConnectionsPerServer11").SetPosition(9);
  m.EditOf("edTcpWindowSize").UserType("64000");
  m.UpDownOf("udDefaultTTL").SetPosition(64);
  ASSERT_EQ(m.EditOf("edTrushName").Text(), "ごみ箱") << "the registry's default";

  m.Put("");
  m.Open(kSaved);
  EXPECT_TRUE(m.Box("cbDisableTcpWindowSize").Checked());
  EXPECT_TRUE(m.Box("cbDisableDefaultTTL").Checked());
  EXPECT_TRUE(m.Box("cbEnablePMTUDiscovery").Checked());
  EXPECT_FALSE(m.Box("cbNotepad").Checked());
  EXPECT_TRUE(m.Box("cbAllFileEditor").Checked());
  EXPECT_FALSE(m.Box("cbC").Checked());
  EXPECT_EQ(m.EditOf("edIETitle").Text(), "Microsoft Internet Explorer");
  EXPECT_EQ(m.EditOf("edOETitle").Text(), "Outlook Express");
  EXPECT_EQ(m.EditOf("edAnonymousFTP").Text(), "ZK41wolf@") << "not the standard of the browser's version";
  EXPECT_EQ(m.EditOf("edViewSourceEditor").Text(), "C:\\WINDOWS\\notepad.exe");
  EXPECT_EQ(m.Combo("cbSearchUrl").Text(), "http://search.msn.co.jp/access/autosearch.asp?p=%s");
  EXPECT_EQ(m.UpDownOf("udMaxConnectionsPerServer10").Position(), 4);
  EXPECT_EQ(m.UpDownOf("udMaxConnectionsPerServer11").Position(), 2);
  EXPECT_EQ(m.EditOf("edTcpWindowSize").Text(), "8760");
  EXPECT_EQ(m.UpDownOf("udDefaultTTL").Position(), 128);
  EXPECT_EQ(m.EditOf("edTrushName").Text(), "") << "the file's default, not the registry's";
  EXPECT_EQ(m.EditOf("edMTU").Text(), "1500");
  EXPECT_TRUE(m.Box("cbDisableMTU").Checked());
}

TEST(SettingsFile, TextKeepsItsQuotesAndBlanks) {
  const char* const texts[] = {" leading", "trailing ", "\"quoted\"", "'single'", "\"a' ", "in \"the\" middle", ""};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    FileMachine a;
    a.Start();
    a.EditOf("edIETitle").UserType(text);
    a.Save(kSaved);
    // Older readers (the profile functions alone) read the same text.
    EXPECT_EQ(a.Key("Internet Explorer", "IETitle"), text);
    FileMachine b;
    b.Start();
    b.files.AddFile(kSaved, a.File());
    b.Open(kSaved);
    EXPECT_EQ(b.EditOf("edIETitle").Text(), text);
  }
  EXPECT_EQ(FileText("\"x\""), "\"\"x\"\"");
  EXPECT_EQ(FileText("a b"), "a b");
}

TEST(SettingsFile, ValuesAreCheckedBeforeTheyReachAControl) {
  FileMachine m;
  m.Start();
  m.main->LockPassword = "CURRENT";
  m.Put(
      "[Network Neighborhood]\r\nMTU(0)=70000\r\nMTU(1)=576\r\nTcpWindowSize=0\r\nDisableTcpWindowSize=0\r\n"
      "DefaultMSS=5\r\n[Internet Explorer]\r\nMaxConnectionsPerServer10=999\r\nMaxConnectionsPerServer11=-3\r\n"
      "[Security]\r\nCode=Q7MZ2XK9A0RT4BWE1UJC8YH3LPG5NSD6VIFOQ7\r\n");
  m.Open(kSaved);
  EXPECT_EQ(m.EditOf("edMTU").Text(), "1500") << "an MTU TCP/IP refuses is the default";
  EXPECT_EQ(m.EditOf("edTcpWindowSize").Text(), "8760");
  EXPECT_EQ(m.UpDownOf("udMaxConnectionsPerServer10").Position(), 16);
  EXPECT_EQ(m.UpDownOf("udMaxConnectionsPerServer11").Position(), 2);
  EXPECT_EQ(m.main->LockPassword, "CURRENT") << "38 symbols";
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Code"), std::string::npos);
  m.Combo("cbAdapterID").UserSelect(1);
  EXPECT_EQ(m.EditOf("edMTU").Text(), "576");
  // Saved again: the MSS was not taken either.
  m.Save("C:\\Settings\\again.ini");
  EXPECT_EQ(m.Key("Network Neighborhood", "DefaultMSS", "C:\\Settings\\again.ini"), "536");

  struct Code {
    const char* code;
    std::string lock;  // after loading; "CURRENT": refused
  };
  const std::string scrambled = m.main->QX.ScramblePassword("NEW LOCK");
  const Code codes[] = {{"", ""}, {"abc", "CURRENT"}, {"Q7M\xE3\x81\x82", "CURRENT"}};
  for (const Code& c : codes) {
    SCOPED_TRACE(c.code);
    m.main->LockPassword = "CURRENT";
    m.Put(std::string("[Security]\r\nCode=") + FileText(c.code) + "\r\n");
    m.Open(kSaved);
    EXPECT_EQ(m.main->LockPassword, c.lock);
  }
  m.Put("[Security]\r\nCode=" + FileText(scrambled) + "\r\n");
  m.Open(kSaved);
  EXPECT_EQ(m.main->LockPassword, "NEW LOCK");
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsSaidAndTheWindowStaysAsItWas) {
  struct Case {
    const char* what;
    bool english;
    std::string path;
  };
  const Case cases[] = {{"a folder that does not exist", false, "C:\\Nowhere\\x.ini"},
                        {"a read-only file", false, "C:\\Settings\\ro.ini"},
                        {"in English", true, "C:\\Nowhere\\x.ini"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileMachine m;
    if (c.english) m.English();
    m.Start();
    m.files.AddFile("C:\\Settings\\ro.ini", "[Mine]\r\nk=1\r\n");
    m.files.SetAttributes("C:\\Settings\\ro.ini", port::kAttrReadOnly);
    m.Click(m.Box("cbC"));
    m.Save(c.path);
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_EQ(m.Boxes()[0].text, c.english ? "Cannot write to " + c.path : c.path + kCannotWriteJA);
    EXPECT_EQ(m.Boxes()[0].icon, port::MbIcon::Error);
    EXPECT_FALSE(m.app->IsTerminated());
    EXPECT_TRUE(m.main->sbPlay.Enabled()) << "the change is still unapplied";
    EXPECT_TRUE(m.Box("cbC").Checked());
  }
}

TEST(SettingsFile, EveryApplyMergesTheSnapshotIntoTheOneBefore) {
  FileMachine m;
  m.Start();
  m.files.AddFile(kSnapshot, "[Mine]\r\nnote=kept\r\n");
  m.Click(m.Box("cbC"));
  m.dialogs.Script(port::MbResult::No);  // the log-off question
  m.Apply();
  EXPECT_EQ(m.Key("Mine", "note", kSnapshot), "kept");
  EXPECT_EQ(m.Key("Control", "FileName", kSnapshot), kSnapshot);
  EXPECT_EQ(m.Key("Explorer", "Hide Drive:C", kSnapshot), "1");
  for (const auto& call : m.dialogs.Calls()) EXPECT_EQ(call.kind, port::MemoryDialogs::Kind::MessageBox) << "no file dialog";
  m.Click(m.Box("cbC"));
  m.dialogs.Script(port::MbResult::No);
  m.Apply();
  EXPECT_EQ(m.Key("Explorer", "Hide Drive:C", kSnapshot), "0") << "as the window stood when apply began";

  // The snapshot is a settings file like any other.
  FileMachine other;
  other.Start();
  other.files.AddFile(kSaved, m.File(kSnapshot));
  other.Click(other.Box("cbD"));
  other.Open(kSaved);
  EXPECT_FALSE(other.Box("cbD").Checked());
}

TEST(SettingsFile, ASnapshotThatCannotBeWrittenIsSaidAndTheApplyGoesOn) {
  FileMachine m;
  m.Start();
  m.files.RemoveFolder(kFolder);
  m.Click(m.Box("cbC"));
  m.dialogs.Script(port::MbResult::OK);
  m.dialogs.Script(port::MbResult::No);  // the log-off question
  m.Apply();
  std::vector<port::MemoryDialogs::Call> boxes = m.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, std::string(kSnapshot) + kCannotWriteJA);
  EXPECT_NE(boxes[1].text.find("Logoff"), std::string::npos);
  EXPECT_EQ(m.Dword(Root::HKCU, kPolicies, "NoDrives"), 4u) << "the later steps ran";
  EXPECT_FALSE(m.app->IsTerminated());
}

TEST(SettingsFile, TheLogonAndPerformanceKeysFollowTheirRules) {
  struct Case {
    const char* what;
    std::string body;
    bool windowsChooses;  // cbIoPageLockLimit
    int pages;            // udIoPageLockLimit
    bool recent, find;    // cbRmRecent, cbRmFindMRU
    std::string red, green, blue;
  };
  const Case cases[] = {
      {"absent", "", true, 0, false, false, "0", "0", "0"},
      {"a size and colours", "[Performance]\r\nIoPageLockLimit=12\r\n[Logon]\r\nBackground RValue=10\r\n"
       "Background GValue=0x20\r\nBackground BValue=255\r\n", false, 12, false, false, "10", "32", "255"},
      {"zero or below lets Windows choose; colours out of 0..255", "[Performance]\r\nIoPageLockLimit=-4\r\n"
       "[Logon]\r\nBackground RValue=256\r\nBackground GValue=-1\r\nBackground BValue=red\r\n", true, 0, false, false,
       "0", "0", "0"},
      {"the older history keys are the default of the newer",
       "[MRU]\r\nRecent=1\r\nFind=1\r\n[Logon]\r\nAutoCleanFindMRU=0\r\n", true, 0, true, false, "0", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileMachine m;
    m.Start();
    m.Click(m.Box("cbIoPageLockLimit"));
    m.UpDownOf("udIoPageLockLimit").SetPosition(5);
    m.Put(c.body);
    m.Open(kSaved);
    EXPECT_EQ(m.Box("cbIoPageLockLimit").Checked(), c.windowsChooses);
    EXPECT_EQ(m.UpDownOf("udIoPageLockLimit").Position(), c.pages);
    EXPECT_EQ(m.Box("cbRmRecent").Checked(), c.recent);
    EXPECT_EQ(m.Box("cbRmFindMRU").Checked(), c.find);
    m.Save("C:\\Settings\\again.ini");
    EXPECT_EQ(m.Key("Logon", "Background RValue", "C:\\Settings\\again.ini"), c.red);
    EXPECT_EQ(m.Key("Logon", "Background GValue", "C:\\Settings\\again.ini"), c.green);
    EXPECT_EQ(m.Key("Logon", "Background BValue", "C:\\Settings\\again.ini"), c.blue);
    EXPECT_EQ(m.Key("MRU", "Recent", "C:\\Settings\\again.ini"), "<absent>") << "the older section is never written";
  }
}

TEST(SettingsFile, TheListReportsHoldTheCurrentRowsAndNoMore) {
  const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";
  FileMachine m;
  m.PutString(Root::HKLM, uninstall + "\\App1", "DisplayName", "App One");
  m.PutString(Root::HKLM, uninstall + "\\App1", "UninstallString", "C:\\App1\\uninst.exe");
  m.PutString(Root::HKLM, run, "Tool", "C:\\tool.exe");
  m.PutString(Root::HKCR, ".txt", "", "txtfile");
  m.PutString(Root::HKCR, "txtfile", "", "Text Document");
  m.PutString(Root::HKCR, ".txt\\ShellNew", "NullFile", "");
  m.files.AddFile(kSaved, "[Uninstall]\r\n0=x\r\n1=Removed Program\r\n[Run]\r\n3=old\r\n[ShellNew]\r\n.gone=Gone\r\n");
  m.Start();
  m.Save(kSaved);
  EXPECT_EQ(m.Key("Uninstall", "0"), "App One");
  EXPECT_EQ(m.Key("Uninstall", "1"), "<absent>");
  EXPECT_EQ(m.Key("Run", "0"), "Tool ( C:\\tool.exe )");
  EXPECT_EQ(m.Key("Run", "3"), "<absent>");
  EXPECT_EQ(m.Key("ShellNew", ".txt"), "Text Document");
  EXPECT_EQ(m.Key("ShellNew", ".gone"), "<absent>");
}

TEST(SettingsFile, IconKeysTakeComputerOverSubscriptionsAndTheLastColourRadio) {
  FileMachine m;
  m.Start();
  auto held = [&](const char* image) { return AsText(FileValue(*m.main, *m.Rows().Find(image), 0)); };
  auto radio = [&](const char* name) { return m.main->Get<ui::RadioButton>(name).Checked(); };
  m.Put("[Icon]\r\nComputer=C:\\a.dll,1\r\nSubscriptions=C:\\b.dll,2\r\nMy Computer=C:\\c.dll,-3\r\n"
        "256Color=1\r\nTrueColor=1\r\n32bitColor=0\r\n");
  m.Open(kSaved);
  EXPECT_EQ(held("imKoudoku"), "C:\\a.dll,1");
  EXPECT_EQ(held("imMyComputer"), "C:\\c.dll,-3");
  EXPECT_EQ(held("imFloppy"), "") << "an absent key is an empty location";
  EXPECT_FALSE(radio("ra256Color"));
  EXPECT_TRUE(radio("raTrueColor")) << "the last one set";
  EXPECT_FALSE(m.main->Changes.iconChanged) << "loading changes no icon-cache state";

  m.Put("[Icon]\r\nSubscriptions=C:\\b.dll,2\r\n16Color=0\r\n256Color=0\r\nHighColor=0\r\nTrueColor=0\r\n");
  m.Open(kSaved);
  EXPECT_EQ(held("imKoudoku"), "") << "an absent Computer leaves it empty";
  for (const char* r : {"ra16Color", "ra256Color", "raHighColor", "raTrueColor", "ra32bitColor"})
    EXPECT_FALSE(radio(r)) << r;
  m.Save("C:\\Settings\\again.ini");
  EXPECT_EQ(m.Key("Icon", "Receive Tray", "C:\\Settings\\again.ini"), "");
  EXPECT_EQ(m.Key("Icon", "Subscriptions", "C:\\Settings\\again.ini"), "") << "the same location again";
}

TEST(SettingsFile, TheRestrictedProgramsAreOneKeyARowUpToTheFirstGap) {
  FileMachine m;
  m.Start();
  auto& list = *dynamic_cast<ui::ListBox*>(m.main->Find("lbRestrictRun"));
  m.Put("[Security]\r\nFileName0=a.exe\r\nFileName1=TOLVANE.EXE\r\nFileName2=b.exe\r\nFileName3=\r\n"
        "FileName4=after-gap.exe\r\n");
  m.Open(kSaved);
  EXPECT_EQ(list.Items.All(), (std::vector<std::string>{"a.exe", "b.exe"}))
      << "the list ends at the empty key and never shows the always-allowed names";

  list.Items.Assign({"one.exe", "two.exe", "three.exe", "four.exe"});
  m.Save(kSaved);
  EXPECT_EQ(m.Key("Security", "FileName3"), "four.exe");
  list.Items.Assign({"one.exe"});
  m.Save(kSaved);
  EXPECT_EQ(m.Key("Security", "FileName0"), "one.exe");
  for (const char* gone : {"FileName1", "FileName3", "FileName4"})
    EXPECT_EQ(m.Key("Security", gone), "<absent>") << gone << ": a removed program must not come back on load";
}
