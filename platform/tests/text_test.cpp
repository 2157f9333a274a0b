#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/text.h"

using namespace port;

TEST(Text, Utf8AndUtf16RoundTrip) {
  const std::string samples[] = {"", "ascii", "\xC3\xBC", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                 "\xEF\xBD\xB1", "\xF0\x9F\x98\x80"};
  for (const std::string& s : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string(u"\xD83D\xDE00"));
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\xFFFD" "b");
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\xFFFD\xFFFD") << "cut short";
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xFFFD\xFFFD") << "overlong";
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx") << "lone surrogate";
}

TEST(Text, Utf16AsTheBytesOfAFileInBothOrders) {
  EXPECT_EQ(Utf16Bytes(u"A\u65E5", true), std::string("A\0\xE5\x65", 4));
  EXPECT_EQ(Utf16Bytes(u"A\u65E5", false), std::string("\0A\x65\xE5", 4));
  EXPECT_EQ(Utf16FromBytes(std::string("A\0\xE5\x65", 4), true), u"A\u65E5");
  EXPECT_EQ(Utf16FromBytes(std::string("\0A\x65\xE5", 4), false), u"A\u65E5");
  EXPECT_EQ(Utf16FromBytes(std::string("A\0B", 3), true), u"A") << "an odd last byte";
}

TEST(Text, CompareWithoutCaseAsTheRegistry) {
  EXPECT_TRUE(EqualNoCase("Software\\Classes", "SOFTWARE\\classes"));
  EXPECT_TRUE(EqualNoCase("\xC3\xA9", "\xC3\x89"));                  // é É
  EXPECT_TRUE(EqualNoCase("\xEF\xBD\x81", "\xEF\xBC\xA1"));          // full-width a A
  EXPECT_TRUE(EqualNoCase("\xD0\xB6", "\xD0\x96"));                  // Cyrillic zhe
  EXPECT_FALSE(EqualNoCase("abc", "abcd"));
  EXPECT_FALSE(EqualNoCase("\xE3\x81\x82", "\xE3\x82\xA2"));          // hiragana a is not katakana a
  EXPECT_EQ(UpperNoCase("ab\xC3\xA9z1"), "AB\xC3\x89Z1");
}

TEST(RegValue, TextIsUtf16WithItsNul) {
  EXPECT_EQ(RegValue::Text("A\xC3\xA9").data, (std::vector<uint8_t>{'A', 0, 0xE9, 0, 0, 0}));
  EXPECT_EQ(RegValue::Text("", kRegExpandSz).type, kRegExpandSz);
  EXPECT_EQ(RegValue::Text("").data.size(), 2u);
  EXPECT_EQ(RegValue::Dword(0x01020304).data, (std::vector<uint8_t>{4, 3, 2, 1}));
  RegValue multi{kRegMultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}};
  EXPECT_EQ(multi.TextOf(), "a") << "up to the first NUL";
  EXPECT_EQ((RegValue{kRegSz, {'x', 0, 'y'}}).TextOf(), "x") << "an odd last byte is dropped";
}
