// The main window's commands and the lock password on the memory ports.
#include "tolvane/password.h"
#include "tolvane/tests/machine.h"

using namespace tolvane;
using namespace tolvane::test;
using port::MbResult;
using port::Root;

namespace {
const char* const kCloseJA = "反映されていない設定があります。終了しますか？";
}

TEST(CloseQuestion, AsksOnlyWithUnappliedChanges) {
  struct Case {
    const char* what;
    bool change;
    std::optional<MbResult> answer;
    bool closed;
  };
  const Case cases[] = {
      {"right after start-up: no question", false, std::nullopt, true},
      {"unapplied, No: the window stays", true, MbResult::No, false},
      {"unapplied, Yes: the program ends without applying", true, MbResult::Yes, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.Start();
    if (c.change) m.Click(m.Box("cbNoActiveDesktop"));
    if (c.answer) m.dialogs.Script(*c.answer);
    m.Click(m.main->sbStop);
    ASSERT_EQ(m.Boxes().size(), c.answer ? 1u : 0u);
    if (c.answer) {
      EXPECT_EQ(m.Boxes()[0].text, kCloseJA);
      EXPECT_EQ(m.Boxes()[0].buttons, port::MbButtons::YesNo);
      EXPECT_EQ(m.Boxes()[0].icon, port::MbIcon::Question);
    }
    EXPECT_EQ(m.app->IsTerminated(), c.closed);
    EXPECT_EQ(m.main->Visible(), !c.closed);
    if (c.change && !c.closed) {
      EXPECT_TRUE(m.Box("cbNoActiveDesktop").Checked());
    }
    EXPECT_EQ(m.Dword(Root::HKCU, kPolicies, "NoActiveDesktop"), std::nullopt) << "nothing applied";
  }
}

TEST(CloseQuestion, NoQuestionAfterAnApply) {
  Machine m;
  m.Start();
  m.Click(m.Box("cbDesktopPrinter"));
  m.Apply();
  m.Click(m.main->sbStop);
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_TRUE(m.app->IsTerminated());
}

TEST(Help, OpensTheTopicOfTheActivePage) {
  struct Case {
    bool english;
    const char* sheet;
    const char* path;
  };
  const Case cases[] = {
      {true, "tsIE2", "C:\\Program Files\\Tolvane\\tolvane_en.chm::/ie.htm>main"},
      {false, "tsRun", "C:\\Program Files\\Tolvane\\tolvane_ja.chm::/autorun.htm>main"},
      {false, "tsAbout", "C:\\Program Files\\Tolvane\\tolvane_ja.chm::/support.htm>main"},
      {false, "tsLogon2", "C:\\Program Files\\Tolvane\\tolvane_ja.chm::/logon.htm>main"},
  };
  for (const Case& c : cases) {
    Machine m;
    m.library.AddLibrary("hhctrl.ocx", {"HtmlHelpA"});
    if (c.english) m.English();
    m.Start();
    auto& sheet = m.main->Get<ui::TabSheet>(c.sheet);
    m.main->PageControl.UserSelectPage(sheet.PageIndex());
    m.Click(m.main->sbHelp);
    ASSERT_EQ(m.library.Calls().size(), 1u);
    EXPECT_EQ(m.library.Calls()[0].path, c.path);
  }
}

TEST(Help, EverySheetHasATopic) {
  Machine m;
  m.Start();
  for (int i = 0; i < m.main->PageControl.PageCount(); ++i)
    EXPECT_FALSE(TfoMain::HelpTopic(m.main->PageControl.Page(i).Name()).empty()) << i;
  EXPECT_EQ(m.main->PageControl.PageCount(), 19);
}

TEST(Backup, StartsTheScriptAndMarksTheRestorePoint) {
  Machine m;
  m.Start();
  m.PutDword(Root::HKLM, kSuiteKey, "RestorePointCreated", 0);
  m.Click(m.main->sbBackup);
  ASSERT_EQ(m.shell.Execs().size(), 1u);
  EXPECT_TRUE(m.shell.Execs()[0].started);
  EXPECT_EQ(m.Dword(Root::HKLM, kSuiteKey, "RestorePointCreated"), 1u);
}

TEST(AboutLinks, OpenTheMailAddressAndTheHomePageOfTheLanguage) {
  for (bool english : {false, true}) {
    Machine m;
    if (english) m.English();
    m.Start();
    m.Click(m.main->laEmail);
    m.Click(m.main->laHomePage);
    ASSERT_EQ(m.shell.Opens().size(), 2u);
    EXPECT_EQ(m.shell.Opens()[0].file.rfind("mailto:", 0), 0u);
    EXPECT_EQ(m.shell.Opens()[1].file, english ? "https://www.tazet.example/en/" : "https://www.tazet.example/ja/");
    for (const auto& o : m.shell.Opens()) {
      EXPECT_EQ(o.verb, "");
      EXPECT_EQ(o.show, port::kShowNormal);
    }
  }
}

// --- Lock password -------------------------------------------------------------

namespace {

// A machine whose stores hold the scrambled password, as an apply left them.
void Lock(Machine& m, const std::string& password) {
  port::MemoryRegistry scratch;
  port::MemorySystem system;
  port::Ports ports{.registry = &scratch, .system = &system};
  TQXCommon qx(ports);
  std::string s = qx.ScramblePassword(password);
  m.PutString(Root::HKLM, kAppPathsKey, "", kProgram);
  m.PutString(Root::HKCR, "Tolvane.Backup", "", s);
  m.PutString(Root::HKLM, kAppPathsKey, "BackPass", s);
  m.PutString(Root::HKLM, kSuiteKey, "Password", s);
}

// Plays the user of the login: each entry typed and OK clicked while the
// dialog is open; nullopt clicks Cancel.
void Login(Machine& m, std::vector<std::optional<std::string>> entries) {
  m.app->ModalScript = [entries](ui::Form& form) {
    auto& login = dynamic_cast<TfoLogin&>(form);
    for (const auto& e : entries) {
      if (!login.Visible() || login.GetModalResult() != ui::mrNone) return;
      if (!e) {
        login.buCancel.UserClick();
        return;
      }
      login.edPassword.UserType(*e);
      login.buOK.UserClick();
    }
  };
}

void StartWithLogin(Machine& m, std::vector<std::optional<std::string>> entries) {
  m.app = std::make_unique<ui::Application>(m.ports);
  m.main = &m.app->CreateForm<TfoMain>(MakePages);
  Login(m, std::move(entries));
  m.app->Run();
}

}  // namespace

TEST(Login, ThreeWrongEntriesOrCancelEndTheProgramBeforeAnyRead) {
  struct Case {
    const char* what;
    std::vector<std::optional<std::string>> entries;
    size_t errors;
    bool opens;
  };
  const Case cases[] = {
      {"three wrong entries", {"A", "B", "C", "SECRET"}, 3, false},
      {"cancel at once", {std::nullopt}, 0, false},
      {"cancel after a wrong entry", {"A", std::nullopt}, 1, false},
      {"right at the third try, typed in small letters", {"A", "B", "secret"}, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Lock(m, "SECRET");
    m.PutDword(Root::HKCU, kPolicies, "NoActiveDesktop", 1);
    StartWithLogin(m, c.entries);
    auto boxes = m.Boxes();
    ASSERT_EQ(boxes.size(), c.errors);
    for (const auto& b : boxes) {
      EXPECT_EQ(b.text, "パスワードが違います!!");
      EXPECT_EQ(b.caption, "Password Error");
      EXPECT_EQ(b.icon, port::MbIcon::Error);
    }
    EXPECT_EQ(m.app->IsTerminated(), !c.opens);
    EXPECT_EQ(m.Box("cbNoActiveDesktop").Checked(), c.opens) << "pages read only after the login";
    EXPECT_EQ(m.app->ProcessMessagesRuns(), c.opens ? 1 : 0) << "no splash before the login";
  }
}

TEST(Login, NoDialogWithoutAStoredPassword) {
  Machine m;
  StartWithLogin(m, {std::nullopt});
  EXPECT_FALSE(m.app->IsTerminated());
  EXPECT_TRUE(m.main->LockPassword.empty());
}

TEST(Login, TakesTheFirstStoreThatHoldsAPassword) {
  Machine m;
  Lock(m, "SECRET");
  auto k = m.registry.Open(Root::HKCR, "Tolvane.Backup", port::kKeyAllAccess);
  m.registry.DeleteValue(k, "");
  m.registry.Close(k);
  StartWithLogin(m, {"SECRET"});
  EXPECT_FALSE(m.app->IsTerminated());
  EXPECT_EQ(m.main->LockPassword, "SECRET");
}

TEST(Login, WithoutTheProgramPathTheSuiteValueIsTakenAsItStands) {
  Machine m;
  m.PutString(Root::HKLM, kSuiteKey, "Password", "PLAIN");
  StartWithLogin(m, {"plain"});
  EXPECT_FALSE(m.app->IsTerminated());
  EXPECT_EQ(m.main->LockPassword, "PLAIN");
}

TEST(Login, EnglishTexts) {
  Machine m;
  m.English();
  Lock(m, "X");
  m.app = std::make_unique<ui::Application>(m.ports);
  m.main = &m.app->CreateForm<TfoMain>(MakePages);
  std::string label, caption;
  m.app->ModalScript = [&](ui::Form& form) {
    auto& login = dynamic_cast<TfoLogin&>(form);
    label = login.laEnterPassword.Caption();
    caption = login.Caption();
    login.edPassword.UserType("Y");
    login.buOK.UserClick();
    login.buCancel.UserClick();
  };
  m.app->Run();
  EXPECT_EQ(label, "Enter Password :");
  EXPECT_EQ(caption, "Kelvorin ver6.01 for WindowsXP");
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_EQ(m.Boxes()[0].text, "This password is incorrect!!");
}

namespace {

// Opens the set-password dialog and plays its user.
void SetPassword(Machine& m, const std::function<void(TfoSetPassword&)>& user) {
  m.app->ModalScript = [user](ui::Form& form) { user(dynamic_cast<TfoSetPassword&>(form)); };
  m.app->Dispatch(m.main, [&] { m.main->buPasswordSettingClick(); });
}

}  // namespace

TEST(SetPassword, AMatchingPairIsStoredScrambledByTheNextApply) {
  Machine m;
  m.Start();
  SetPassword(m, [](TfoSetPassword& d) {
    d.edNewPassword1.UserType("open sesame");
    d.edNewPassword2.UserType("open sesame");
    d.buOK.UserClick();
  });
  EXPECT_EQ(m.main->LockPassword, "OPEN SESAME");
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "Password"), "<absent>") << "stored only by an apply";
  m.Apply();
  std::string s = m.main->QX.ScramblePassword("OPEN SESAME");
  EXPECT_EQ(m.Text(Root::HKCR, "Tolvane.Backup", ""), s);
  EXPECT_EQ(m.Text(Root::HKLM, kAppPathsKey, "BackPass"), s);
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "Password"), s);

  // The next start asks for it, and the small-letter entry opens the program.
  m.app.reset();
  StartWithLogin(m, {"open sesame"});
  EXPECT_FALSE(m.app->IsTerminated());
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(SetPassword, RefusesAMismatchOrAnOverlongPasswordAndCancelKeepsTheOld) {
  struct Case {
    const char* what;
    std::string first, second;
    const char* error;
  };
  const Case cases[] = {
      {"mismatch", "ABC", "ABD", "パスワードが一致しません！！"},
      {"38 characters cannot be stored", std::string(38, 'A'), std::string(38, 'A'),
       "パスワードは37文字以内で入力して下さい。"},
      // 19 double-byte characters are 19 characters but 38 symbols of the code page.
      {"19 double-byte characters are 38 symbols", Repeat("あ", 19), Repeat("あ", 19),
       "パスワードは37文字以内で入力して下さい。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.Start();
    m.main->LockPassword = "OLD";
    bool stayed = false;
    SetPassword(m, [&](TfoSetPassword& d) {
      d.edNewPassword1.UserType(c.first);
      d.edNewPassword2.UserType(c.second);
      d.buOK.UserClick();
      stayed = d.GetModalResult() == ui::mrNone;
      d.buCancel.UserClick();
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_EQ(m.Boxes()[0].text, c.error);
    EXPECT_EQ(m.Boxes()[0].caption, "");
    EXPECT_EQ(m.main->LockPassword, "OLD");
    EXPECT_TRUE(m.main->sbPlay.Enabled()) << "Apply is enabled whatever the dialog's result";
  }
}

TEST(SetPassword, TakesThirtySevenSymbolsOfDoubleByteText) {
  Machine m;
  m.Start();
  const std::string text = Repeat("あ", 18) + "A";  // 37 symbols
  SetPassword(m, [&](TfoSetPassword& d) {
    d.edNewPassword1.UserType(text);
    d.edNewPassword2.UserType(text);
    d.buOK.UserClick();
  });
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_EQ(m.main->LockPassword, text);
}

TEST(SetPassword, TwoEmptyEditsRemoveTheLock) {
  Machine m;
  Lock(m, "SECRET");
  StartWithLogin(m, {"SECRET"});
  SetPassword(m, [](TfoSetPassword& d) { d.buOK.UserClick(); });
  EXPECT_EQ(m.main->LockPassword, "");
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKLM, kSuiteKey, "Password"), m.main->QX.ScramblePassword(""));
  m.app.reset();
  StartWithLogin(m, {std::nullopt});
  EXPECT_FALSE(m.app->IsTerminated()) << "no login asked";
}
