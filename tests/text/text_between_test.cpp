#include <gtest/gtest.h>

#include "support/text_printing.h"
#include "text/text_between.h"
#include "text/text_operations.h"

namespace vorlakin {
namespace {

const Text kPlaceholder("#\xD2\xFD\xBA\xC5");  // "#引号"

struct BetweenCase {
  Text text;
  Text left;
  Text right;
  std::int64_t start;
  bool caseSensitive;
  Text expected;
};

TEST(GetTextBetweenTable, WorkedExamplesAndEdges) {
  const BetweenCase cases[] = {
      {T("x=12:00;y"), T("="), T(";"), 0, false, T("12:00")},
      {T("name=\"Li\";"), ConcatTexts(T("name="), kPlaceholder), ConcatTexts(kPlaceholder, T(";")), 0,
       false, T("Li")},
      {T("[a][b]"), T("["), T("]"), 0, false, T("a")},
      {T("b]a[c]"), T("["), T("]"), 0, false, T("c")},
      {T("ab[c]d]"), T("["), T("]"), 3, false, T("c]d")},
      {T("ID=5;"), T("id="), T(";"), 0, false, T("5")},
      {T("ID=5;"), T("id="), T(";"), 0, true, T("")},  // present-empty: not found
      {T("a[]b"), T("["), T("]"), 0, false, kAbsent},   // found, nothing between
      {T("a[b"), T("["), T("]"), 0, false, T("")},
      // Empty or absent text with a non-empty left marker.
      {kAbsent, T("["), T("]"), 0, false, T("")},
      {T(""), T("["), T("]"), 0, false, T("")},
      // An empty left marker is found at 1: the bytes before the first right marker.
      {T("ab]c]"), T(""), T("]"), 0, false, T("ab")},
      // An empty right marker: absent when something follows, present-empty when not.
      {T("a[b"), T("["), T(""), 0, false, kAbsent},
      {T("a["), T("["), T(""), 0, false, T("")},
      // A lone placeholder marker becomes one quotation mark.
      {T("say \"hi] x"), kPlaceholder, T("]"), 0, false, T("hi")},
      // Case folding on markers, both ways; double-byte characters exact.
      {T("<A>v</A>"), T("<a>"), T("</a>"), 0, false, T("v")},
      {T("<a>v</a>"), T("<A>"), T("</A>"), 0, false, T("v")},
      {T("\xB0\xA1=v;"), T("\xB0\xA2="), T(";"), 0, false, T("")},
      // The left marker only inside a double-byte character (its second byte).
      {T("\xB0[x]"), T("["), T("]"), 0, false, T("")},
      // The placeholder in the text is plain bytes.
      {ConcatTexts(T("a"), kPlaceholder, T("b;")), ConcatTexts(T("a"), kPlaceholder), T(";"), 0, false,
       T("")},
  };
  for (const auto& c : cases) {
    Text left = c.left;
    Text right = c.right;
    EXPECT_EQ(GetTextBetween(c.text, left, right, c.start, c.caseSensitive), c.expected)
        << testing::PrintToString(c.text) << " between " << testing::PrintToString(c.left) << " and "
        << testing::PrintToString(c.right);
  }
}

TEST(GetTextBetweenMarkers, PlaceholdersAreReplacedInTheCallersMarkers) {
  Text left = ConcatTexts(T("name="), kPlaceholder);
  Text right = ConcatTexts(kPlaceholder, T(";"));
  const Text untouched("=");
  Text plain = untouched;
  (void)GetTextBetween(T("name=\"Li\";"), left, right);
  EXPECT_EQ(left, T("name=\""));
  EXPECT_EQ(right, T("\";"));
  (void)GetTextBetween(T("a=b;"), plain, right);
  EXPECT_EQ(plain, untouched);
}

}  // namespace
}  // namespace vorlakin
