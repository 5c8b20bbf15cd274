#include "inet/internet.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vorlakin::inet {

using Clock = std::chrono::steady_clock;

namespace {

// Bytes of body that may wait for the caller before the transfer pauses.
constexpr std::size_t kReadAhead = 64 * 1024;
// Time-outs until a caller sets its own, in milliseconds.
constexpr std::int32_t kDefaultTimeoutMs = 60000;

struct Timeouts {
  std::int32_t connectMs = kDefaultTimeoutMs;
  std::int32_t sendMs = kDefaultTimeoutMs;
  std::int32_t receiveMs = kDefaultTimeoutMs;
};

// What a request needs of the root and connection it was made from.
struct Route {
  std::string userAgent;
  bool viaProxy = false;
  std::string proxy;  // host:port of the http proxy
  std::string host;
  std::int32_t port = 0;
};

}  // namespace

struct Handle {
  enum class Kind { kRoot, kConnection, kRequest };
  explicit Handle(Kind k) : kind(k) {}
  virtual ~Handle() = default;

  Kind kind;
  Timeouts timeouts;
  Route route;
};

namespace {

struct Request final : Handle {
  Request() : Handle(Kind::kRequest) {}
  ~Request() override;

  std::string verb;
  std::string path;
  long httpVersion = CURL_HTTP_VERSION_1_1;

  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  std::string body;

  bool sent = false;
  bool failed = false;
  bool transferDone = false;
  bool paused = false;

  // The head of the final response; earlier 1xx heads are dropped.
  std::string headBlock;
  std::string pendingHead;
  bool headComplete = false;

  // Body bytes received and not yet read.
  std::string buffered;
  std::size_t bufferedOffset = 0;

  Clock::time_point lastActivity{};
  curl_off_t uploaded = 0;
  curl_off_t uploadTotal = 0;

  std::size_t Available() const { return buffered.size() - bufferedOffset; }
};

Request::~Request() {
  if (multi != nullptr && easy != nullptr) {
    curl_multi_remove_handle(multi, easy);
  }
  if (easy != nullptr) {
    curl_easy_cleanup(easy);
  }
  if (multi != nullptr) {
    curl_multi_cleanup(multi);
  }
  curl_slist_free_all(headerList);
}

std::mutex gHandlesMutex;
std::unordered_set<Handle*> gHandles;

HINTERNET Register(std::unique_ptr<Handle> handle) {
  const std::lock_guard lock(gHandlesMutex);
  gHandles.insert(handle.get());
  return handle.release();
}

// The handle, if it is open and of the wanted kind.
template <class T = Handle>
T* Find(HINTERNET handle, Handle::Kind kind) {
  const std::lock_guard lock(gHandlesMutex);
  if (handle == nullptr || gHandles.count(handle) == 0 || handle->kind != kind) {
    return nullptr;
  }
  return static_cast<T*>(handle);
}

std::string_view ViewOf(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsPlainHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) {
    return false;
  }
  return std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
  });
}

// "http=host:port" gives host:port; a list in no such form is taken whole.
std::string ProxyForHttp(std::string_view list) {
  for (std::size_t at = 0; at <= list.size();) {
    const std::size_t end = std::min(list.find_first_of(" ;", at), list.size());
    const std::string_view entry = list.substr(at, end - at);
    if (entry.rfind("http=", 0) == 0) {
      return std::string(entry.substr(5));
    }
    at = end + 1;
  }
  return list.find('=') == std::string_view::npos ? std::string(list) : std::string();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
         });
}

std::once_flag gCurlInit;

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<Request*>(user);
  const size_t bytes = size * count;
  request->lastActivity = Clock::now();
  std::string_view line(data, bytes);
  if (line.rfind("HTTP/", 0) == 0) {
    request->pendingHead.clear();  // a new head: after a 1xx, the final one
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  request->pendingHead.append(line);
  request->pendingHead += "\r\n";
  if (line.empty()) {
    long status = 0;
    curl_easy_getinfo(request->easy, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200 || status == 0) {
      request->headBlock = request->pendingHead;
      request->headComplete = true;
    }
    request->pendingHead.clear();
  }
  return bytes;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<Request*>(user);
  const size_t bytes = size * count;
  request->lastActivity = Clock::now();
  if (request->Available() >= kReadAhead) {
    request->paused = true;
    return CURL_WRITEFUNC_PAUSE;  // curl keeps the bytes and offers them again
  }
  if (request->bufferedOffset > 0 && request->bufferedOffset >= request->buffered.size() / 2) {
    request->buffered.erase(0, request->bufferedOffset);
    request->bufferedOffset = 0;
  }
  request->buffered.append(data, bytes);
  return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded) {
  auto* request = static_cast<Request*>(user);
  if (uploaded != request->uploaded) {
    request->lastActivity = Clock::now();
  }
  request->uploaded = uploaded;
  request->uploadTotal = uploadTotal;
  return 0;
}

