// Fetching a large body from a server on 127.0.0.1:
//   curl        the curl command line tool, `curl -s -o /dev/null`;
//   bare reads  a loop of 512-byte reads through our HTTP layer;
//   bare reads + pump  the same with the Qt event pump before each read;
//   FetchWebPage       the fetch itself, with that pump, as the program runs it.
// Each at 8, 32 and 64 MiB. Then the peak memory of FetchWebPage for
// 64 MiB, measured in a process of its own.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/ratio_report.h"
#include "inet/internet.h"
#include "support/raw_http_server.h"
#include "web/pending_messages.h"
#include "web/web_page_fetch.h"

extern char** environ;

namespace vorlakin::bench {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

testing::ScriptedReply BodyOf(std::size_t size) {
  testing::ScriptedReply reply;
  reply.head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\nConnection: close\r\n\r\n";
  reply.bytes = std::string(kBlock, 'x');
  reply.repeat = size / kBlock;
  return reply;
}

// Serves /<bytes> with that many bytes of body.
std::unique_ptr<testing::RawHttpServer> StartServer() {
  return std::make_unique<testing::RawHttpServer>(
      [](const std::string& request) {
        const std::size_t size = std::strtoull(request.c_str() + request.find(' ') + 2, nullptr, 10);
        return BodyOf(size);
      },
      100000);
}

void PumpQtEvents() { QCoreApplication::processEvents(); }

std::size_t BareReads(int port, std::size_t bytes, bool pump) {
  using namespace inet;
  HINTERNET root = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  HINTERNET connection = InternetConnectA(root, "127.0.0.1", port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  std::string path = std::to_string(bytes);
  path.insert(0, 1, '/');
  HINTERNET request = HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.1", nullptr, nullptr, 0, 0);
  HttpSendRequestA(request, "", 0, "", 0);
  std::size_t total = 0;
  char chunk[512];
  std::int32_t count = 1;
  while (count > 0) {
    if (pump) ProcessPendingMessages();
    InternetReadFile(request, chunk, sizeof chunk, &count);
    total += static_cast<std::size_t>(count);
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(root);
  return total;
}

void Register(int port, std::size_t size) {
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  const std::string group = std::to_string(size / kMiB) + " MiB";
  const std::string url = base + "/" + std::to_string(size);
  benchmark::RegisterBenchmark((group + "/bare reads").c_str(), [=](benchmark::State& state) {
    for (auto _ : state) {
      if (BareReads(port, size, false) != size) state.SkipWithError("short body");
    }
    SetBytes(state, size);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark((group + "/bare reads + pump").c_str(), [=](benchmark::State& state) {
    for (auto _ : state) {
      if (BareReads(port, size, true) != size) state.SkipWithError("short body");
    }
    SetBytes(state, size);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark((group + "/FetchWebPage + pump").c_str(), [=](benchmark::State& state) {
    const Text target(url.c_str());
    for (auto _ : state) {
      if (static_cast<std::size_t>(FetchWebPage(target).Length()) != size) state.SkipWithError("short body");
    }
    SetBytes(state, size);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark((group + "/curl -s -o /dev/null").c_str(), [=](benchmark::State& state) {
    const std::string command = "curl -s -o /dev/null " + url;
    for (auto _ : state) {
      if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
    }
    SetBytes(state, size);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
}

long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  }
  return -1;
}

// In a process of its own: fetch once, print how far the peak resident
// memory rose above what the process held before.
int MeasureMemory(int argc, char** argv, const std::string& url) {
  QApplication app(argc, argv);
  QWidget window;
  window.show();
  SetPendingMessagePump(PumpQtEvents);
  const long before = StatusKiB("VmRSS:");
  const Text body = FetchWebPage(Text(url.c_str()));
  const long peak = StatusKiB("VmHWM:");
  std::printf("%lld %ld\n", static_cast<long long>(body.Length()), (peak - before) * 1024);
  return 0;
}

void ReportMemory(const char* self, const std::string& url) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  std::string flag = "--measure-memory=" + url;
  char* args[] = {const_cast<char*>(self), flag.data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self, &actions, nullptr, args, environ);
  close(pipeFds[1]);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return;
  char buffer[128] = {};
  const ssize_t n = read(pipeFds[0], buffer, sizeof buffer - 1);
  close(pipeFds[0]);
  waitpid(child, nullptr, 0);
  long long bodyBytes = 0;
  long long rise = 0;
  if (n > 0 && std::sscanf(buffer, "%lld %lld", &bodyBytes, &rise) == 2 && bodyBytes > 0) {
    std::printf("\nFetchWebPage peak memory for a %lld MiB body: %.1f MiB above the start, %.2f x the body\n",
                bodyBytes / static_cast<long long>(kMiB), static_cast<double>(rise) / kMiB,
                static_cast<double>(rise) / static_cast<double>(bodyBytes));
  }
}

}  // namespace
}  // namespace vorlakin::bench

int main(int argc, char** argv) {
  using namespace vorlakin::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--measure-memory=", 0) == 0) return MeasureMemory(argc, argv, arg.substr(17));
  }
  const auto server = StartServer();
  const std::string base = "http://127.0.0.1:" + std::to_string(server->port());
  {
    QApplication app(argc, argv);
    QWidget window;  // something for the pump to look after
    window.resize(200, 100);
    window.show();
    vorlakin::SetPendingMessagePump(PumpQtEvents);
    for (const std::size_t size : {8 * kMiB, 32 * kMiB, 64 * kMiB}) Register(server->port(), size);
    RunWithRatios(argc, argv);
    vorlakin::SetPendingMessagePump(nullptr);
  }
  ReportMemory(argv[0], base + "/" + std::to_string(64 * kMiB));
  return 0;
}
