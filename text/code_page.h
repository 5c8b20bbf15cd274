#pragma once
// Conversion between the program's GBK (code page 936) bytes and UTF-8, for
// the places where text leaves or enters the program: the window and stderr.

#include <string>
#include <string_view>

namespace vorlakin {

// Bytes that are not valid GBK become U+FFFD, one per offending byte.
std::string GbkToUtf8(std::string_view gbk);

// Characters that GBK cannot hold become '?'; invalid UTF-8 bytes too.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace vorlakin
