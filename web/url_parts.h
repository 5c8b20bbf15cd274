#pragma once
// Host, port and path of a URL, for the page fetch. Only "http://" is known
// as a scheme (in any letter case); a URL without it is read as if the
// scheme were left out. Every input gives a result.

#include <cstdint>

#include "text/text_value.h"

namespace vorlakin {

// The host, lower-cased: the bytes after the scheme up to the first "/",
// without a ":" and what follows it.
Text UrlHostOf(const Text& url);

// The number after the first ":" of the host part, truncated toward zero
// (0 when there is no number); 80 without a ":".
std::int32_t UrlPortOf(const Text& url);

// Everything from the "/" after the host to the end, query included and
// letter case kept; "/" when there is none.
Text UrlPathOf(const Text& url);

}  // namespace vorlakin
