#include "editing/block_cells.h"

#include <algorithm>

namespace orvex {

std::vector<ByteRange> blockCells(const BlockAnchor& anchor, LineSpan lines, Encoding encoding,
                                  const std::function<PlacedLine(std::int64_t)>& lineAt) {
  std::vector<ByteRange> cells;
  if (!anchor.hasStart() || !anchor.hasBlock() || anchor.width() <= 0) return cells;
  const std::int64_t first = std::max<std::int64_t>({lines.first, anchor.startLine, 1});
  const std::int64_t last = std::min<std::int64_t>(lines.last, anchor.endLine);
  for (std::int64_t number = first; number <= last; ++number) {
    const PlacedLine line = lineAt(number);
    const ByteRange slice = blockSliceBytes(line.text, anchor.startColumn, anchor.width(), encoding);
    if (!slice.empty()) cells.push_back({line.offset + slice.begin, line.offset + slice.end});
  }
  return cells;
}

}  // namespace orvex
