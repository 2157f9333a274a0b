// The control model's event rules, forms and application object, headless.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_system.h"
#include "ui/ui.h"

namespace {

struct Fixture : ::testing::Test {
  port::MemorySystem system;
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::Ports ports = [this] {
    port::Ports p;
    p.system = &system;
    p.icons = &icons;
    p.dialogs = &dialogs;
    return p;
  }();
  ui::Application app{ports};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  std::vector<std::string> log;
  Fixture() { form.Show(); }  // users reach only shown forms
  ui::Handler Logger(const std::string& what) {
    return [this, what](ui::Control& sender) { log.push_back(sender.Name() + ":" + what); };
  }
};

using Events = Fixture;

TEST_F(Events, SettingFromCodeFiresOnlyOnAChange) {
  auto& cb = form.Add<ui::CheckBox>("cbX");
  auto& ed = form.Add<ui::Edit>("edX");
  auto& tb = form.Add<ui::TrackBar>("tbX");
  cb.OnClick = Logger("click");
  ed.OnChange = Logger("change");
  tb.OnChange = Logger("change");
  tb.SetRange(0, 1000);

  cb.SetChecked(false);  // already unticked
  ed.SetText("");
  tb.SetPosition(0);
  EXPECT_TRUE(log.empty());

  cb.SetChecked(true);
  cb.SetChecked(true);
  ed.SetText("abc");
  ed.SetText("abc");
  tb.SetPosition(65535);  // clamps to 1000
  tb.SetPosition(1000);
  EXPECT_EQ(log, (std::vector<std::string>{"cbX:click", "edX:change", "tbX:change"}));
  EXPECT_EQ(tb.Position(), 1000);

  log.clear();
  cb.Click();  // a click toggles and fires, as the user's does
  EXPECT_FALSE(cb.Checked());
  EXPECT_EQ(log, (std::vector<std::string>{"cbX:click"}));
}

TEST_F(Events, LeavingAnEditRunsOnExitOnlyWhereTheUserCanReachIt) {
  auto& ed = form.Add<ui::RightEdit>("edX");
  ed.OnChange = Logger("change");
  ed.OnExit = Logger("exit");
  ed.UserType("12");
  ed.SetText("13");  // text from code is no focus change
  ed.UserExit();
  EXPECT_EQ(log, (std::vector<std::string>{"edX:change", "edX:change", "edX:exit"}));
  log.clear();
  ed.SetEnabled(false);
  ed.UserExit();
  ed.SetEnabled(true);
  form.Hide();
  ed.UserExit();
  EXPECT_TRUE(log.empty());
}

TEST_F(Events, HandlerRunsBeforeTheSetterReturns) {
  auto& cb = form.Add<ui::CheckBox>("cbX");
  auto& ed = form.Add<ui::Edit>("edX");
  cb.OnClick = [&](ui::Control&) { ed.SetEnabled(cb.Checked()); };
  cb.SetChecked(true);
  EXPECT_TRUE(ed.Enabled());
  cb.SetChecked(false);
  EXPECT_FALSE(ed.Enabled());
}

TEST_F(Events, ComboItemIndexFromCodeFiresNothing) {
  auto& co = form.Add<ui::ComboBox>("cbCombo");
  co.Items.Assign({"a", "b", "c"});
  co.OnChange = Logger("change");
  co.OnSelect = Logger("select");
  co.SetItemIndex(2);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(co.Text(), "c");
  co.UserSelect(1);
  EXPECT_EQ(log, (std::vector<std::string>{"cbCombo:select", "cbCombo:change"}));
  EXPECT_EQ(co.Text(), "b");
}

TEST_F(Events, RadioButtonsAreExclusiveAmongSiblings) {
  auto& page = form.Add<ui::TabSheet>("tsA");
  auto& other = form.Add<ui::GroupBox>("gbB");
  auto& ra1 = page.Add<ui::RadioButton>("ra1");
  auto& ra2 = page.Add<ui::RadioButton>("ra2");
  auto& raOther = other.Add<ui::RadioButton>("raOther");
  for (auto* r : {&ra1, &ra2, &raOther}) r->OnClick = Logger("click");

  raOther.SetChecked(true);
  ra1.SetChecked(true);
  ra2.SetChecked(true);  // unticks ra1 silently
  EXPECT_FALSE(ra1.Checked());
  EXPECT_TRUE(ra2.Checked());
  EXPECT_TRUE(raOther.Checked());  // another parent
  EXPECT_EQ(log, (std::vector<std::string>{"raOther:click", "ra1:click", "ra2:click"}));

  log.clear();
  ra2.SetChecked(false);  // unticking from code fires nothing
  ra1.SetChecked(false);
  EXPECT_TRUE(log.empty());
}

TEST_F(Events, UpDownClampsRefusesAndShowsItsPositionInTheEdit) {
  auto& ed = form.Add<ui::RightEdit>("edTTL");
  auto& ud = form.Add<ui::UpDown>("udTTL");
  ud.SetRange(0, 255);
  ud.Increment = 16;
  ud.SetAssociate(&ed);
  EXPECT_EQ(ed.Text(), "0");
  int16_t seen = -1;
  bool refuse = false;
  ud.OnChangingEx = [&](ui::Control&, bool& allow, int16_t value, ui::UpDownButton) {
    seen = value;
    allow = !refuse;
  };
  ud.OnChange = Logger("change");
  ed.OnChange = Logger("edit");

  ud.SetPosition(300);
  EXPECT_EQ(ud.Position(), 255);
  EXPECT_EQ(seen, 255);
  EXPECT_EQ(ed.Text(), "255");
  EXPECT_EQ(log, (std::vector<std::string>{"edTTL:edit", "udTTL:change"}));

  log.clear();
  ud.SetPosition(255);
  EXPECT_TRUE(log.empty());
  ud.UserStep(ui::UpDownButton::Down);
  EXPECT_EQ(ud.Position(), 239);
  refuse = true;
  ud.UserStep(ui::UpDownButton::Down);
  EXPECT_EQ(ud.Position(), 239);
  EXPECT_EQ(ed.Text(), "239");
}

TEST_F(Events, ProgressBarStepItStartsOverPastItsMaximum) {
  auto& pb = form.Add<ui::ProgressBar>("UpdateProgress");
  pb.SetRange(0, 200);
  pb.Step = 10;
  for (int i = 0; i < 20; ++i) pb.StepIt();
  EXPECT_EQ(pb.Position(), 200);
  pb.StepIt();
  EXPECT_EQ(pb.Position(), 10);
  pb.SetPosition(500);
  EXPECT_EQ(pb.Position(), 200);
}

TEST_F(Events, ListViewClickSelectsOrClearsThenFires) {
  auto& lv = form.Add<ui::ListView>("lvIcon");
  lv.AddItem("0", 0);
  lv.AddItem("1", 1);
  lv.OnClick = [&](ui::Control&) { log.push_back("click " + std::to_string(lv.Selected())); };
  lv.OnDblClick = [&](ui::Control&) { log.push_back("dbl " + std::to_string(lv.Selected())); };
  lv.UserClickItem(1);
  lv.UserClickItem(-1);
  lv.UserDblClickItem(0);
  EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click -1", "dbl 0"}));
  lv.SetEnabled(false);
  lv.UserClickItem(1);  // a disabled list takes no clicks
  EXPECT_EQ(lv.Selected(), 0);
}

using Forms = Fixture;

TEST_F(Forms, ModalResultOfTheClickedButtonEndsShowModal) {
  auto& dlg = app.CreateForm<ui::Form>("foLogin");
  auto& buOK = dlg.Add<ui::Button>("buOK", {}, "OK");
  buOK.ModalResult = ui::mrOk;
  bool shown = false;
  dlg.OnShow = [&](ui::Control&) { shown = true; };
  app.ModalScript = [&](ui::Form& f) {
    EXPECT_EQ(&f, &dlg);
    EXPECT_TRUE(f.Modal());
    buOK.UserClick();
  };
  EXPECT_EQ(dlg.ShowModal(), ui::mrOk);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(dlg.Visible());

  app.ModalScript = [](ui::Form&) {};  // the user closes nothing
  EXPECT_EQ(dlg.ShowModal(), ui::mrCancel);
}

TEST_F(Forms, CloseQueryCanRefuse) {
  auto& dlg = app.CreateForm<ui::Form>("foDlg");
  auto& buOK = dlg.Add<ui::Button>("buOK");
  buOK.ModalResult = ui::mrOk;
  dlg.OnCloseQuery = [](ui::Control&, bool& canClose) { canClose = false; };
  app.ModalScript = [&](ui::Form& f) {
    buOK.Click();
    EXPECT_FALSE(f.ModalDone());  // the modal loop asks and goes on
  };
  EXPECT_EQ(dlg.ShowModal(), ui::mrCancel);  // refused, then left by the script

  bool allow = false;
  form.OnCloseQuery = [&](ui::Control&, bool& canClose) { canClose = allow; };
  EXPECT_FALSE(form.Close());
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(app.IsTerminated());
  allow = true;
  EXPECT_TRUE(form.Close());
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(app.IsTerminated());  // it is the main form
}

TEST_F(Forms, ReleaseFreesTheFormAfterTheHandlerReturns) {
  auto& splash = app.CreateForm<ui::Form>("foOpening");
  splash.Show();
  bool destroyed = false;
  splash.OnDestroy = [&](ui::Control&) { destroyed = true; };
  auto& button = form.Add<ui::Button>("sbPlay");
  button.OnClick = [&](ui::Control&) {
    splash.Release();
    app.ProcessMessages();  // inside a handler: still not freed
    EXPECT_FALSE(destroyed);
    splash.SetCaption("still here");
  };
  app.Dispatch(&button, [&] { button.UserClick(); });
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(app.Forms().size(), 1u);
  EXPECT_EQ(app.ProcessMessagesRuns(), 1);
}

TEST_F(Forms, EveryExceptionAHandlerLetsThroughReachesTheApplication) {
  auto& cb = form.Add<ui::CheckBox>("cbX");
  auto& bu = form.Add<ui::Button>("buX");
  cb.OnClick = [](ui::Control&) { throw std::runtime_error("registry refused"); };
  bu.OnClick = [&](ui::Control&) { cb.SetChecked(true); };  // the throw comes from a nested handler
  std::vector<std::string> seen;
  app.OnException = [&](ui::Control* sender, const std::exception& e) {
    seen.push_back((sender ? sender->Name() : "") + ": " + e.what());
  };
  app.Dispatch(&bu, [&] { bu.UserClick(); });
  app.Dispatch(&form, [] { throw 42; });
  EXPECT_EQ(seen, (std::vector<std::string>{"buX: registry refused", "foMain: Unknown exception"}));

  // Without a handler of its own the application shows the standard box.
  app.OnException = nullptr;
  app.SetTitle("tamrel");
  app.Dispatch(&bu, [&] { throw std::runtime_error("Access denied"); });
  ASSERT_EQ(dialogs.Calls().size(), 1u);
  EXPECT_EQ(dialogs.Calls()[0].text, "Access denied.");
  EXPECT_EQ(dialogs.Calls()[0].caption, "tamrel");
  EXPECT_EQ(dialogs.Calls()[0].icon, port::MbIcon::Error);
  // A message that ends with a full stop of either language keeps just that one.
  for (const char* text : {"Access denied.", "ファイルが見つかりません。"}) {
    dialogs.ClearCalls();
    app.Dispatch(&bu, [&] { throw std::runtime_error(text); });
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text, text);
  }
}

