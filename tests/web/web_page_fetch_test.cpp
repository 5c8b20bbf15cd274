// FetchWebPage against real servers on 127.0.0.1: a raw one of our own where
// the exact request bytes or a broken reply matter, cpp-httplib for ordinary
// replies.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "inet/internet.h"
#include "support/raw_http_server.h"
#include "support/text_printing.h"
#include "web/pending_messages.h"
#include "web/web_page_fetch.h"

namespace vorlakin {
namespace {

using testing::HttpReply;
using testing::RawReply;
using testing::RawHttpServer;
using testing::ScriptedReply;

constexpr char kAccept[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

ScriptedReply Ok(const std::string& body = "ok") { return HttpReply("200 OK", body); }

std::string HostLine(const RawHttpServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
}

// Starts cpp-httplib on a free port of 127.0.0.1; stops when destroyed.
class HttplibServer {
 public:
  explicit HttplibServer(const std::function<void(httplib::Server&)>& routes) {
    routes(server_);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~HttplibServer() {
    server_.stop();
    thread_.join();
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

class FetchTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(inet::OpenHandleCount(), 0) << "a handle outlived its fetch"; }
};

TEST_F(FetchTest, PlainGetSendsExactlyTheThreeDefaultLines) {
  RawHttpServer server([](const std::string&) { return Ok("hello"); });
  const std::string url = server.Url("/track?id=1&nu=2");
  EXPECT_EQ(FetchWebPage(Text(url.c_str())), T("hello"));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0], "GET /track?id=1&nu=2 HTTP/1.1\r\n" + HostLine(server) + kUserAgent + kAccept +
                                      "Referer: " + url + "\r\nAccept-Language: zh-cn\r\n\r\n");
}

TEST_F(FetchTest, PathGoesOutByteForByte) {
  RawHttpServer server([](const std::string&) { return Ok(); });
  // Spaces, bars, ampersands and GBK bytes, as a typed tracking number may hold.
  const std::string path = "/?id=K&com=yuantong&nu= 12 \xD6\xD0&x|y&type=html|text|json";
  EXPECT_EQ(FetchWebPage(Text(server.Url(path).c_str())), T("ok"));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].substr(0, path.size() + 15), "GET " + path + " HTTP/1.1\r\n");
}

TEST_F(FetchTest, MethodRuleAndBodies) {
  RawHttpServer server([](const std::string&) { return Ok(); });
  const Text url(server.Url("/m").c_str());
  struct Case {
    Text method;
    Text postData;
    std::string requestStart;
    std::string tail;  // what follows the three default lines
  };
  const Case cases[] = {
      {T("Post"), T("a=1&b=2"), "Post /m HTTP/1.1",
       "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 7\r\n\r\na=1&b=2"},
      {T("post"), kAbsent, "post /m HTTP/1.1", "\r\n"},  // no Content lines, no body
      {T("POST"), T(""), "POST /m HTTP/1.1", "\r\n"},
      {T("PUT"), kAbsent, "GET /m HTTP/1.1", "\r\n"},
      {T("HEAD"), kAbsent, "GET /m HTTP/1.1", "\r\n"},
      {T("get"), T("x=1"), "GET /m HTTP/1.1", "\r\n"},  // a GET sends no body
      {T(""), kAbsent, "GET /m HTTP/1.1", "\r\n"},
      {kAbsent, T("x=1"), "GET /m HTTP/1.1", "\r\n"},
  };
  std::size_t seen = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(FetchWebPage(url, c.method, std::nullopt, kAbsent, c.postData), T("ok"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), ++seen);
    const std::string& request = requests.back();
    EXPECT_EQ(request.substr(0, c.requestStart.size() + 2), c.requestStart + "\r\n") << c.requestStart;
    const std::string defaults =
        std::string(kAccept) + "Referer: " + std::string(url.View()) + "\r\nAccept-Language: zh-cn\r\n";
    EXPECT_EQ(request.substr(request.find(kAccept)), defaults + c.tail) << c.requestStart;
  }
}

TEST_F(FetchTest, CallerHeaderLinesAndTheMarkerSearches) {
  RawHttpServer server([](const std::string&) { return Ok(); });
  const Text url(server.Url("/h").c_str());
  const std::string referer = "Referer: " + std::string(url.View()) + "\r\n";
  struct Case {
    const char* extra;
    std::string expectedHeaders;  // everything after User-Agent
  };
  const Case cases[] = {
      // An Accept line of the caller's own, in lower case, suppresses the default one.
      {"accept: text/plain\r\n", "accept: text/plain\r\n" + referer + "Accept-Language: zh-cn\r\n\r\n"},
      // So does a header whose name merely ends in Accept.
      {"X-Accept: 1\r\n", "X-Accept: 1\r\n" + referer + "Accept-Language: zh-cn\r\n\r\n"},
      // The caller's lines keep their order; an empty value goes out as it is.
      {"X-B: 2\r\nX-A: 1\r\nX-Empty:\r\n",
       "X-B: 2\r\nX-A: 1\r\nX-Empty:\r\n" + std::string(kAccept) + referer + "Accept-Language: zh-cn\r\n\r\n"},
      // Own Referer and Accept-Language lines are kept, no defaults added.
      {"REFERER: me\r\naccept-language: en\r\n",
       "REFERER: me\r\naccept-language: en\r\n" + std::string(kAccept) + "\r\n"},
      // A last line without CR LF gets the Accept line glued to its end.
      {"X-Last: v", "X-Last: v" + std::string(kAccept) + referer + "Accept-Language: zh-cn\r\n\r\n"},
  };
  std::size_t seen = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(FetchWebPage(url, kAbsent, std::nullopt, T(c.extra)), T("ok")) << c.extra;
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), ++seen);
    const std::string& request = requests.back();
    EXPECT_EQ(request.substr(request.find(kUserAgent) + std::strlen(kUserAgent)), c.expectedHeaders) << c.extra;
  }
}

