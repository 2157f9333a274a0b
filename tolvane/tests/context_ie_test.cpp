// The context menu page and the Internet Explorer pages on the memory ports:
// the four verbs with their older names, the three editor variants, the
// folder-icon warning without Active Desktop, the quoted commands; the
// titles, the mail identities by version, the anonymous-FTP standard by
// version, the bitmaps, the search page and the source editor.
#include "tolvane/tests/machine.h"
#include "tolvane/tests/network_ie_fixture.h"

using namespace tolvane;
using namespace tolvane::test;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kIconVerb = "Folder\\shell\\TolvaneIcon";
constexpr const char* kNewWindowVerb = "Folder\\shell\\NewWindow";
constexpr const char* kPromptVerb = "Folder\\shell\\TolvanePrompt";
constexpr const char* kWarningJA =
    "このＰＣはアクティブデスクトップ（ＩＥ４付属）がインストールされてないので、\r"
    "フォルダーごとにアイコンを変更することはできません";

std::string CommandOf(const std::string& verb) { return verb + "\\command"; }

}  // namespace

TEST(ContextMenuPage, FolderVerbsAreWrittenInTheLanguageOfTheSystemAndDeleted) {
  struct Case {
    uint32_t locale;
    const char *icon, *newWindow, *prompt;
  };
  const Case cases[] = {
      {1041, "アイコン変更(&I)", "別ウィンドウで開く(&A)", "コマンドプロンプト(&C)"},
      {1033, "Change Icon(&I)", "Open Another Window(&A)", "Command Prompt(&C)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    PageTool p(c.locale);
    p.Start();
    ContextMenuPage& cm = *p.context;
    for (ui::CheckBox* box : {&cm.cbFolderIcon, &cm.cbNewWindow, &cm.cbDosPrompt}) box->Click();
    EXPECT_EQ(p.applyEnabled, 3);
    p.Apply();
    EXPECT_EQ(p.Text(Root::HKCR, kIconVerb), c.icon);
    EXPECT_EQ(p.Text(Root::HKCR, CommandOf(kIconVerb)), kFolderIconCommand);
    EXPECT_EQ(p.Text(Root::HKCR, kNewWindowVerb), c.newWindow);
    EXPECT_EQ(p.Text(Root::HKCR, CommandOf(kNewWindowVerb)), "explorer.exe /root, /idlist,%I");
    EXPECT_EQ(p.Text(Root::HKCR, kPromptVerb), c.prompt);
    EXPECT_EQ(p.Text(Root::HKCR, CommandOf(kPromptVerb)), "cmd.exe /K cd \"%1\"");  // any folder arrives whole
    EXPECT_FALSE(p.flags.needRestart || p.flags.needLogoff);

    for (ui::CheckBox* box : {&cm.cbFolderIcon, &cm.cbNewWindow, &cm.cbDosPrompt}) box->Click();
    p.Apply();
    for (const char* verb : {kIconVerb, kNewWindowVerb, kPromptVerb}) EXPECT_FALSE(p.KeyExists(Root::HKCR, verb));
  }
}

TEST(ContextMenuPage, ReadingCountsOlderVerbsAndExactCommands) {
  struct Case {
    const char* what;
    uint32_t locale;
    std::string key, command;
    bool icon, newWindow, prompt;
  };
  const Case cases[] = {
      {"older icon verb, English", 1033, "Folder\\shell\\Change Icon\\command", "x", true, false, false},
      {"older icon verb, Japanese", 1041, "Folder\\shell\\ｱｲｺﾝ変更\\command", "x", true, false, false},
      {"older icon verb of the other language", 1041, "Folder\\shell\\Change Icon\\command", "x", false, false, false},
      {"any icon command", 1041, CommandOf(kIconVerb), "C:\\TOLVANE\\TAMREL.EXE \"%1\"", true, false, false},
      {"new window exactly", 1041, CommandOf(kNewWindowVerb), "explorer.exe /root, /idlist,%I", false, true, false},
      {"new window in other case", 1041, CommandOf(kNewWindowVerb), "Explorer.exe /root, /idlist,%I", false, false,
       false},
      {"older prompt: cmd.exe", 1033, "Folder\\shell\\Command Prompt\\command", "cmd.exe", false, false, true},
      {"older prompt: cd", 1041, "Folder\\shell\\ｺﾏﾝﾄﾞﾌﾟﾛﾝﾌﾟﾄ\\command", "cmd.exe /K cd %1", false, false, true},
      {"prompt of an older version", 1041, CommandOf(kPromptVerb), "cmd.exe /K cd %1", false, false, true},
      {"prompt quoted", 1041, CommandOf(kPromptVerb), "cmd.exe /K cd \"%1\"", false, false, true},
      {"prompt plain cmd.exe", 1041, CommandOf(kPromptVerb), "cmd.exe", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageTool p(c.locale);
    p.PutText(Root::HKCR, c.key, "", c.command);
    p.Start();
    EXPECT_EQ(p.context->cbFolderIcon.Checked(), c.icon);
    EXPECT_EQ(p.context->cbNewWindow.Checked(), c.newWindow);
    EXPECT_EQ(p.context->cbDosPrompt.Checked(), c.prompt);
    // The older verbs are only read: unticked, apply deletes the verb of
    // this version, and the older one ticks the box again next time.
    for (ui::CheckBox* box : {&p.context->cbFolderIcon, &p.context->cbNewWindow, &p.context->cbDosPrompt})
      box->SetChecked(false);
    p.Apply();
    const bool older = c.key.find("Tolvane") == std::string::npos && c.key.find("NewWindow") == std::string::npos;
    EXPECT_EQ(p.Text(Root::HKCR, c.key), older ? c.command : "<absent>");
  }
}

TEST(ContextMenuPage, EditorVerbHasThreeVariants) {
  PageTool p;
  p.PutText(Root::HKCR, "Unknown\\Shell", "", "open");
  p.PutText(Root::HKCR, "Unknown\\Shell\\open", "", "Edit");
  p.PutText(Root::HKCR, "Unknown\\Shell\\open\\command", "", "C:\\ed.exe %1");
  p.PutText(Root::HKCR, "*\\shell\\view", "", "View");
  p.PutText(Root::HKCR, "*\\shell\\view\\command", "", "C:\\view.exe %1");
  p.Start();
  ContextMenuPage& cm = *p.context;
  // Both verbs there: the one for all files wins.
  EXPECT_TRUE(cm.cbNotepad.Checked());
  EXPECT_TRUE(cm.cbAllFileEditor.Checked());
  EXPECT_EQ(cm.edNotepadName.Text(), "View");
  EXPECT_EQ(cm.edNotepad.Text(), "C:\\view.exe %1");
  EXPECT_EQ(cm.edNotepad.GetColor(), ui::clWindow);
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCR, "*\\shell\\view\\command"), "C:\\view.exe %1");
  EXPECT_EQ(p.Text(Root::HKCR, "Unknown\\Shell"), "");  // emptied, not deleted
  EXPECT_FALSE(p.KeyExists(Root::HKCR, "Unknown\\Shell\\open"));

  // For files of no registered type only.
  cm.cbAllFileEditor.Click();
  cm.edNotepadName.UserType("");
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCR, "Unknown\\Shell"), "open");
  EXPECT_EQ(p.Text(Root::HKCR, "Unknown\\Shell\\open"), "");
  EXPECT_EQ(p.Text(Root::HKCR, "Unknown\\Shell\\open\\command"), "C:\\view.exe %1");
  EXPECT_FALSE(p.KeyExists(Root::HKCR, "*\\shell\\view"));

  // Unticked: the box for all files stays ticked but disabled, and counts
  // for nothing.
  cm.cbAllFileEditor.Click();
  cm.cbNotepad.Click();
  EXPECT_TRUE(cm.cbAllFileEditor.Checked());
  EXPECT_FALSE(cm.cbAllFileEditor.Enabled());
  EXPECT_FALSE(cm.edNotepad.Enabled());
  EXPECT_EQ(cm.edNotepad.GetColor(), ui::clMenu);
  p.Apply();
  EXPECT_FALSE(p.KeyExists(Root::HKCR, "*\\shell\\view"));
  EXPECT_FALSE(p.KeyExists(Root::HKCR, "Unknown\\Shell\\open"));
  EXPECT_EQ(p.Text(Root::HKCR, "Unknown\\Shell"), "");
}

