#pragma once
// The cells of the marked column block as byte ranges of a text, for showing the
// block where the block commands would take it: the same slice of each line as the
// block clipboard receives.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "editing/block_operations.h"

namespace orvex {

// A line of a text: the offset of its first byte in the whole text, and its bytes
// without the line break.
struct PlacedLine {
  std::size_t offset = 0;
  std::string_view text;
};

// 1-based line numbers, both ends included; no line when last < first.
struct LineSpan {
  std::int64_t first = 1;
  std::int64_t last = 0;
};

// The block's non-empty cells on the lines of `lines` that it covers, as byte ranges
// of the whole text, in line order. Only those lines are read, through `lineAt`
// (1-based), so the work is bound by the smaller of the block and `lines` whatever
// the size of the text. Without both ends marked there are no cells.
std::vector<ByteRange> blockCells(const BlockAnchor& anchor, LineSpan lines, Encoding encoding,
                                  const std::function<PlacedLine(std::int64_t)>& lineAt);

}  // namespace orvex
