// Sorting: the order of the partition sort, ties included, and the sort component.

#include <gtest/gtest.h>

#include <cstdint>

#include "test_support.h"
#include "tool_runner.h"
#include "tools/case_tool.h"
#include "tools/sort_tool.h"

namespace orvex {
namespace {

using Lines = std::vector<std::string>;

// The partition sort written plainly, recursion and all, as the order to match.
void referenceSort(Lines& items, long lo, long hi, bool respectCase) {
  auto key = [&](const std::string& s) { return respectCase ? s : changeCase(s, LetterCase::Upper); };
  auto less = [&](const std::string& a, const std::string& b) {
    const std::string ka = key(a), kb = key(b);
    return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  };
  long i = lo, j = hi;
  const std::string pivot = items[static_cast<std::size_t>((lo + hi) / 2)];
  do {
    while (less(items[static_cast<std::size_t>(i)], pivot)) ++i;
    while (less(pivot, items[static_cast<std::size_t>(j)])) --j;
    if (i <= j) {
      std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (j > lo) referenceSort(items, lo, j, respectCase);
  if (i < hi) referenceSort(items, i, hi, respectCase);
}

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
      EXPECT_EQ(sortLines(input, {respectCase, true, TTriStyle::triCroissant}), expected) << seed;
      Lines descending(expected.rbegin(), expected.rend());
      EXPECT_EQ(sortLines(input, {respectCase, true, TTriStyle::triDecroissant}), descending) << seed;
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
  EXPECT_EQ(sortLines({"b", "", "a"}, {true, false, TTriStyle::triCroissant}), (Lines{"", "a", "b"}));
}

TEST(Sort, LargeInputsGiveTheSameOrderOnTheThreadedPath) {
  const Lines input = randomLines(400000, 7);
  Lines expected = sortLines(input, {});
  SortTool tool(TTriStyle::triCroissant);
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
}

TEST(TZilTri, SortsOneFileIntoAnother) {
  test::TempDir dir;
  test::writeFile(dir / "in.txt", "b\r\n\r\nA\r\nc\r\n");
  TZilTri sorter;
  sorter.FicEntree = (dir / "in.txt").string();
  sorter.FicSortie = (dir / "out.txt").string();
  sorter.Ordre = TTriStyle::triDecroissant;
  int busyCalls = 0;
  sorter.OnBusy = [&](bool) { ++busyCalls; };
  ASSERT_TRUE(sorter.tri().ok());
  EXPECT_EQ(test::readFile(dir / "out.txt"), "c\r\nb\r\nA\r\n");
  EXPECT_EQ(busyCalls, 2);

  sorter.FicSortie = "  ";
  EXPECT_TRUE(sorter.tri().ok());
  sorter.FicSortie = (dir / "other.txt").string();
  sorter.FicEntree = (dir / "missing.txt").string();
  EXPECT_FALSE(sorter.tri().ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "other.txt"));
}

}  // namespace
}  // namespace orvex
