#include "text/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace vorlakin {
namespace {

// One iconv conversion; `substitute` is written for each input byte that
// cannot be converted, and the conversion goes on after it.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view substitute, bool inputIsUtf8) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    return std::string(input);
  }
  std::string out;
  out.reserve(input.size() * 3 / 2 + 4);
  std::string in(input);  // iconv wants a non-const input pointer
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL (a truncated sequence at the end): skip the
      // offending character, one byte of it for GBK input.
      std::size_t skip = inputIsUtf8 ? Utf8SequenceLength(static_cast<unsigned char>(*inPtr)) : 1;
      if (skip > inLeft) skip = inLeft;
      out.append(substitute);
      inPtr += skip;
      inLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", false); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert("CP936", "UTF-8", utf8, "?", true); }

}  // namespace vorlakin
