#pragma once
// A small HTTP server on 127.0.0.1 for tests and benchmarks that need the
// exact bytes of a request, or a reply that breaks off, stalls or misbehaves
// in ways a real server library will not. It listens on a free port, serves
// each connection on its own thread, records what it was sent, and stops by
// itself: after `maxConnections`, or when destroyed (which also cuts short
// any stall).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vorlakin::testing {

struct ScriptedReply {
  enum class End {
    kClose,  // orderly close after the bytes
    kReset,  // a TCP reset after the bytes
    kStall,  // keep the connection open, silent, for `stall`, then close
  };
  std::string bytes;          // written as they stand
  End end = End::kClose;
  std::chrono::milliseconds stall{0};
  std::size_t repeat = 1;     // write `bytes` this many times (large bodies)
  std::string head;           // written once, before `bytes`
};

class RawHttpServer {
 public:
  using Script = std::function<ScriptedReply(const std::string& request)>;

  explicit RawHttpServer(Script script, int maxConnections = 64);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& pathAndQuery = "/") const;

  // The requests received so far (head and body), in arrival order.
  std::vector<std::string> Requests() const;
  // Waits until `count` requests have arrived, for at most `limit`.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const;
  // Waits until every connection so far has been closed on this side.
  bool WaitUntilIdle(std::chrono::milliseconds limit) const;

 private:
  void AcceptLoop(int maxConnections);
  void Serve(int client);
  bool SleepUnlessStopped(std::chrono::milliseconds duration);

  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> requests_;
  int openConnections_ = 0;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// These bytes as they stand, then the given end.
ScriptedReply RawReply(std::string bytes, ScriptedReply::End end = ScriptedReply::End::kClose,
                       std::chrono::milliseconds stall = std::chrono::milliseconds(0));

// A reply with the given status line text, headers and body, closed after.
ScriptedReply HttpReply(const std::string& status, const std::string& body,
                        const std::string& extraHeaders = "");

// A port on 127.0.0.1 that nothing listens on (bound, then released).
int UnusedPort();

// The process's open file descriptors.
int OpenDescriptorCount();

}  // namespace vorlakin::testing
