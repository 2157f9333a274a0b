// Icon locations of TQXCommon and the icon picker with its caller contract,
// on the memory port.
#include <gtest/gtest.h>

#include "common/iconlist.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_icons.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"

namespace {

struct Machine {
  port::MemoryRegistry registry;
  port::MemorySystem system;
  port::MemoryLibrary library;
  port::MemoryIcons icons;
  port::MemoryDialogs dialogs;
  port::Ports ports = [this] {
    port::Ports p;
    p.registry = &registry;
    p.system = &system;
    p.library = &library;
    p.icons = &icons;
    p.dialogs = &dialogs;
    return p;
  }();
};

TEST(IconLocation, SplitsAtTheLastComma) {
  Machine m;
  TQXCommon qx(m.ports);
  struct Case {
    const char* location;
    const char* file;
    int32_t index;
  } cases[] = {
      {"C:\\WINDOWS\\system32\\shell32.dll,5", "C:\\WINDOWS\\system32\\shell32.dll", 5},
      {"C:\\x\\folder.ico", "C:\\x\\folder.ico", 0},    // no comma: the whole text
      {"12", "12", 12},                                 // ... which is also the index when it is a number
      {"C:\\a,b\\lib.dll,-204", "C:\\a,b\\lib.dll", -204},  // a resource id; the path keeps its comma
      {"C:\\x.dll,abc", "C:\\x.dll", 0},
      {"C:\\x.dll,", "C:\\x.dll", 0},
      {"C:\\x.dll, 3", "C:\\x.dll", 3},
      {"C:\\x.dll,3x", "C:\\x.dll", 0},
      {"C:\\x.dll,99999999999", "C:\\x.dll", 0},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    qx.SplitIconLocation(c.location);
    EXPECT_EQ(qx.FileName(), c.file) << c.location;
    EXPECT_EQ(qx.IconIndex(), c.index) << c.location;
  }
}

TEST(IconLocation, CountIgnoresTheIndexAndHandlePassesNegativeIdsUnchanged) {
  Machine m;
  m.icons.AddFile("C:\\lib.dll", 4, {}, {-204});
  TQXCommon qx(m.ports);
  EXPECT_EQ(qx.GetIconCount(0, "C:\\lib.dll,77"), 4);
  EXPECT_EQ(qx.GetIconCount(0, "C:\\missing.dll,0"), 0);
  port::IconHandle h = qx.GetIconHandle(0, "C:\\lib.dll,-204");
  EXPECT_NE(h, 0u);
  EXPECT_EQ(m.icons.Describe(h), "C:\\lib.dll,-204");
  EXPECT_EQ(qx.GetIconHandle(0, "C:\\lib.dll,4"), 0u);
  EXPECT_EQ(qx.IconIndex(), 4);  // the operations leave the split behind
  m.icons.Destroy(h);
}

// The settings tool's or the folder-icon tool's side of the picker.
struct Picker : ::testing::Test {
  Machine m;
  TQXCommon qx{m.ports};
  ui::Application app{m.ports};
  int32_t SelectedIconIndex = 0;
  std::string IconDir = "C:\\start";
  TfoIconList& picker = app.CreateForm<TfoIconList>(qx, SelectedIconIndex);
  ui::Form& host = app.CreateForm<ui::Form>("foHost");
  ui::Image& imIcon = host.Add<ui::Image>("imIcon");
  std::string held = "C:\\icons\\set.dll,0";
  bool changed = false;

