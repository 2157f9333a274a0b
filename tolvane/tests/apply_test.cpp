// The apply road on the memory ports: its order and progress, the program's
// own state, the one question, and the reset at its end.
#include <functional>
#include <map>

#include "tolvane/changing.h"
#include "tolvane/opening.h"
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::MbResult;
using port::Root;

namespace {

template <class T>
T* FormNamed(ui::Application& app, const std::string& name) {
  for (ui::Form* f : app.Forms())
    if (f->Name() == name) return dynamic_cast<T*>(f);
  return nullptr;
}

// Pages that record where the road called them, with the progress bar's state
// then, and run what a test asks at a step.
struct Recorder : Pages {
  explicit Recorder(TfoMain& main) : main(main) {}
  TfoMain& main;
  std::vector<std::string> log;
  std::map<ApplyStep, std::function<void()>> at;
  int standards = 0, takes = 0;

  void Read(ReadGroup g) override {
    auto* splash = FormNamed<TfoOpening>(main.App(), "foOpening");
    log.push_back("read " + std::to_string(static_cast<int>(g)) + " bar " +
                  std::to_string(splash ? splash->ProgressBar.Position() : -1));
    // The icon pages advance the bar at their own rows, as the real ones do.
    if (g == ReadGroup::Icons)
      for (int i = 0; i < 7; ++i) main.ProgressStep();
  }
  void Apply(ApplyStep s) override {
    auto* changing = FormNamed<TfoChanging>(main.App(), "foChanging");
    log.push_back("apply " + std::to_string(static_cast<int>(s)) + " after " +
                  std::to_string(changing ? changing->Advances() : -1));
    if (s == ApplyStep::Icons)
      for (int i = 0; i < 13; ++i) main.ProgressStep();
    if (at.count(s)) at[s]();
  }
  void Standard() override { ++standards; }
  void TakeLoaded() override {
    ++takes;
    log.push_back("take");
  }
};

struct RecordedMachine : Machine {
  Recorder* pages = nullptr;
  void Start() {
    Machine::Start([this](TfoMain& w) {
      auto p = std::make_unique<Recorder>(w);
      pages = p.get();
      return p;
    });
  }
};

const char* const kRestartJA =
    "Windowsの再起動が必要な設定変更があります。\r次回のWindowsの起動から有効です。\r\rいま、再起動しますか？";
const char* const kLogoffJA = "設定を反映するにはLogoffが必要です。\rLogoffしますか？";

}  // namespace

TEST(ApplyRoad, RunsThePageStepsInOrderWith27Advances) {
  RecordedMachine m;
  m.Start();
  std::vector<std::string> reads(m.pages->log.begin(), m.pages->log.end());
  // Seventeen groups; the splash has made steps 5, 9 and 10 before the first.
  ASSERT_EQ(reads.size(), 17u);
  EXPECT_EQ(reads.front(), "read 0 bar 15");
  EXPECT_EQ(reads.back(), "read 16 bar 140");
  m.pages->log.clear();

  m.pages->at[ApplyStep::Logon] = [&] { m.main->Changes.iconChanged = true; };
  m.Apply();
  EXPECT_EQ(m.pages->log,
            (std::vector<std::string>{"apply 5 after 1", "apply 6 after 14", "apply 7 after 15", "apply 8 after 17",
                                      "apply 9 after 18", "apply 10 after 19", "apply 11 after 20",
                                      "apply 12 after 21", "apply 13 after 21", "apply 14 after 26",
                                      "apply 15 after 26", "apply 16 after 26", "apply 17 after 26",
                                      "apply 18 after 26", "apply 19 after 26", "apply 20 after 26",
                                      "apply 22 after 27", "take"}));
  EXPECT_EQ(FormNamed<TfoChanging>(*m.app, "foChanging"), nullptr) << "the progress form is released";
  EXPECT_EQ(m.app->ProcessMessagesRuns(), 2) << "once at start, once when the progress form appears";
}

TEST(ApplyRoad, IconCacheOnlyWhenAnIconChanged) {
  RecordedMachine m;
  m.Start();
  m.pages->log.clear();
  m.Apply();
  for (const std::string& line : m.pages->log) EXPECT_NE(line.rfind("apply 22", 0), 0u) << line;
}

