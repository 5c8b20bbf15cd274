#include <gtest/gtest.h>

#include "text/code_page.h"

namespace vorlakin {
namespace {

TEST(CodePage, GbkAndUtf8RoundTrip) {
  EXPECT_EQ(GbkToUtf8("\xD4\xB2\xCD\xA8\xBF\xEC\xB5\xDD"), "圆通快递");
  EXPECT_EQ(Utf8ToGbk("圆通快递 UPS"), "\xD4\xB2\xCD\xA8\xBF\xEC\xB5\xDD UPS");
}

TEST(CodePage, InvalidBytesBecomeReplacementCharactersAndNothingIsLost) {
  // 0xFF is no GBK byte; a lead byte at the very end has no partner.
  EXPECT_EQ(GbkToUtf8("a\xFF" "b\xB0"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji has no GBK form
  EXPECT_EQ(Utf8ToGbk("a\xC3"), "a?");                  // a truncated sequence
}

}  // namespace
}  // namespace vorlakin
