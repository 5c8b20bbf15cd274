#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <limits>

#include "support/text_printing.h"
#include "text/text_operations.h"
#include "text/text_value.h"
#include "text/value_memory.h"

namespace vorlakin {
namespace {

TEST(TextValue, EmptyFormsAreDistinctButTreatedAlike) {
  const Text absent;
  const Text presentEmpty("");
  EXPECT_TRUE(absent.IsAbsent());
  EXPECT_FALSE(presentEmpty.IsAbsent());
  EXPECT_EQ(absent.CString(), nullptr);
  ASSERT_NE(presentEmpty.CString(), nullptr);
  EXPECT_STREQ(presentEmpty.CString(), "");
  EXPECT_EQ(TextLength(absent), 0);
  EXPECT_EQ(CompareTextBytes(absent, presentEmpty), 0);
  EXPECT_NE(absent, presentEmpty);
}

TEST(TextValue, TextNeverHoldsANul) {
  const Text text = Text::Present(std::string_view("AB\0C", 4));
  EXPECT_EQ(text, T("AB"));
}

struct CompareCase {
  Text a;
  Text b;
  int expected;
};

TEST(TextValue, CompareTextBytesOrdersUnsignedBytesAndPrefixesFirst) {
  const CompareCase cases[] = {
      {kAbsent, T(""), 0},     {T("a"), kAbsent, 1},   {kAbsent, T("a"), -1},
      {T("ab"), T("abc"), -1}, {T("abc"), T("ab"), 1}, {T("\xB0"), T("A"), 1},
      {T("A"), T("\xB0"), -1}, {T("post"), T("POST"), 1}, {T("\xB0\xA1"), T("\xB0\xA1"), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareTextBytes(c.a, c.b), c.expected) << testing::PrintToString(c.a) << " vs "
                                                      << testing::PrintToString(c.b);
  }
}

TEST(TextValue, ConcatTextsIsAlwaysPresent) {
  EXPECT_EQ(ConcatTexts(kAbsent, kAbsent), T(""));
  EXPECT_EQ(ConcatTexts(T("ab"), kAbsent, T("c"), "d", T("\xB0\xA1")), T("abcd\xB0\xA1"));
}

TEST(TextValue, ConcatByteBuffersKeepsNulsAndGivesAbsentWhenEmpty) {
  const ByteBuffer a = ByteBuffer::Present(std::string_view("a\0", 2));
  const ByteBuffer b = ByteBuffer::Present(std::string_view("\0b", 2));
  EXPECT_EQ(ConcatByteBuffers(a, b).View(), std::string_view("a\0\0b", 4));
  EXPECT_EQ(ConcatByteBuffers(ByteBuffer(), ByteBuffer::Present("")), ByteBuffer());
  EXPECT_EQ(ConcatByteBuffers(ByteBuffer(), a), a);
}

TEST(TextValue, ConcatByteBuffersGrowingInPlaceGivesTheSameValue) {
  ByteBuffer grown;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const std::string chunk(static_cast<std::size_t>(i % 7), static_cast<char>('a' + i % 26));
    expected += chunk;
    grown = ConcatByteBuffers(std::move(grown), ByteBuffer::Present(chunk));
  }
  EXPECT_EQ(grown.View(), expected);
  const ByteBuffer keep = ByteBuffer::Present("xy");
  const ByteBuffer copy = ConcatByteBuffers(keep, ByteBuffer::Present("z"));
  EXPECT_EQ(keep.View(), "xy");  // the copying form leaves its input alone
  EXPECT_EQ(copy.View(), "xyz");
}

TEST(TextValue, TruncateToIntegerDropsTheFractionTowardZero) {
  EXPECT_EQ(TruncateToInteger(2.9), 2);
  EXPECT_EQ(TruncateToInteger(-2.9), -2);
  EXPECT_EQ(TruncateToInteger(-0.5), 0);
  EXPECT_EQ(TruncateToInteger(7.99), 7);
  EXPECT_EQ(TruncateToInteger(8080.0), 8080);
  EXPECT_EQ(TruncateToInteger(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
  // Out of range: a defined value, never undefined behaviour.
  EXPECT_EQ(TruncateToInteger(1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(TruncateToInteger(std::nan("")), std::numeric_limits<std::int64_t>::min());
}

TEST(TextArrayValue, MembersAreAddressedFromOne) {
  TextArray array;
  EXPECT_EQ(ArrayMemberCount(array), 0);
  array.Append(T("a"));
  array.Append(kAbsent);
  EXPECT_EQ(ArrayMemberCount(array), 2);
  EXPECT_EQ(array[1], T("a"));
  EXPECT_EQ(array[2], kAbsent);
  array[2] = T("b");
  EXPECT_EQ(array[2], T("b"));
}

using TextArrayDeathTest = testing::Test;

TEST_F(TextArrayDeathTest, IndexBelowOneIsFatalWithCode4) {
  TextArray array;
  array.Append(T("a"));
  EXPECT_EXIT((void)array[0], testing::ExitedWithCode(255), "error 4:");
  EXPECT_EXIT((void)array[-3], testing::ExitedWithCode(255), "error 4:");
}

TEST_F(TextArrayDeathTest, IndexAboveTheCountIsFatalWithCode1) {
  TextArray array;
  EXPECT_EXIT((void)array[1], testing::ExitedWithCode(255), "error 1:");
  array.Append(T("a"));
  array.Append(T("b"));
  EXPECT_EXIT((void)array[3], testing::ExitedWithCode(255), "error 1:");
  EXPECT_EXIT(array[3] = T("c"), testing::ExitedWithCode(255), "error 1:");
}

using ValueMemoryDeathTest = testing::Test;

TEST_F(ValueMemoryDeathTest, AnImpossibleSizeIsFatalWithCode0AndTheByteCount) {
  const std::size_t impossible = std::numeric_limits<std::size_t>::max() / 2;
  EXPECT_EXIT(AllocateValueMemory(impossible), testing::ExitedWithCode(255),
              "error: .* " + std::to_string(impossible) + " ");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(ValueMemoryDeathTest, AnOperationThatRunsOutOfMemoryIsFatalWithCode0) {
  // Within a 1 GiB address-space limit, a blank text of 2 GiB cannot exist.
  const auto run = [] {
    const rlimit limit{1ull << 30, 1ull << 30};
    setrlimit(RLIMIT_AS, &limit);
    (void)BlankText(std::int64_t{2} << 30);
  };
  EXPECT_EXIT(run(), testing::ExitedWithCode(255), "error: .* 2147483649 ");
}
#endif

}  // namespace
}  // namespace vorlakin
