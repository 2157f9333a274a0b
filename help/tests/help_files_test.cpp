// The help files as a client nobody here wrote reads them (chmls): every
// topic that the settings tool asks for on each page, and the cleanup
// wizard's page, is in the Japanese and the English file, which open in
// the window type "main"; and the path given to the help viewer is exactly
// the file beside the program, "::/", the topic and ">main".
#include <gtest/gtest.h>

#include <cstdint>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tolvane/tests/machine.h"

namespace {

using tolvane::TfoMain;
using tolvane::test::Machine;

const char* const kFiles[] = {"tolvane_ja.chm", "tolvane_en.chm"};
// The cleanup wizard's help button asks for this topic of the same files.
const char kCleanupTopic[] = "pavrel.htm";

// What a command prints. The tests give chmls only their own copies of the
// help files (below), so no other reader ever holds its lock on them.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// This process's own copy of a help file of the build, and its own scratch
// files: chmls locks a file it lists for itself alone and then lists nothing
// when another chmls (a test running beside this one) has it open.
std::string Scratch(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / ("help_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

std::string Chm(const std::string& file) {
  std::string copy = Scratch(file);
  if (!std::filesystem::exists(copy)) std::filesystem::copy_file(std::string(HELP_DIR) + "/" + file, copy);
  return "'" + copy + "'";
}

struct ScratchCleanup : ::testing::Environment {
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(Scratch("x")).parent_path(), ignored);
  }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

// The names chmls lists, without their leading slash.
std::set<std::string> Listed(const std::string& chm) {
  std::string out = Output(std::string(CHMLS) + " -p -n list " + Chm(chm) + " </dev/null 2>/dev/null");
  std::set<std::string> names;
  size_t at = 0;
  while (at < out.size()) {
    size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(at, end - at);
    if (!line.empty() && line[0] == '/') names.insert(line.substr(1));
    at = end + 1;
  }
  return names;
}

// One file of the archive as chmls extracts it (empty when it is not there).
std::string Extracted(const std::string& chm, const std::string& name) {
  std::string out = Scratch("extracted");
  std::remove(out.c_str());
  Output(std::string(CHMLS) + " extract " + Chm(chm) + " '" + name + "' '" + out + "' >/dev/null 2>&1");
  std::ifstream in(out, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The language (LCID) that the viewer reads from the file's system record:
// it decides the code page in which the contents and the titles are read.
uint32_t Language(const std::string& chm) {
  std::string sys = Extracted(chm, "/#SYSTEM");
  auto word = [&](size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(sys[at + i]);
    return v;
  };
  for (size_t at = 4; at + 4 <= sys.size();) {
    uint32_t code = word(at, 2), size = word(at + 2, 2);
    if (code == 4 && size >= 4 && at + 8 <= sys.size()) return word(at + 4, 4);
    at += 4 + size;
  }
  return 0;
}

// The number after "label ... :" in chmls's print of the window types.
std::string WindowField(const std::string& windows, const std::string& label) {
  size_t at = windows.find(label);
  if (at == std::string::npos) return "";
  at = windows.find(':', at);
  size_t end = windows.find('\n', at);
  std::string v = windows.substr(at + 1, end - at - 1);
  while (!v.empty() && v.front() == ' ') v.erase(0, 1);
  return v;
}

TEST(HelpFiles, HoldEveryTopicTheProgramsAskForAndTheWindowTypeMain) {
  Machine m;
  m.Start();
  std::set<std::string> topics = {kCleanupTopic};
  for (int i = 0; i < m.main->PageControl.PageCount(); ++i)
    topics.insert(TfoMain::HelpTopic(m.main->PageControl.Page(i).Name()));
  ASSERT_EQ(topics.size(), 17u) << "sixteen page topics and the cleanup wizard's";
  for (const char* file : kFiles) {
    std::set<std::string> listed = Listed(file);
    ASSERT_FALSE(listed.empty()) << file << " is missing or unreadable";
    for (const std::string& topic : topics) EXPECT_TRUE(listed.count(topic)) << topic << " is not in " << file;
    std::string windows = Output(std::string(CHMLS) + " -p printwindows " + Chm(file) + " </dev/null 2>/dev/null");
    EXPECT_NE(windows.find("WindowType                                : main"), std::string::npos) << file << windows;
    // chmcmd marks the position, the styles and the pane width as given
    // whether the project gives them or not: a window of no size, without a
    // frame or without its contents pane would open on XP.
    EXPECT_EQ(WindowField(windows, "Initial position"), "40 40 840 640") << file;
    EXPECT_EQ(WindowField(windows, "Style Flags"), "00CF0000") << file << ": an overlapped window";
    EXPECT_EQ(WindowField(windows, "Width of the navigation pane"), "000000C8") << file;
  }
}

// A Japanese system reads the Japanese file in its code page 932: the file
// says Japanese (0x411), and its contents, window title and pages are in
// Shift-JIS (a page also says so); the English file says English (0x409).
TEST(HelpFiles, TheJapaneseFileIsInTheCodePageOfAJapaneseSystem) {
  EXPECT_EQ(Language("tolvane_ja.chm"), 0x411u);
  EXPECT_EQ(Language("tolvane_en.chm"), 0x409u);
  // "デスクトップ", "アイコン" and "トルヴァネ ヘルプ" in code page 932.
  const std::string desktop = "\x83\x66\x83\x58\x83\x4e\x83\x67\x83\x62\x83\x76";
  const std::string icons = "\x83\x41\x83\x43\x83\x52\x83\x93";
  const std::string title = "\x83\x67\x83\x8b\x83\x94\x83\x40\x83\x6c \x83\x77\x83\x8b\x83\x76";
  std::string page = Extracted("tolvane_ja.chm", "/desktop.htm");
  EXPECT_NE(page.find("charset=shift_jis"), std::string::npos);
  EXPECT_NE(page.find("<title>" + desktop + "</title>"), std::string::npos) << page;
  EXPECT_NE(Extracted("tolvane_ja.chm", "/toc.hhc").find("value=\"" + icons + "\""), std::string::npos);
  std::string windows = Output(std::string(CHMLS) + " printwindows " + Chm("tolvane_ja.chm") + " 2>/dev/null");
  EXPECT_EQ(WindowField(windows, "Title Bar Text").substr(0, title.size()), title);
  std::string english = Extracted("tolvane_en.chm", "/desktop.htm");
  EXPECT_NE(english.find("charset=windows-1252"), std::string::npos);
  EXPECT_NE(english.find("<title>Desktop</title>"), std::string::npos);
}

// The topic that a page's help button opens names that page by the caption
// its tab shows in that language ("「...」" in Japanese, quoted in English).
TEST(HelpFiles, EveryTopicNamesThePagesThatOpenItByTheirCaptions) {
  for (bool english : {false, true}) {
    Machine m;
    if (english) m.English();
    m.Start();
    std::string file = english ? "tolvane_en.chm" : "tolvane_ja.chm";
    for (int i = 0; i < m.main->PageControl.PageCount(); ++i) {
      const auto& page = m.main->PageControl.Page(i);
      std::string topic = TfoMain::HelpTopic(page.Name());
      std::string text = Extracted(file, "/" + topic);
      if (!english) {  // the page as a Japanese system reads it
        std::string cp932 = Scratch("cp932");
        std::ofstream(cp932, std::ios::binary) << text;
        text = Output("iconv -f CP932 -t UTF-8 '" + cp932 + "'");
      }
      std::string named = english ? "\"" + page.Caption() + "\"" : "「" + page.Caption() + "」";
      EXPECT_NE(text.find(named), std::string::npos) << topic << " of " << file << " does not name " << named;
    }
  }
}

TEST(HelpFiles, EveryPageOpensItsTopicInTheFileBesideTheProgram) {
  for (bool english : {false, true}) {
    Machine m;
    m.library.AddLibrary("hhctrl.ocx", {"HtmlHelpA"});
    if (english) m.English();
    m.Start();
    std::string file = english ? "tolvane_en.chm" : "tolvane_ja.chm";
    std::set<std::string> listed = Listed(file);
    ASSERT_FALSE(listed.empty()) << file << " is missing or unreadable";
    for (int i = 0; i < m.main->PageControl.PageCount(); ++i) {
      m.main->PageControl.UserSelectPage(i);
      size_t before = m.library.Calls().size();
      m.Click(m.main->sbHelp);
      ASSERT_EQ(m.library.Calls().size(), before + 1) << i;
      const auto& call = m.library.Calls().back();
      std::string topic = TfoMain::HelpTopic(m.main->PageControl.Page(i).Name());
      EXPECT_EQ(call.path, "C:\\Program Files\\Tolvane\\" + file + "::/" + topic + ">main");
      EXPECT_EQ(call.command, 0u) << "HH_DISPLAY_TOPIC";
      EXPECT_TRUE(listed.count(topic)) << topic;
    }
  }
}

}  // namespace
