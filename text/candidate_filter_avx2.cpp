// Built with AVX2 enabled; only called where the processor has it.
#include "text/candidate_filter.h"

namespace vorlakin::detail {

std::size_t NextCandidateAvx2(const unsigned char* h, std::size_t from, std::size_t last, const Needle& needle) {
  std::size_t i = from;
  std::size_t hit = ScanBlocks<Block32>(h, i, last, needle);
  if (hit == kNoMatch) {
    hit = ScanBlocks<Block16>(h, i, last, needle);
  }
  return hit != kNoMatch ? hit : ScanRest(h, i, last, needle);
}

}  // namespace vorlakin::detail
