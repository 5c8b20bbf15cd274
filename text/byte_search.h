#pragma once
// The scanning engine under FindText, SplitText and ReplaceSubtext.
//
// The text operations try a match only where a character begins, stepping
// from the scan start: a byte from 0x80 to 0xFF and the byte after it make
// one double-byte character. Stepping byte by byte would be slow, so the
// engine finds raw byte matches with a fast search and then asks whether the
// match starts a character. A byte below 0x80 always ends a character (a
// one-byte character, or the second byte of a pair), so an offset starts a
// character exactly when the run of bytes 0x80-0xFF just before it, back to
// such a byte or to a known start, has even length. Both halves run in time
// linear in the text, whatever it holds.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorlakin::detail {

inline constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

// ASCII case folding: A-Z to a-z, every other byte unchanged.
inline constexpr unsigned char FoldAscii(unsigned char byte) noexcept {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// Answers "does this offset start a character?" for offsets asked in
// increasing order, in amortised constant time.
class CharacterStarts {
 public:
  CharacterStarts(std::string_view text, std::size_t knownStart) noexcept
      : bytes_(reinterpret_cast<const unsigned char*>(text.data())), anchor_(knownStart) {}

  bool IsStart(std::size_t offset) noexcept;
  // The scan restarts at `offset`, which counts as a character start.
  void Restart(std::size_t offset) noexcept { anchor_ = offset; }

 private:
  const unsigned char* bytes_;
  std::size_t anchor_;  // a character start at or before every offset asked
};

// A needle prepared for searching: its bytes as compared (folded to lower
// case when folding; a needle without ASCII letters is searched exactly).
// Refers to the caller's bytes, which must outlive it. Prepare a needle
// once to search with it many times.
class Needle {
 public:
  Needle(std::string_view bytes, bool foldCase);
  Needle(const Needle&) = delete;
  Needle& operator=(const Needle&) = delete;

  std::size_t size() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }
  bool folds() const noexcept { return foldCase_; }
  // The bytes as compared.
  const unsigned char* pattern() const noexcept {
    return foldCase_ ? (longFolded_ ? longFolded_.get() : shortFolded_)
                     : reinterpret_cast<const unsigned char*>(bytes_.data());
  }
  bool MatchesAt(const unsigned char* at) const noexcept {
    const unsigned char* p = pattern();
    const std::size_t m = bytes_.size();
    for (std::size_t k = 0; k < m; ++k) {
      if ((foldCase_ ? FoldAscii(at[k]) : at[k]) != p[k]) {
        return false;
      }
    }
    return true;
  }

  // What the filter looks for: a candidate's first and last byte, OR-ed
  // with the mask, must equal the wanted byte. OR-ing 0x20 maps both cases
  // of a letter to its lower case and no other byte onto it; bytes that are
  // not letters (or a needle searched exactly) get the mask 0.
  struct Filter {
    unsigned char firstWanted, firstMask, finalWanted, finalMask;
  };
  const Filter& filter() const noexcept { return filter_; }
#if defined(__SSE2__)
  struct WideFilter {
    __m128i firstWanted, firstMask, finalWanted, finalMask;
  };
  const WideFilter& wideFilter() const noexcept { return wide_; }
#endif

 private:
  std::string_view bytes_;
  bool foldCase_;
  unsigned char shortFolded_[32];  // the common case: markers, split words
  std::unique_ptr<unsigned char[]> longFolded_;
  Filter filter_{};
#if defined(__SSE2__)
  WideFilter wide_{};  // the same, sixteen times over, made once
#endif
};

// Finds raw (byte-aligned) occurrences of a needle. Calls must ask from
// non-decreasing offsets. A fast search (memchr, or a SIMD filter on the
// first and last byte) serves ordinary input; when the input makes it do
// more work than it advances, the finder switches to Knuth-Morris-Pratt for
// the rest of the scan, which keeps the total linear.
class NeedleFinder {
 public:
  explicit NeedleFinder(const Needle& needle) noexcept : needle_(needle) {}
  NeedleFinder(const NeedleFinder&) = delete;
  NeedleFinder& operator=(const NeedleFinder&) = delete;

  // First occurrence starting at or after `from`, or kNoMatch.
  std::size_t Next(std::string_view haystack, std::size_t from);

 private:
  std::size_t FilterNext(std::string_view haystack, std::size_t from);
  std::size_t KmpNext(std::string_view haystack, std::size_t from);

  const Needle& needle_;
  // Work accounting for the switch to KMP.
  bool useKmp_ = false;
  std::size_t firstFrom_ = kNoMatch;
  std::size_t work_ = 0;
  // KMP state: the next haystack offset to read and how much of the needle
  // the bytes before it match.
  std::unique_ptr<std::uint32_t[]> failure_;
  std::size_t kmpOffset_ = 0;
  std::size_t kmpMatched_ = 0;
};

// Calls onMatch(offset) for each occurrence of `needle` that starts a
// character, scanning `text` from `begin`; after a match the scan goes on
// behind it, from a new character start. onMatch returns false to stop.
template <class OnMatch>
void ForEachMatch(std::string_view text, const Needle& needle, std::size_t begin, OnMatch onMatch) {
  NeedleFinder finder(needle);
  CharacterStarts starts(text, begin);
  for (std::size_t from = begin;;) {
    const std::size_t hit = finder.Next(text, from);
    if (hit == kNoMatch) {
      return;
    }
    if (!starts.IsStart(hit)) {
      from = hit + 1;
      continue;
    }
    if (!onMatch(hit)) {
      return;
    }
    from = hit + needle.size();
    starts.Restart(from);
  }
}

template <class OnMatch>
void ForEachMatch(std::string_view text, std::string_view needle, bool foldCase, std::size_t begin,
                  OnMatch onMatch) {
  const Needle prepared(needle, foldCase);
  ForEachMatch(text, prepared, begin, onMatch);
}

// FindText on plain bytes: 1-based position or -1. See text_operations.h.
std::int64_t FindBytes(std::string_view text, std::string_view subtext, std::int64_t start,
                       bool caseInsensitive);
std::int64_t FindBytes(std::string_view text, const Needle& subtext, std::int64_t start);

}  // namespace vorlakin::detail