TEST(ApplyRoad, WritesTheOwnStateTheStoresAndTheSearchIcons) {
  RecordedMachine m;
  m.PutDword(Root::HKLM, kSuiteKey, "Top", 40);
  m.PutDword(Root::HKLM, kSuiteKey, "Left", 120);
  m.PutString(Root::HKLM, kSuiteKey, "IconDir", "C:\\Icons");
  m.PutString(Root::HKLM, "SOFTWARE\\Microsoft\\Outlook Express", "InstallRoot", "C:\\Program Files\\Outlook Express");
  m.Start();
  m.main->SetLeft(200);
  m.Apply();
  EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "Top"), 40u);
  EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "Left"), 200u);
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "IconDir"), "C:\\Icons");
  EXPECT_EQ(m.Text(Root::HKLM, kAppPathsKey, ""), kProgram);
  EXPECT_EQ(m.Text(Root::HKLM, kAppPathsKey, "Path"), "C:\\Program Files\\Tolvane");
  // No lock: the three stores hold the scrambled empty password.
  std::string empty = m.main->QX.ScramblePassword("");
  EXPECT_EQ(m.Text(Root::HKCR, "Tolvane.Backup", ""), empty);
  EXPECT_EQ(m.Text(Root::HKLM, kAppPathsKey, "BackPass"), empty);
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "Password"), empty);
  EXPECT_EQ(m.Text(Root::HKLM,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\FindExtensions\\Static\\WebSearch\\0\\DefaultIcon",
                   ""),
            "C:\\WINDOWS\\SYSTEM32\\shdocvw.dll,11");
  EXPECT_EQ(m.Text(Root::HKLM,
                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\FindExtensions\\Static\\WabFind\\0\\DefaultIcon",
                   ""),
            "C:\\Program Files\\Outlook Express\\WabFind.dll,0");
  ASSERT_EQ(m.shell.Notifications().size(), 1u);
  EXPECT_EQ(m.shell.Notifications()[0].event, port::kShcneAssocChanged);
  EXPECT_EQ(m.shell.Notifications()[0].flags, port::kShcnfFlush);
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_FALSE(m.main->sbPlay.Enabled());
}