TEST(ContextMenuPage, TickingTheEditorFillsOnlyEmptyEdits) {
  for (uint32_t locale : {1041u, 1033u}) {
    PageTool p(locale);
    p.Start();
    ContextMenuPage& cm = *p.context;
    EXPECT_FALSE(cm.edNotepadName.Enabled());
    EXPECT_FALSE(cm.cbAllFileEditor.Enabled());
    cm.cbNotepad.Click();
    EXPECT_EQ(cm.edNotepadName.Text(), locale == 1041 ? "メモ帳で開く" : "Open with Notepad");
    EXPECT_EQ(cm.edNotepad.Text(), "C:\\WINDOWS\\NOTEPAD.EXE %1");
    EXPECT_TRUE(cm.cbAllFileEditor.Enabled());
    cm.edNotepadName.UserType("Mine");
    cm.cbNotepad.Click();
    cm.cbNotepad.Click();
    EXPECT_EQ(cm.edNotepadName.Text(), "Mine");

    // A program chosen through the dialog: its path as chosen, then "%1" quoted.
    p.dialogs.Script(std::optional<std::string>("C:\\Program Files\\Ed\\ed.exe"));
    cm.buNotepad.Click();
    EXPECT_EQ(p.dialogs.Calls().back().file.filter,
              locale == 1041 ? "実行ファイル (*.EXE) | *.EXE" : "Executable File (*.EXE) | *.EXE");
    EXPECT_EQ(p.dialogs.Calls().back().file.initialDir, "");
    EXPECT_EQ(cm.edNotepad.Text(), "C:\\Program Files\\Ed\\ed.exe \"%1\"");
    p.dialogs.Cancel();
    cm.buNotepad.Click();
    EXPECT_EQ(cm.edNotepad.Text(), "C:\\Program Files\\Ed\\ed.exe \"%1\"");
  }
}

