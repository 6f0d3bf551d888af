// Sorting: the order of the partition sort, ties included, and the sort component.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>

#include "reference_sort.h"
#include "test_support.h"
#include "tool_runner.h"
#include "tools/case_tool.h"
#include "tools/sort_tool.h"

namespace orvex {
namespace {

using Lines = std::vector<std::string>;

using test::referenceSort;

Lines randomLines(std::size_t count, std::uint64_t seed) {
  using namespace std::string_literals;
  const std::string alphabet = "aAbBzZ[_`~ \t\x01\xC3\xA9\xC9\x00"s;
  Lines lines;
  for (std::size_t n = 0; n < count; ++n) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    std::string line;
    const std::size_t length = (seed >> 33) % 12;
    for (std::size_t k = 0; k < length; ++k) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      line.push_back(alphabet[(seed >> 40) % alphabet.size()]);
    }
    lines.push_back(line);
  }
  return lines;
}

bool hasVisibleByte(const std::string& line) {
  return std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) > 32; });
}

TEST(Sort, MatchesThePartitionSchemeIncludingTies) {
  for (const bool respectCase : {false, true}) {
    for (const std::uint64_t seed : {1u, 2u, 3u, 42u}) {
      const Lines input = randomLines(3000, seed);
      Lines expected;
      std::copy_if(input.begin(), input.end(), std::back_inserter(expected), hasVisibleByte);
      referenceSort(expected, 0, static_cast<long>(expected.size()) - 1, respectCase);
      EXPECT_EQ(sortLines(input, {respectCase, true, SortOrder::Ascending}), expected) << seed;
      Lines descending(expected.rbegin(), expected.rend());
      EXPECT_EQ(sortLines(input, {respectCase, true, SortOrder::Descending}), descending) << seed;
    }
  }
}

TEST(Sort, DocumentSortIgnoresAsciiCaseAndDropsBlankLines) {
  EXPECT_EQ(sortLines({"Zèbre", "zebre", "Zoo", "abc"}, {}), (Lines{"abc", "zebre", "Zoo", "Zèbre"}));
  EXPECT_EQ(sortLines({"b", "", "  \t", " a "}, {}), (Lines{" a ", "b"}));
  EXPECT_EQ(sortLines({"x", "x"}, {}), (Lines{"x", "x"}));
  EXPECT_EQ(sortLines({"é", "É"}, {}), (Lines{"É", "é"}));
  EXPECT_EQ(sortLines({"_", "a"}, {}), (Lines{"a", "_"}));
  EXPECT_TRUE(sortLines({"", " "}, {}).empty());
  EXPECT_EQ(sortLines({"b", "", "a"}, {true, false, SortOrder::Ascending}), (Lines{"", "a", "b"}));
}

TEST(Sort, LargeInputsGiveTheSameOrderOnTheThreadedPath) {
  const Lines input = randomLines(400000, 7);
  Lines expected = sortLines(input, {});
  SortTool tool(SortOrder::Ascending);
  EXPECT_EQ(test::runTool(tool, input).lines, expected);
}

TEST(Sort, ManyEqualLinesAndSortedInputStayFast) {
  Lines same(200000, "meme ligne");
  EXPECT_EQ(sortLines(same, {}).size(), same.size());
  Lines ascending;
  for (int i = 0; i < 200000; ++i) ascending.push_back(std::to_string(1000000 + i));
  EXPECT_EQ(sortLines(ascending, {}), ascending);
}

TEST(Sort, LinesLongerThanTheLengthFieldKeepTheirLength) {
  const std::string longLine(17 * 1024 * 1024, 'b');
  const std::string longerLine = longLine + "a";
  EXPECT_EQ(sortLines({longerLine, "c", longLine, "a"}, {}), (Lines{"a", longLine, longerLine, "c"}));
  // Their first bytes, of both cases, come back from the entry.
  const std::string mixed = "aBcDeFgHiJ" + longLine;
  EXPECT_EQ(sortLines({mixed, "Z", "ABCDEFGHIJ"}, {}), (Lines{"ABCDEFGHIJ", mixed, "Z"}));
}

