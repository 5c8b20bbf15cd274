#pragma once
// A small blocking HTTP client with handles: a root handle (user agent and
// proxy), a connection handle (host and port) and a request handle (verb,
// path, header lines, body). The page fetch uses it and nothing else talks
// to the network. Built on libcurl.
//
// The contract:
//  - every function that makes a handle gives null on failure;
//  - every call blocks until its work is done or has failed;
//  - HttpSendRequestA returns once the response head has arrived;
//  - InternetReadFile reports 0 bytes at the end of the body and after any
//    failure (refused, reset, no data within the receive time-out);
//  - HttpQueryInfoA leaves the caller's buffer untouched when it fails;
//  - the caller's header lines go out unchanged and in their order, after
//    the Host and User-Agent lines.
// Handles are independent of each other once made: closing a root or a
// connection handle does not invalidate the handles made from it.

#include <cstdint>

namespace vorlakin::inet {

struct Handle;
using HINTERNET = Handle*;

// Access types for InternetOpenA.
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PROXY = 3;
// The one service InternetConnectA knows.
inline constexpr std::uint32_t INTERNET_SERVICE_HTTP = 3;
// Request flag: always fetch from the server (this client keeps no cache).
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
// Options for InternetSetOptionA, each a 4-byte count of milliseconds.
inline constexpr std::uint32_t INTERNET_OPTION_CONNECT_TIMEOUT = 2;
inline constexpr std::uint32_t INTERNET_OPTION_SEND_TIMEOUT = 5;
inline constexpr std::uint32_t INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
// Information level for HttpQueryInfoA: the raw response head, each line
// ended by CR LF, the block ended by an empty line.
inline constexpr std::uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;

// The proxy list names the proxy for http as "http=host:port".
HINTERNET InternetOpenA(const char* userAgent, std::uint32_t accessType, const char* proxyList,
                        const char* proxyBypass, std::uint32_t flags);

// Fails for an empty host, a host that is no plain name or address, or a
// port outside 1..65535.
HINTERNET InternetConnectA(HINTERNET root, const char* serverName, std::int32_t serverPort, const char* userName,
                           const char* password, std::uint32_t service, std::uint32_t flags,
                           std::uintptr_t context);

// The verb is sent as spelled; the object name (path and query) byte for
// byte. Fails when either holds a line break, which would split the request.
HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* objectName, const char* version,
                           const char* referrer, const char** acceptTypes, std::uint32_t flags,
                           std::uintptr_t context);

bool InternetSetOptionA(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t bufferLength);

// `headers` holds lines each ended by CR LF; `body` is sent when its length
// is above 0. Returns whether the response head arrived.
bool HttpSendRequestA(HINTERNET request, const char* headers, std::uint32_t headersLength, const void* body,
                      std::uint32_t bodyLength);

// Copies up to `bytesToRead` bytes of the body; `bytesRead` gets the count,
// 0 at the end of the body and after any failure.
bool InternetReadFile(HINTERNET request, void* buffer, std::uint32_t bytesToRead, std::int32_t* bytesRead);

// With HTTP_QUERY_RAW_HEADERS_CRLF, copies the response head and a NUL when
// both fit in *bufferLength bytes and sets *bufferLength to the head's
// length; otherwise fails, sets *bufferLength to the bytes needed and
// leaves the buffer as it was.
bool HttpQueryInfoA(HINTERNET request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                    std::uint32_t* index);

bool InternetCloseHandle(HINTERNET handle);

// How many handles are open: for tests that check nothing is left behind.
int OpenHandleCount();

}  // namespace vorlakin::inet
