// The file-system port's contract, on the memory file system and on the real
// one: attributes as GetFileAttributes shows them, existence, contents.
#include <map>

#include "platform/tests/scratch_files.h"

namespace porttest {
namespace {

using namespace port;

class FilesContract : public ScratchTest {};

TEST_P(FilesContract, AttributesOfFilesAndFoldersReadBackAsSet) {
  std::string file = Put("a.txt", "x");
  std::string folder = Folder("sub");
  EXPECT_EQ(files().Attributes(file), kAttrArchive) << "a new file carries the archive bit";
  EXPECT_EQ(files().Attributes(folder), kAttrDirectory);

  // Wine differs from XP in two ways: a folder never shows the archive or
  // the read-only bit, and a file without attributes shows archive (0x20)
  // instead of "normal".
  struct Case {
    uint32_t set, file, folder, wineFile, wineFolder;
  } cases[] = {
      {0x22, 0x22, 0x32, 0x22, 0x12},  // hidden + archive
      {0x25, 0x25, 0x35, 0x25, 0x14},  // read-only + system + archive
      {0x24, 0x24, 0x34, 0x24, 0x14},
      {0x21, 0x21, 0x31, 0x21, 0x10},
      {0x20, 0x20, 0x30, 0x20, 0x10},
      {0x00, 0x80, 0x10, 0x20, 0x10},  // nothing left: a file is "normal"
      {0x80, 0x80, 0x10, 0x20, 0x10},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(files().SetAttributes(file, c.set));
    ASSERT_TRUE(files().SetAttributes(folder, c.set));
    EXPECT_EQ(files().Attributes(file), memory() ? c.file : c.wineFile) << std::hex << c.set;
    EXPECT_EQ(files().Attributes(folder), memory() ? c.folder : c.wineFolder) << std::hex << c.set;
  }
}

TEST_P(FilesContract, ExistenceTellsFilesFromFolders) {
  std::string file = Put("b.txt", "");
  std::string folder = Folder("dir");
  EXPECT_TRUE(files().FileExists(file));
  EXPECT_FALSE(files().FolderExists(file));
  EXPECT_TRUE(files().FolderExists(folder));
  EXPECT_FALSE(files().FileExists(folder));
  EXPECT_TRUE(files().FolderExists(folder + "\\"));
  EXPECT_TRUE(files().FileExists(folder + "\\..\\B.TXT")) << "names match without case";
  std::string missing = Path("missing");
  EXPECT_FALSE(files().Exists(missing));
  EXPECT_FALSE(files().SetAttributes(missing, kAttrArchive));
  EXPECT_FALSE(files().Exists(missing + "\\x"));
}

TEST_P(FilesContract, ContentsAndTheirRefusals) {
  std::string file = Put("c.txt", "first");
  EXPECT_EQ(files().ReadAll(file), "first");
  ASSERT_TRUE(files().SetAttributes(file, kAttrHidden | kAttrSystem));
  EXPECT_TRUE(files().WriteAll(file, "2nd")) << "a hidden system file can be rewritten";
  EXPECT_EQ(files().ReadAll(file), "2nd");
  EXPECT_EQ(files().Attributes(file), kAttrHidden | kAttrSystem | kAttrArchive)
      << "keeps its attributes and is marked changed";

  // Wine run as root (the test machines) lets a read-only file be changed;
  // XP refuses.
  if (memory()) {
    ASSERT_TRUE(files().SetAttributes(file, kAttrReadOnly));
    EXPECT_FALSE(files().WriteAll(file, "third"));
    EXPECT_FALSE(files().RemoveFile(file));
    EXPECT_EQ(files().ReadAll(file), "2nd");
    ASSERT_TRUE(files().SetAttributes(file, kAttrArchive));
  }

  EXPECT_FALSE(files().WriteAll(Path("nofolder") + "\\d.txt", "x")) << "the folder must exist";
  std::string folder = Folder("full");
  Put("full\\e.txt", "x");
  EXPECT_FALSE(files().RemoveFolder(folder)) << "a folder with files stays";
  EXPECT_FALSE(files().ReadAll(folder).has_value());
}

TEST_P(FilesContract, CopiesTakeBytesAndAttributesAndRefuseWhatCopyFileRefuses) {
  std::string from = Put("from.txt", "payload");
  std::string to = Path("to.txt");
  EXPECT_TRUE(files().CopyFile(from, to, true));
  EXPECT_EQ(files().ReadAll(to), "payload");
  EXPECT_EQ(files().Attributes(to), kAttrArchive);

  ASSERT_TRUE(files().WriteAll(from, "second"));
  EXPECT_FALSE(files().CopyFile(from, to, false)) << "an existing target without overwrite";
  EXPECT_EQ(files().ReadAll(to), "payload");
  EXPECT_TRUE(files().CopyFile(from, to, true));
  EXPECT_EQ(files().ReadAll(to), "second");

  ASSERT_TRUE(files().SetAttributes(from, kAttrReadOnly | kAttrArchive));
  std::string locked = Path("locked.txt");
  EXPECT_TRUE(files().CopyFile(from, locked, true));
  EXPECT_EQ(files().Attributes(locked), kAttrReadOnly | kAttrArchive) << "the copy is read-only as its source";
  // Wine run as root replaces a read-only target; XP refuses.
  if (memory()) {
    EXPECT_FALSE(files().CopyFile(to, locked, true));
  }
  ASSERT_TRUE(files().SetAttributes(locked, kAttrArchive));
  ASSERT_TRUE(files().SetAttributes(from, kAttrArchive));

  EXPECT_FALSE(files().CopyFile(from, from, true)) << "a file onto itself";
  EXPECT_EQ(files().ReadAll(from), "second");
  EXPECT_FALSE(files().CopyFile(Path("missing.txt"), Path("x.txt"), true));
  EXPECT_FALSE(files().CopyFile(from, Path("nofolder") + "\\y.txt", true)) << "the folder must exist";
  EXPECT_FALSE(files().CopyFile(Folder("adir"), Path("z.txt"), true)) << "a folder is no file";
}

TEST_P(FilesContract, ListingsShowEveryEntryWithAttributesAndSize) {
  std::string folder = Folder("list");
  Put("list\\one.txt", "12345");
  std::string hidden = Put("list\\two.bin", "");
  ASSERT_TRUE(files().SetAttributes(hidden, kAttrHidden | kAttrSystem));
  Folder("list\\sub");
  std::map<std::string, FolderEntry> seen;
  ASSERT_TRUE(files().ForEachEntry(folder, [&](const FolderEntry& e) { seen[e.name] = e; return true; }));
  ASSERT_EQ(seen.size(), 5u) << "., .., two files and a folder";
  EXPECT_TRUE(seen["."].attributes & kAttrDirectory);
  EXPECT_TRUE(seen[".."].attributes & kAttrDirectory);
  EXPECT_EQ(seen["one.txt"].size, 5u);
  EXPECT_EQ(seen["one.txt"].attributes, kAttrArchive);
  EXPECT_EQ(seen["two.bin"].attributes & (kAttrHidden | kAttrSystem), kAttrHidden | kAttrSystem);
  EXPECT_TRUE(seen["sub"].attributes & kAttrDirectory);
  EXPECT_TRUE(seen["one.txt"].exact);
  int visits = 0;
  EXPECT_TRUE(files().ForEachEntry(folder + "\\", [&](const FolderEntry&) { return ++visits < 2; }));
  EXPECT_EQ(visits, 2) << "the visitor stops the listing";
  EXPECT_FALSE(files().ForEachEntry(Path("nothere"), [](const FolderEntry&) { return true; }));

  EXPECT_EQ(files().DriveTypeOf("C:\\"), DriveType::Fixed);
  EXPECT_EQ(files().DriveTypeOf("Q:\\"), DriveType::NoRoot) << "the test machines map no Q:";
  auto volume = files().Volume("C:\\");
  ASSERT_TRUE(volume.has_value());
  EXPECT_FALSE(volume->fileSystem.empty());
  EXPECT_FALSE(files().Volume("Q:\\").has_value());
}

TEST_P(FilesContract, TheExactFormKeepsATrailingDot) {
  std::string plain = Put("dot", "plain");
  std::string dotted = "\\\\?\\" + Path("dot.");
  ASSERT_TRUE(files().WriteAll(dotted, "dotted"));
  EXPECT_EQ(files().ReadAll(Path("dot.")), "plain") << "the usual form drops the dot";
  EXPECT_EQ(files().ReadAll(dotted), "dotted");
  EXPECT_TRUE(files().RemoveFile(dotted));
  EXPECT_FALSE(files().Exists(dotted));
  EXPECT_EQ(files().ReadAll(plain), "plain");
}

TEST_P(FilesContract, AnEntryComesWithTheNameTheFileSystemHolds) {
  Put("Mixed.Case", "12345");
  Folder("Dir");
  auto file = files().EntryAt(m_->base + "\\MIXED.case");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->name, "Mixed.Case") << "the stored name, not the one asked for";
  EXPECT_EQ(file->size, 5u);
  EXPECT_EQ(file->attributes, kAttrArchive);
  EXPECT_TRUE(file->exact);
  auto folder = files().EntryAt("\\\\?\\" + m_->base + "\\dir");
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->name, "Dir");
  EXPECT_TRUE(folder->attributes & kAttrDirectory);