  void SetUp() override {
    m.icons.AddFile("C:\\icons\\set.dll", 3, {1});  // icon 1 cannot be extracted
    m.icons.AddFile("D:\\other.ico", 2);
    imIcon.SetIcon(qx.GetIconHandle(0, held));
  }
  void Japanese(bool ja) {
    m.system.SetLocale(ja ? 1041 : 1033);
    qx.ReadSystemInfo();
  }
  bool Run(std::function<void(TfoIconList&)> user) {
    app.ModalScript = [&, user](ui::Form&) { app.Dispatch(&picker, [&] { user(picker); }); };
    return SubIconList(picker, "Pick an icon", imIcon, held, changed, IconDir);
  }
};

TEST_F(Picker, ListsTheFileAndTakesTheDoubleClickedIcon) {
  Japanese(true);
  bool ok = Run([&](TfoIconList& p) {
    EXPECT_EQ(p.Caption(), "Pick an icon");
    EXPECT_EQ(p.txIconName->Caption(), "C:\\icons\\set.dll");
    ASSERT_EQ(p.lvIcon->Count(), 3);
    EXPECT_EQ(p.lvIcon->Item(2).caption, "2");
    EXPECT_EQ(p.lvIcon->Item(2).imageIndex, 2);
    ASSERT_EQ(p.ilIcon.Count(), 3);
    EXPECT_EQ(p.ilIcon.Icon(1), 0u);  // an empty image keeps its place
    EXPECT_EQ(m.icons.Describe(p.ilIcon.Icon(2)), "C:\\icons\\set.dll,2");
    EXPECT_FALSE(p.buOK->Enabled());
    p.lvIcon->UserClickItem(2);
    EXPECT_TRUE(p.buOK->Enabled());
    p.lvIcon->UserDblClickItem(2);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(held, "C:\\icons\\set.dll,2");
  EXPECT_EQ(SelectedIconIndex, 2);
  EXPECT_EQ(m.icons.Describe(imIcon.GetPicture().Handle()), "C:\\icons\\set.dll,2");
  EXPECT_TRUE(changed);
  EXPECT_EQ(IconDir, "C:\\icons");
  EXPECT_EQ(picker.buCancel->Caption(), "ｷｬﾝｾﾙ");
}

TEST_F(Picker, CancelAfterSelectingChangesNothing) {
  Japanese(true);
  port::IconHandle before = imIcon.GetPicture().Handle();
  bool ok = Run([](TfoIconList& p) {
    p.lvIcon->UserClickItem(2);
    p.buCancel->UserClick();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(held, "C:\\icons\\set.dll,0");
  EXPECT_EQ(imIcon.GetPicture().Handle(), before);
  EXPECT_EQ(IconDir, "C:\\start");
  EXPECT_FALSE(changed);
  EXPECT_EQ(SelectedIconIndex, 0);
}

TEST_F(Picker, OkWithNothingSelectedDoesNothing) {
  Japanese(true);
  bool ok = Run([](TfoIconList& p) {
    p.lvIcon->UserClickItem(-1);
    EXPECT_FALSE(p.buOK->Enabled());
    p.buOK->Click();  // even a click that reaches it takes nothing
    EXPECT_EQ(p.GetModalResult(), ui::mrNone);
    p.lvIcon->UserDblClickItem(-1);
    EXPECT_EQ(p.GetModalResult(), ui::mrNone);
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(held, "C:\\icons\\set.dll,0");
}

// A file that is no executable, library or icon file has no icons (the real
// port no longer passes on the shell's answer 1 for it).
TEST_F(Picker, AFileWithoutIconsListsNothingAndOkStaysDisabled) {
  Japanese(true);
  m.dialogs.Script(std::optional<std::string>("C:\\readme.txt"));
  bool ok = Run([](TfoIconList& p) {
    p.buOpenFile->UserClick();
    EXPECT_EQ(p.lvIcon->Count(), 0);
    p.lvIcon->UserClickItem(0);
    EXPECT_FALSE(p.buOK->Enabled());
    p.buCancel->UserClick();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(held, "C:\\icons\\set.dll,0");
}

TEST_F(Picker, OkIsDisabledAfterChoosingAnotherFile) {
  Japanese(true);
  m.dialogs.Script(std::optional<std::string>("D:\\other.ico"));
  m.dialogs.Cancel();
  bool ok = Run([](TfoIconList& p) {
    p.lvIcon->UserClickItem(0);
    p.buOpenFile->UserClick();
    EXPECT_FALSE(p.buOK->Enabled());
    EXPECT_EQ(p.lvIcon->Count(), 2);
    EXPECT_EQ(p.txIconName->Caption(), "D:\\other.ico");
    p.buOpenFile->UserClick();  // cancelled: the list stays
    EXPECT_EQ(p.txIconName->Caption(), "D:\\other.ico");
    p.lvIcon->UserClickItem(1);
    p.buOK->UserClick();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(held, "D:\\other.ico,1");
  EXPECT_EQ(IconDir, "D:\\");  // a drive root keeps its backslash
  ASSERT_EQ(m.dialogs.Calls().size(), 2u);
  const auto& call = m.dialogs.Calls()[0];
  EXPECT_EQ(call.kind, port::MemoryDialogs::Kind::OpenFile);
  EXPECT_EQ(call.file.title, "Pick an icon");
  EXPECT_EQ(call.file.filter, "全てのファイル|*.*");
  EXPECT_EQ(call.file.initialDir, "C:\\start");
}

TEST_F(Picker, AFileWithACommaIsListedByThePartBeforeItsLastComma) {
  Japanese(true);
  m.icons.AddFile("D:\\a", 2);  // what the part before the comma names
  m.dialogs.Script(std::optional<std::string>("D:\\a,b.dll"));
  Run([](TfoIconList& p) {
    p.buOpenFile->UserClick();
    EXPECT_EQ(p.lvIcon->Count(), 2);
    p.buCancel->UserClick();
  });
}

TEST_F(Picker, EnglishCaptionsFontFilterAndTitle) {
  Japanese(false);
  Run([&](TfoIconList& p) {
    EXPECT_EQ(p.buOpenFile->Caption(), "...");
    EXPECT_EQ(p.buCancel->Caption(), "Cancel");
    EXPECT_EQ(p.buOK->Caption(), "OK");
    EXPECT_EQ(p.Caption(), "Pick an icon");
    EXPECT_EQ(p.EffectiveFont().name, "MS Sans Serif");
    EXPECT_EQ(p.txIconName->EffectiveFont().charset, ui::kAnsiCharset);
    p.buOpenFile->UserClick();
    p.buCancel->UserClick();
  });
  ASSERT_EQ(m.dialogs.Calls().size(), 1u);
  EXPECT_EQ(m.dialogs.Calls()[0].file.filter, "All Files | *.*");
  EXPECT_EQ(m.dialogs.Calls()[0].file.title, "Pick an icon");
}

TEST_F(Picker, AnUnreadableFileGivesAnEmptyList) {
  Japanese(true);
  held = "C:\\nothing.txt,0";
  Run([](TfoIconList& p) {
    EXPECT_EQ(p.lvIcon->Count(), 0);
    EXPECT_FALSE(p.buOK->Enabled());
    p.buCancel->UserClick();
  });
  EXPECT_EQ(held, "C:\\nothing.txt,0");
}

TEST(IconFolder, OfAPath) {
  EXPECT_EQ(IconFolderOf("C:\\WINDOWS\\system32\\shell32.dll"), "C:\\WINDOWS\\system32");
  EXPECT_EQ(IconFolderOf("C:\\x.ico"), "C:\\");
  EXPECT_EQ(IconFolderOf("x.ico"), "");
}

}  // namespace
