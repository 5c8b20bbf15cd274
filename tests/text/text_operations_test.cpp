#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/text_printing.h"
#include "text/text_operations.h"

namespace vorlakin {
namespace {

std::vector<Text> Members(const TextArray& array) {
  std::vector<Text> out;
  for (std::int64_t i = 1; i <= ArrayMemberCount(array); ++i) out.push_back(array[i]);
  return out;
}

TEST(TextCut, LeftRightMiddleClampAndGiveAbsentWhenEmpty) {
  const Text five("abcde");
  EXPECT_EQ(TextLeft(five, 9), five);
  EXPECT_EQ(TextLeft(five, 0), kAbsent);
  EXPECT_EQ(TextLeft(five, -2), kAbsent);
  EXPECT_EQ(TextLeft(five, 2), T("ab"));
  EXPECT_EQ(TextRight(five, 9), five);
  EXPECT_EQ(TextRight(five, 0), kAbsent);
  EXPECT_EQ(TextRight(five, 2), T("de"));
  EXPECT_EQ(TextMiddle(T("abcdefg"), 8, 3), kAbsent);
  EXPECT_EQ(TextMiddle(five, 0, 3), kAbsent);  // not the beginning of the text
  EXPECT_EQ(TextMiddle(five, 2, 0), kAbsent);
  EXPECT_EQ(TextMiddle(five, 2, 2), T("bc"));
  EXPECT_EQ(TextMiddle(five, 4, 100), T("de"));
  EXPECT_EQ(TextLeft(kAbsent, 3), kAbsent);
  // Bytes, not characters: a cut may split a double-byte character.
  EXPECT_EQ(TextLeft(T("\xB0\xA1\xB0\xA2"), 3), T("\xB0\xA1\xB0"));
  EXPECT_EQ(TextRight(T("\xB0\xA1\xB0\xA2"), 3), T("\xA1\xB0\xA2"));
}

struct FindCase {
  const char* text;
  const char* subtext;
  std::int64_t start;
  bool caseInsensitive;
  std::int64_t expected;
};

TEST(FindTextTable, PositionsStartsCaseAndCharacters) {
  const FindCase cases[] = {
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", 7, false, -1},
      {"abc", "", 2, false, 1},  // the empty subtext: 1, not the start
      {"", "", 0, false, -1},
      {"abc", "", 4, false, -1},
      {"ABC", "b", 0, true, 2},
      {"ABC", "b", 0, false, -1},
      {"\xB0\x41\x42", "AB", 1, false, -1},  // B0 41 is one character
      {"\xB0\x41\x42", "AB", 2, false, 2},   // stepping starts at the start
      {"\x81\x41", "\x81\x61", 0, true, 1},  // every byte of the window folds
      {"\x81\x61", "\x81\x41", 0, true, 1},
      {"\x81\x41", "\x81\x61", 0, false, -1},
      {"ab\xB0", "\xB0", 0, false, -1},  // a lone lead byte ends the scan
      {"\xB0\xB0", "\xB0", 0, false, 1},
      {"\xB0\xA1\xB0", "\xB0", 2, false, -1},  // from 2, A1 B0 is one character
      {"\xB0\xA1\xB0\xB0", "\xB0", 3, false, 3},
      {"\xB0\xA1\xB0", "\xB0", 3, false, -1},
      {"abc", "abcd", 0, false, -1},
      {"abc", "abc", 0, false, 1},
      {"xxAccept: ", "accept: ", 0, true, 3},
      {"\xD6\xD0\xCD\xA8time", "time", 0, false, 5},
      {"\xD6tim", "tim", 0, false, -1},  // D6 74 pairs, so "tim" would start inside it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(T(c.text), T(c.subtext), c.start, c.caseInsensitive), c.expected)
        << DescribeBytes(c.text) << " / " << DescribeBytes(c.subtext) << " from " << c.start;
  }
  EXPECT_EQ(FindText(kAbsent, T("a")), -1);
  EXPECT_EQ(FindText(T("a"), kAbsent), 1);
}

TEST(CaseConversion, OnlyOneByteAsciiLettersChange) {
  EXPECT_EQ(TextToUpper(T("post")), T("POST"));
  EXPECT_EQ(TextToUpper(T("\xB0\x61")), T("\xB0\x61"));
  EXPECT_EQ(TextToLower(T("HTTP://Srv.HOST")), T("http://srv.host"));
  EXPECT_EQ(TextToLower(T("A\xA3\xC1Z")), T("a\xA3\xC1z"));  // full-width Ａ stays
  EXPECT_EQ(TextToUpper(T("a\xB0")), T("A\xB0"));           // the lone byte stays
  EXPECT_EQ(TextToUpper(T("")), kAbsent);
  EXPECT_EQ(TextToUpper(T("[`{@")), T("[`{@"));
}

struct NumberCase {
  const char* text;
  double expected;
};

TEST(TextToNumberTable, DecimalPrefixWithFullWidthFormsAndExponentLetters) {
  const NumberCase cases[] = {
      {"\xA3\xB8\xA3\xB0\xA3\xB8\xA3\xB0", 8080},  // full-width 8080
      {" 80x", 80},
      {"0x50", 0},
      {"1e3", 1000},
      {"1d3", 1000},
      {"1D-2", 0.01},
      {"2E+2", 200},
      {"1e", 1},
      {"1e+", 1},
      {"", 0},
      {"abc", 0},
      {"8080.9", 8080.9},
      {"-12.5kg", -12.5},
      {"+7", 7},
      {".5", 0.5},
      {"5.", 5},
      {".", 0},
      {"-", 0},
      {"\t\r\n 42", 42},
      {"\xA1\xA1\xA3\xAD\xA3\xB3", -3},  // ideographic space, full-width minus and 3
      {"inf", 0},
      {"nan", 0},
      {"1,000", 1},
      {"4\xB0", 4},  // the lone lead byte is dropped
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(TextToNumber(T(c.text)), c.expected) << DescribeBytes(c.text);
  }
}

TEST(ReplaceTextAtTable, RemovesClampedRange) {
  EXPECT_EQ(ReplaceTextAt(T("http://host/p"), 1, 7), T("host/p"));
  EXPECT_EQ(ReplaceTextAt(T("http://"), 1, 7), kAbsent);
  EXPECT_EQ(ReplaceTextAt(T("abc"), 1, 7), kAbsent);
  EXPECT_EQ(ReplaceTextAt(T("abcdef"), -3, 2), T("cdef"));
  EXPECT_EQ(ReplaceTextAt(T("abcdef"), 10, 2), T("abcdef"));
  EXPECT_EQ(ReplaceTextAt(T("abcdef"), 3, -1), T("abcdef"));
  EXPECT_EQ(ReplaceTextAt(T("abcdef"), 3, 2, T("XY")), T("abXYef"));
}

TEST(ReplaceSubtextTable, EveryCharacterAlignedOccurrence) {
  const Text placeholder("#\xD2\xFD\xBA\xC5");
  const Text marked = ConcatTexts(T("a"), placeholder, T("b"), placeholder);
  EXPECT_EQ(ReplaceSubtext(marked, placeholder, T("\""), true), T("a\"b\""));
  EXPECT_EQ(ReplaceSubtext(T("aXbxc"), T("x"), T("-"), true), T("aXb-c"));
  EXPECT_EQ(ReplaceSubtext(T("aXbxc"), T("x"), T("-"), false), T("a-b-c"));
  EXPECT_EQ(ReplaceSubtext(T("aaaa"), T("aa"), T("a"), true), T("aa"));  // not scanned again
  EXPECT_EQ(ReplaceSubtext(T("\xB0\x41\x41"), T("A"), T("z"), true), T("\xB0\x41z"));
  EXPECT_EQ(ReplaceSubtext(T("abab"), T("ab"), kAbsent, true), kAbsent);
  EXPECT_EQ(ReplaceSubtext(T(""), T("a"), T("b"), true), kAbsent);
  EXPECT_EQ(ReplaceSubtext(T("abc"), T(""), T("b"), true), T("abc"));
  EXPECT_EQ(ReplaceSubtext(T("xaxax"), T("x"), T("-"), 2, std::nullopt, true), T("xa-a-"));
  EXPECT_EQ(ReplaceSubtext(T("xaxax"), T("x"), T("-"), 0, 2, true), T("-a-ax"));
  EXPECT_EQ(ReplaceSubtext(T("xaxax"), T("x"), T("-"), 0, 0, true), T("xaxax"));
  EXPECT_EQ(ReplaceSubtext(T("xax"), T("x"), T("-"), 9, std::nullopt, true), T("xax"));
}

struct SplitCase {
  const char* text;
  std::vector<Text> expected;
};

TEST(SplitTextTable, CutsAtTheWordTime) {
  const SplitCase cases[] = {
      {"atimebtimec", {T("a"), T("b"), T("c")}},
      {"timea", {kAbsent, T("a")}},
      {"atimetimeb", {T("a"), kAbsent, T("b")}},
      {"atime", {T("a")}},
      {"time", {kAbsent}},
      {"ab", {T("ab")}},
      {"", {}},
      {"tim", {T("tim")}},
      {"TimeTIMEtime", {T("TimeTIME")}},             // exact bytes only
      {"\xB0time\xB0", {T("\xB0time\xB0")}},         // B0 74 is one character
      {"a\xB1time", {T("a\xB1time")}},               // the t belongs to B1 74
      {"\xB1\xB1time", {T("\xB1\xB1")}},             // here B1 B1 pairs first
      {"timetimetime", {kAbsent, kAbsent, kAbsent}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Members(SplitText(T(c.text), T("time"))), c.expected) << DescribeBytes(c.text);
  }
}

TEST(SplitTextTable, DelimiterDefaultsEmptyDelimiterAndMemberLimit) {
  EXPECT_EQ(Members(SplitText(T("a,b"))), (std::vector<Text>{T("a"), T("b")}));
  EXPECT_EQ(Members(SplitText(T("a,b"), T(""))), (std::vector<Text>{T("a,b")}));
  EXPECT_EQ(Members(SplitText(T("a,b,c"), T(","), 2)), (std::vector<Text>{T("a"), T("b")}));
  EXPECT_EQ(Members(SplitText(T("a,b,c"), T(","), 5)), (std::vector<Text>{T("a"), T("b"), T("c")}));
  // The last byte is compared before the lone-byte rule could stop the scan.
  EXPECT_EQ(Members(SplitText(T("ab\xA1"), T("\xA1"))), (std::vector<Text>{T("ab")}));
  EXPECT_TRUE(Members(SplitText(T("a,b"), T(","), 0)).empty());
  EXPECT_TRUE(Members(SplitText(T("a,b"), T(","), -1)).empty());
}

TEST(BlankValues, SpacesZerosAndLeftBytes) {
  EXPECT_EQ(BlankText(3), T("   "));
  EXPECT_EQ(BlankText(0), kAbsent);
  EXPECT_EQ(TextLength(BlankText(1024)), 1024);
  EXPECT_EQ(BlankBytes(0), ByteBuffer());
  EXPECT_EQ(BlankBytes(512).View(), std::string(512, '\0'));
  const ByteBuffer three = ByteBuffer::Present("abc");
  EXPECT_EQ(BytesLeft(three, 512), three);
  EXPECT_EQ(BytesLeft(three, 2).View(), "ab");
  EXPECT_EQ(BytesLeft(three, 0), ByteBuffer());
  EXPECT_EQ(BytesLeft(three, -1), ByteBuffer());
}

TEST(CompareTextTable, CodePageCharactersWithCaseMapping) {
  EXPECT_EQ(CompareText(T("HTTP://"), T("http://"), false), 0);
  EXPECT_EQ(CompareText(T("HTTP://"), T("http://"), true), -1);
  EXPECT_EQ(CompareText(T("https:/"), T("http://"), false), 1);
  EXPECT_EQ(CompareText(T("http"), T("http://"), false), -1);
  EXPECT_EQ(CompareText(kAbsent, T(""), false), 0);
  // Full-width ａ (A3 E1) and Ａ (A3 C1), Greek α/Α, Cyrillic а/А, ⅰ/Ⅰ.
  EXPECT_EQ(CompareText(T("\xA3\xE1"), T("\xA3\xC1"), false), 0);
  EXPECT_EQ(CompareText(T("\xA6\xC1"), T("\xA6\xA1"), false), 0);
  EXPECT_EQ(CompareText(T("\xA7\xD1"), T("\xA7\xA1"), false), 0);
  EXPECT_EQ(CompareText(T("\xA2\xA1"), T("\xA2\xF1"), false), 0);
  EXPECT_EQ(CompareText(T("\xA3\xE1"), T("\xA3\xC1"), true), 1);
  // A pair's second byte is no letter of its own, and a lead byte before the
  // end is the end.
  EXPECT_EQ(CompareText(T("\xB0\x61"), T("\xB0\x41"), false), 1);
  EXPECT_EQ(CompareText(T("ab\x81"), T("ab"), false), 0);
  // Characters compare as lead * 256 + trail against single bytes.
  EXPECT_EQ(CompareText(T("\xB0\xA1"), T("\xFF"), false), 1);
}

TEST(ToTextTable, BuffersNumbersAndTexts) {
  EXPECT_EQ(ToText(ByteBuffer::Present(std::string_view("AB\0C", 4))), T("AB"));
  EXPECT_EQ(ToText(ByteBuffer::Present(std::string_view("\0A", 2))), kAbsent);
  EXPECT_EQ(ToText(ByteBuffer()), kAbsent);
  EXPECT_EQ(ToText(std::int64_t{-42}), T("-42"));
  EXPECT_EQ(ToText(std::int64_t{0}), T("0"));
  EXPECT_EQ(ToText(std::int64_t{7}), T("7"));
  EXPECT_EQ(ToText(T("")), kAbsent);
  EXPECT_EQ(ToText(T("x")), T("x"));
}

}  // namespace
}  // namespace vorlakin
