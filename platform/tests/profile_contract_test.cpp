// The profile port's contract, on the memory profile and on the real profile
// functions. What is read back is compared on both; the exact bytes of an
// edited file only on the memory one (Wine writes the whole file anew, XP
// and the memory profile change one line).
#include <gtest/gtest.h>

#include <array>

#include "platform/tests/scratch_files.h"

namespace porttest {
namespace {

using namespace port;

class ProfileContract : public ScratchTest {};

struct ReadCase {
  const char* what;
  const char* file;
  const char* section;
  const char* key;
  const char* def;
  size_t max;
  const char* expected;
};

const ReadCase kReads[] = {
    {"names match without case", "[Sec]\r\nKey=v\r\n", "sEC", "kEY", "d", 2047, "v"},
    {"blanks around key and value dropped", "[S]\r\n  key \t=  a b  \r\n", "S", "key", "d", 2047, "a b"},
    {"absent key gives the default", "[S]\r\nother=1\r\n", "S", "key", "dflt", 2047, "dflt"},
    {"key= gives the empty text", "[S]\r\nkey=\r\n", "S", "key", "dflt", 2047, ""},
    {"absent section gives the default", "[T]\r\nkey=1\r\n", "S", "key", "d", 2047, "d"},
    {"key of another section not taken", "[S]\r\n[T]\r\nkey=1\r\n", "S", "key", "d", 2047, "d"},
    {"double quotes removed", "[S]\r\nkey=\"a b\"\r\n", "S", "key", "", 2047, "a b"},
    {"single quotes removed", "[S]\r\nkey='a'\r\n", "S", "key", "", 2047, "a"},
    {"one pair only", "[S]\r\nkey=\"\"a\"\"\r\n", "S", "key", "", 2047, "\"a\""},
    {"unmatched quotes kept", "[S]\r\nkey=\"a'\r\n", "S", "key", "", 2047, "\"a'"},
    {"empty quotes", "[S]\r\nkey=\"\"\r\n", "S", "key", "d", 2047, ""},
    {"first key wins", "[S]\r\nkey=1\r\nKEY=2\r\n", "S", "key", "", 2047, "1"},
    {"first section wins", "[S]\r\nkey=1\r\n[s]\r\nkey=2\r\n", "S", "key", "", 2047, "1"},
    {"comment line skipped", "[S]\r\n;key=1\r\nkey=2\r\n", "S", "key", "", 2047, "2"},
    {"value cut at the length", "[S]\r\nkey=abcdef\r\n", "S", "key", "", 3, "abc"},
    {"quotes go before the cut", "[S]\r\nkey=\"abcdef\"\r\n", "S", "key", "", 4, "abcd"},
    {"default loses trailing blanks", "[S]\r\n", "S", "key", "d  ", 2047, "d"},
    {"line feeds alone end lines", "[S]\nkey=1\nnext=2\n", "S", "next", "", 2047, "2"},
    {"carriage returns alone end lines", "[S]\rkey=1\rnext=2\r", "S", "next", "", 2047, "2"},
    {"a lone carriage return inside a section", "[S]\r\nkey=1\rnext=2\r\n", "S", "next", "", 2047, "2"},
    {"blanks inside the brackets dropped", "[ S \t]\r\nkey=1\r\n", "S", "key", "", 2047, "1"},
    {"last line without line end", "[S]\r\nkey=last", "S", "key", "", 2047, "last"},
    {"equals sign inside the value", "[S]\r\nkey=a=b\r\n", "S", "key", "", 2047, "a=b"},
};

TEST_P(ProfileContract, ReadsAsTheProfileFunctions) {
  for (size_t i = 0; i < std::size(kReads); ++i) {
    const ReadCase& c = kReads[i];
    std::string path = Put("r" + std::to_string(i) + ".ini", c.file);
    EXPECT_EQ(profile().Read(path, c.section, c.key, c.def, c.max), c.expected) << c.what;
  }
}

TEST_P(ProfileContract, MissingFileReadsAsEmpty) {
  EXPECT_EQ(profile().Read(Path("none.ini"), "S", "key", "d"), "d");
  EXPECT_EQ(profile().Read(Path("nofolder") + "\\x.ini", "S", "key", ""), "");
}

struct WriteCase {
  const char* what;
  const char* before;  // nullptr: no file
  const char* section;
  const char* key;
  const char* value;
  const char* after;  // the memory profile's bytes
  // What the file reads back: section, key, value.
  std::vector<std::array<const char*, 3>> reads;
};

const WriteCase kWrites[] = {
    {"missing file created", nullptr, "S", "key", "v", "[S]\r\nkey=v\r\n", {{"S", "key", "v"}}},
    {"key updated in place",
     "[S]\r\na=1\r\nKey = old\r\nb=2\r\n",
     "s",
     "KEY",
     "new",
     "[S]\r\na=1\r\nKey=new\r\nb=2\r\n",
     {{"S", "a", "1"}, {"S", "key", "new"}, {"S", "b", "2"}}},
    {"key appended at the end of its section",
     "; head\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
     "A",
     "z",
     "3",
     "; head\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n",
     {{"A", "x", "1"}, {"A", "z", "3"}, {"B", "y", "2"}, {"B", "z", ""}}},
    {"section appended at the end of the file",
     "[A]\r\nx=1",
     "B",
     "y",
     "2",
     "[A]\r\nx=1\r\n[B]\r\ny=2\r\n",
     {{"A", "x", "1"}, {"B", "y", "2"}}},
    {"a section with blanks inside its brackets and lone carriage returns",
     "[ S ]\rk=1\rm=2\r",
     "S",
     "k",
     "3",
     "[ S ]\rk=3\rm=2\r",
     {{"S", "k", "3"}, {"S", "m", "2"}}},
    {"only the first of two sections changes",
     "[S]\r\nk=1\r\n[S]\r\nk=2\r\n",
     "S",
     "k",
     "3",
     "[S]\r\nk=3\r\n[S]\r\nk=2\r\n",
     {{"S", "k", "3"}}},
    {"text outside the code page's ASCII", nullptr, "フォルダ", "名前", "日本語の値", "[フォルダ]\r\n名前=日本語の値\r\n",
     {{"フォルダ", "名前", "日本語の値"}}},
};

TEST_P(ProfileContract, WritesChangeOneKey) {
  for (size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    std::string path = c.before ? Put("w" + std::to_string(i) + ".ini", c.before) : Path("w" + std::to_string(i) + ".ini");
    ASSERT_TRUE(profile().Write(path, c.section, c.key, c.value)) << c.what;
    for (const auto& r : c.reads) EXPECT_EQ(profile().Read(path, r[0], r[1], ""), r[2]) << c.what << ": " << r[1];
    if (memory()) {
      EXPECT_EQ(files().ReadAll(path), c.after) << c.what;
    }
  }
}

TEST_P(ProfileContract, AHiddenFileIsWrittenAndKeepsItsAttributes) {
  std::string path = Put("Desktop.ini", "[.ShellClassInfo]\r\nIconIndex=1\r\n");
  ASSERT_TRUE(files().SetAttributes(path, kAttrHidden | kAttrArchive));
  ASSERT_TRUE(profile().Write(path, ".ShellClassInfo", "IconIndex", "2"));
  ASSERT_TRUE(profile().Write(path, ".ShellClassInfo", "IconFile", "C:\\x.ico"));
  EXPECT_EQ(profile().Read(path, ".ShellClassInfo", "IconIndex", ""), "2");
  EXPECT_EQ(profile().Read(path, ".ShellClassInfo", "IconFile", ""), "C:\\x.ico");
  EXPECT_EQ(files().Attributes(path), kAttrHidden | kAttrArchive);
}


TEST_P(ProfileContract, AWriteThatCannotBeMadeFails) {
  EXPECT_FALSE(profile().Write(Path("nofolder") + "\\x.ini", "S", "k", "v")) << "missing folder";
  if (!memory()) return;  // Wine run as root writes a read-only file; XP refuses
  std::string path = Put("ro.ini", "[S]\r\nk=1\r\n");
  ASSERT_TRUE(files().SetAttributes(path, kAttrReadOnly));
  EXPECT_FALSE(profile().Write(path, "S", "k", "2")) << "read-only file";
  EXPECT_EQ(profile().Read(path, "S", "k", ""), "1");
}

TEST_P(ProfileContract, DeletesOneKeyAndListsTheKeysOfASection) {
  std::string path = Put("d.ini", "[A]\r\nx=1\r\nFileName3=c\r\ny=2\r\n[B]\r\nx=9\r\n");
  EXPECT_EQ(profile().KeyNames(path, "a"), (std::vector<std::string>{"x", "FileName3", "y"}));
  ASSERT_TRUE(profile().Delete(path, "A", "filename3"));
  ASSERT_TRUE(profile().Delete(path, "A", "absent"));
  EXPECT_EQ(profile().KeyNames(path, "A"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(profile().Read(path, "A", "FileName3", "gone"), "gone");
  EXPECT_EQ(profile().Read(path, "B", "x", ""), "9");
  if (memory()) {
    EXPECT_EQ(files().ReadAll(path), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=9\r\n");
  }
  EXPECT_TRUE(profile().KeyNames(Path("none.ini"), "A").empty());
  EXPECT_TRUE(profile().KeyNames(path, "C").empty());
}

INSTANTIATE_TEST_SUITE_P(Ports, ProfileContract, ::testing::ValuesIn(MachineNames()),
                         [](const auto& info) { return info.param; });

TEST(MemoryProfile, ANameWithoutFolderIsInTheWindowsFolder) {
  MemoryFiles fs;
  fs.AddFolder("C:\\WINDOWS");
  MemoryProfile p(fs);
  ASSERT_TRUE(p.Write("suite.ini", "S", "k", "v"));
  EXPECT_EQ(fs.ReadAll("C:\\WINDOWS\\suite.ini"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(p.Read("SUITE.INI", "S", "k", ""), "v");
}

TEST(MemoryProfile, ADeniedFileRefusesTheWrite) {
  MemoryFiles fs;
  fs.AddFile("C:\\f\\Desktop.ini", "[S]\r\nk=1\r\n");
  fs.DenyWrite("C:\\f");
  MemoryProfile p(fs);
  EXPECT_FALSE(p.Write("C:\\f\\Desktop.ini", "S", "k", "2"));
  EXPECT_FALSE(p.Write("C:\\f\\new.ini", "S", "k", "2"));
  EXPECT_EQ(fs.ReadAll("C:\\f\\Desktop.ini"), "[S]\r\nk=1\r\n");
}

}  // namespace
}  // namespace porttest