TEST_F(Forms, TitleDefaultsToTheProgramName) {
  system.SetModulePath("C:\\suite\\TAMREL.EXE");
  ui::Application second(ports);
  EXPECT_EQ(second.Title(), "TAMREL");
  EXPECT_EQ(&ui::Application::Current(), &second);
}

TEST_F(Forms, CentringOnTheScreenAndOnAnotherForm) {
  form.Border = ui::BorderStyle::None;
  form.SetClientSize(484, 127);
  form.Position = ui::FormPosition::ScreenCenter;
  form.Show();
  EXPECT_EQ(form.Left(), (1024 - 484) / 2);
  EXPECT_EQ(form.Top(), (768 - 127) / 2);
  auto& dlg = app.CreateForm<ui::Form>("foDlg");
  dlg.Border = ui::BorderStyle::None;
  dlg.SetClientSize(84, 27);
  dlg.CenterOnForm(form);
  EXPECT_EQ(dlg.Left(), form.Left() + 200);
  EXPECT_EQ(dlg.Top(), form.Top() + 50);
}

TEST_F(Forms, LanguageSwitchTakesHintsWithTheFormsExceptions) {
  form.SetHint("Kelvorin");
  form.SetCaption("トルヴァネ");
  auto& sheet = form.Add<ui::TabSheet>("tsIcon1", {}, "アイコン (1)", "Icon-1");
  auto& cb = sheet.Add<ui::CheckBox>("cbA", {}, "ボックス", "Box");
  auto& noHint = sheet.Add<ui::Button>("bu256", {}, "256");
  auto& note = sheet.Add<ui::Label>("laNote", {}, "長い説明");
  auto& legend = sheet.Add<ui::Label>("laMTU", {}, "MODEM:576", "legend");
  auto& app1 = sheet.Add<ui::Label>("laAppName", {}, "トルヴァネ", "Kelvorin");
  form.SwitchToEnglish({{"laNote"}, {"laMTU"}, {"laAppName"}, 16});

  EXPECT_EQ(form.Caption(), "Kelvorin");
  EXPECT_EQ(sheet.Caption(), "Icon-1");
  EXPECT_EQ(cb.Caption(), "Box");
  EXPECT_EQ(noHint.Caption(), "256");
  EXPECT_EQ(note.Caption(), "");
  EXPECT_EQ(legend.Caption(), "MODEM:576");
  EXPECT_EQ(cb.EffectiveFont().name, "MS Sans Serif");
  EXPECT_EQ(cb.EffectiveFont().charset, ui::kAnsiCharset);
  EXPECT_EQ(app1.EffectiveFont().name, "Arial");
  EXPECT_EQ(app1.EffectiveFont().height, -21);
}