  std::string dotted = "\\\\?\\" + Path("dot.");
  ASSERT_TRUE(files().WriteAll(dotted, "d"));
  ASSERT_TRUE(files().EntryAt(dotted).has_value());
  EXPECT_EQ(files().EntryAt(dotted)->name, "dot.");
  EXPECT_FALSE(files().EntryAt("\\\\?\\" + m_->base + "\\dot").has_value()) << "the exact form keeps the dot";

  for (std::string nothing : {m_->base + "\\missing", m_->base + "\\Mixed.*", m_->base + "\\Mi?ed.Case",
                              m_->base + "\\*", m_->base + "\\Dir\\", std::string("C:\\"), std::string("C:")})
    EXPECT_FALSE(files().EntryAt(nothing).has_value()) << nothing;
}

INSTANTIATE_TEST_SUITE_P(Ports, FilesContract, ::testing::ValuesIn(MachineNames()),
                         [](const auto& info) { return info.param; });

TEST(MemoryFiles, ResolvesPathsAsWindowsDoes) {
  MemoryFiles fs;
  fs.AddFolder("C:\\Work\\Sub");
  fs.SetCurrentFolder("C:\\Work");
  struct Case {
    const char* in;
    const char* full;
  } cases[] = {
      {"C:\\", "C:\\"},         {"c:\\work\\sub\\", "C:\\work\\sub"},
      {"Sub", "C:\\Work\\Sub"}, {"\\Desktop.ini", "C:\\Desktop.ini"},
      {"C:/a//b/./c/..", "C:\\a\\b"}, {"D:x", "D:\\x"},
      {"\\\\server\\share", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(fs.FullPath(c.in), c.full) << c.in;
}

TEST(MemoryFiles, PlaysJunctionsCaseTwinsAndNamesListedAsAnotherText) {
  MemoryFiles fs;
  fs.AddFile("C:\\target\\t.txt", "t");
  fs.AddJunction("C:\\j", "C:\\target");
  auto junction = fs.EntryAt("\\\\?\\C:\\j");
  ASSERT_TRUE(junction.has_value());
  EXPECT_EQ(junction->attributes, kAttrDirectory | kAttrReparsePoint) << "a junction is given as itself";
  EXPECT_EQ(fs.EntryAt("C:\\j\\T.TXT")->name, "t.txt") << "the folders before the last name are followed";
  EXPECT_TRUE(fs.WriteAll("C:\\j\\new.txt", "n"));
  EXPECT_EQ(fs.ReadAll("C:\\target\\new.txt"), "n");
  EXPECT_TRUE(fs.RemoveFile("C:\\j\\t.txt"));
  EXPECT_FALSE(fs.Exists("C:\\target\\t.txt"));

  fs.AddFile("C:\\c\\V.BAK", "upper");
  fs.AddCaseTwin("C:\\c\\v.bak", "lower");
  std::vector<std::string> names;
  fs.ForEachEntry("C:\\c", [&](const FolderEntry& e) { names.push_back(e.name); return true; });
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "V.BAK", "v.bak"}));
  EXPECT_EQ(fs.ReadAll("C:\\c\\v.bak"), "lower") << "the exact name first";
  EXPECT_EQ(fs.ReadAll("C:\\c\\V.bak"), "upper") << "else either";
  EXPECT_TRUE(fs.RemoveFile("C:\\c\\V.BAK"));
  EXPECT_EQ(fs.ReadAll("C:\\c\\V.BAK"), "lower") << "the twin answers once the other is gone";
  EXPECT_EQ(fs.EntryAt("C:\\c\\V.BAK")->name, "v.bak");

  fs.AddFile("C:\\s\\a1.txt", "1");
  fs.SetListedName("C:\\s\\a1.txt", "back\\slash");
  fs.AddFile("C:\\s\\a2.txt", "2");
  fs.SetListedName("C:\\s\\a2.txt", "\xEF\xBF\xBD.txt");
  std::vector<FolderEntry> listed;
  fs.ForEachEntry("C:\\s", [&](const FolderEntry& e) { listed.push_back(e); return true; });
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(listed[2].name, "back\\slash");
  EXPECT_FALSE(listed[2].exact) << "a backslash in a name is no name of a path";
  EXPECT_EQ(listed[3].name, "\xEF\xBF\xBD.txt");
  EXPECT_TRUE(listed[3].exact);
  EXPECT_EQ(fs.ReadAll("C:\\s\\\xEF\xBF\xBD.txt"), "2") << "the listed name reaches the file";
}

TEST(MemoryFiles, DeniedTreeRefusesEveryChange) {
  MemoryFiles fs;
  fs.AddFile("C:\\Locked\\f.txt", "x");
  fs.DenyWrite("C:\\Locked");
  EXPECT_FALSE(fs.WriteAll("C:\\Locked\\f.txt", "y"));
  EXPECT_FALSE(fs.WriteAll("C:\\Locked\\new.txt", "y"));
  EXPECT_FALSE(fs.SetAttributes("C:\\Locked", 0x04));
  EXPECT_FALSE(fs.RemoveFile("C:\\Locked\\f.txt"));
  EXPECT_EQ(fs.ReadAll("C:\\locked\\F.TXT"), "x") << "reading is still allowed";
  EXPECT_TRUE(fs.WriteAll("C:\\LockedNot.txt", "y")) << "a name that only begins alike is not inside";
}

}  // namespace
}  // namespace porttest
