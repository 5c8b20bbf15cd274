#include "support/raw_http_server.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace vorlakin::testing {
namespace {

constexpr auto kReadLimit = std::chrono::seconds(10);

int ListenOnLoopback(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket");
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // a free port
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
    close(fd);
    throw std::runtime_error("bind/listen on 127.0.0.1");
  }
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

std::size_t ContentLength(const std::string& head) {
  std::string lower = head;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const std::size_t at = lower.find("\r\ncontent-length:");
  return at == std::string::npos ? 0 : std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

// The request's head and its Content-Length body, read within kReadLimit.
std::string ReadRequest(int client) {
  std::string data;
  const auto deadline = std::chrono::steady_clock::now() + kReadLimit;
  char buffer[4096];
  for (;;) {
    const std::size_t headEnd = data.find("\r\n\r\n");
    if (headEnd != std::string::npos && data.size() >= headEnd + 4 + ContentLength(data.substr(0, headEnd + 2))) {
      return data;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{client, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return data;
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return data;
    data.append(buffer, static_cast<std::size_t>(n));
  }
}

bool SendAll(int client, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

RawHttpServer::RawHttpServer(Script script, int maxConnections) : script_(std::move(script)) {
  listener_ = ListenOnLoopback(port_);
  acceptor_ = std::thread([this, maxConnections] { AcceptLoop(maxConnections); });
}

RawHttpServer::~RawHttpServer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  acceptor_.join();
  for (std::thread& worker : workers_) worker.join();
  close(listener_);
}

std::string RawHttpServer::Url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::vector<std::string> RawHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

bool RawHttpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

bool RawHttpServer::WaitUntilIdle(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return openConnections_ == 0; });
}

void RawHttpServer::AcceptLoop(int maxConnections) {
  for (int served = 0; served < maxConnections && !stopping_;) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++served;
    {
      const std::lock_guard lock(mutex_);
      ++openConnections_;
    }
    workers_.emplace_back([this, client] { Serve(client); });
  }
}

bool RawHttpServer::SleepUnlessStopped(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !changed_.wait_for(lock, duration, [&] { return stopping_.load(); });
}

void RawHttpServer::Serve(int client) {
  const std::string request = ReadRequest(client);
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  changed_.notify_all();
  const ScriptedReply reply = script_(request);
  bool ok = SendAll(client, reply.head);
  for (std::size_t i = 0; ok && i < reply.repeat; ++i) ok = SendAll(client, reply.bytes);
  switch (reply.end) {
    case ScriptedReply::End::kReset: {
      const linger abort{1, 0};  // close with a reset, not a FIN
      setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      break;
    }
    case ScriptedReply::End::kStall:
      SleepUnlessStopped(reply.stall);
      break;
    case ScriptedReply::End::kClose:
      shutdown(client, SHUT_WR);
      break;
  }
  close(client);
  {
    const std::lock_guard lock(mutex_);
    --openConnections_;
  }
  changed_.notify_all();
}

ScriptedReply RawReply(std::string bytes, ScriptedReply::End end, std::chrono::milliseconds stall) {
  ScriptedReply reply;
  reply.bytes = std::move(bytes);
  reply.end = end;
  reply.stall = stall;
  return reply;
}

ScriptedReply HttpReply(const std::string& status, const std::string& body, const std::string& extraHeaders) {
  ScriptedReply reply;
  reply.bytes = "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
  return reply;
}

int UnusedPort() {
  int port = 0;
  close(ListenOnLoopback(port));
  return port;
}

int OpenDescriptorCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count - 3;  // ".", ".." and the directory's own descriptor
}

}  // namespace vorlakin::testing
