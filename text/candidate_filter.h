#pragma once
// The SIMD filter under NeedleFinder: the next offset whose first and last
// needle byte agree (folded where the needle folds). Built twice, in
// byte_search.cpp for SSE2 and in candidate_filter_avx2.cpp for AVX2; the
// finder picks one when the program starts.

#include <cstddef>

#include "text/byte_search.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace vorlakin::detail {

using NextCandidateFunction = std::size_t (*)(const unsigned char* h, std::size_t from, std::size_t last,
                                              const Needle& needle);
std::size_t NextCandidateSse2(const unsigned char* h, std::size_t from, std::size_t last, const Needle& needle);
std::size_t NextCandidateAvx2(const unsigned char* h, std::size_t from, std::size_t last, const Needle& needle);

namespace {  // each including file builds its own copy for its own instruction set

#if defined(__SSE2__)
struct Block16 {
  static constexpr std::size_t kWidth = 16;
  static unsigned Candidates(const unsigned char* first, const unsigned char* final, const Needle& needle) {
    const Needle::WideFilter& w = needle.wideFilter();
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(final));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpeq_epi8(_mm_or_si128(a, w.firstMask), w.firstWanted),
        _mm_cmpeq_epi8(_mm_or_si128(b, w.finalMask), w.finalWanted))));
  }
};
#endif

#if defined(__AVX2__)
struct Block32 {
  static constexpr std::size_t kWidth = 32;
  static unsigned Candidates(const unsigned char* first, const unsigned char* final, const Needle& needle) {
    const Needle::WideFilter& w = needle.wideFilter();
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(final));
    const __m256i firstHit = _mm256_cmpeq_epi8(_mm256_or_si256(a, _mm256_broadcastsi128_si256(w.firstMask)),
                                               _mm256_broadcastsi128_si256(w.firstWanted));
    const __m256i finalHit = _mm256_cmpeq_epi8(_mm256_or_si256(b, _mm256_broadcastsi128_si256(w.finalMask)),
                                               _mm256_broadcastsi128_si256(w.finalWanted));
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(firstHit, finalHit)));
  }
};
#endif

// Whole blocks of candidates while they fit before `last`; moves `i` on.
template <class Block>
std::size_t ScanBlocks(const unsigned char* h, std::size_t& i, std::size_t last, const Needle& needle) {
  const std::size_t m = needle.size();
  while (i + Block::kWidth - 1 <= last) {
    const unsigned bits = Block::Candidates(h + i, h + i + m - 1, needle);
    if (bits != 0) {
      return i + static_cast<std::size_t>(__builtin_ctz(bits));
    }
    i += Block::kWidth;
  }
  return kNoMatch;
}

std::size_t ScanRest(const unsigned char* h, std::size_t i, std::size_t last, const Needle& needle) {
  const Needle::Filter& f = needle.filter();
  const std::size_t m = needle.size();
  for (; i <= last; ++i) {
    if ((h[i] | f.firstMask) == f.firstWanted && (h[i + m - 1] | f.finalMask) == f.finalWanted) {
      return i;
    }
  }
  return kNoMatch;
}

}  // namespace
}  // namespace vorlakin::detail
