// The sort against the partition scheme written plainly: the same order, ties
// between lines that differ only in case included.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "reference_sort.h"
#include "tools/case_tool.h"
#include "tools/line_sort.h"

using namespace orvex;

namespace {

using Lines = std::vector<std::string>;
using test::referenceSort;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  const bool respectCase = data[0] & 1;
  Lines lines;
  std::string line;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  lines.push_back(line);
  Lines expected;
  for (const auto& l : lines)
    if (std::any_of(l.begin(), l.end(), [](char c) { return static_cast<unsigned char>(c) > 32; })) expected.push_back(l);
  if (!expected.empty()) referenceSort(expected, 0, static_cast<long>(expected.size()) - 1, respectCase);
  SortOptions options;
  options.respectCase = respectCase;
  fuzz::require(sortLines(lines, options) == expected, "the scheme's order");
  return 0;
}