TEST(ContextMenuPage, ThreeBoxesShowTheirEnglishTextAsTooltip) {
  PageTool p;
  p.Start();
  ContextMenuPage& cm = *p.context;
  const std::pair<ui::CheckBox*, const char*> tips[] = {
      {&cm.cbNewWindow, "Open another window on folder"},
      {&cm.cbNotepad, "Open Non-Associated files with the following application"},
      {&cm.cbAllFileEditor, "When you right-click on all files, display above menu"},
  };
  for (const auto& [box, text] : tips) {
    EXPECT_TRUE(box->ShowHint()) << box->Name();
    EXPECT_EQ(box->Hint(), text);
  }
  int shown = 0;  // no other control of the page shows a tooltip
  for (const auto& child : cm.cbNewWindow.Parent()->Children()) shown += child->ShowHint();
  EXPECT_EQ(shown, 3);
}

TEST(ContextMenuPage, FolderIconWarningWithoutActiveDesktop) {
  {
    PageTool p;
    p.Start();
    p.context->cbFolderIcon.Click();
    EXPECT_TRUE(p.Boxes().empty()) << "Active Desktop is installed";
  }
  PageTool p;
  p.NoActiveDesktop();
  p.PutText(Root::HKCR, CommandOf(kIconVerb), "", kFolderIconCommand);
  p.Start();  // reading the registered verb ticks the box: the warning comes at start
  ASSERT_EQ(p.Boxes().size(), 1u);
  EXPECT_EQ(p.Boxes()[0].text, kWarningJA);
  EXPECT_EQ(p.Boxes()[0].caption, "");
  EXPECT_EQ(p.Boxes()[0].icon, port::MbIcon::Warning);
  p.context->cbFolderIcon.Click();
  EXPECT_EQ(p.Boxes().size(), 1u);  // unticking warns of nothing
  p.context->cbFolderIcon.Click();
  EXPECT_EQ(p.Boxes().size(), 2u);  // every time it becomes ticked
  EXPECT_TRUE(p.context->cbFolderIcon.Checked());
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCR, CommandOf(kIconVerb)), kFolderIconCommand);  // written all the same
}

TEST(ContextMenuRoads, TheFolderIconVerbStartsTheToolByItsQuotedPath) {
  Machine m;
  m.Start();
  m.Click(m.Box("cbFolderIcon"));
  m.dialogs.ClearCalls();
  m.Apply();
  EXPECT_EQ(m.Text(Root::HKCR, CommandOf(kIconVerb), ""), "\"C:\\Program Files\\Tolvane\\TAMREL.EXE\" \"%1\"");
  EXPECT_EQ(m.Text(Root::HKCR, kIconVerb, ""), "アイコン変更(&I)");
  EXPECT_TRUE(m.Boxes().empty()) << "the verb asks for no restart or log-off";
}