TEST(ApplyRoad, AsksOneQuestionRestartBeforeLogoff) {
  struct Case {
    const char* what;
    bool restart, logoff;
    MbResult answer;
    std::vector<std::string> questions;
    std::vector<uint32_t> requests;
    bool closed;
  };
  const Case cases[] = {
      {"both marked, No: only the restart question", true, true, MbResult::No, {kRestartJA}, {}, false},
      {"both marked, Yes: a restart", true, true, MbResult::Yes, {kRestartJA}, {port::kExitReboot}, false},
      {"log-off, No", false, true, MbResult::No, {kLogoffJA}, {}, false},
      {"log-off, Yes: the window closes without asking", false, true, MbResult::Yes, {kLogoffJA},
       {port::kExitLogoff}, true},
      {"nothing marked: no question", false, false, MbResult::Yes, {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordedMachine m;
    m.Start();
    m.pages->at[ApplyStep::Window] = [&] {
      if (c.restart) m.main->Changes.needRestart = true;
      if (c.logoff) m.main->Changes.needLogoff = true;
    };
    m.main->ApplyEnabled();
    m.dialogs.Script(c.answer);
    m.Apply();
    std::vector<std::string> questions;
    for (const auto& b : m.Boxes()) {
      questions.push_back(b.text);
      EXPECT_EQ(b.icon, port::MbIcon::Question);
      EXPECT_EQ(b.buttons, port::MbButtons::YesNo);
      EXPECT_EQ(b.caption, "");
    }
    EXPECT_EQ(questions, c.questions);
    EXPECT_EQ(m.shutdown.Requests(), c.requests);
    EXPECT_EQ(m.app->IsTerminated(), c.closed);
    // Step 25 runs whatever the answer.
    EXPECT_FALSE(m.main->Changes.needRestart || m.main->Changes.needLogoff || m.main->Changes.iconChanged);
    EXPECT_EQ(m.pages->takes, 1);
    EXPECT_FALSE(m.main->sbPlay.Enabled());
  }
}

TEST(ApplyRoad, RestartIsNotRequestedWhenTheTokenCannotBeOpened) {
  RecordedMachine m;
  m.Start();
  m.shutdown.SetTokenRefused(true);
  m.pages->at[ApplyStep::System] = [&] { m.main->Changes.needRestart = true; };
  m.dialogs.Script(MbResult::Yes);
  m.Apply();
  EXPECT_EQ(m.Boxes().size(), 1u);
  EXPECT_TRUE(m.shutdown.Requests().empty());
}

TEST(ApplyRoad, EnglishQuestions) {
  RecordedMachine m;
  m.English();
  m.Start();
  m.pages->at[ApplyStep::Logon] = [&] { m.main->Changes.needLogoff = true; };
  m.dialogs.Script(MbResult::No);
  m.Apply();
  m.pages->at[ApplyStep::Logon] = [&] { m.main->Changes.needRestart = true; };
  m.dialogs.Script(MbResult::No);
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 2u);
  EXPECT_EQ(m.Boxes()[0].text, "This software require \"Logoff\" to apply settings.\rLogoff ??");
  EXPECT_EQ(m.Boxes()[1].text,
            "This software require \"Restart Windows\" to apply settings.\rSome settings are effective next "
            "time.\r\rRestart Windows??");
}

TEST(ApplyRoad, EmptiesThePendingListsAndEnablesTheUninstallDelete) {
  RecordedMachine m;
  m.Start();
  for (ui::ListBox* lb : {&m.main->lbDeltaDelete, &m.main->lbDeltaCurrentRun, &m.main->lbDeltaDeleteShellNew,
                          &m.main->lbCopyCurrent})
    lb->Items.Add("entry");
  m.Apply();
  EXPECT_EQ(m.main->lbDeltaDelete.Items.Count(), 0);
  EXPECT_EQ(m.main->lbDeltaCurrentRun.Items.Count(), 0);
  EXPECT_EQ(m.main->lbDeltaDeleteShellNew.Items.Count(), 0);
  EXPECT_EQ(m.main->lbCopyCurrent.Items.Count(), 1) << "the copies are the page's state, not pending moves";
}

TEST(ApplyRoad, AFailingWriteEndsTheProgramWithWhatWasWrittenKept) {
  RecordedMachine m;
  m.Start();
  m.pages->at[ApplyStep::Network] = [] { throw RegistryError("Failed to set data for 'MTU'"); };
  m.pages->at[ApplyStep::Window] = [] { ADD_FAILURE() << "the road went on"; };
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_EQ(m.Boxes()[0].caption, "Exception Error");
  EXPECT_EQ(m.Boxes()[0].text.rfind("Failed to set data for 'MTU'\r\r", 0), 0u);
  EXPECT_TRUE(m.app->IsTerminated());
  EXPECT_EQ(m.Text(Root::HKLM, kAppPathsKey, ""), kProgram);
}

// --- With the real desktop and Explorer pages -----------------------------------

TEST(ApplyWithPages, WritesATickedBoxAndAsksForLogoff) {
  Machine m;
  m.Start();
  m.Click(m.Box("cbNoActiveDesktop"));
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  m.dialogs.Script(MbResult::No);
  m.Apply();
  EXPECT_EQ(m.Dword(Root::HKCU, kPolicies, "NoActiveDesktop"), 1u);
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_EQ(m.Boxes()[0].text, kLogoffJA);
  EXPECT_TRUE(m.shutdown.Requests().empty());

  // Applied again with nothing changed: no question.
  m.Apply();
  EXPECT_EQ(m.Boxes().size(), 1u);
}

TEST(ApplyWithPages, ABoxTickedAndUntickedAgainAsksNothing) {
  Machine m;
  m.Start();
  m.Click(m.Box("cbNoTrayItemsDisplay"));
  m.Click(m.Box("cbNoTrayItemsDisplay"));
  m.Apply();
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_EQ(m.Dword(Root::HKCU, kPolicies, "NoTrayItemsDisplay"), 0u);
}

TEST(ApplyWithPages, StandardThenApplyAlwaysAsksForRestart) {
  for (bool anythingChanged : {true, false}) {
    SCOPED_TRACE(anythingChanged ? "a ticked box returns to standard" : "everything was standard");
    Machine m;
    if (anythingChanged) m.PutDword(Root::HKCU, kPolicies, "NoActiveDesktop", 1);
    // The anonymous-FTP password of IE 6's standard (absent, it reads empty).
    m.PutString(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "EmailName",
                "ZK61wolf@");
    // The large system cache is on in the standard values, off when absent.
    m.PutDword(Root::HKLM, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
               "LargeSystemCache", 1);
    m.Start();
    m.Click(m.main->sbStandard);
    EXPECT_FALSE(m.Box("cbNoActiveDesktop").Checked());
    EXPECT_EQ(m.main->sbPlay.Enabled(), anythingChanged);
    EXPECT_TRUE(m.Boxes().empty()) << "standard values ask nothing";
    m.dialogs.Script(MbResult::No);
    m.Apply();
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_EQ(m.Boxes()[0].text, kRestartJA);
    EXPECT_TRUE(m.shutdown.Requests().empty());
  }
}
