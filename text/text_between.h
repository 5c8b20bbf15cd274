#pragma once
// The text between the first occurrence of a left marker and the next
// occurrence of a right marker after it.

#include <cstdint>
#include <string_view>

#include "text/text_value.h"

namespace vorlakin {

// A marker may spell a quotation mark as the placeholder "#引号"; every
// placeholder in a marker is turned into a quotation mark first, and the
// caller's marker keeps that change. Both searches begin at `start` (1 or
// less: the first byte), the right one counted within the bytes after the
// left marker. Gives the present-empty text when a marker is not found and
// the absent text when the markers are found with nothing between them.
Text GetTextBetween(const Text& text, Text& leftMarker, Text& rightMarker, std::int64_t start = 0,
                    bool caseSensitive = false);

// The same search on plain bytes, for markers without the placeholder.
struct Between {
  enum class Outcome { kMarkerMissing, kNothingBetween, kFound };
  Outcome outcome;
  std::string_view bytes;  // within the searched text; empty unless kFound

  Text ToText() const;  // present-empty, absent, or the bytes
};
Between FindBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                    std::int64_t start, bool caseSensitive);

// The same with markers prepared once, for readers that search many texts
// for the same markers. A marker prepared with folding matches ASCII
// letters regardless of case (GetTextBetween's case-sensitive = false).
namespace detail {
class Needle;
}
Between FindBetween(std::string_view text, const detail::Needle& leftMarker, const detail::Needle& rightMarker,
                    std::int64_t start);

}  // namespace vorlakin