// The caller's header text as curl's list, line by line and in order. An
// empty value ("Name:") is written "Name;", which curl sends as "Name:".
// Headers curl would add on its own are switched off unless the caller
// gives them. False when a line holds a lone CR or LF.
bool BuildHeaderList(Request& request, std::string_view text) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string line(text.substr(at, end - at));
    at = end + 2;
    if (line.empty()) {
      continue;
    }
    if (HasLineBreak(line)) {
      return false;
    }
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
      names.push_back(line.substr(0, colon));
      if (line.find_first_not_of(' ', colon + 1) == std::string::npos) {
        line = line.substr(0, colon) + ";";
      }
    }
    request.headerList = curl_slist_append(request.headerList, line.c_str());
  }
  for (const char* own : {"Accept", "Expect", "Content-Type", "Proxy-Connection"}) {
    const bool given = std::any_of(names.begin(), names.end(), [&](const std::string& n) { return EqualsIgnoringCase(n, own); });
    if (!given) {
      request.headerList = curl_slist_append(request.headerList, (std::string(own) + ":").c_str());
    }
  }
  return true;
}

bool SetUpTransfer(Request& request, std::string_view headers, const void* body, std::uint32_t bodyLength) {
  std::call_once(gCurlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  request.multi = curl_multi_init();
  request.easy = curl_easy_init();
  if (request.multi == nullptr || request.easy == nullptr || !BuildHeaderList(request, headers)) {
    return false;
  }
  const Route& route = request.route;
  const std::string origin = "http://" + route.host + ":" + std::to_string(route.port);
  // The request target goes out byte for byte; through a proxy it is the
  // absolute form.
  const std::string target = route.viaProxy ? origin + request.path : request.path;
  CURL* easy = request.easy;
  curl_easy_setopt(easy, CURLOPT_URL, (origin + "/").c_str());
  curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, target.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, request.httpVersion);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, route.userAgent.c_str());
  if (route.viaProxy) {
    if (route.proxy.empty() || (route.proxy.find("://") != std::string::npos && route.proxy.rfind("http://", 0) != 0)) {
      return false;  // no http proxy named
    }
    curl_easy_setopt(easy, CURLOPT_PROXY, route.proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
  } else {
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // and no proxy from the environment
  }
  if (request.verb == "GET" && bodyLength == 0) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
  }
  if (bodyLength > 0 && body != nullptr) {
    request.body.assign(static_cast<const char*>(body), bodyLength);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
  }
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, request.headerList);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &request);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &request);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &request);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(1, request.timeouts.connectMs)));
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  return curl_multi_add_handle(request.multi, easy) == CURLM_OK;
}

// Drives the transfer until `ready` holds, the transfer ends, or nothing
// has come for longer than the time-out that applies. False when the wait
// ended without `ready`.
template <class Ready>
bool Drive(Request& request, Ready ready) {
  while (!ready()) {
    if (request.transferDone || request.failed) {
      return false;
    }
    int running = 0;
    if (curl_multi_perform(request.multi, &running) != CURLM_OK) {
      request.failed = true;
      return false;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(request.multi, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        request.transferDone = true;
        if (message->data.result != CURLE_OK) {
          request.failed = true;
        }
      }
    }
    if (ready()) {
      return true;
    }
    if (request.transferDone) {
      return false;
    }
    // The no-data timer starts once the connection stands (curl bounds the
    // connect itself); sending and receiving each have their own limit.
    curl_off_t connectTime = 0;
    curl_easy_getinfo(request.easy, CURLINFO_CONNECT_TIME_T, &connectTime);
    const bool uploading = request.uploadTotal > 0 && request.uploaded < request.uploadTotal;
    const auto limit = std::chrono::milliseconds(
        std::max(1, uploading ? request.timeouts.sendMs : request.timeouts.receiveMs));
    const auto now = Clock::now();
    if (connectTime > 0 && !request.paused && now - request.lastActivity > limit) {
      request.failed = true;
      return false;
    }
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(request.lastActivity + limit - now).count();
    wait = std::clamp<long long>(wait, 1, 100);
    curl_multi_poll(request.multi, nullptr, 0, static_cast<int>(wait), nullptr);
  }
  return true;
}

}  // namespace

HINTERNET InternetOpenA(const char* userAgent, std::uint32_t accessType, const char* proxyList, const char*,
                        std::uint32_t) {
  if (accessType != INTERNET_OPEN_TYPE_DIRECT && accessType != INTERNET_OPEN_TYPE_PROXY) {
    return nullptr;
  }
  auto root = std::make_unique<Handle>(Handle::Kind::kRoot);
  root->route.userAgent = ViewOf(userAgent);
  root->route.viaProxy = accessType == INTERNET_OPEN_TYPE_PROXY;
  if (root->route.viaProxy) {
    root->route.proxy = ProxyForHttp(ViewOf(proxyList));
  }
  return Register(std::move(root));
}

HINTERNET InternetConnectA(HINTERNET rootHandle, const char* serverName, std::int32_t serverPort, const char*,
                           const char*, std::uint32_t service, std::uint32_t, std::uintptr_t) {
  const Handle* root = Find(rootHandle, Handle::Kind::kRoot);
  if (root == nullptr || service != INTERNET_SERVICE_HTTP || !IsPlainHostName(ViewOf(serverName)) ||
      serverPort < 1 || serverPort > 65535) {
    return nullptr;
  }
  auto connection = std::make_unique<Handle>(Handle::Kind::kConnection);
  connection->timeouts = root->timeouts;
  connection->route = root->route;
  connection->route.host = serverName;
  connection->route.port = serverPort;
  return Register(std::move(connection));
}

