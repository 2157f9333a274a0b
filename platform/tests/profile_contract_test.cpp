// The profile port's contract, on the memory profile and on the real profile
// functions. What is read back is compared on both; the exact bytes of an
// edited file only on the memory one (Wine writes the whole file anew, XP
// and the memory profile change one line). A text loaded, edited in memory
// and stored once reads back as the same edits made call by call, in the
// code page those calls write.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "platform/profile_text.h"
#include "platform/tests/scratch_files.h"
#include "platform/text.h"

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

// The edits of a writer of many keys: value nullptr deletes the key.
struct Edit {
  const char* section;
  const char* key;
  const char* value;
};

// A file another program wrote: a comment, blanks around names and values,
// quotes, a blank line, lone line feeds, a section of the same name twice, a
// last line without line end, keys and sections the edits do not touch.
const char* const kOtherFile =
    "; written by hand\r\n[Control]\r\n  Title = old  \r\nOther=kept\r\n\r\n[Users]\n0=a\n5=stale\nnote=kept\n"
    "[Mine]\r\nk=\"quoted\"\r\n[control]\r\ndup=second\r\n[Last]\r\nend=1";

const Edit kEdits[] = {
    {"Control", "Title", "Tolvane Configuration File"},
    {"control", "FileName", "C:\\x.ini"},
    {"Users", "5", nullptr},
    {"Users", "absent", nullptr},
    {"Users", "1", "b"},
    {"Users", "0", "\" a \""},
    {"新しい", "名前", "日本語の値"},
    {"Last", "more", "2"},
    {"Mine", "k", "x"},
    {"新しい", "second", ""},
};

// Every key of the sections, as the profile functions read the file.
std::map<std::string, std::string> Contents(Profile& p, const std::string& path) {
  std::map<std::string, std::string> all;
  for (const char* section : {"Control", "control", "Users", "Mine", "新しい", "Last", "Absent"}) {
    std::string keys;
    for (const std::string& key : p.KeyNames(path, section)) {
      keys += key + ";";
      all[std::string(section) + "/" + key] = p.Read(path, section, key, "<absent>");
    }
    all[std::string(section) + " keys"] = keys;
  }
  return all;
}

