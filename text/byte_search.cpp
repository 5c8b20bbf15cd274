#include "text/byte_search.h"

#include <cstring>

#include "text/candidate_filter.h"

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

Needle::Needle(std::string_view bytes, bool foldCase)
    : bytes_(bytes), foldCase_(foldCase && HasAsciiLetter(bytes)) {
  if (foldCase_) {
    unsigned char* folded = shortFolded_;
    if (bytes.size() > sizeof shortFolded_) {
      longFolded_ = std::make_unique<unsigned char[]>(bytes.size());
      folded = longFolded_.get();
    }
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      folded[k] = FoldAscii(static_cast<unsigned char>(bytes[k]));
    }
  }
  if (bytes.empty()) {
    return;
  }
  const auto maskFor = [&](unsigned char b) -> unsigned char {
    return (foldCase_ && b >= 'a' && b <= 'z') ? 0x20 : 0x00;
  };
  const unsigned char* p = pattern();
  filter_ = {p[0], maskFor(p[0]), p[bytes.size() - 1], maskFor(p[bytes.size() - 1])};
#if defined(__SSE2__)
  const auto splat = [](unsigned char b) { return _mm_set1_epi8(static_cast<char>(b)); };
  wide_ = {splat(filter_.firstWanted), splat(filter_.firstMask), splat(filter_.finalWanted),
           splat(filter_.finalMask)};
#endif
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
  if (useKmp_) {
    return KmpNext(haystack, from);
  }
  if (m == 1 && !needle_.folds()) {
    const void* hit = std::memchr(haystack.data() + from, *needle_.pattern(), haystack.size() - from);
    return hit == nullptr ? kNoMatch : static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
  }
  return FilterNext(haystack, from);
}

std::size_t NextCandidateSse2(const unsigned char* h, std::size_t from, std::size_t last, const Needle& needle) {
  std::size_t i = from;
#if defined(__SSE2__)
  const std::size_t hit = ScanBlocks<Block16>(h, i, last, needle);
  if (hit != kNoMatch) {
    return hit;
  }
#endif
  return ScanRest(h, i, last, needle);
}

namespace {

NextCandidateFunction ChooseCandidateFilter() {
#if defined(VORLAKIN_HAVE_AVX2_FILTER)
  if (__builtin_cpu_supports("avx2")) {
    return NextCandidateAvx2;
  }
#endif
  return NextCandidateSse2;
}

const NextCandidateFunction kNextCandidate = ChooseCandidateFilter();

}  // namespace

// Candidates must agree with the needle's first and last byte (folded when
// folding), which a SIMD filter tests for many offsets at once; each
// survivor is compared whole. Unlike memmem, a call costs nothing to set up,
// which matters when matches are close together.
std::size_t NeedleFinder::FilterNext(std::string_view haystack, std::size_t from) {
  const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
  const std::size_t m = needle_.size();
  const std::size_t last = haystack.size() - m;  // the last candidate offset
  for (std::size_t i = from;;) {
    const std::size_t candidate = kNextCandidate(h, i, last, needle_);
    if (candidate == kNoMatch) {
      return kNoMatch;
    }
    // Every comparison is paid for, a match too: a match that does not
    // start a character sends the next search back inside it.
    work_ += m;
    if (needle_.MatchesAt(h + candidate)) {
      return candidate;
    }
    if (work_ > 2 * (candidate - firstFrom_) + kWorkSlack) {
      useKmp_ = true;
      return KmpNext(haystack, candidate + 1);
    }
    i = candidate + 1;
  }
}

std::size_t NeedleFinder::KmpNext(std::string_view haystack, std::size_t from) {
  const std::size_t m = needle_.size();
  const auto* pattern = needle_.pattern();
  const bool fold = needle_.folds();
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
    const unsigned char c = fold ? FoldAscii(h[j]) : h[j];
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
  const Needle needle(subtext, caseInsensitive);
  return FindBytes(text, needle, start);
}

std::int64_t FindBytes(std::string_view text, const Needle& subtext, std::int64_t start) {
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
  ForEachMatch(text, subtext, begin, [&](std::size_t hit) {
    // A lead byte with nothing after it ends the scan before it is tried.
    if (hit != n - 1 || static_cast<unsigned char>(text[hit]) < 0x80) {
      position = static_cast<std::int64_t>(hit) + 1;
    }
    return false;
  });
  return position;
}

}  // namespace vorlakin::detail
