#pragma once
// The text operations. None fails and none changes its inputs; every Text or
// ByteBuffer they give is new, and absent when empty. Positions start at 1
// and count bytes.
//
// Scans step from character to character, counted from where they begin: a
// byte from 0x80 to 0xFF with the byte after it is one double-byte
// character, so a match is tried only where a character begins. A lead byte
// right before the end is a lone byte that ends the scan. Case folding, where
// asked for, folds the 26 ASCII letters only (CompareText excepted).

#include <cstdint>
#include <optional>

#include "text/byte_search.h"
#include "text/text_value.h"

namespace vorlakin {

// The first `count` bytes (all when count exceeds the length); absent for a
// count of 0 or less. May end inside a double-byte character.
Text TextLeft(const Text& text, std::int64_t count);
// The last `count` bytes; absent for a count of 0 or less.
Text TextRight(const Text& text, std::int64_t count);
// `count` bytes from position `start`; absent when start is below 1 or past
// the end, or count is 0 or less.
Text TextMiddle(const Text& text, std::int64_t start, std::int64_t count);

// Position of the first match at or after `start` (1 or less: the whole
// text), counted from the text's first byte, or -1. The empty subtext is
// found at 1 in a non-empty searched part.
std::int64_t FindText(const Text& text, const Text& subtext, std::int64_t start = 0,
                      bool caseInsensitive = false);

// ASCII letters in one-byte characters only; double-byte characters keep
// both bytes, even an ASCII letter in second place.
Text TextToUpper(const Text& text);
Text TextToLower(const Text& text);

// The decimal number at the start of the text (after white space), reading
// full-width digits and signs as their ASCII forms; e, E, d or D introduce
// an exponent. 0 when the text does not start with a number.
double TextToNumber(const Text& text);

// Removes `count` bytes at `position` (both clamped to the text) and puts
// the replacement, if any, in their place.
Text ReplaceTextAt(const Text& text, std::int64_t position, std::int64_t count,
                   const Text& replacement = Text());

// Replaces occurrences of `subtext`, scanning from `start` (1 or less: the
// beginning), at most `count` of them (left out: all). Case-sensitive, or
// with ASCII folding. The replacement is not scanned again.
Text ReplaceSubtext(const Text& text, const Text& subtext, const Text& replacement, std::int64_t start,
                    std::optional<std::int64_t> count, bool caseSensitive);
inline Text ReplaceSubtext(const Text& text, const Text& subtext, const Text& replacement,
                           bool caseSensitive) {
  return ReplaceSubtext(text, subtext, replacement, 0, std::nullopt, caseSensitive);
}

// Cuts the text at every occurrence of the delimiter (exact bytes). The
// empty text gives no member; an empty delimiter gives the whole text; a
// delimiter at the start gives an empty first member, one at the end no
// empty last member. `maxMembers` of 0 or less gives no member; a positive
// one stops after that many members and drops the rest.
TextArray SplitText(const Text& text, const Text& delimiter = ",",
                    std::optional<std::int64_t> maxMembers = std::nullopt);

// The cutting of SplitText without copying: calls onPiece(bytes) for each
// member SplitText would make, in order; onPiece returns false to stop. For
// readers that only look into the pieces.
template <class OnPiece>
void ForEachSplitPiece(std::string_view text, std::string_view delimiter, OnPiece onPiece);

// `count` spaces; absent for 0 or less.
Text BlankText(std::int64_t count);

// Character by character as code page 936 delimits characters: -1, 0 or 1.
// Without case sensitivity, ASCII letters fold to lower case and full-width
// Latin, Greek, Cyrillic letters and Roman numerals to upper case.
int CompareText(const Text& a, const Text& b, bool caseSensitive);

// The first `count` bytes of the buffer; absent for 0 or less.
ByteBuffer BytesLeft(const ByteBuffer& buffer, std::int64_t count);
// The same, cutting the buffer's own storage instead of copying it.
ByteBuffer BytesLeft(ByteBuffer&& buffer, std::int64_t count);
// `count` zero bytes; absent for 0 or less.
ByteBuffer BlankBytes(std::int64_t count);

// The buffer's bytes before its first NUL (all of them without one).
Text ToText(const ByteBuffer& buffer);
// The same, keeping the buffer's storage instead of copying it.
Text ToText(ByteBuffer&& buffer);
// Decimal digits, a minus sign first when negative.
Text ToText(std::int64_t number);
// A copy; absent when empty.
Text ToText(const Text& text);

}  // namespace vorlakin

template <class OnPiece>
void vorlakin::ForEachSplitPiece(std::string_view text, std::string_view delimiter, OnPiece onPiece) {
  if (text.empty()) {
    return;
  }
  if (delimiter.empty()) {
    onPiece(text);
    return;
  }
  std::size_t segment = 0;
  bool stopped = false;
  detail::ForEachMatch(text, delimiter, false, 0, [&](std::size_t hit) {
    stopped = !onPiece(text.substr(segment, hit - segment));
    segment = hit + delimiter.size();
    return !stopped;
  });
  if (!stopped && segment < text.size()) {
    onPiece(text.substr(segment));
  }
}