TEST(IEPages, TitlesGoToBothRootsAndTheMailTitleByVersion) {
  struct Case {
    const char* version;
    bool identities;
  };
  for (const Case& c : {Case{"6.0.2900.5512", true}, Case{"5.50.4807", true}, Case{"4.72.3110", false},
                        Case{"9.11.9600", false}}) {
    SCOPED_TRACE(c.version);
    PageTool p;
    p.IEVersion(c.version);
    p.PutText(Root::HKLM, "Software\\Microsoft\\Internet Explorer\\Main", "Window Title", "Browser");
    p.PutText(Root::HKLM, "SOFTWARE\\Microsoft\\Outlook Express\\5.0\\Required Settings", "WindowTitle", "Mail 5");
    p.PutText(Root::HKCU, "Software\\Microsoft\\Outlook Express", "WindowTitle", "Mail 4");
    for (const char* id : {"{I1}", "{I2}", "{I3}"}) p.PutText(Root::HKCU, std::string("Identities\\") + id, "Name", id);
    p.Start();
    IEPages& ie = *p.ie;
    EXPECT_EQ(ie.edIETitle.Text(), "Browser");
    EXPECT_EQ(ie.edOETitle.Text(), c.identities ? "Mail 5" : "Mail 4");
    EXPECT_EQ(ie.lbIdentities.Items.Count(), c.identities ? 3 : 0);

    ie.edIETitle.UserType("");
    ie.edOETitle.UserType("Post");
    p.Apply();
    EXPECT_EQ(p.Text(Root::HKCU, "SOFTWARE\\Microsoft\\Internet Explorer\\Main", "Window Title"), "");
    EXPECT_EQ(p.Text(Root::HKLM, "Software\\Microsoft\\Internet Explorer\\Main", "Window Title"), "");
    for (const char* id : {"{I1}", "{I2}", "{I3}"})
      EXPECT_EQ(p.Text(Root::HKCU, std::string("Identities\\") + id + "\\Software\\Microsoft\\Outlook Express\\5.0",
                       "WindowTitle"),
                c.identities ? "Post" : "<absent>");
    EXPECT_EQ(p.Text(Root::HKLM, "SOFTWARE\\Microsoft\\Outlook Express\\5.0\\Required Settings", "WindowTitle"),
              c.identities ? "Post" : "Mail 5");
    EXPECT_EQ(p.Text(Root::HKCU, "Software\\Microsoft\\Outlook Express", "WindowTitle"),
              c.identities ? "Mail 4" : "Post");
  }
}

