// The catalogue's row kinds on the memory registry: what a read ticks, what
// an apply writes, when a change class is marked, and the orders.
#include <gtest/gtest.h>

#include "common/qxcommon.h"
#include "platform/files.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_library.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "tolvane/catalogue.h"
#include "ui/controls.h"

using namespace tolvane;
using port::RegValue;
using port::Root;

namespace {

constexpr const char* kKey = "Software\\Test\\Catalogue";

struct Machine {
  port::MemoryRegistry registry;
  port::MemorySystem system;
  port::MemoryLibrary library;
  port::MemoryFiles files;
  port::Ports ports{.registry = &registry, .system = &system, .library = &library};
  TQXCommon qx{ports};
  ChangeFlags flags;
  RowContext ctx{qx, files, flags};

  void Put(Root root, const std::string& key, const std::string& name, const RegValue& v) {
    auto k = registry.Create(root, key);
    ASSERT_NE(k, 0u);
    ASSERT_TRUE(registry.Set(k, name, v));
    registry.Close(k);
  }
  std::optional<RegValue> Get(Root root, const std::string& key, const std::string& name) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (!k) return std::nullopt;
    auto v = registry.Query(k, name);
    registry.Close(k);
    return v;
  }
  bool KeyExists(Root root, const std::string& key) {
    auto k = registry.Open(root, key, port::kKeyReadTest);
    if (k) registry.Close(k);
    return k != 0;
  }
};

// A free-standing check box that counts its clicks, as a page's box would
// run ApplyEnabled.
struct Box {
  explicit Box(const std::string& name) : box(nullptr, name) {
    box.OnClick = [this](ui::Control&) { ++clicks; };
  }
  ui::CheckBox box;
  int clicks = 0;
};

}  // namespace

TEST(CatalogueDwordFlag, ReadTicksOnlyTheOnValueAndApplyWritesOnOrOff) {
  struct Case {
    const char* what;
    std::optional<RegValue> stored;
    int32_t on, off, absent;
    bool ticked;
  };
  const Case cases[] = {
      {"absent reads the absent default", std::nullopt, 1, 0, 0, false},
      {"1 ticks", RegValue::Dword(1), 1, 0, 0, true},
      {"2 is not on", RegValue::Dword(2), 1, 0, 0, false},
      {"a string 1 is no DWORD", RegValue::Text("1"), 1, 0, 0, false},
      {"inverted: 0 ticks", RegValue::Dword(0), 0, 200000, 200000, true},
      {"inverted: absent is off", std::nullopt, 0, 200000, 200000, false},
      {"inverted: another number is off", RegValue::Dword(50000), 0, 200000, 200000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    if (c.stored) m.Put(Root::HKCU, kKey, "Flag", *c.stored);
    Box b("cbFlag");
    Catalogue cat;
    Row& row = cat.Add(DwordFlag{.check = Of(b.box), .at = {"HKCU", kKey, "Flag"}, .on = c.on, .off = c.off,
                                 .absent = c.absent, .cls = ChangeClass::NeedLogoff});
    EXPECT_EQ(row.Control(), "cbFlag");
    row.Read(m.ctx);
    EXPECT_EQ(b.box.Checked(), c.ticked);
    EXPECT_EQ(b.clicks, c.ticked ? 1 : 0);  // the handler runs only on a change
    EXPECT_EQ(row.LoadedValue(), Loaded{c.ticked});
    row.Write(m.ctx);
    EXPECT_EQ(m.Get(Root::HKCU, kKey, "Flag"), RegValue::Dword(static_cast<uint32_t>(c.ticked ? c.on : c.off)));
    EXPECT_FALSE(m.flags.needLogoff);
  }
}

TEST(CatalogueDwordFlag, DeleteWhenOffRemovesTheValue) {
  Machine m;
  m.Put(Root::HKCU, kKey, "RestrictRun", RegValue::Dword(1));
  Box b("cbRestrictRun");
  Catalogue cat;
  Row& row = cat.Add(DwordFlag{.check = Of(b.box), .at = {"HKCU", kKey, "RestrictRun"}, .deleteWhenOff = true});
  row.Read(m.ctx);
  ASSERT_TRUE(b.box.Checked());
  row.Write(m.ctx);
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "RestrictRun"), RegValue::Dword(1));
  b.box.SetChecked(false);
  row.Write(m.ctx);
  EXPECT_FALSE(m.Get(Root::HKCU, kKey, "RestrictRun"));
}

