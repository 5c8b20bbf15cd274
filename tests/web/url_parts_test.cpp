#include <gtest/gtest.h>

#include <span>

#include "support/text_printing.h"
#include "web/url_parts.h"

namespace vorlakin {
namespace {

struct UrlCase {
  const char* url;
  const char* host;
  std::int32_t port;
  const char* path;
};

void ExpectParts(std::span<const UrlCase> cases) {
  for (const auto& c : cases) {
    const Text url(c.url);
    EXPECT_EQ(UrlHostOf(url).View(), c.host) << c.url;
    EXPECT_EQ(UrlPortOf(url), c.port) << c.url;
    EXPECT_EQ(UrlPathOf(url), T(c.path)) << c.url;
  }
}

TEST(UrlPartsTable, WorkedExamples) {
  const UrlCase cases[] = {
      {"http://Srv.HOST/track?id=1&nu=2", "srv.host", 80, "/track?id=1&nu=2"},
      {"HTTP://SRV.HOST/P", "srv.host", 80, "/P"},
      {"http://host:8080/p", "host", 8080, "/p"},
      {"host/p", "host", 80, "/p"},
      {"HOST:81/a/b", "host", 81, "/a/b"},
      {"http://host", "host", 80, "/"},
      {"http://host:8080", "host", 8080, "/"},
      {"http://host/a:b", "host", 80, "/a:b"},
      {"http://host?x=a:b", "host?x=a", 0, "/"},
      {"http://host:/p", "host", 0, "/p"},
      {"http://host:80x/p", "host", 80, "/p"},
      {"http://host:8080.9/p", "host", 8080, "/p"},
      {"https://host/p", "https", 0, "//host/p"},
      {"/abc", "", 80, "/abc"},
      {"", "", 80, "/"},
  };
  ExpectParts(cases);
  EXPECT_EQ(UrlHostOf(kAbsent).View(), "");
  EXPECT_EQ(UrlPortOf(kAbsent), 80);
  EXPECT_EQ(UrlPathOf(kAbsent), T("/"));
}

TEST(UrlPartsTable, EdgeCases) {
  const UrlCase cases[] = {
      {"hTtP://MiXeD.Host/KeepCase?Q=V", "mixed.host", 80, "/KeepCase?Q=V"},
      {"http://a:1:2/p", "a", 1, "/p"},               // only the first ":" counts
      {"http://a/b:9/c", "a", 80, "/b:9/c"},          // a ":" in the path does nothing
      {"http://a?q=1/2", "a?q=1", 80, "/2"},          // the query before the first "/" is host part
      {"http://a:x/p", "a", 0, "/p"},
      {"http://a: 81/p", "a", 81, "/p"},              // the number after white space
      {"http://a:\xA3\xB8\xA3\xB1/p", "a", 81, "/p"},  // full-width digits
      {"http://a:99999999999/p", "a", static_cast<std::int32_t>(99999999999LL), "/p"},
      {"http://a:-5/p", "a", -5, "/p"},
      {"http:/", "http", 0, "/"},                     // too short for the scheme
      {"http://", "", 80, "//"},                      // no host: nothing will be sent
      {"http://h/x?q=a b|c&d", "h", 80, "/x?q=a b|c&d"},
  };
  ExpectParts(cases);
}

// A host that also occurs inside "http://" must be looked for after the
// scheme, or the path would start at the scheme's own slashes.
TEST(UrlPartsTable, HostsThatOccurInsideTheScheme) {
  const UrlCase cases[] = {
      {"http://h/x", "h", 80, "/x"},
      {"http://t/x", "t", 80, "/x"},
      {"http://p:81/x", "p", 81, "/x"},
      {"HTTP://HTTP/x", "http", 80, "/x"},
      {"http://tp/a/b", "tp", 80, "/a/b"},
      {"http://h", "h", 80, "/"},
  };
  ExpectParts(cases);
}

}  // namespace
}  // namespace vorlakin