TEST_F(Forms, PicturesOwnTheirHandlesAndImageListsKeepEmptyPlaces) {
  icons.AddFile("C:\\a.dll", 3);
  {
    ui::ImageList list;
    auto& im = form.Add<ui::Image>("imWK");
    im.SetIcon(icons.Extract(0, "C:\\a.dll", 0));
    list.AddIcon(im.GetPicture());
    im.ClearPicture();
    list.AddIcon(im.GetPicture());
    im.SetIcon(icons.Extract(0, "C:\\a.dll", 2));
    list.AddIcon(im.GetPicture());
    im.SetIcon(icons.Extract(0, "C:\\a.dll", 1));  // replaces (and destroys) index 2's handle
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(icons.Describe(list.Icon(0)), "C:\\a.dll,0");
    EXPECT_EQ(list.Icon(1), 0u);
    EXPECT_EQ(icons.Describe(list.Icon(2)), "C:\\a.dll,2");
    EXPECT_EQ(icons.LiveIcons(), 3u);  // two copies in the list, one in the image
  }
  EXPECT_EQ(icons.LiveIcons(), 1u);  // the list freed its copies; the image lives with the form
  EXPECT_EQ(icons.DoubleFrees(), 0);
}

TEST_F(Forms, DialogsAnswerFromTheScript) {
  dialogs.Script(port::MbResult::No);
  EXPECT_EQ(app.MessageBox("Restart?", "", port::MbIcon::Question, port::MbButtons::YesNo), port::MbResult::No);
  ui::OpenDialog open;
  open.Title = "Pick";
  dialogs.Script(std::optional<std::string>("C:\\x.ico"));
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName, "C:\\x.ico");
  EXPECT_FALSE(open.Execute());  // an empty script cancels
  ui::ColorDialog colour;
  dialogs.Script(std::optional<uint32_t>(ui::RGB(1, 2, 3)));
  EXPECT_TRUE(colour.Execute());
  EXPECT_EQ(colour.Color, 0x030201u);
  EXPECT_EQ(dialogs.Calls()[1].caption, "Pick");
}

}  // namespace