TEST(CatalogueChangeClass, MarksOnlyARealChangeAndStep25TakesTheStateAgain) {
  Machine m;
  Box logoff("cbLogoff"), restart("cbRestart"), plain("cbPlain");
  Catalogue cat;
  cat.Add(DwordFlag{.check = Of(logoff.box), .at = {"HKCU", kKey, "A"}, .cls = ChangeClass::NeedLogoff});
  cat.Add(DwordFlag{.check = Of(restart.box), .at = {"HKCU", kKey, "B"}, .cls = ChangeClass::NeedRestart});
  cat.Add(DwordFlag{.check = Of(plain.box), .at = {"HKCU", kKey, "C"}});
  Order all = cat.Rows({"cbLogoff", "cbRestart", "cbPlain"});
  ReadRows(all, m.ctx);

  // Ticked and unticked again: written, but nothing asked.
  logoff.box.Click();
  logoff.box.Click();
  plain.box.Click();
  WriteRows(all, m.ctx);
  EXPECT_FALSE(m.flags.needLogoff || m.flags.needRestart || m.flags.iconChanged);
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "A"), RegValue::Dword(0));
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "C"), RegValue::Dword(1));

  logoff.box.Click();
  WriteRows(all, m.ctx);
  EXPECT_TRUE(m.flags.needLogoff);
  EXPECT_FALSE(m.flags.needRestart);

  // Step 25: flags cleared by the road, loaded values taken in one loop; the
  // same state applied again asks nothing.
  m.flags.Clear();
  cat.TakeLoaded();
  EXPECT_EQ(cat.Find("cbLogoff")->LoadedValue(), Loaded{true});
  WriteRows(all, m.ctx);
  EXPECT_FALSE(m.flags.needLogoff);

  restart.box.Click();
  WriteRows(all, m.ctx);
  EXPECT_TRUE(m.flags.needRestart);
  EXPECT_FALSE(m.flags.needLogoff);
}

TEST(CatalogueStringAndBinaryFlags, ReadAndWriteTheirForms) {
  Machine m;
  m.Put(Root::HKCU, kKey, "MinAnimate", RegValue::Text("0"));
  m.Put(Root::HKCU, kKey, "Smooth", RegValue::Binary({1, 0, 0, 0}));
  m.Put(Root::HKCU, kKey, "SmoothLong", RegValue::Binary({1, 0, 0, 0, 0, 0, 0, 0}));
  Box minAnimate("cbMinAnimate"), smooth("cbSmooth"), smoothLong("cbSmoothLong");
  Catalogue cat;
  cat.Add(StringFlag{.check = Of(minAnimate.box), .at = {"HKCU", kKey, "MinAnimate"}, .on = "0", .off = "1"});
  cat.Add(BinaryFlag{.check = Of(smooth.box), .at = {"HKCU", kKey, "Smooth"}});
  cat.Add(BinaryFlag{.check = Of(smoothLong.box), .at = {"HKCU", kKey, "SmoothLong"}});
  Order all = cat.Rows({"cbMinAnimate", "cbSmooth", "cbSmoothLong"});
  ReadRows(all, m.ctx);
  EXPECT_TRUE(minAnimate.box.Checked());
  EXPECT_TRUE(smooth.box.Checked());
  EXPECT_FALSE(smoothLong.box.Checked());  // only a 4-byte binary counts

  minAnimate.box.SetChecked(false);
  WriteRows(all, m.ctx);
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "MinAnimate"), RegValue::Text("1"));
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "Smooth"), RegValue::Binary({1, 0, 0, 0}));
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "SmoothLong"), RegValue::Binary({0, 0, 0, 0}));
}

