#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "pe_image.h"
#include "xp_rules.h"

using namespace xpgate;

namespace {

// A small i386 program image: one section at 0x1000 holding the import
// directory (and, when asked, one delay-load descriptor), with the last
// imported name ending the file.
struct Program {
  uint16_t machine = kMachineI386;
  uint16_t magic = 0x10b;
  uint16_t os[2] = {4, 0}, subsystem[2] = {4, 0};
  std::vector<std::pair<std::string, std::vector<std::string>>> imports = {{"KERNEL32.dll", {"GetTickCount"}}};
  std::pair<std::string, std::vector<std::string>> delayed;  // none when the DLL is empty
  uint32_t ordinal = 0;                                      // an import by ordinal of the first DLL
  std::string extra;                                         // text in the section

  std::vector<uint8_t> Bytes() const {
    constexpr uint32_t kVa = 0x1000, kRaw = 0x200;
    std::vector<uint8_t> sec;
    auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
      if (b.size() < at + 4) b.resize(at + 4);
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto text = [&](const std::string& s) {
      uint32_t rva = kVa + static_cast<uint32_t>(sec.size());
      sec.insert(sec.end(), s.begin(), s.end());
      sec.push_back(0);
      return rva;
    };
    size_t dirs = imports.size() + 1, delay = (dirs * 20 + 3) / 4 * 4;
    sec.resize(delay + 32 + 16);  // the directory, a delay descriptor, its handle slot
    std::vector<size_t> tables;   // where each lookup table and its address table go
    auto table = [&](size_t entries) {
      size_t at = sec.size();
      sec.resize(at + 8 * (entries + 1));
      return at;
    };
    size_t n = 0;
    for (const auto& [dll, names] : imports) tables.push_back(table(names.size() + (n++ == 0 && ordinal)));
    size_t delayTable = delayed.first.empty() ? 0 : table(delayed.second.size());
    if (!extra.empty()) text(extra);
    std::vector<std::pair<size_t, std::string>> hints;  // (slot, name): the names come last
    for (size_t i = 0; i < imports.size(); ++i) {
      const auto& [dll, names] = imports[i];
      size_t count = names.size() + (i == 0 && ordinal);
      put32(sec, i * 20, kVa + static_cast<uint32_t>(tables[i]));
      put32(sec, i * 20 + 12, text(dll));
      put32(sec, i * 20 + 16, kVa + static_cast<uint32_t>(tables[i] + 4 * (count + 1)));
      size_t slot = tables[i];
      if (i == 0 && ordinal) {
        put32(sec, slot, 0x80000000u | ordinal);
        slot += 4;
      }
      for (const std::string& f : names) hints.emplace_back(slot, f), slot += 4;
    }
    if (!delayed.first.empty()) {
      put32(sec, delay, 1);
      put32(sec, delay + 4, text(delayed.first));
      put32(sec, delay + 8, kVa + static_cast<uint32_t>(delay + 32));
      put32(sec, delay + 12, kVa + static_cast<uint32_t>(delayTable + 4 * (delayed.second.size() + 1)));
      put32(sec, delay + 16, kVa + static_cast<uint32_t>(delayTable));
      size_t slot = delayTable, iat = delayTable + 4 * (delayed.second.size() + 1);
      for (const std::string& f : delayed.second) {
        put32(sec, iat, 0x401000), iat += 4;
        hints.emplace_back(slot, f), slot += 4;
      }
    }
    for (const auto& [slot, name] : hints) {
      put32(sec, slot, kVa + static_cast<uint32_t>(sec.size()));
      sec.push_back(0), sec.push_back(0);  // the hint
      text(name);
    }

    std::vector<uint8_t> f(kRaw, 0);
    f[0] = 'M', f[1] = 'Z';
    put32(f, 0x3c, 0x40);
    put32(f, 0x40, 0x4550);
    auto put16 = [&](size_t at, uint16_t v) { f[at] = v & 0xff, f[at + 1] = static_cast<uint8_t>(v >> 8); };
    put16(0x44, machine);
    put16(0x46, 1);
    uint16_t optSize = magic == 0x20b ? 240 : 224;
    put16(0x54, optSize);
    size_t opt = 0x58;
    put16(opt, magic);
    put16(opt + 40, os[0]), put16(opt + 42, os[1]);
    put16(opt + 48, subsystem[0]), put16(opt + 50, subsystem[1]);
    size_t dir = opt + (magic == 0x20b ? 112 : 96);
    put32(f, dir - 4, 16);
    put32(f, dir + 8, kVa);
    put32(f, dir + 12, static_cast<uint32_t>(dirs * 20));
    size_t s = opt + optSize;
    std::memcpy(&f[s], ".idata", 6);
    put32(f, s + 8, static_cast<uint32_t>(sec.size()));
    put32(f, s + 12, kVa);
    put32(f, s + 16, static_cast<uint32_t>(sec.size()));
    put32(f, s + 20, kRaw);
    f.insert(f.end(), sec.begin(), sec.end());
    return f;
  }
};

XpSystem Xp() {
  XpSystem xp;
  std::string error;
  EXPECT_TRUE(ParseXpSystem("dll KERNEL32.DLL\ndll msvcrt\ndll shell32.dll\ndll hhctrl.ocx\n"
                            "lacks KERNEL32!GetTickCount64\n"
                            "lacks KERNEL32!GetSystemTimePreciseAsFileTime  # looked up below\n"
                            "lacks SHELL32!SHGetKnownFolderPath\nlacks MSVCRT!*_s\nlacks MSVCRT!_wassert\n"
                            "lookup kernel32.dll!GetSystemTimePreciseAsFileTime | GetSystemTimeAsFileTime\n",
                            xp, error))
      << error;
  return xp;
}

std::vector<std::string> Faults(const Program& p) {
  std::vector<uint8_t> bytes = p.Bytes();
  PeImage image;
  std::string error;
  if (!ReadPe(bytes, image, error)) return {"unreadable: " + error};
  return CheckProgram("probe.exe", image, AsciiStrings(bytes, 4), Xp());
}

TEST(XpGate, ReadsImportsAndDelayedImports) {
  Program p;
  p.imports = {{"KERNEL32.dll", {"GetTickCount", "Sleep"}}, {"msvcrt.dll", {"strcpy"}}};
  p.delayed = {"shell32.dll", {"SHChangeNotify", "ShellExecuteW"}};
  std::vector<uint8_t> bytes = p.Bytes();
  PeImage image;
  std::string error;
  ASSERT_TRUE(ReadPe(bytes, image, error)) << error;
  ASSERT_EQ(image.imports.size(), 3u);
  EXPECT_EQ(image.imports[0].dll, "KERNEL32.dll");
  EXPECT_EQ(image.imports[0].names, (std::vector<std::string>{"GetTickCount", "Sleep"}));
  EXPECT_FALSE(image.imports[0].delayed);
  EXPECT_EQ(image.imports[2].dll, "shell32.dll");
  EXPECT_EQ(image.imports[2].names, (std::vector<std::string>{"SHChangeNotify", "ShellExecuteW"}));
  EXPECT_TRUE(image.imports[2].delayed);
  EXPECT_TRUE(CheckProgram("p.exe", image, AsciiStrings(bytes, 4), Xp()).empty());
}

TEST(XpGate, NamesWhatXpWouldRefuse) {
  struct Case {
    const char* what;
    Program program;
    const char* fault;  // the one fault, or nullptr
  };
  auto with = [](auto change) {
    Program p;
    change(p);
    return p;
  };
  const Case cases[] = {
      {"plain imports", Program{}, nullptr},
      {"XP's own versions", with([](Program& p) { p.os[0] = p.subsystem[0] = 5, p.os[1] = p.subsystem[1] = 1; }),
       nullptr},
      {"an export of Vista",
       with([](Program& p) { p.imports = {{"KERNEL32.dll", {"GetTickCount", "GetTickCount64"}}}; }),
       "probe.exe: imports KERNEL32.dll!GetTickCount64, which Windows XP SP3 does not export"},
      {"a DLL of Vista", with([](Program& p) { p.imports.push_back({"dwmapi.dll", {"DwmFlush"}}); }),
       "probe.exe: imports dwmapi.dll, a DLL that Windows XP SP3 does not have"},
      {"a secure C function", with([](Program& p) { p.imports.push_back({"msvcrt.dll", {"strcpy", "wcscpy_s"}}); }),
       "probe.exe: imports msvcrt.dll!wcscpy_s, which Windows XP SP3 does not export"},
      {"a delay-loaded export of Vista",
       with([](Program& p) { p.delayed = {"SHELL32.dll", {"SHGetKnownFolderPath"}}; }),
       "probe.exe: imports SHELL32.dll!SHGetKnownFolderPath (delay-loaded), which Windows XP SP3 does not export"},
      {"subsystem 6.0", with([](Program& p) { p.subsystem[0] = 6; }),
       "probe.exe: the header's subsystem version 6.0 is newer than 5.1 (Windows XP)"},
      {"OS version 5.2", with([](Program& p) { p.os[0] = 5, p.os[1] = 2; }),
       "probe.exe: the header's OS version 5.2 is newer than 5.1 (Windows XP)"},
      {"an x86-64 program", with([](Program& p) { p.machine = 0x8664, p.magic = 0x20b; }),
       "probe.exe: machine 0x8664 is not i386 (Windows XP is 32-bit)"},
      {"an import by ordinal", with([](Program& p) { p.ordinal = 17; }),
       "probe.exe: imports KERNEL32.dll ordinal 17, which the gate cannot check by name"},
      {"a run-time lookup the list does not name", with([](Program& p) { p.extra = "GetTickCount64"; }),
       "probe.exe: names KERNEL32!GetTickCount64, which Windows XP SP3 does not export, outside its imports: "
       "a run-time lookup that the gate's list does not name with its fallback"},
      {"a run-time lookup the list names", with([](Program& p) { p.extra = "GetSystemTimePreciseAsFileTime"; }),
       nullptr},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected;
    if (c.fault) expected.push_back(c.fault);
    EXPECT_EQ(Faults(c.program), expected) << c.what;
  }
}

TEST(XpGate, RefusesACutOrBrokenFileWithoutCrashing) {
  Program p;
  p.imports = {{"KERNEL32.dll", {"GetTickCount"}}, {"USER32.dll", {"MessageBoxW"}}};
  p.delayed = {"shell32.dll", {"ShellExecuteW"}};
  std::vector<uint8_t> whole = p.Bytes();
  PeImage image;
  std::string error;
  ASSERT_TRUE(ReadPe(whole, image, error)) << error;
  // Cut anywhere: the last imported name ends the file, so every part is needed.
  for (size_t n = 0; n < whole.size(); ++n) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(ReadPe(cut, image, error)) << "cut at " << n;
    EXPECT_FALSE(error.empty());
  }
  // Any one byte of the headers or tables set to 0xff: read or refused, never
  // a read outside the file (the sanitized tree checks).
  for (size_t i = 0; i < whole.size(); ++i) {
    std::vector<uint8_t> broken = whole;
    broken[i] = 0xff;
    if (ReadPe(broken, image, error)) CheckProgram("p.exe", image, AsciiStrings(broken, 4), Xp());
  }
  EXPECT_FALSE(ReadPe(std::vector<uint8_t>{'M', 'Z'}, image, error));
  EXPECT_EQ(error, "not a Windows program (no MZ header)");
}

TEST(XpGate, TheListReadsAndNamesTheFunctionsXpLacks) {
  std::ifstream in(XP_LIST);
  std::stringstream text;
  text << in.rdbuf();
  XpSystem xp;
  std::string error;
  ASSERT_TRUE(ParseXpSystem(text.str(), xp, error)) << error;
  EXPECT_TRUE(xp.dlls.count("KERNEL32.DLL") && xp.dlls.count("HHCTRL.OCX"));
  EXPECT_TRUE(xp.lacking.count("KERNEL32!GetTickCount64"));
  EXPECT_TRUE(xp.lookups.count("HHCTRL.OCX!HtmlHelpA"));

  for (const char* bad : {"lacks GetTickCount64", "lookup KERNEL32!GetTickCount64", "lookup KERNEL32!X |",
                          "dll", "lack KERNEL32!X"}) {
    XpSystem ignored;
    EXPECT_FALSE(ParseXpSystem(std::string("dll KERNEL32\n") + bad + "\n", ignored, error)) << bad;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

}  // namespace
