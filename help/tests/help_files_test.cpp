// The help files as a client nobody here wrote reads them (chmls): every
// topic that the settings tool asks for on each page, and the cleanup
// wizard's page, is in the Japanese and the English file, which open in
// the window type "main"; and the path given to the help viewer is exactly
// the file beside the program, "::/", the topic and ">main".
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "tolvane/tests/machine.h"

namespace {

using tolvane::TfoMain;
using tolvane::test::Machine;

const char* const kFiles[] = {"tolvane_ja.chm", "tolvane_en.chm"};
// The cleanup wizard's help button asks for this topic of the same files.
const char kCleanupTopic[] = "pavrel.htm";

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

// The names chmls lists, without their leading slash.
std::set<std::string> Listed(const std::string& chm) {
  std::string out = Output(std::string(CHMLS) + " -n list '" + HELP_DIR + "/" + chm + "' 2>/dev/null");
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
    std::string windows = Output(std::string(CHMLS) + " printwindows '" + HELP_DIR + "/" + file + "' 2>/dev/null");
    EXPECT_NE(windows.find("WindowType                                : main"), std::string::npos) << file << windows;
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
