// System facts and library loading: the memory models, and under Wine the
// real calls (with the memory model's answers compared against them).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/memory_library.h"
#include "platform/memory/memory_system.h"
#include "platform/text.h"
#ifdef _WIN32
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_system.h"
#endif

using namespace port;

namespace {

struct ByteCase {
  const char* text;
  size_t cp932, cp1252;
};
const ByteCase kByteCases[] = {
    {"", 0, 0},
    {"abc 123", 7, 7},
    {"\xEF\xBD\xB1\xEF\xBE\x9F", 2, 2},              // half-width katakana a, semi-voiced mark
    {"\xE3\x81\x82\xE6\x97\xA5", 4, 2},              // hiragana a, ideograph sun
    {"\xEF\xBC\xA1", 2, 1},                          // full-width A
    {"\xC3\xA9\xE2\x82\xAC", 2, 2},                  // é (no 932 code: '?') and the euro (1252: 0x80)
    {"\xE2\x80\x9C", 2, 1},                          // left double quotation mark
    {"\xD0\x96", 2, 1},                              // Cyrillic zhe
    {"\xE0\xB8\x81", 1, 1},                          // Thai ko kai: neither page has it
    {"\xF0\x9F\x98\x80", 2, 2},                      // beyond the BMP: a replacement per surrogate
};

TEST(MemorySystem, AnsiByteLengthAsCodePages932And1252) {
  MemorySystem sys;
  for (const ByteCase& c : kByteCases) {
    sys.SetCodePage(932);
    EXPECT_EQ(sys.AnsiByteLength(c.text), c.cp932) << c.text;
    sys.SetCodePage(1252);
    EXPECT_EQ(sys.AnsiByteLength(c.text), c.cp1252) << c.text;
  }
}

TEST(MemorySystem, EnvironmentNamesCompareWithoutCase) {
  MemorySystem sys;
  EXPECT_FALSE(sys.Env("TEMP"));
  sys.SetEnv("Temp", "C:\\TMP");
  sys.SetEnv("EMPTY", "");
  EXPECT_EQ(sys.Env("TEMP"), "C:\\TMP");
  EXPECT_EQ(sys.Env("empty"), "");
  sys.UnsetEnv("temp");
  EXPECT_FALSE(sys.Env("Temp"));
}

// The order of a sorted list box: sign of a compared with b.
struct OrderCase {
  const char* a;
  const char* b;
  int sign;
};
const OrderCase kOrderCases[] = {
    {"C:\\a b", "C:\\a\\a1", -1},  // a blank before a backslash
    {"C:", "C:\\a", -1},           {"C:\\Z", "c:\\a\\b", 1},
    {"a.b", "a b", 1},             {"a_b", "a1", -1},          // signs before digits
    {"Z9", "z10", 1},              {"9", "a", -1},             // digits one by one, before letters
    {"ab", "a-b", -1},             {"a-b", "ac", -1},          // a hyphen counts last
    {"co-op", "coop", 1},          {"a'c", "ab", 1},
    {"a", "A", 0},                 {"WINDOWS", "windows", 0},
    {"\xC3\xA9", "f", -1},         {"e", "\xC3\xA9", -1},      // é beside e
    {"\xC3\x89", "\xC3\xA9", 0},   {"z", "\xE3\x82\xA2", -1},  // É and é; katakana after Latin
};

TEST(MemorySystem, OrdersTextsAsASortedList) {
  MemorySystem sys;
  for (uint32_t locale : {1033u, 1041u}) {
    sys.SetLocale(locale);
    for (const OrderCase& c : kOrderCases) {
      int r = sys.CompareListText(c.a, c.b);
      EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " | " << c.b << " in " << locale;
      int back = sys.CompareListText(c.b, c.a);
      EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " | " << c.a << " in " << locale;
    }
  }
}

// The printable ASCII characters in the list's order (A before a: equal
// without case, they keep their places).
std::string SortedAscii(System& sys) {
  std::vector<std::string> chars;
  for (char c = 0x20; c < 0x7F; ++c) chars.push_back(std::string(1, c));
  std::stable_sort(chars.begin(), chars.end(),
                   [&](const std::string& a, const std::string& b) { return sys.CompareListText(a, b) < 0; });
  std::string all;
  for (const std::string& c : chars) all += c;
  return all;
}

TEST(MemorySystem, SortsAsciiSignsDigitsAndLettersAsWindows) {
  MemorySystem sys;
  sys.SetLocale(1033);
  EXPECT_EQ(SortedAscii(sys), "'- !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>0123456789AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz");
  sys.SetLocale(1041);
  EXPECT_EQ(SortedAscii(sys), "'- !\"#$%&()*,./:;?@[]^_`{|}~\\+<=>0123456789AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz")
      << "the backslash is the yen sign";
}

TEST(MemoryLibrary, LoadsDeclaredLibrariesAndRecordsHelpCalls) {
  MemoryLibrary lib;
  lib.AddLibrary("hhctrl.ocx", {"HtmlHelpA", "HtmlHelpW"});
  EXPECT_EQ(lib.Load("missing.dll"), 0u);
  LibHandle h = lib.Load("HHCTRL.OCX");
  ASSERT_NE(h, 0u);
  EXPECT_EQ(lib.Find(h, "htmlhelpa"), 0u) << "entry names are case-sensitive";
  ProcAddr proc = lib.Find(h, "HtmlHelpA");
  ASSERT_NE(proc, 0u);
  EXPECT_EQ(lib.CallHtmlHelp(proc, 7, "a.chm::/t.htm>main", 0, 0), 0x4242u);
  ASSERT_EQ(lib.Calls().size(), 1u);
  EXPECT_EQ(lib.Calls()[0].path, "a.chm::/t.htm>main");
  EXPECT_THROW(lib.CallHtmlHelp(lib.Find(h, "HtmlHelpW"), 7, "", 0, 0), std::logic_error);
  lib.Free(h);
  EXPECT_EQ(lib.Loaded(), 0u);
  EXPECT_THROW(lib.CallHtmlHelp(proc, 7, "", 0, 0), std::logic_error) << "freed";
}

// The icon metrics: the record comes back as it was given, its size first;
// a refused read gives nothing.
TEST(MemorySystem, IconMetricsGoBackAsTheyCame) {
  MemorySystem sys;
  auto m = sys.GetIconMetrics();
  ASSERT_TRUE(m);
  EXPECT_EQ((*m)[0], 76);
  EXPECT_TRUE(sys.SetIconMetrics(*m, kSpifUpdateAndSend));
  ASSERT_EQ(sys.iconMetricsSets.size(), 1u);
  EXPECT_EQ(sys.iconMetricsSets[0].metrics, *m);
  EXPECT_EQ(sys.iconMetricsSets[0].flags, 3u);
  sys.failGetIconMetrics = true;
  EXPECT_FALSE(sys.GetIconMetrics());
}

#ifdef _WIN32
BOOL WINAPI RefuseParameters(UINT, UINT, PVOID, UINT) { return FALSE; }

TEST(Win32System, IconMetricsReadAndSetBackUnchanged) {
  Win32System sys;
  auto m = sys.GetIconMetrics();
  ASSERT_TRUE(m);
  EXPECT_EQ((*m)[0] | (*m)[1] << 8, 76);
  EXPECT_TRUE(sys.SetIconMetrics(*m, 0)) << "not stored, not sent";
  EXPECT_EQ(sys.GetIconMetrics(), m);
  sys.api.parametersInfo = RefuseParameters;
  EXPECT_FALSE(sys.GetIconMetrics());
}

// The harness runs Wine as a Japanese XP SP3 (SUITE_LANG picks another locale).
TEST(Win32System, ReportsWineAsWindowsXp) {
  Win32System sys;
  VersionInfo v = sys.Version();
  EXPECT_EQ(v.platform, 2u);
  EXPECT_EQ(v.major, 5u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.build, 2600u);
  EXPECT_EQ(v.csd, "Service Pack 3");
  EXPECT_NE(sys.ModulePath().find("\\suite\\bin\\"), std::string::npos) << sys.ModulePath();
  EXPECT_TRUE(sys.Env("windir")) << "set by Wine for every process";
  EXPECT_FALSE(sys.Env("SUITE_SURELY_UNSET_VARIABLE"));
}

TEST(Win32System, MemoryModelCountsBytesAsTheRealCodePage) {
  Win32System real;
  MemorySystem model;
  uint32_t cp = real.AnsiCodePage();
  if (cp != 932 && cp != 1252) GTEST_SKIP() << "code page " << cp << " is not modelled";
  model.SetCodePage(cp);
  for (const ByteCase& c : kByteCases) {
    EXPECT_EQ(real.AnsiByteLength(c.text), model.AnsiByteLength(c.text)) << c.text;
    EXPECT_EQ(real.AnsiByteLength(c.text), cp == 932 ? c.cp932 : c.cp1252) << c.text;
  }
}

TEST(Win32System, MemoryModelCountsEveryBmpCharacterAsTheRealCodePage) {
  Win32System real;
  MemorySystem model;
  uint32_t cp = real.AnsiCodePage();
  if (cp != 932 && cp != 1252) GTEST_SKIP() << "code page " << cp << " is not modelled";
  model.SetCodePage(cp);
  int wrong = 0;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string text = Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    size_t want = real.AnsiByteLength(text), got = model.AnsiByteLength(text);
    if (want != got && ++wrong <= 10) {
      ADD_FAILURE() << std::hex << "U+" << static_cast<uint32_t>(c) << ": " << want << " bytes, model " << got;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(Win32System, MemoryModelOrdersTextsAsTheRealList) {
  Win32System real;
  MemorySystem model;
  model.SetLocale(real.DefaultLocale());
  EXPECT_EQ(SortedAscii(real), SortedAscii(model)) << "locale " << real.DefaultLocale();
  for (const OrderCase& c : kOrderCases) {
    int r = real.CompareListText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " | " << c.b;
  }
}

TEST(Win32Library, LoadsFindsAndFrees) {
  Win32Library lib;
  EXPECT_EQ(lib.Load("surely-missing-library.dll"), 0u);
  LibHandle h = lib.Load("kernel32.dll");
  ASSERT_NE(h, 0u);
  EXPECT_NE(lib.Find(h, "GetTickCount"), 0u);
  EXPECT_EQ(lib.Find(h, "NoSuchEntryPoint"), 0u);
  lib.Free(h);
}
#endif

}  // namespace
