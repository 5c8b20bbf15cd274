#include "text/text_between.h"

#include "text/byte_search.h"
#include "text/text_operations.h"

namespace vorlakin {
namespace {

// "#引号": a number sign and the two GBK characters of the word for
// quotation mark.
constexpr char kQuotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

void ReplacePlaceholder(Text& marker) {
  if (FindText(marker, kQuotePlaceholder, 0, false) != -1) {
    marker = ReplaceSubtext(marker, kQuotePlaceholder, "\"", true);
  }
}

}  // namespace

Text Between::ToText() const {
  switch (outcome) {
    case Outcome::kMarkerMissing:
      return Text("");
    case Outcome::kNothingBetween:
      return Text();
    case Outcome::kFound:
      break;
  }
  return Text::Slice(bytes);
}

Between FindBetween(std::string_view text, const detail::Needle& leftMarker, const detail::Needle& rightMarker,
                    std::int64_t start) {
  const std::int64_t left = detail::FindBytes(text, leftMarker, start);
  if (left == -1) {
    return {Between::Outcome::kMarkerMissing, {}};
  }
  // Everything after the matched left marker.
  const auto restOffset = static_cast<std::size_t>(left - 1) + leftMarker.size();
  const std::string_view rest = restOffset < text.size() ? text.substr(restOffset) : std::string_view();
  const std::int64_t right = detail::FindBytes(rest, rightMarker, start);
  if (right == -1) {
    return {Between::Outcome::kMarkerMissing, {}};
  }
  if (right == 1) {
    return {Between::Outcome::kNothingBetween, {}};
  }
  return {Between::Outcome::kFound, rest.substr(0, static_cast<std::size_t>(right - 1))};
}

Between FindBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                    std::int64_t start, bool caseSensitive) {
  const detail::Needle left(leftMarker, !caseSensitive);
  const detail::Needle right(rightMarker, !caseSensitive);
  return FindBetween(text, left, right, start);
}

Text GetTextBetween(const Text& text, Text& leftMarker, Text& rightMarker, std::int64_t start,
                    bool caseSensitive) {
  ReplacePlaceholder(leftMarker);
  ReplacePlaceholder(rightMarker);
  return FindBetween(text.View(), leftMarker.View(), rightMarker.View(), start, caseSensitive).ToText();
}

}  // namespace vorlakin
