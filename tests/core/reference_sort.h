#pragma once
// The partition sort written plainly, recursion and all: the order the sort must
// match, ties between lines that differ only in case included.

#include <algorithm>
#include <string>
#include <vector>

#include "tools/case_tool.h"

namespace orvex::test {

inline void referenceSort(std::vector<std::string>& items, long lo, long hi, bool respectCase) {
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
    if (i <= j) std::swap(items[static_cast<std::size_t>(i++)], items[static_cast<std::size_t>(j--)]);
  } while (i <= j);
  if (j > lo) referenceSort(items, lo, j, respectCase);
  if (i < hi) referenceSort(items, i, hi, respectCase);
}

}  // namespace orvex::test