TEST_F(FetchTest, ProxyGetsTheAbsoluteTarget) {
  RawHttpServer proxy([](const std::string&) { return Ok("via proxy"); });
  const Text url("http://tracking.example:8080/?nu=1");
  const Text viaProxy =
      FetchWebPage(url, kAbsent, T(("127.0.0.1:" + std::to_string(proxy.port())).c_str()));
  EXPECT_EQ(viaProxy, T("via proxy"));
  ASSERT_EQ(proxy.Requests().size(), 1u);
  const std::string request = proxy.Requests()[0];
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET http://tracking.example:8080/?nu=1 HTTP/1.1");
  EXPECT_NE(request.find("\r\nHost: tracking.example:8080\r\n"), std::string::npos);
  EXPECT_EQ(request.find("Proxy-Connection"), std::string::npos);
  // A proxy that is given but empty still means proxy access: there is no
  // proxy to reach, so nothing is fetched.
  EXPECT_EQ(FetchWebPage(url, kAbsent, T("")), kAbsent);
}

TEST_F(FetchTest, NoEnvironmentProxyForDirectAccess) {
  RawHttpServer server([](const std::string&) { return Ok("direct"); });
  RawHttpServer trap([](const std::string&) { return Ok("trap"); });
  const std::string trapUrl = trap.Url("");
  setenv("http_proxy", trapUrl.c_str(), 1);
  setenv("HTTP_PROXY", trapUrl.c_str(), 1);
  const Text body = FetchWebPage(Text(server.Url("/").c_str()));
  unsetenv("http_proxy");
  unsetenv("HTTP_PROXY");
  EXPECT_EQ(body, T("direct"));
  EXPECT_TRUE(trap.Requests().empty());
}

TEST_F(FetchTest, UnreachableTargetsGiveTheEmptyText) {
  const int closedPort = testing::UnusedPort();
  // A label of 70 letters cannot be looked up: the resolver refuses it
  // before asking any name server.
  const std::string unresolvable = "http://" + std::string(70, 'a') + ".invalid/p";
  const std::string urls[] = {
      "http://127.0.0.1:" + std::to_string(closedPort) + "/p",  // refused
      unresolvable,
      "http:///p",                                             // empty host
      "/only/a/path",                                          // empty host
      "https://127.0.0.1:" + std::to_string(closedPort) + "/p",  // host "https", port 0
      "http://127.0.0.1:0/p",
      "http://127.0.0.1:70000/p",
      "http://127.0.0.1:-80/p",
      "http://a@127.0.0.1/p",                                  // no plain host name
  };
  for (const std::string& url : urls) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchWebPage(Text(url.c_str())), kAbsent) << url;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << url;
    EXPECT_EQ(inet::OpenHandleCount(), 0) << url;
  }
}

TEST_F(FetchTest, ErrorStatusBodiesAreReturnedLikeAnyOther) {
  HttplibServer server([](httplib::Server& s) {
    s.Get("/missing", [](const httplib::Request&, httplib::Response& r) {
      r.status = 404;
      r.set_content("no such parcel", "text/plain");
    });
    s.Get("/broken", [](const httplib::Request&, httplib::Response& r) {
      r.status = 500;
      r.set_content("server trouble", "text/plain");
    });
  });
  EXPECT_EQ(FetchWebPage(Text(server.Url("/missing").c_str())), T("no such parcel"));
  EXPECT_EQ(FetchWebPage(Text(server.Url("/broken").c_str())), T("server trouble"));
}

