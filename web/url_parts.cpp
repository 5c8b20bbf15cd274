#include "web/url_parts.h"

#include "text/text_operations.h"

namespace vorlakin {
namespace {

bool BeginsWithScheme(const Text& url) { return CompareText(TextLeft(url, 7), "http://", false) == 0; }

// After the scheme (if any) up to the first "/" after it: host and port.
Text HostPartOf(const Text& url) {
  if (!BeginsWithScheme(url)) {
    const std::int64_t slash = FindText(url, "/", 1, true);
    return slash != -1 ? TextLeft(url, slash - 1) : ToText(url);
  }
  const std::int64_t slash = FindText(url, "/", 8, true);
  return slash != -1 ? TextMiddle(url, 8, slash - 8) : ReplaceTextAt(url, 1, 7);
}

}  // namespace

Text UrlHostOf(const Text& url) {
  Text host = HostPartOf(url);
  const std::int64_t colon = FindText(host, ":", 1, true);
  if (colon != -1) {
    host = TextLeft(host, colon - 1);
  }
  return TextToLower(host);
}

std::int32_t UrlPortOf(const Text& url) {
  const Text hostPart = HostPartOf(url);
  const std::int64_t colon = FindText(hostPart, ":", 1, true);
  const Text portText = colon != -1 ? TextRight(hostPart, TextLength(hostPart) - colon) : Text("80");
  // The low 32 bits of the truncated number; no range check.
  return static_cast<std::int32_t>(TruncateToInteger(TextToNumber(portText)));
}

Text UrlPathOf(const Text& url) {
  const Text host = UrlHostOf(url);
  // The host is searched after the scheme: searched from the first byte, a
  // host such as "h" or "http" would be found inside "http://" itself.
  const std::int64_t hostAt = FindText(url, host, BeginsWithScheme(url) ? 8 : 1, true);
  const std::int64_t slash = FindText(url, "/", hostAt, true);
  if (slash == -1) {
    return Text("/");
  }
  return TextMiddle(url, slash, TextLength(url) - slash + 1);
}

}  // namespace vorlakin
