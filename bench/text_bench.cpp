// FindText and SplitText over 16 MiB of JSON and of GBK Chinese text, beside
// a plain memmem over the same bytes, plus input shapes that defeat simple
// searches. Ratios against memmem are printed at the end.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>
#include <string>

#include "bench/ratio_report.h"
#include "text/code_page.h"
#include "text/text_operations.h"

namespace vorlakin::bench {
namespace {

std::string Repeat(const std::string& unit, std::size_t size) {
  std::string out;
  out.reserve(size + unit.size());
  while (out.size() < size) out += unit;
  out.resize(size);
  return out;
}

// A tracking reply: events of time, context and ftime.
std::string JsonText(std::size_t size) {
  return Repeat(
      "{\"time\":\"2026-12-01 08:15:32\",\"context\":\"[Shanghai] parcel arrived at the sorting "
      "centre, next stop Hangzhou\",\"ftime\":\"2026-12-01 08:15:32\"},",
      size);
}

std::string ChineseText(std::size_t size) {
  return Repeat(Utf8ToGbk("快件已到达上海转运中心，正在发往杭州集散中心；派件员：张三，电话一二三四五。"), size);
}

std::size_t CountWithMemmem(const std::string& hay, const std::string& needle) {
  std::size_t count = 0;
  const char* at = hay.data();
  const char* end = hay.data() + hay.size();
  while (const void* hit = memmem(at, static_cast<std::size_t>(end - at), needle.data(), needle.size())) {
    ++count;
    at = static_cast<const char*>(hit) + needle.size();
  }
  return count;
}

// One group of benchmarks on one input: memmem, FindText exact and folded
// for a needle that only the end of the input holds; then, in a group of its
// own, all occurrences of "time" with memmem and SplitText at "time".
void RegisterGroup(const std::string& group, const std::string& input) {
  static std::vector<std::unique_ptr<Text>> keep;  // inputs live for the whole run
  const std::string needle = "Needle-at-the-end";
  keep.push_back(std::make_unique<Text>(Text::Present(input + needle)));
  const Text* text = keep.back().get();
  const std::size_t size = static_cast<std::size_t>(text->Length());

  benchmark::RegisterBenchmark((group + "/memmem").c_str(), [text, needle, size](benchmark::State& state) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(memmem(text->View().data(), size, needle.data(), needle.size()));
    }
    SetBytes(state, size);
  });
  benchmark::RegisterBenchmark((group + "/FindText exact").c_str(), [text, needle, size](benchmark::State& state) {
    const Text sub = Text::Present(needle);
    for (auto _ : state) benchmark::DoNotOptimize(FindText(*text, sub, 1, false));
    SetBytes(state, size);
  });
  benchmark::RegisterBenchmark((group + "/FindText case-insensitive").c_str(),
                               [text, size](benchmark::State& state) {
                                 const Text sub("NEEDLE-AT-THE-END");
                                 for (auto _ : state) benchmark::DoNotOptimize(FindText(*text, sub, 1, true));
                                 SetBytes(state, size);
                               });
  benchmark::RegisterBenchmark((group + " split/memmem").c_str(), [text, size](benchmark::State& state) {
    const std::string hay(text->View());
    for (auto _ : state) benchmark::DoNotOptimize(CountWithMemmem(hay, "time"));
    SetBytes(state, size);
  });
  benchmark::RegisterBenchmark((group + " split/SplitText").c_str(), [text, size](benchmark::State& state) {
    const Text delimiter("time");
    for (auto _ : state) benchmark::DoNotOptimize(SplitText(*text, delimiter));
    SetBytes(state, size);
  });
}

// Hostile shapes: many near-matches, matches that start inside double-byte
// characters, a needle half as long as the text. Each at 4 and at 16 MiB:
// the ratio of the two times shows whether the time grows in proportion.
// memmem on the same bytes is shown beside (for folded needles it searches
// the needle as written, so it is no like-for-like measure there).
void RegisterHostile(std::size_t size) {
  static std::vector<std::unique_ptr<std::pair<Text, Text>>> keep;
  const std::string tag = std::to_string(size / kMiB) + " MiB";
  const auto add = [&](const std::string& name, std::string hay, std::string needle, bool fold) {
    keep.push_back(std::make_unique<std::pair<Text, Text>>(Text::Present(hay), Text::Present(needle)));
    const auto* pair = keep.back().get();
    const std::size_t bytes = hay.size();
    benchmark::RegisterBenchmark((name + "/FindText " + tag).c_str(), [pair, bytes, fold](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(FindText(pair->first, pair->second, 1, fold));
      SetBytes(state, bytes);
    });
    benchmark::RegisterBenchmark((name + "/memmem " + tag).c_str(), [pair, bytes](benchmark::State& state) {
      const std::string_view h = pair->first.View();
      const std::string_view n = pair->second.View();
      for (auto _ : state) benchmark::DoNotOptimize(memmem(h.data(), h.size(), n.data(), n.size()));
      SetBytes(state, bytes);
    });
  };
  // Every third byte starts a candidate that agrees for 150 bytes.
  const std::string nearMiss = Repeat("tim", 150) + "tix" + Repeat("tim", 150);
  add("near matches", Repeat("tim", size), nearMiss, false);
  add("near matches folded", Repeat("tim", size), Repeat("TIM", 150) + "TIX" + Repeat("TIM", 150), true);
  // Every raw match starts on the second byte of a pair.
  const std::string pairs = Repeat("\xB0" "A", size);
  add("inside pairs", pairs, Repeat("A\xB0", 600) + "A", false);
  add("inside pairs folded", pairs, Repeat("a\xB0", 600) + "a", true);
  // A needle half as long as the text, which agrees everywhere but once.
  add("long needle", std::string(size, 'a'), std::string(size / 4, 'a') + "b" + std::string(size / 4, 'a'),
      false);
}

}  // namespace
}  // namespace vorlakin::bench

int main(int argc, char** argv) {
  using namespace vorlakin::bench;
  RegisterGroup("json 16 MiB", JsonText(16 * kMiB));
  RegisterGroup("gbk 16 MiB", ChineseText(16 * kMiB));
  for (const std::size_t size : {4 * kMiB, 16 * kMiB}) RegisterHostile(size);
  return RunWithRatios(argc, argv);
}
