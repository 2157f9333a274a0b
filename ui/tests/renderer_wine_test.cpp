// The renderer on real windows: notifications become model events once,
// changes pushed by the model are no user events, and an exception thrown
// by a handler stops at the window procedure.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_icons.h"
#include "ui/win32/renderer.h"

namespace {

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text) {
  return FindWindowExW(parent, nullptr, cls, text);
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

}  // namespace