TEST(CatalogueKeyPresence, TicksByPresenceOrAbsenceAndWritesTheKeysDefaultValue) {
  Machine m;
  const std::string hidden = "Software\\Test\\Hidden", shown = "Software\\Test\\Shown";
  m.Put(Root::HKLM, hidden + "\\Sub", "x", RegValue::Dword(1));
  ui::Edit name(nullptr, "edName");
  name.SetText("Bin");
  Box whenAbsent("cbWhenAbsent"), whenPresent("cbWhenPresent");
  Catalogue cat;
  Value nameText = [&name](const RowContext&) { return name.Text(); };
  cat.Add(KeyPresence{.check = Of(whenAbsent.box), .root = "HKLM", .key = hidden, .tickedWhenPresent = false,
                      .text = nameText});
  cat.Add(KeyPresence{.check = Of(whenPresent.box), .root = "HKLM", .key = shown, .text = nameText});
  Order all = cat.Rows({"cbWhenAbsent", "cbWhenPresent"});
  ReadRows(all, m.ctx);
  EXPECT_FALSE(whenAbsent.box.Checked());
  EXPECT_FALSE(whenPresent.box.Checked());

  // The text is taken when the row is written, not when it was made.
  name.SetText("Trash");
  whenAbsent.box.SetChecked(true);
  whenPresent.box.SetChecked(true);
  WriteRows(all, m.ctx);
  EXPECT_FALSE(m.KeyExists(Root::HKLM, hidden));  // deleted with its subkey
  EXPECT_EQ(m.Get(Root::HKLM, shown, ""), RegValue::Text("Trash"));

  whenAbsent.box.SetChecked(false);
  whenPresent.box.SetChecked(false);
  WriteRows(all, m.ctx);
  EXPECT_EQ(m.Get(Root::HKLM, hidden, ""), RegValue::Text("Trash"));
  EXPECT_FALSE(m.KeyExists(Root::HKLM, shown));
}

TEST(CatalogueFolderPresence, MakesAndRemovesAndIgnoresWhatCannotBeDone) {
  Machine m;
  m.files.AddFolder("C:\\Desk\\Full");
  m.files.AddFile("C:\\Desk\\Full\\note.txt", "x");
  std::string folder = "C:\\Desk\\Empty";
  Box empty("cbEmpty"), full("cbFull");
  Catalogue cat;
  cat.Add(FolderPresence{.check = Of(empty.box), .path = [&folder](const RowContext&) { return folder; }});
  cat.Add(FolderPresence{.check = Of(full.box), .path = "C:\\Desk\\Full"});
  Order all = cat.Rows({"cbEmpty", "cbFull"});
  ReadRows(all, m.ctx);
  EXPECT_FALSE(empty.box.Checked());
  EXPECT_TRUE(full.box.Checked());

  empty.box.SetChecked(true);
  full.box.SetChecked(false);
  WriteRows(all, m.ctx);  // the full folder cannot be removed: silently kept
  EXPECT_TRUE(m.files.FolderExists("C:\\Desk\\Empty"));
  EXPECT_TRUE(m.files.FolderExists("C:\\Desk\\Full"));
  ReadRows(all, m.ctx);
  EXPECT_TRUE(full.box.Checked());

  // A path computed at write time: the folder of now, not of the read.
  folder = "C:\\Desk\\Other";
  WriteRows(all, m.ctx);
  EXPECT_TRUE(m.files.FolderExists("C:\\Desk\\Other"));
  empty.box.SetChecked(false);
  WriteRows(all, m.ctx);
  EXPECT_FALSE(m.files.FolderExists("C:\\Desk\\Other"));
}

