#pragma once
// Lets GoogleTest print texts readably: ASCII as it is, other bytes as \xHH,
// and the two empty forms by name.

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "text/code_page.h"
#include "text/text_value.h"

namespace vorlakin {

inline std::string DescribeBytes(std::string_view bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out += c;
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(b));
      out += escape;
    }
  }
  return out + "\"";
}

inline void PrintTo(const Text& text, std::ostream* os) {
  *os << (text.IsAbsent() ? std::string("<absent>") : DescribeBytes(text.View()));
}

inline void PrintTo(const ByteBuffer& buffer, std::ostream* os) {
  *os << (buffer.IsAbsent() ? std::string("<absent>") : DescribeBytes(buffer.View()));
}

inline void PrintTo(const TextArray& array, std::ostream* os) {
  *os << "[";
  for (std::int64_t i = 1; i <= array.MemberCount(); ++i) {
    *os << (i > 1 ? ", " : "");
    PrintTo(array[i], os);
  }
  *os << "]";
}

// Absent for nullptr, else present; lets tables spell both empty forms.
inline Text T(const char* bytes) { return Text(bytes); }

// The GBK text of a UTF-8 literal, so that tests can spell Chinese plainly.
inline Text Gbk(const char* utf8) { return Text::Present(Utf8ToGbk(utf8)); }
inline const Text kAbsent{};

}  // namespace vorlakin
