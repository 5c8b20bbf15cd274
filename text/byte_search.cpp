#include "text/byte_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorlakin::detail {
namespace {

// Work the fast search may spend beyond the bytes it has advanced before the
// finder falls back to KMP.
constexpr std::size_t kWorkSlack = 64 * 1024;

bool HasAsciiLetter(std::string_view bytes) noexcept {
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool CharacterStarts::IsStart(std::size_t offset) noexcept {
  std::size_t i = offset;
#if defined(__SSE2__)
  // Long runs of double-byte characters: skip 64 high bytes at a time.
  while (i - anchor_ >= 64) {
    const auto* block = reinterpret_cast<const __m128i*>(bytes_ + i - 64);
    const __m128i all = _mm_and_si128(_mm_and_si128(_mm_loadu_si128(block), _mm_loadu_si128(block + 1)),
                                      _mm_and_si128(_mm_loadu_si128(block + 2), _mm_loadu_si128(block + 3)));
    if (_mm_movemask_epi8(all) != 0xFFFF) {
      break;
    }
    i -= 64;
  }
#endif
  while (i > anchor_ && bytes_[i - 1] >= 0x80) {
    --i;
  }
  const bool start = (offset - i) % 2 == 0;
  anchor_ = start ? offset : offset - 1;  // inside a pair, the byte before starts it
  return start;
}

NeedleFinder::NeedleFinder(std::string_view needle, bool foldCase)
    : needle_(needle), foldCase_(foldCase && HasAsciiLetter(needle)) {
  if (foldCase_) {
    foldedNeedle_ = std::make_unique<unsigned char[]>(needle.size());
    for (std::size_t k = 0; k < needle.size(); ++k) {
      foldedNeedle_[k] = FoldAscii(static_cast<unsigned char>(needle[k]));
    }
  }
}

NeedleFinder::~NeedleFinder() = default;

bool NeedleFinder::Matches(const unsigned char* at) const noexcept {
  if (!foldCase_) {
    return std::memcmp(at, needle_.data(), needle_.size()) == 0;
  }
  for (std::size_t k = 0; k < needle_.size(); ++k) {
    if (FoldAscii(at[k]) != foldedNeedle_[k]) {
      return false;
    }
  }
  return true;
}

std::size_t NeedleFinder::Next(std::string_view haystack, std::size_t from) {
  const std::size_t m = needle_.size();
  if (m == 0 || haystack.size() < m || from > haystack.size() - m) {
    return kNoMatch;
  }
  if (firstFrom_ == kNoMatch) {
    firstFrom_ = from;
  }
  if (!useKmp_ && work_ > 2 * (from - firstFrom_) + kWorkSlack) {
    useKmp_ = true;
  }
  return useKmp_ ? KmpNext(haystack, from) : FastNext(haystack, from);
}

std::size_t NeedleFinder::FastNext(std::string_view haystack, std::size_t from) {
  if (needle_.size() == 1 && !foldCase_) {
    const void* hit = std::memchr(haystack.data() + from, needle_[0], haystack.size() - from);
    return hit == nullptr ? kNoMatch : static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
  }
  return FilterNext(haystack, from);
}

// Candidates must agree with the needle's first and last byte (folded when
// folding); the SIMD loop tests sixteen candidates at a time, then each
// survivor is compared whole. Unlike memmem, a call costs nothing to set up,
// which matters when matches are close together.
std::size_t NeedleFinder::FilterNext(std::string_view haystack, std::size_t from) {
  const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
  const std::size_t m = needle_.size();
  const std::size_t last = haystack.size() - m;  // the last candidate offset
  const auto* pattern = Pattern();
  const unsigned char first = pattern[0];
  const unsigned char final = pattern[m - 1];
  // OR-ing 0x20 maps both cases of a letter to its lower case and no other
  // byte onto it; bytes that are not letters are compared as they are.
  const unsigned char firstMask = (foldCase_ && first >= 'a' && first <= 'z') ? 0x20 : 0x00;
  const unsigned char finalMask = (foldCase_ && final >= 'a' && final <= 'z') ? 0x20 : 0x00;

  std::size_t i = from;
  const auto overBudget = [&](std::size_t at) { return work_ > 2 * (at - firstFrom_) + kWorkSlack; };
#if defined(__SSE2__)
  const __m128i firstWanted = _mm_set1_epi8(static_cast<char>(first));
  const __m128i finalWanted = _mm_set1_epi8(static_cast<char>(final));
  const __m128i firstFold = _mm_set1_epi8(static_cast<char>(firstMask));
  const __m128i finalFold = _mm_set1_epi8(static_cast<char>(finalMask));
  while (last >= 15 && i <= last - 15) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstFold), firstWanted),
                                       _mm_cmpeq_epi8(_mm_or_si128(b, finalFold), finalWanted));
    auto bits = static_cast<unsigned>(_mm_movemask_epi8(both));
    while (bits != 0) {
      const auto k = static_cast<std::size_t>(__builtin_ctz(bits));
      // Every comparison is paid for, a match too: a match that does not
      // start a character sends the next search back inside it.
      work_ += m;
      if (Matches(h + i + k)) {
        return i + k;
      }
      if (overBudget(i + k)) {
        useKmp_ = true;
        return KmpNext(haystack, i + k + 1);
      }
      bits &= bits - 1;
    }
    i += 16;
  }