TEST(IEPages, StandardValuesFollowTheBrowserVersion) {
  struct Case {
    const char* version;
    const char* ftp;
  };
  const Case cases[] = {{"3.02", "ZK31wolf@"}, {"4.72.3110", "ZK41wolf@"}, {"5.50.4807", "ZK51wolf@"},
                        {"6.0.2900.5512", "ZK61wolf@"}, {"9.11.9600", "ZK31wolf@"}, {"", "ZK31wolf@"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    PageTool p;
    p.IEVersion(c.version);
    p.PutText(Root::HKCU, kInternetSettings, "EmailName", "me@example.org");
    p.PutText(Root::HKCU, "Software\\Microsoft\\Internet Explorer\\SearchUrl", "", "http://find.example/?q=%s");
    p.Start();
    IEPages& ie = *p.ie;
    EXPECT_EQ(ie.edAnonymousFTP.Text(), "me@example.org");
    EXPECT_EQ(ie.cbSearchUrl.Text(), "http://find.example/?q=%s");
    EXPECT_EQ(ie.edViewSourceEditor.Text(), "C:\\WINDOWS\\notepad.exe");  // absent
    ie.edViewSourceEditor.UserType("C:\\ed.exe");
    p.Standard();
    EXPECT_EQ(ie.edAnonymousFTP.Text(), c.ftp);
    EXPECT_EQ(ie.cbSearchUrl.Text(), kSearchUrlPresets[0]);
    EXPECT_EQ(ie.edIETitle.Text(), "Microsoft Internet Explorer");
    EXPECT_EQ(ie.edOETitle.Text(), "Outlook Express");
    EXPECT_EQ(ie.edViewSourceEditor.Text(), "C:\\WINDOWS\\notepad.exe");
    p.Apply();
    EXPECT_EQ(p.Text(Root::HKCU, kInternetSettings, "EmailName"), c.ftp);
    EXPECT_EQ(p.Text(Root::HKCU, "Software\\Microsoft\\Internet Explorer\\SearchUrl"), kSearchUrlPresets[0]);
    EXPECT_EQ(p.Text(Root::HKLM, "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name"),
              "C:\\WINDOWS\\notepad.exe");
    EXPECT_FALSE(p.flags.needRestart || p.flags.needLogoff);
  }
}

TEST(IEPages, SearchPageAndSourceEditorTakeWhatTheUserChose) {
  PageTool p;
  p.Start();
  IEPages& ie = *p.ie;
  EXPECT_EQ(ie.cbSearchUrl.Items.Count(), 9);
  ie.cbSearchUrl.UserSelect(4);
  EXPECT_EQ(p.applyEnabled, 1);
  p.dialogs.Script(std::optional<std::string>("C:\\Program Files\\Ed\\ed.exe"));
  ie.buViewSourceEditor.Click();
  EXPECT_EQ(p.dialogs.Calls().back().file.filter, "実行ファイル (*.EXE) | *.EXE");
  EXPECT_EQ(ie.edViewSourceEditor.Text(), "C:\\Program Files\\Ed\\ed.exe");  // no arguments
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, "Software\\Microsoft\\Internet Explorer\\SearchUrl"), kSearchUrlPresets[4]);
  EXPECT_EQ(p.Text(Root::HKLM, "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name"),
            "C:\\Program Files\\Ed\\ed.exe");
}

TEST(IEPages, OnlyTheLogoAsksForLogOff) {
  constexpr const char* kTB = "Software\\Microsoft\\Internet Explorer\\Toolbar";
  PageTool p;
  p.PutText(Root::HKCU, kTB, "BackBitmapIE5", "C:\\Pictures\\bar.gif");  // kept, not shown
  p.files.AddFile("C:\\Pictures\\logo.bmp", "BM");
  p.icons.AddBitmap("C:\\Pictures\\logo.bmp");
  p.files.AddFile("C:\\Pictures\\wood.bmp", "BM");
  p.icons.AddBitmap("C:\\Pictures\\wood.bmp");
  p.Start();
  IEPages& ie = *p.ie;
  EXPECT_TRUE(ie.cbBackBitmapIE5.Checked());
  EXPECT_EQ(ie.BackBitmapIE5Path, "C:\\Pictures\\bar.gif");
  EXPECT_TRUE(ie.imBackBitmapIE5.GetPicture().Empty());
  EXPECT_FALSE(ie.cbIELogo.Checked());

  // A new toolbar background: no class.
  p.dialogs.Script(std::optional<std::string>("C:\\Pictures\\wood.bmp"));
  ie.imBackBitmapIE5.Click();
  EXPECT_EQ(p.dialogs.Calls().back().file.initialDir, "C:\\Program Files\\Tolvane");
  EXPECT_FALSE(ie.imBackBitmapIE5.GetPicture().Empty());
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kTB, "BackBitmapIE5"), "C:\\Pictures\\wood.bmp");
  EXPECT_FALSE(p.flags.needLogoff);

  // The logo ticked without a file writes an empty path; a file picked asks
  // for log-off; unticking deletes it.
  p.FinishApply();
  ie.cbIELogo.Click();
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kTB, "smBrandBitmap"), "");
  EXPECT_FALSE(p.flags.needLogoff);
  p.dialogs.Script(std::optional<std::string>("C:\\Pictures\\logo.bmp"));
  ie.imIELogo.Click();
  EXPECT_EQ(ie.LogoBitmapPath, "C:\\Pictures\\logo.bmp");
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kTB, "smBrandBitmap"), "C:\\Pictures\\logo.bmp");
  EXPECT_TRUE(p.flags.needLogoff);
  p.FinishApply();
  ie.cbIELogo.Click();
  EXPECT_TRUE(ie.imIELogo.GetPicture().Empty());
  p.Apply();
  EXPECT_EQ(p.Text(Root::HKCU, kTB, "smBrandBitmap"), "<absent>");
  EXPECT_TRUE(p.flags.needLogoff);
}
