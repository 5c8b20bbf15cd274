#pragma once
// Runs the registered benchmarks and then prints each one's time as a ratio
// against a baseline measured in the same run, so that a noisy machine does
// not spoil the comparison. Benchmarks are named "<group>/<what>"; in each
// group the first one registered is the baseline. Also the small helpers
// every benchmark program here uses.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vorlakin::bench {

inline constexpr std::size_t kMiB = 1024 * 1024;

// Every iteration handled `bytes`: Google Benchmark shows the rate.
inline void SetBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Row {
    std::string group;
    std::string what;
    double seconds;
    double bytesPerSecond;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const std::size_t slash = name.find('/');
      const auto bytes = run.counters.find("bytes_per_second");
      rows_.push_back({name.substr(0, slash), slash == std::string::npos ? "" : name.substr(slash + 1),
                       run.real_accumulated_time / static_cast<double>(run.iterations),
                       bytes == run.counters.end() ? 0.0 : static_cast<double>(bytes->second)});
    }
  }

  void PrintRatios() const {
    std::map<std::string, double> reference;
    for (const Row& row : rows_) {
      reference.try_emplace(row.group, row.seconds);
    }
    std::printf("\n%-28s %-34s %12s %10s %9s\n", "group", "operation", "time (ms)", "MB/s", "ratio");
    for (const Row& row : rows_) {
      const auto base = reference.find(row.group);
      const double ratio = base == reference.end() ? 0.0 : row.seconds / base->second;
      std::printf("%-28s %-34s %12.3f %10.0f %9.2f\n", row.group.c_str(), row.what.c_str(), row.seconds * 1e3,
                  row.bytesPerSecond / 1e6, ratio);
    }
  }

 private:
  std::vector<Row> rows_;
};

// main() for a benchmark program with a ratio table at the end.
inline int RunWithRatios(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vorlakin::bench
