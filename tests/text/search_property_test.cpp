// The fast scans (memmem or a SIMD filter, KMP when the input is hostile,
// character starts worked out backwards) against a plain step-by-step scan
// written here from the rules: step a character at a time from the scan
// start, try a match at each step.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/text_printing.h"
#include "text/text_operations.h"

namespace vorlakin {
namespace {

unsigned char Fold(unsigned char b) { return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 32) : b; }

bool SameBytes(const std::string& t, std::size_t at, const std::string& s, bool fold) {
  for (std::size_t k = 0; k < s.size(); ++k) {
    const auto a = static_cast<unsigned char>(t[at + k]);
    const auto b = static_cast<unsigned char>(s[k]);
    if (fold ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

bool IsLead(const std::string& t, std::size_t i) { return static_cast<unsigned char>(t[i]) >= 0x80; }

std::int64_t ReferenceFind(const std::string& t, const std::string& s, std::int64_t start, bool fold) {
  const std::size_t n = t.size();
  std::size_t i = 0;
  if (start > 1) {
    if (static_cast<std::size_t>(start - 1) >= n) return -1;
    i = static_cast<std::size_t>(start - 1);
  }
  if (s.empty()) return n > i ? 1 : -1;
  while (n - i >= s.size()) {
    if (IsLead(t, i) && i + 1 == n) return -1;  // lone lead byte
    if (SameBytes(t, i, s, fold)) return static_cast<std::int64_t>(i) + 1;
    i += IsLead(t, i) ? 2 : 1;
  }
  return -1;
}

std::vector<Text> ReferenceSplit(const std::string& t, const std::string& d) {
  std::vector<Text> out;
  if (t.empty()) return out;
  std::size_t segment = 0;
  std::size_t i = 0;
  while (t.size() - i >= d.size()) {
    if (SameBytes(t, i, d, false)) {
      out.push_back(Text::PresentOrAbsent(std::string_view(t).substr(segment, i - segment)));
      i += d.size();
      segment = i;
    } else if (IsLead(t, i)) {
      if (i + 1 == t.size()) break;
      i += 2;
    } else {
      i += 1;
    }
  }
  if (segment < t.size()) out.push_back(Text::Present(std::string_view(t).substr(segment)));
  return out;
}

std::string ReferenceReplace(const std::string& t, const std::string& s, const std::string& r, bool fold) {
  std::string out;
  std::size_t i = 0;
  while (t.size() - i >= s.size()) {
    if (SameBytes(t, i, s, fold)) {
      out += r;
      i += s.size();
    } else {
      const std::size_t step = IsLead(t, i) && i + 1 < t.size() ? 2 : 1;
      out.append(t, i, step);
      i += step;
    }
  }
  return out + t.substr(i);
}

std::vector<Text> Members(const TextArray& array) {
  std::vector<Text> out;
  for (std::int64_t i = 1; i <= ArrayMemberCount(array); ++i) out.push_back(array[i]);
  return out;
}

std::string RandomBytes(std::mt19937& rng, std::size_t maxLength) {
  // Few distinct bytes, so that matches, near-matches and pairs are common.
  static const char kAlphabet[] = {'t', 'i', 'm', 'e', 'T', 'E', 'a', 'A', '\xB0', '\xA1', '\xD2', ':'};
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
  std::string out(length(rng), ' ');
  for (char& c : out) c = kAlphabet[pick(rng)];
  return out;
}

TEST(SearchProperty, RandomTextsAgreeWithTheStepByStepScan) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomBytes(rng, 40);
    std::string needle = RandomBytes(rng, 4);
    const bool fold = round % 2 == 1;
    const std::int64_t start = static_cast<std::int64_t>(rng() % 45) - 2;
    ASSERT_EQ(FindText(Text::Present(text), Text::Present(needle), start, fold),
              ReferenceFind(text, needle, start, fold))
        << DescribeBytes(text) << " / " << DescribeBytes(needle) << " from " << start << " fold " << fold;
    if (needle.empty()) continue;
    ASSERT_EQ(Members(SplitText(Text::Present(text), Text::Present(needle))), ReferenceSplit(text, needle))
        << DescribeBytes(text) << " / " << DescribeBytes(needle);
    ASSERT_EQ(ReplaceSubtext(Text::Present(text), Text::Present(needle), T("#"), !fold).View(),
              ReferenceReplace(text, needle, "#", fold))
        << DescribeBytes(text) << " / " << DescribeBytes(needle) << " fold " << fold;
  }
}

// Inputs that defeat the fast searches: every raw match starts inside a
// double-byte character, so the scan must go on past each one. These push
// the finder onto its linear fallback; the answers must not change.
TEST(SearchProperty, HostileInputsAgreeAfterTheFallback) {
  std::string pairs;
  for (int i = 0; i < 60000; ++i) pairs += "\xB0" "A";
  std::string longNeedle;
  for (int i = 0; i < 200; ++i) longNeedle += "A\xB0";
  longNeedle += "A";
  const std::string tail = "AA" + longNeedle;  // finally one match on a character start
  const std::string text = pairs + tail;
  for (const bool fold : {false, true}) {
    EXPECT_EQ(FindText(Text::Present(text), Text::Present(longNeedle), 0, fold),
              ReferenceFind(text, longNeedle, 0, fold));
  }
  EXPECT_EQ(Members(SplitText(Text::Present(text), Text::Present(longNeedle))), ReferenceSplit(text, longNeedle));

  // Folded near-matches: every candidate passes the first/last byte filter.
  std::string lower(200000, 'a');
  const std::string needle = std::string(300, 'A') + "b" + std::string(300, 'A');
  const std::string hay = lower + "B" + std::string(300, 'a');
  EXPECT_EQ(FindText(Text::Present(hay), Text::Present(needle), 0, true), ReferenceFind(hay, needle, 0, true));
  EXPECT_EQ(FindText(Text::Present(hay), Text::Present(needle), 0, true),
            static_cast<std::int64_t>(lower.size() - 300 + 1));
}

}  // namespace
}  // namespace vorlakin
