#include "editor/block_highlight.h"

#include <algorithm>

#include "editing/block_cells.h"

namespace orvex::gui {

void BlockHighlight::show(const BlockAnchor& anchor) {
  if (!anchor.hasStart() || !anchor.hasBlock()) {
    hide();
    return;
  }
  m_anchor = anchor;
  refresh();
}

void BlockHighlight::hide() {
  m_anchor.reset();
  refresh();
}

void BlockHighlight::refresh() {
  if (m_drawn) m_control.clearHighlight();
  m_drawn = false;
  m_stale = false;
  if (!m_anchor) return;
  const auto [top, bottom] = m_control.linesInView();
  const LineSpan near{std::max(top - kLinesBeyondView, 0L) + 1,
                      std::min(bottom + kLinesBeyondView, m_text.lineCount() - 1) + 1};
  const auto lineAt = [this](std::int64_t number) {
    const long line = static_cast<long>(number - 1);
    const long start = m_text.lineStart(line);
    return PlacedLine{static_cast<std::size_t>(start), m_control.textRange(start, m_text.lineEnd(line))};
  };
  // The control holds every document as UTF-8, one code point per character of the
  // document's own encoding, so its columns are the block commands' columns.
  for (const ByteRange& cell : blockCells(*m_anchor, near, Encoding::Utf8, lineAt)) {
    m_control.highlight(static_cast<long>(cell.begin), static_cast<long>(cell.end - cell.begin));
    m_drawn = true;
  }
}

}  // namespace orvex::gui