TEST_P(ProfileContract, ATextEditedInMemoryAndStoredOnceReadsBackAsTheSameCallsOneByOne) {
  for (const char* before : {kOtherFile, static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(before ? "a file another program wrote" : "no file");
    const std::string tag = before ? "o" : "n";
    std::string calls = before ? Put(tag + "calls.ini", before) : Path(tag + "calls.ini");
    std::string once = before ? Put(tag + "once.ini", before) : Path(tag + "once.ini");
    std::string text;
    ASSERT_TRUE(profile().Load(once, text));
    ProfileText edited(text);
    for (const Edit& e : kEdits) {
      if (e.value) {
        ASSERT_TRUE(profile().Write(calls, e.section, e.key, e.value)) << e.key;
        edited.Write(e.section, e.key, e.value);
      } else {
        ASSERT_TRUE(profile().Delete(calls, e.section, e.key)) << e.key;
        edited.Delete(e.section, e.key);
      }
      EXPECT_EQ(edited.KeyNames(e.section), profile().KeyNames(calls, e.section)) << "after " << e.key;
    }
    ASSERT_TRUE(profile().Store(once, edited.Text()));
    EXPECT_EQ(Contents(profile(), once), Contents(profile(), calls));
    EXPECT_EQ(profile().Read(once, "Control", "Other", ""), before ? "kept" : "");
    if (memory()) {
      EXPECT_EQ(files().ReadAll(once), files().ReadAll(calls)) << "the same bytes";
    }
  }
}

TEST_P(ProfileContract, LoadingAndStoringRefuseWhatTheProfileFunctionsRefuse) {
  std::string text = "x";
  EXPECT_TRUE(profile().Load(Path("none.ini"), text));
  EXPECT_EQ(text, "") << "a missing file is empty";
  EXPECT_FALSE(profile().Store(Path("nofolder") + "\\x.ini", "[S]\r\nk=v\r\n")) << "missing folder";
  std::string hidden = Put("hidden.ini", "[S]\r\nk=1\r\n");
  ASSERT_TRUE(files().SetAttributes(hidden, kAttrHidden | kAttrArchive));
  ASSERT_TRUE(profile().Store(hidden, "[S]\r\nk=2\r\n"));
  EXPECT_EQ(profile().Read(hidden, "S", "k", ""), "2");
  EXPECT_EQ(files().Attributes(hidden), kAttrHidden | kAttrArchive) << "an existing file keeps its attributes";
  std::string longer = Put("shorter.ini", "[S]\r\nk=a long value that the new text does not have\r\n");
  ASSERT_TRUE(profile().Store(longer, "[S]\r\nk=1\r\n"));
  EXPECT_EQ(profile().KeyNames(longer, "S"), (std::vector<std::string>{"k"})) << "nothing of the old text is left";
}

// UTF-16LE bytes with the byte-order mark: a Unicode profile file.
std::string UnicodeFile(const std::string& text) { return "\xFF\xFE" + Utf16Bytes(Utf8ToUtf16(text), true); }

TEST_P(ProfileContract, AUnicodeFileReadsTheSameOnEveryCodePageAndStaysUnicode) {
  std::string path = Put("u.ini", UnicodeFile("; 一覧\r\n[Tolvane]\r\nJA=トルヴァネ\r\nFile1=tolvane.exe\r\n[B]\r\nx=1\r\n"));
  EXPECT_EQ(profile().Read(path, "tolvane", "JA", ""), "トルヴァネ");
  EXPECT_EQ(profile().Read(path, "Tolvane", "File1", ""), "tolvane.exe");
  EXPECT_EQ(profile().KeyNames(path, "Tolvane"), (std::vector<std::string>{"JA", "File1"}));
  ASSERT_TRUE(profile().Write(path, "B", "名前", "値"));
  ASSERT_TRUE(profile().Delete(path, "B", "x"));
  EXPECT_EQ(profile().Read(path, "B", "名前", ""), "値");
  EXPECT_EQ(profile().Read(path, "Tolvane", "JA", ""), "トルヴァネ");
  EXPECT_EQ(files().ReadAll(path).value_or("").substr(0, 2), "\xFF\xFE") << "written back as Unicode";
  if (memory()) {
    EXPECT_EQ(files().ReadAll(path),
              UnicodeFile("; 一覧\r\n[Tolvane]\r\nJA=トルヴァネ\r\nFile1=tolvane.exe\r\n[B]\r\n名前=値\r\n"));
  }
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

#ifdef _WIN32
// The real port converts as the profile functions do: a new file and a file
// without a byte-order mark in the ANSI code page (932 on a Japanese
// system, 1252 on an English one), a UTF-16 file stays UTF-16.
TEST(Win32Profile, StoredTextIsInTheCodePageTheProfileFunctionsWrite) {
  struct Case {
    UINT codePage;
    const char* text;   // UTF-8
    const char* bytes;  // in the code page
  };
  const Case cases[] = {
      {932, "[フォルダ]\r\n名前=日本語\r\n", "[\x83t\x83H\x83\x8b\x83_]\r\n\x96\xbc\x91O=\x93\xfa\x96{\x8c\xea\r\n"},
      {1252, "[Caf\xc3\xa9]\r\nna\xc3\xafve=\xc3\xa0 \xe2\x82\xac\r\n", "[Caf\xe9]\r\nna\xefve=\xe0 \x80\r\n"},
  };
  std::unique_ptr<porttest::Machine> m = porttest::MakeWin32();
  bool ran = false;
  for (const Case& c : cases) {
    if (GetACP() != c.codePage) continue;
    ran = true;
    SCOPED_TRACE("code page " + std::to_string(c.codePage));
    std::string stored = m->base + "\\stored.ini", written = m->base + "\\written.ini";
    ASSERT_TRUE(m->profile->Store(stored, c.text));
    ProfileText t(c.text);
    std::string section = std::string(c.text).substr(1, std::string(c.text).find(']') - 1);
    std::string key = t.KeyNames(section).at(0);
    ASSERT_TRUE(m->profile->Write(written, section, key, t.Read(section, key, "")));
    EXPECT_EQ(m->files->ReadAll(stored), c.bytes);
    EXPECT_EQ(m->files->ReadAll(stored), m->files->ReadAll(written)) << "as the profile functions write it";
    std::string loaded;
    ASSERT_TRUE(m->profile->Load(stored, loaded));
    EXPECT_EQ(loaded, c.text);
    m->files->RemoveFile(stored);
    m->files->RemoveFile(written);
  }
  EXPECT_TRUE(ran) << "no case for code page " << GetACP();

  std::string wide = m->base + "\\wide.ini";
  ASSERT_TRUE(m->files->WriteAll(wide, std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0" "1\0\r\0\n\0", 22)));
  ASSERT_TRUE(m->profile->Store(wide, "[S]\r\nk=\xe5\x90\x8d\r\n"));
  EXPECT_EQ(m->files->ReadAll(wide), std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x0d\x54\r\0\n\0", 22));
  EXPECT_EQ(m->profile->Read(wide, "S", "k", ""), "\xe5\x90\x8d") << "U+540D, whatever the code page";
  m->files->RemoveFile(wide);
  m->files->RemoveFolder(m->base);
}
#endif

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