#endif
  for (; i <= last; ++i) {
    if ((h[i] | firstMask) == first && (h[i + m - 1] | finalMask) == final) {
      work_ += m;
      if (Matches(h + i)) {
        return i;
      }
      if (overBudget(i)) {
        useKmp_ = true;
        return KmpNext(haystack, i + 1);
      }
    }
  }
  return kNoMatch;
}

std::size_t NeedleFinder::KmpNext(std::string_view haystack, std::size_t from) {
  const std::size_t m = needle_.size();
  const auto* pattern = Pattern();
  if (!failure_) {
    // failure_[k]: the longest proper border of the needle's first k bytes.
    failure_ = std::make_unique<std::uint32_t[]>(m + 1);
    failure_[0] = 0;
    if (m >= 1) {
      failure_[1] = 0;
    }
    std::size_t border = 0;
    for (std::size_t k = 1; k < m; ++k) {
      while (border > 0 && pattern[k] != pattern[border]) {
        border = failure_[border];
      }
      if (pattern[k] == pattern[border]) {
        ++border;
      }
      failure_[k + 1] = static_cast<std::uint32_t>(border);
    }
    kmpOffset_ = from;
    kmpMatched_ = 0;
  }
  if (from >= kmpOffset_) {
    kmpOffset_ = from;
    kmpMatched_ = 0;
  } else {
    while (kmpOffset_ - kmpMatched_ < from) {
      kmpMatched_ = failure_[kmpMatched_];
    }
  }

  const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
  const std::size_t n = haystack.size();
  std::size_t j = kmpOffset_;
  std::size_t k = kmpMatched_;
  if (k == m) {
    k = failure_[k];
  }
  while (j < n) {
    const unsigned char c = foldCase_ ? FoldAscii(h[j]) : h[j];
    while (k > 0 && c != pattern[k]) {
      k = failure_[k];
    }
    if (c == pattern[k]) {
      ++k;
    }
    ++j;
    if (k == m) {
      kmpOffset_ = j;
      kmpMatched_ = k;
      return j - m;
    }
  }
  kmpOffset_ = j;
  kmpMatched_ = k;
  return kNoMatch;
}

std::int64_t FindBytes(std::string_view text, std::string_view subtext, std::int64_t start,
                       bool caseInsensitive) {
  const std::size_t n = text.size();
  std::size_t begin = 0;
  if (start > 1) {
    if (static_cast<std::uint64_t>(start - 1) >= n) {
      return -1;
    }
    begin = static_cast<std::size_t>(start - 1);
  }
  if (subtext.empty()) {
    return n > begin ? 1 : -1;
  }
  const std::size_t m = subtext.size();
  if (n - begin < m) {
    return -1;
  }
  std::int64_t position = -1;
  ForEachMatch(text, subtext, caseInsensitive, begin, [&](std::size_t hit) {
    // A lead byte with nothing after it ends the scan before it is tried.
    if (hit != n - 1 || static_cast<unsigned char>(text[hit]) < 0x80) {
      position = static_cast<std::int64_t>(hit) + 1;
    }
    return false;
  });
  return position;
}

}  // namespace vorlakin::detail
