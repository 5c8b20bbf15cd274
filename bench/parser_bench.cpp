// ParseTrackingResponse over tracking replies of 2, 16 and 64 MiB (about
// 100,000 events per 16 MiB), beside what one would otherwise use for the
// job: a JSON library that reads the same reply and copies every (time,
// context) pair into strings. The first row of each group is the baseline.

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/ratio_report.h"
#include "query/tracking_response_parser.h"

namespace vorlakin::bench {
namespace {

// A reply in the shape the service sends: a status, then the events, each
// with its time first and its context last. Context texts vary in length.
std::string TrackingReply(std::size_t size) {
  std::string reply = "{\"message\":\"ok\",\"nu\":\"YT1234567890\",\"ischeck\":\"1\",\"status\":\"200\",\"data\":[";
  static const char* kPlaces[] = {"Shanghai", "Hangzhou", "Guangzhou", "Chengdu", "Beijing Chaoyang"};
  for (std::size_t i = 0; reply.size() < size; ++i) {
    if (i > 0) reply += ',';
    char time[32];
    std::snprintf(time, sizeof time, "2026-12-%02zu %02zu:%02zu:%02zu", 1 + i % 28, i % 24, i % 60, (i * 7) % 60);
    reply += "{\"time\":\"";
    reply += time;
    reply += "\",\"context\":\"[";
    reply += kPlaces[i % 5];
    reply += "] parcel scanned at the sorting centre, next stop ";
    reply += kPlaces[(i + 1) % 5];
    reply += " transit hub, courier No. ";
    reply += std::to_string(100000 + i * 37 % 900000);
    reply += "\"}";
  }
  return reply + "]}";
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ExtractWithSimdjson(simdjson::ondemand::parser& parser, const simdjson::padded_string& json) {
  Pairs rows;
  simdjson::ondemand::document doc = parser.iterate(json);
  for (simdjson::ondemand::object event : doc["data"].get_array()) {
    const std::string_view time = event["time"].get_string();
    const std::string_view context = event["context"].get_string();
    rows.emplace_back(std::string(time), std::string(context));
  }
  return rows;
}

Pairs ExtractWithNlohmann(const std::string& json) {
  Pairs rows;
  const nlohmann::json doc = nlohmann::json::parse(json);
  for (const auto& event : doc.at("data")) {
    rows.emplace_back(event.at("time").get<std::string>(), event.at("context").get<std::string>());
  }
  return rows;
}

void Register(std::size_t size, bool withNlohmann) {
  struct Input {
    std::string json;
    Text text;
    simdjson::padded_string padded;
  };
  static std::vector<std::unique_ptr<Input>> keep;
  std::string json = TrackingReply(size);
  keep.push_back(std::make_unique<Input>(Input{json, Text::Present(json), simdjson::padded_string(json)}));
  const Input* input = keep.back().get();
  const std::string group = "reply " + std::to_string(size / kMiB) + " MiB";
  const std::size_t bytes = input->json.size();

  // Both extractions must agree with the parser, or the race is not fair.
  simdjson::ondemand::parser checkParser;
  const std::size_t events = ExtractWithSimdjson(checkParser, input->padded).size();
  if (ParseTrackingResponse(input->text).size() != events) {
    std::fprintf(stderr, "row counts differ\n");
    std::abort();
  }

  benchmark::RegisterBenchmark((group + "/simdjson on-demand").c_str(), [input, bytes](benchmark::State& state) {
    simdjson::ondemand::parser parser;
    for (auto _ : state) benchmark::DoNotOptimize(ExtractWithSimdjson(parser, input->padded));
    SetBytes(state, bytes);
  });
  benchmark::RegisterBenchmark((group + "/ParseTrackingResponse").c_str(), [input, bytes](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ParseTrackingResponse(input->text));
    SetBytes(state, bytes);
  });
  if (withNlohmann) {
    benchmark::RegisterBenchmark((group + "/nlohmann-json").c_str(), [input, bytes](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(ExtractWithNlohmann(input->json));
      SetBytes(state, bytes);
    });
  }
  std::printf("%s: %zu events\n", group.c_str(), events);
}

}  // namespace
}  // namespace vorlakin::bench

int main(int argc, char** argv) {
  using namespace vorlakin::bench;
  Register(2 * kMiB, true);
  Register(16 * kMiB, true);
  Register(64 * kMiB, false);  // nlohmann-json would take most of the run here
  return RunWithRatios(argc, argv);
}