TEST_F(FetchTest, EveryBodyFramingArrivesWhole) {
  std::string big;
  for (int i = 0; big.size() < 300000; ++i) big += "event " + std::to_string(i) + ";";
  HttplibServer server([&big](httplib::Server& s) {
    s.Get("/length", [&big](const httplib::Request&, httplib::Response& r) { r.set_content(big, "text/plain"); });
    s.Get("/chunked", [&big](const httplib::Request&, httplib::Response& r) {
      r.set_chunked_content_provider("text/plain", [&big](std::size_t offset, httplib::DataSink& sink) {
        if (offset < big.size()) {
          sink.write(big.data() + offset, std::min<std::size_t>(777, big.size() - offset));
        } else {
          sink.done();
        }
        return true;
      });
    });
  });
  EXPECT_EQ(FetchWebPage(Text(server.Url("/length").c_str())).View(), big);
  EXPECT_EQ(FetchWebPage(Text(server.Url("/chunked").c_str())).View(), big);
  // Delimited by the close of the connection, with no length at all.
  RawHttpServer closing([&big](const std::string&) {
    return RawReply("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + big);
  });
  EXPECT_EQ(FetchWebPage(Text(closing.Url("/").c_str())).View(), big);
}

TEST_F(FetchTest, ABodyEndsAtItsFirstNulByte) {
  RawHttpServer server([](const std::string&) { return HttpReply("200 OK", std::string("AB\0CD", 5)); });
  EXPECT_EQ(FetchWebPage(Text(server.Url("/").c_str())), T("AB"));
  RawHttpServer leading([](const std::string&) { return HttpReply("200 OK", std::string("\0CD", 3)); });
  EXPECT_EQ(FetchWebPage(Text(leading.Url("/").c_str())), kAbsent);
}

TEST_F(FetchTest, AResetMidBodyKeepsWhatArrived) {
  RawHttpServer server([](const std::string&) {
    return RawReply("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(3000, 'x'),
                    ScriptedReply::End::kReset);
  });
  EXPECT_EQ(FetchWebPage(Text(server.Url("/").c_str())).View(), std::string(3000, 'x'));
}

TEST_F(FetchTest, ResponseHeadBlockOrSpacesWhenItDoesNotFit) {
  RawHttpServer small([](const std::string&) { return HttpReply("200 OK", "b", "X-Note: hi\r\n"); });
  Text head("untouched");
  EXPECT_EQ(FetchWebPage(Text(small.Url("/").c_str()), kAbsent, std::nullopt, kAbsent, kAbsent, &head), T("b"));
  EXPECT_EQ(head, T("HTTP/1.1 200 OK\r\nContent-Length: 1\r\nConnection: close\r\nX-Note: hi\r\n\r\n"));

  RawHttpServer large([](const std::string&) { return HttpReply("200 OK", "b", "X-Long: " + std::string(1100, 'v') + "\r\n"); });
  EXPECT_EQ(FetchWebPage(Text(large.Url("/").c_str()), kAbsent, std::nullopt, kAbsent, kAbsent, &head), T("b"));
  EXPECT_EQ(head.View(), std::string(1024, ' '));

  // A failed exchange has no head at all.
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/";
  EXPECT_EQ(FetchWebPage(Text(refused.c_str()), kAbsent, std::nullopt, kAbsent, kAbsent, &head), kAbsent);
  EXPECT_EQ(head.View(), std::string(1024, ' '));

  // An interim 100 Continue head is not the response's head.
  RawHttpServer interim([](const std::string&) {
    return RawReply("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
  });
  EXPECT_EQ(FetchWebPage(Text(interim.Url("/").c_str()), kAbsent, std::nullopt, kAbsent, kAbsent, &head), T("ok"));
  EXPECT_EQ(head, T("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n"));
}

int gPumpCalls = 0;

TEST_F(FetchTest, PendingMessagesArePumpedBeforeEveryRead) {
  const std::string body(5000, 'p');
  RawHttpServer server([&body](const std::string&) { return HttpReply("200 OK", body); });
  gPumpCalls = 0;
  SetPendingMessagePump([] { ++gPumpCalls; });
  EXPECT_EQ(FetchWebPage(Text(server.Url("/").c_str())).View(), body);
  SetPendingMessagePump(nullptr);
  // At least one read per 512 bytes, and the last read that finds the end.
  EXPECT_GE(gPumpCalls, 5000 / 512 + 2);
}

TEST_F(FetchTest, NoDescriptorOrHandleSurvivesManyFetches) {
  RawHttpServer server([](const std::string&) { return Ok("fine"); }, 200);
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/";
  FetchWebPage(Text(server.Url("/").c_str()));  // curl's one-time set-up
  // The server runs in this process too: count only once its side is closed.
  ASSERT_TRUE(server.WaitUntilIdle(std::chrono::seconds(5)));
  const int before = testing::OpenDescriptorCount();
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(FetchWebPage(Text(server.Url("/").c_str())), T("fine"));
    EXPECT_EQ(FetchWebPage(Text(refused.c_str())), kAbsent);
  }
  ASSERT_TRUE(server.WaitUntilIdle(std::chrono::seconds(5)));
  EXPECT_EQ(testing::OpenDescriptorCount(), before);
}

// The one slow test: the server sends part of the body, then nothing.
TEST_F(FetchTest, SilenceForEighteenSecondsEndsTheRead) {
  RawHttpServer server([](const std::string&) {
    return RawReply("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1500, 's'),
                    ScriptedReply::End::kStall, std::chrono::seconds(25));
  });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchWebPage(Text(server.Url("/").c_str())).View(), std::string(1500, 's'));
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, std::chrono::milliseconds(17900));
  EXPECT_LT(waited, std::chrono::milliseconds(20000));
}

}  // namespace
}  // namespace vorlakin