TEST(Sort, LinesAroundTheEightBytesKeptInTheEntryComeBackWhole) {
  // Every length from 0 to 20 over bytes that fold, that do not, and that sit
  // next to the letters ('@', '[', '`', '{'), NUL included; both cases; both orders.
  using namespace std::string_literals;
  const std::string bytes = "aAzZ@[`{\x00\xC3\xA9\xFF \t"s;
  Lines input;
  for (std::size_t length = 0; length <= 20; ++length)
    for (std::size_t shift = 0; shift < bytes.size(); ++shift) {
      std::string line;
      for (std::size_t k = 0; k < length; ++k) line += bytes[(k * 7 + shift) % bytes.size()];
      input.push_back(line);
    }
  for (const bool respectCase : {false, true}) {
    Lines expected = input;
    referenceSort(expected, 0, static_cast<long>(expected.size()) - 1, respectCase);
    EXPECT_EQ(sortLines(input, {respectCase, false, SortOrder::Ascending}), expected) << respectCase;
    EXPECT_EQ(sortLines(input, {respectCase, false, SortOrder::Descending}), Lines(expected.rbegin(), expected.rend()));
  }
}

// McIlroy's adversary against the partition scheme: comparisons are decided lazily
// so that the sort does the most work, which yields an input (each item's final
// value) that makes the plain scheme quadratic.
std::vector<int> adversarialValues(long n) {
  const int gas = static_cast<int>(n);
  std::vector<int> value(static_cast<std::size_t>(n), gas);
  int solid = 0;
  long candidate = 0;
  auto less = [&](long x, long y) {
    auto& vx = value[static_cast<std::size_t>(x)];
    auto& vy = value[static_cast<std::size_t>(y)];
    if (vx == gas && vy == gas) (x == candidate ? vx : vy) = solid++;
    if (vx == gas)
      candidate = x;
    else if (vy == gas)
      candidate = y;
    return vx < vy;
  };
  std::vector<long> items(static_cast<std::size_t>(n));
  for (long k = 0; k < n; ++k) items[static_cast<std::size_t>(k)] = k;
  // The scheme as the sort runs it, the smaller range first by recursion and the
  // larger in the loop: the adversary answers comparisons in the order they come.
  std::function<void(long, long)> sort = [&](long lo, long hi) {
    while (lo < hi) {
      long i = lo, j = hi;
      const long pivot = items[static_cast<std::size_t>(lo + (hi - lo) / 2)];
      do {
        while (less(items[static_cast<std::size_t>(i)], pivot)) ++i;
        while (less(pivot, items[static_cast<std::size_t>(j)])) --j;
        if (i <= j) std::swap(items[static_cast<std::size_t>(i++)], items[static_cast<std::size_t>(j--)]);
      } while (i <= j);
      if (j - lo > hi - i) {
        sort(i, hi);
        hi = j;
      } else {
        sort(lo, j);
        lo = i;
      }
    }
  };
  sort(0, n - 1);
  for (auto& v : value)
    if (v == gas) v = solid++;
  return value;
}

TEST(Sort, ACraftedInputIsNotQuadratic) {
  const long n = 50'000;
  Lines crafted;
  for (const int value : adversarialValues(n)) {
    char line[16];
    std::snprintf(line, sizeof line, "%08d", value);
    crafted.emplace_back(line);
  }
  Lines shuffled = crafted;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
  auto seconds = [](const Lines& lines) {
    const auto start = std::chrono::steady_clock::now();
    const Lines sorted = sortLines(lines, {});
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const double plain = seconds(shuffled);
  const double attacked = seconds(crafted);
  // Left quadratic, the crafted input takes over ten times as long here.
  EXPECT_LT(attacked, 4 * plain + 0.005) << "crafted " << attacked << " s, shuffled " << plain << " s";
}

TEST(Sort, ACraftedInputFullOfCaseTiesKeepsTheSchemesOrder) {
  // Two items share each key, spelt in letters of random case: lines that compare
  // equal while their bytes differ, deep in a crafted input.
  std::mt19937 random(11);
  Lines crafted;
  for (const int value : adversarialValues(1'500)) {
    std::string line;
    for (int v = value / 2, k = 0; k < 4; ++k, v /= 26) {
      const char letter = static_cast<char>('a' + v % 26);
      line.insert(line.begin(), random() % 2 ? letter : static_cast<char>(letter - 32));
    }
    crafted.push_back(line);
  }
  Lines expected = crafted;
  referenceSort(expected, 0, static_cast<long>(expected.size()) - 1, false);
  EXPECT_EQ(sortLines(crafted, {}), expected);
}

TEST(SortTool, SortsTheDocumentBothWaysInItsLineBreaks) {
  const TextFormat crLf{Encoding::Windows1252, false, LineBreak::CrLf, true};
  SortTool descending(SortOrder::Descending);
  EXPECT_EQ(test::runTool(descending, {"b", "", "A", "c"}, crLf).lines, (Lines{"c", "b", "A"}));
  SortTool ascending(SortOrder::Ascending);
  EXPECT_EQ(test::runTool(ascending, {"b", " ", "A", "c"}, crLf).lines, (Lines{"A", "b", "c"}));
}

}  // namespace
}  // namespace orvex
