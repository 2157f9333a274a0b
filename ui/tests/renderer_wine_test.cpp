// The renderer on real windows: notifications become model events once,
// changes pushed by the model are no user events, and an exception thrown
// by a handler stops at the window procedure.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_icons.h"
#include "ui/win32/renderer.h"

namespace {

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text) {
  return FindWindowExW(parent, nullptr, cls, text);
}

// The window the renderer names so, as the GUI driver finds it.
struct NameSearch {
  std::wstring name;
  HWND found = nullptr;
};
BOOL CALLBACK MatchName(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<NameSearch*>(lp);
  auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropW(w, L"SuiteName")));
  wchar_t buf[256] = {};
  if (atom && GlobalGetAtomNameW(atom, buf, 256) && s.name == buf) {
    s.found = w;
    return FALSE;
  }
  return TRUE;
}
HWND Named(HWND top, const wchar_t* name) {
  NameSearch s{name};
  EnumChildWindows(top, MatchName, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

struct RendererTest : ::testing::Test {
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::Ports ports = [this] {
    port::Ports p;
    p.icons = &icons;
    p.dialogs = &dialogs;
    return p;
  }();
  ui::Application app{ports};
  ui::win32::Renderer renderer{app};
  ui::Form& form = app.CreateForm<ui::Form>("foMain");
  HWND Window() { return reinterpret_cast<HWND>(renderer.WindowHandle(&form)); }
};

TEST_F(RendererTest, CheckBoxClicksRunTheHandlerOnceAndPushesAreNoClicks) {
  form.SetClientSize(300, 200);
  auto& cb = form.Add<ui::CheckBox>("cbX", {8, 8, 200, 20}, "Box");
  int clicks = 0;
  cb.OnClick = [&](ui::Control&) { ++clicks; };
  form.Show();
  HWND box = Child(Window(), L"Button", L"Box");
  ASSERT_NE(box, nullptr);

  cb.SetChecked(true);  // from code: one run, and the window shows it
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);

  SendMessageW(box, BM_CLICK, 0, 0);  // the user's click
  app.ProcessMessages();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(cb.Checked());
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(RendererTest, EditTextFromCodeDoesNotEchoAndTypingReachesTheModel) {
  form.SetClientSize(300, 200);
  auto& ed = form.Add<ui::Edit>("edX", {8, 8, 200, 21});
  int changes = 0;
  ed.OnChange = [&](ui::Control&) { ++changes; };
  form.Show();
  HWND edit = Child(Window(), L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  ed.SetText("from code");
  EXPECT_EQ(changes, 1);
  wchar_t buf[64] = {};
  GetWindowTextW(edit, buf, 64);
  EXPECT_STREQ(buf, L"from code");
  SetWindowTextW(edit, L"typed");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(ed.Text(), "typed");
}

TEST_F(RendererTest, AnExceptionInAHandlerReachesTheApplicationHandler) {
  form.SetClientSize(300, 200);
  auto& bu = form.Add<ui::Button>("buX", {8, 8, 80, 25}, "Go");
  bu.OnClick = [](ui::Control&) { throw std::runtime_error("refused"); };
  std::string seen;
  app.OnException = [&](ui::Control* sender, const std::exception& e) { seen = sender->Name() + ": " + e.what(); };
  form.Show();
  HWND button = Child(Window(), L"Button", L"Go");
  ASSERT_NE(button, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(seen, "buX: refused");
}

TEST_F(RendererTest, ListViewShowsTheModelsItemsAfterTheQueueRan) {
  form.SetClientSize(300, 200);
  auto& lv = form.Add<ui::ListView>("lvIcon", {0, 0, 300, 150});
  form.Show();
  lv.AddItem("0");
  lv.AddItem("1");
  app.ProcessMessages();
  HWND list = Child(Window(), WC_LISTVIEWW, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  lv.SetSelected(1);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
}

TEST_F(RendererTest, AHiddenSheetsControlsAreMadeWhenItIsFirstShownWithTheModelsState) {
  form.SetClientSize(400, 300);
  auto& pages = form.Add<ui::PageControl>("PageControl", {0, 0, 400, 300});
  auto& first = pages.Add<ui::TabSheet>("tsFirst", {}, "First");
  auto& second = pages.Add<ui::TabSheet>("tsSecond", {}, "Second");
  first.Add<ui::CheckBox>("cbFirst", {8, 8, 200, 20}, "On the first");
  auto& cb = second.Add<ui::CheckBox>("cbSecond", {8, 8, 200, 20}, "On the second");
  auto& ed = second.Add<ui::Edit>("edSecond", {8, 40, 120, 21});
  auto& ud = second.Add<ui::UpDown>("udSecond", {128, 40, 16, 21});
  ud.SetAssociate(&ed);
  ud.SetRange(0, 99);
  int clicks = 0;
  cb.OnClick = [&](ui::Control&) { ++clicks; };
  form.Show();
  HWND sheets[2] = {Named(Window(), L"tsFirst"), Named(Window(), L"tsSecond")};
  ASSERT_NE(sheets[0], nullptr);
  ASSERT_NE(sheets[1], nullptr);
  EXPECT_NE(Child(sheets[0], L"Button", L"On the first"), nullptr);
  EXPECT_EQ(Child(sheets[1], L"Button", nullptr), nullptr);  // not made yet

  cb.SetChecked(true);  // while the sheet has no windows
  ud.SetPosition(42);
  ed.SetEnabled(false);
  EXPECT_EQ(clicks, 1);
  pages.SetActivePageIndex(1);
  HWND box = Child(sheets[1], L"Button", L"On the second");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindowVisible(sheets[1]));
  EXPECT_FALSE(IsWindowVisible(sheets[0]));
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  HWND edit = Child(sheets[1], L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(IsWindowEnabled(edit));
  HWND updown = Child(sheets[1], UPDOWN_CLASSW, nullptr);
  ASSERT_NE(updown, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
  EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 42);

  SendMessageW(box, BM_CLICK, 0, 0);  // the user's click on the newly made box
  app.ProcessMessages();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(cb.Checked());
  pages.SetActivePageIndex(0);  // shown again later: made once
  pages.SetActivePageIndex(1);
  EXPECT_EQ(FindWindowExW(sheets[1], box, L"Button", nullptr), nullptr);
}

TEST_F(RendererTest, AProgressBarShowsItsLastPositionOnceTheQueueRuns) {
  form.SetClientSize(300, 100);
  auto& bar = form.Add<ui::ProgressBar>("pbX", {8, 8, 280, 20});
  bar.SetRange(0, 1000);
  bar.Step = 1;
  form.Show();
  HWND window = Named(Window(), L"pbX");
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 700; ++i) bar.StepIt();  // quick steps in a row, as a work loop makes them
  app.ProcessMessages();
  EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 700);
  bar.SetPosition(20);  // after a frame's pause, a step shows at once
  Sleep(40);
  bar.SetPosition(30);
  EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 30);
}

// A caption that can neither grow, nor wrap within its height, shows what
// fits and an ellipsis: whole words of English, whole characters of
// Japanese (which has no blanks), never the ellipsis alone.
TEST_F(RendererTest, ACaptionThatCannotFitShowsWholeWordsOrJapaneseCharacters) {
  struct Case {
    const char* caption;
    bool words;  // cut at a blank
  } cases[] = {
      {"Remove files as following extensions when searching", true},
      {"\xE3\x83\x8D\xE3\x83\x83\xE3\x83\x88\xE3\x83\xAF\xE3\x83\xBC\xE3\x82\xAF\xE5\x86\x85\xE3\x81\xAE"
       "\xE3\x82\xB3\xE3\x83\xB3\xE3\x83\x94\xE3\x83\xA5\xE3\x83\xBC\xE3\x82\xBF\xE3\x82\x92\xE9\x9A\xA0\xE3\x81\x99",
       false},  // a Japanese sentence without blanks
      {"\xE5\xAF\xBE\xE8\xB1\xA1\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x80 C:\\Documents and Settings", false},
  };
  form.SetClientSize(400, 40 * static_cast<int>(std::size(cases)));
  std::vector<std::string> names;
  for (size_t i = 0; i < std::size(cases); ++i) {
    int top = 8 + 40 * static_cast<int>(i);
    names.push_back("cb" + std::to_string(i));
    form.Add<ui::CheckBox>(names.back(), {8, top, 110, 16}, cases[i].caption);
    form.Add<ui::Label>("la" + std::to_string(i), {122, top, 200, 16}, "x");  // no room to grow
  }
  form.Show();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].caption);
    HWND box = Named(Window(), std::wstring(names[i].begin(), names[i].end()).c_str());
    ASSERT_NE(box, nullptr);
    wchar_t shown[256] = {};
    GetWindowTextW(box, shown, 256);
    std::wstring text = shown, whole(256, L'\0');
    whole.resize(MultiByteToWideChar(CP_UTF8, 0, cases[i].caption, -1, whole.data(), 256) - 1);
    ASSERT_GT(text.size(), 3u) << "only an ellipsis";
    ASSERT_EQ(text.substr(text.size() - 3), L"...");
    std::wstring head = text.substr(0, text.size() - 3);
    ASSERT_EQ(whole.compare(0, head.size(), head), 0) << "not the caption's beginning";
    if (cases[i].words) EXPECT_EQ(whole[head.size()], L' ') << "a word cut";
    EXPECT_NE(GetPropW(box, L"SuiteCut"), nullptr);
  }
}

}  // namespace
