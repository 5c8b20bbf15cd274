#include "web/web_page_fetch.h"

#include <cstdint>

#include "inet/internet.h"
#include "text/text_operations.h"
#include "web/pending_messages.h"
#include "web/url_parts.h"

namespace vorlakin {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptLine[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr std::int32_t kTimeoutMs = 18000;
constexpr std::int64_t kChunkBytes = 512;
constexpr std::uint32_t kHeaderBufferBytes = 1024;

bool Lacks(const Text& headers, const char* marker) { return FindText(headers, marker, 1, true) == -1; }

std::uint32_t ByteLength(const Text& text) { return static_cast<std::uint32_t>(TextLength(text)); }

}  // namespace

Text FetchWebPage(const Text& url, const Text& method, const std::optional<Text>& proxy, const Text& extraHeaders,
                  const Text& postData, Text* responseHeaders) {
  using namespace inet;

  const Text proxyList = proxy ? ConcatTexts("http=", *proxy) : Text("");
  HINTERNET root = InternetOpenA(kUserAgent, proxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
                                 proxyList.CString(), "", 0);
  if (root == nullptr) {
    return Text();
  }
  HINTERNET connection = InternetConnectA(root, UrlHostOf(url).CString(), UrlPortOf(url), "", "",
                                          INTERNET_SERVICE_HTTP, 0, 0);
  if (connection == nullptr) {
    InternetCloseHandle(root);
    return Text();
  }

  // "post" in any letter case keeps its spelling; every other method is GET.
  const Text verb = CompareTextBytes(TextToUpper(method), "POST") == 0 ? method : Text("GET");
  HINTERNET request = HttpOpenRequestA(connection, verb.CString(), UrlPathOf(url).CString(), "HTTP/1.1", nullptr,
                                       nullptr, INTERNET_FLAG_RELOAD, 0);
  if (request == nullptr) {
    InternetCloseHandle(root);
    InternetCloseHandle(connection);
    return Text();
  }

  std::int32_t timeout = kTimeoutMs;
  for (const std::uint32_t option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
    InternetSetOptionA(request, option, &timeout, sizeof timeout);
  }

  Text headers = ToText(extraHeaders);
  if (Lacks(headers, "Accept: ")) {
    headers = ConcatTexts(headers, kAcceptLine);
  }
  if (Lacks(headers, "Referer: ")) {
    headers = ConcatTexts(headers, "Referer: ", url, "\r\n");
  }
  if (Lacks(headers, "Accept-Language: ")) {
    headers = ConcatTexts(headers, "Accept-Language: zh-cn\r\n");
  }

  if (CompareTextBytes(verb, "GET") == 0) {
    HttpSendRequestA(request, headers.CString(), ByteLength(headers), "", 0);
  } else {
    if (CompareTextBytes(postData, "") != 0) {
      headers = ConcatTexts(headers, "Content-Type: application/x-www-form-urlencoded\r\n");
      headers = ConcatTexts(headers, "Content-Length: ", ToText(TextLength(postData)), "\r\n");
    }
    HttpSendRequestA(request, headers.CString(), ByteLength(headers), postData.CString(), ByteLength(postData));
  }

  // The reply grows in place; a failed send shows up as an empty first read.
  ByteBuffer reply;
  std::int32_t readCount = 1;
  while (readCount > 0) {
    ByteBuffer chunk = BlankBytes(kChunkBytes);
    ProcessPendingMessages();
    InternetReadFile(request, chunk.MutableData(), kChunkBytes, &readCount);
    reply = ConcatByteBuffers(std::move(reply), BytesLeft(std::move(chunk), readCount));
  }

  if (responseHeaders != nullptr) {
    // 1024 spaces and the NUL after them; a query that fails leaves them.
    const Text spaces = BlankText(kHeaderBufferBytes);
    ByteBuffer buffer = ByteBuffer::Present({spaces.CString(), kHeaderBufferBytes + 1});
    std::uint32_t length = kHeaderBufferBytes;
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.MutableData(), &length, nullptr);
    *responseHeaders = ToText(buffer);
  }

  InternetCloseHandle(root);
  InternetCloseHandle(connection);
  InternetCloseHandle(request);
  return ToText(std::move(reply));
}

}  // namespace vorlakin