TEST(CatalogueNumbers, TextUpDownAndNumberWithDefaultBox) {
  Machine m;
  m.Put(Root::HKCU, kKey, "TTL", RegValue::Dword(64));
  ui::Edit title(nullptr, "edTitle");
  ui::UpDown limit(nullptr, "udLimit");
  limit.SetRange(0, 100);
  ui::UpDown ttl(nullptr, "udTTL");
  ttl.SetRange(0, 255);
  Box ttlDefault("cbDisableDefaultTTL");
  Catalogue cat;
  cat.Add(Text{.edit = Of(title), .at = {"HKCU", kKey, "Title"}, .absent = "Untitled", .standard = "Std"});
  cat.Add(UpDownDword{.position = Of(limit), .at = {"HKCU", kKey, "Limit"}, .absent = 2, .standard = 4,
                      .cls = ChangeClass::NeedLogoff});
  cat.Add(NumericWithDefault{.isDefault = Of(ttlDefault.box), .number = Of(ttl), .at = {"HKCU", kKey, "TTL"},
                             .defaultNumber = 128, .cls = ChangeClass::NeedRestart});
  Order all = cat.Rows({"edTitle", "udLimit", "udTTL"});
  ReadRows(all, m.ctx);
  EXPECT_EQ(title.Text(), "Untitled");
  EXPECT_EQ(limit.Position(), 2);
  EXPECT_EQ(ttl.Position(), 64);
  EXPECT_FALSE(ttlDefault.box.Checked());

  WriteRows(all, m.ctx);
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "Title"), RegValue::Text("Untitled"));
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "Limit"), RegValue::Dword(2));
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "TTL"), RegValue::Dword(64));
  EXPECT_FALSE(m.flags.needLogoff || m.flags.needRestart);

  StandardRows(all, m.ctx);  // controls only
  EXPECT_EQ(title.Text(), "Std");
  EXPECT_EQ(limit.Position(), 4);
  EXPECT_EQ(ttl.Position(), 128);
  EXPECT_TRUE(ttlDefault.box.Checked());
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "TTL"), RegValue::Dword(64));

  WriteRows(all, m.ctx);
  EXPECT_FALSE(m.Get(Root::HKCU, kKey, "TTL"));  // the default box deletes the value
  EXPECT_EQ(m.Get(Root::HKCU, kKey, "Limit"), RegValue::Dword(4));
  EXPECT_TRUE(m.flags.needLogoff);
  EXPECT_TRUE(m.flags.needRestart);
}

TEST(CatalogueOrders, EachSliceRunsItsOwnOrderAndTheHandlersInIt) {
  Machine m;
  std::vector<std::string> seen;
  Box a("cbA"), b("cbB");
  a.box.OnClick = [&](ui::Control&) { seen.push_back("A"); };
  b.box.OnClick = [&](ui::Control&) { seen.push_back("B"); };
  m.Put(Root::HKCU, kKey, "A", RegValue::Dword(1));
  m.Put(Root::HKCU, kKey, "B", RegValue::Dword(1));
  Catalogue cat;
  cat.Add(DwordFlag{.check = Of(a.box), .at = {"HKCU", kKey, "A"}});
  cat.Add(DwordFlag{.check = Of(b.box), .at = {"HKCU", kKey, "B"}});
  ReadRows(cat.Rows({"cbB", "cbA"}), m.ctx);
  StandardRows(cat.Rows({"cbA", "cbB"}), m.ctx);
  EXPECT_EQ(seen, (std::vector<std::string>{"B", "A", "A", "B"}));
  EXPECT_THROW(cat.Rows({"cbA", "cbMissing"}), std::logic_error);
  EXPECT_THROW(cat.Add(DwordFlag{.check = Of(a.box), .at = {"HKCU", kKey, "A"}}), std::logic_error);
}

TEST(CatalogueCustom, KeepsTheLoadedValueItsReadReturns) {
  Machine m;
  int32_t shown = 0;
  Catalogue cat;
  Row& row = cat.Add(Custom{.control = "gbMask",
                            .read = [&](RowContext&) { shown = 5; return Loaded{int32_t{-1}}; },
                            .write = [](RowContext&) {},
                            .standard = [&](RowContext&) { shown = 0; },
                            .state = [&] { return Loaded{shown}; },
                            .cls = ChangeClass::NeedLogoff,
                            .file = {{"Explorer", "Mask", FileForm::Integer, "0"}}});
  row.Read(m.ctx);
  EXPECT_EQ(row.LoadedValue(), Loaded{int32_t{-1}});
  row.Write(m.ctx);
  EXPECT_TRUE(m.flags.needLogoff);
  cat.TakeLoaded();
  EXPECT_EQ(row.LoadedValue(), Loaded{int32_t{5}});
  EXPECT_EQ(row.File()[0].key, "Mask");
}