HINTERNET HttpOpenRequestA(HINTERNET connectionHandle, const char* verb, const char* objectName,
                           const char* version, const char*, const char**, std::uint32_t, std::uintptr_t) {
  const Handle* connection = Find(connectionHandle, Handle::Kind::kConnection);
  const std::string_view verbText = verb != nullptr && *verb != '\0' ? std::string_view(verb) : "GET";
  const std::string_view path = objectName != nullptr && *objectName != '\0' ? std::string_view(objectName) : "/";
  if (connection == nullptr || HasLineBreak(verbText) || HasLineBreak(path) ||
      verbText.find(' ') != std::string_view::npos) {
    return nullptr;
  }
  auto request = std::make_unique<Request>();
  request->timeouts = connection->timeouts;
  request->route = connection->route;
  request->verb = verbText;
  request->path = path;
  if (ViewOf(version) == "HTTP/1.0") {
    request->httpVersion = CURL_HTTP_VERSION_1_0;
  }
  return Register(std::move(request));
}

bool InternetSetOptionA(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t bufferLength) {
  Handle* target = nullptr;
  for (const auto kind : {Handle::Kind::kRoot, Handle::Kind::kConnection, Handle::Kind::kRequest}) {
    if (target == nullptr) target = Find(handle, kind);
  }
  if (target == nullptr || buffer == nullptr || bufferLength != sizeof(std::int32_t)) {
    return false;
  }
  std::int32_t value = 0;
  std::memcpy(&value, buffer, sizeof value);
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      target->timeouts.connectMs = value;
      return true;
    case INTERNET_OPTION_SEND_TIMEOUT:
      target->timeouts.sendMs = value;
      return true;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      target->timeouts.receiveMs = value;
      return true;
    default:
      return false;
  }
}

bool HttpSendRequestA(HINTERNET requestHandle, const char* headers, std::uint32_t headersLength, const void* body,
                      std::uint32_t bodyLength) {
  auto* request = Find<Request>(requestHandle, Handle::Kind::kRequest);
  if (request == nullptr || request->sent) {
    return false;
  }
  request->sent = true;
  const std::string_view headerText =
      headers != nullptr ? std::string_view(headers, std::min<std::size_t>(headersLength, std::strlen(headers)))
                         : std::string_view();
  request->lastActivity = Clock::now();
  if (!SetUpTransfer(*request, headerText, body, bodyLength)) {
    request->failed = true;
    return false;
  }
  if (!Drive(*request, [request] { return request->headComplete; })) {
    request->failed = true;  // no head: nothing of the body will be read
    return false;
  }
  return true;
}

bool InternetReadFile(HINTERNET requestHandle, void* buffer, std::uint32_t bytesToRead, std::int32_t* bytesRead) {
  if (bytesRead != nullptr) {
    *bytesRead = 0;
  }
  auto* request = Find<Request>(requestHandle, Handle::Kind::kRequest);
  if (request == nullptr || bytesRead == nullptr || buffer == nullptr || !request->headComplete) {
    return false;
  }
  if (request->Available() == 0 && !request->transferDone && !request->failed) {
    if (request->paused) {
      request->paused = false;
      request->lastActivity = Clock::now();
      curl_easy_pause(request->easy, CURLPAUSE_CONT);
    }
    Drive(*request, [request] { return request->Available() > 0; });
  }
  const std::size_t count = std::min<std::size_t>({request->Available(), bytesToRead, INT32_MAX});
  std::memcpy(buffer, request->buffered.data() + request->bufferedOffset, count);
  request->bufferedOffset += count;
  *bytesRead = static_cast<std::int32_t>(count);
  return count > 0 || (request->transferDone && !request->failed);
}

bool HttpQueryInfoA(HINTERNET requestHandle, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                    std::uint32_t*) {
  const auto* request = Find<Request>(requestHandle, Handle::Kind::kRequest);
  if (request == nullptr || bufferLength == nullptr || infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF ||
      !request->headComplete) {
    return false;
  }
  const std::string& head = request->headBlock;
  if (buffer == nullptr || head.size() + 1 > *bufferLength) {
    *bufferLength = static_cast<std::uint32_t>(head.size() + 1);
    return false;
  }
  std::memcpy(buffer, head.c_str(), head.size() + 1);
  *bufferLength = static_cast<std::uint32_t>(head.size());
  return true;
}

bool InternetCloseHandle(HINTERNET handle) {
  {
    const std::lock_guard lock(gHandlesMutex);
    if (handle == nullptr || gHandles.erase(handle) == 0) {
      return false;
    }
  }
  delete handle;
  return true;
}

int OpenHandleCount() {
  const std::lock_guard lock(gHandlesMutex);
  return static_cast<int>(gHandles.size());
}

}  // namespace vorlakin::inet
