#include <gtest/gtest.h>

#include <vector>

#include "query/tracking_response_parser.h"
#include "support/text_printing.h"

namespace vorlakin {

void PrintTo(const TrackingRow& row, std::ostream* os) {
  *os << "{";
  PrintTo(row.time, os);
  *os << ", ";
  PrintTo(row.context, os);
  *os << "}";
}

namespace {

struct ParseCase {
  const char* name;
  const char* reply;
  std::vector<TrackingRow> rows;
};

// Both empty forms stand for "no text" in a row; the parser gives the
// present-empty text where a marker is missing and the absent text where
// the markers enclose nothing.
const Text kMissing("");

TEST(ParseTrackingResponseTable, ShapesOfReplies) {
  const ParseCase cases[] = {
      {"empty reply", "", {}},
      {"no split word", "{\"message\":\"bad key\",\"status\":\"0\"}", {}},
      {"a well-formed reply",
       "{\"data\":[{\"time\":\"2026-12-01 08:00\",\"context\":\"arrived\"},"
       "{\"time\":\"2026-12-01 10:00\",\"context\":\"left\"}],\"state\":\"0\"}",
       {{T("2026-12-01 08:00"), T("arrived")}, {T("2026-12-01 10:00"), T("left")}}},
      {"split word at the start", "time\":\"a\",\"context\":\"b\"}", {{T("a"), T("b")}}},
      {"split word at start and end, k - 1 rows", "timeXtime", {{kMissing, kMissing}}},
      {"ends with the split word", "atime\":\"1\",\"context\":\"c\"}time", {{T("1"), T("c")}}},
      {"k occurrences, no end: k rows", "xtime\":\"1\",\"x\"time\":\"2\",\"x\"",
       {{T("1"), kMissing}, {T("2"), kMissing}}},
      {"the word inside a value", "{\"time\":\"9\",\"context\":\"in time\"}",
       {{T("9"), kMissing}, {kMissing, kMissing}}},
      {"updatetime before time gives a row of its own",
       "{\"updatetime\":\"u\",\"time\":\"9\",\"context\":\"c\"}",
       {{T("u"), kMissing}, {T("9"), T("c")}}},
      {"capital split word does not split", "{\"Time\":\"1\",\"context\":\"c\"}", {}},
      {"capital context opener still opens", "xtime\":\"1\",\"CONTEXT\":\"c\"}", {{T("1"), T("c")}}},
      {"white space after colons and commas", "xtime\": \"1\", \"context\": \"c\"}", {{kMissing, kMissing}}},
      {"escaped quotation marks do not protect",
       "xtime\":\"1\\\",\"\",\"context\":\"say \\\"hi\\\"}\"}",
       {{T("1\\"), T("say \\\"hi\\")}}},
      {"keys in the other order",
       "[{\"context\":\"c1\",\"time\":\"1\"},{\"context\":\"c2\",\"time\":\"2\"}]",
       {{T("1\"},{\"context\":\"c2"), kMissing}, {kMissing, kMissing}}},
      {"a context followed by more keys runs on", "xtime\":\"1\",\"context\":\"c\",\"k\":\"v\"}",
       {{T("1"), T("c\",\"k\":\"v")}}},
      {"markers enclosing nothing", "xtime\":\"\",\"context\":\"\"}", {{kAbsent, kAbsent}}},
      {"no closer after the opener", "xtime\":\"1", {{kMissing, kMissing}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTrackingResponse(T(c.reply)), c.rows) << c.name;
  }
  EXPECT_TRUE(ParseTrackingResponse(kAbsent).empty());
}

TEST(ParseTrackingResponseBytes, GbkAndForeignBytesPassThroughUnchanged) {
  // 已签收 in GBK, and 已签 in UTF-8, taken as they are.
  const Text gbk = T("xtime\":\"1\",\"context\":\"\xD2\xD1\xC7\xA9\xCA\xD5\"}");
  EXPECT_EQ(ParseTrackingResponse(gbk), (std::vector<TrackingRow>{{T("1"), T("\xD2\xD1\xC7\xA9\xCA\xD5")}}));
  const Text utf8 = T("xtime\":\"1\",\"context\":\"\xE5\xB7\xB2\xE7\xAD\xBE\"}");
  EXPECT_EQ(ParseTrackingResponse(utf8), (std::vector<TrackingRow>{{T("1"), T("\xE5\xB7\xB2\xE7\xAD\xBE")}}));
  // 已 alone in UTF-8 is three bytes: its last byte pairs with the quotation
  // mark of the closer, so the closer is never seen and the value is lost.
  const Text odd = T("xtime\":\"1\",\"context\":\"\xE5\xB7\xB2\"}");
  EXPECT_EQ(ParseTrackingResponse(odd), (std::vector<TrackingRow>{{T("1"), kMissing}}));
  // A high byte pairs with the closing quotation mark, so the closer is not
  // seen where a UTF-8 reader would see it: the value runs on.
  const Text paired = T("xtime\":\"1\",\"context\":\"\xE5\"}\"}");
  EXPECT_EQ(ParseTrackingResponse(paired), (std::vector<TrackingRow>{{T("1"), T("\xE5\"}")}}));
}

}  // namespace
}  // namespace vorlakin
