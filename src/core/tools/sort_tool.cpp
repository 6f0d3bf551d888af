#include "tools/sort_tool.h"

#include "io/line_reader.h"

namespace orvex {

void SortTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output, Progress&) {
  LineReader reader(input, format.bom);
  sortLines(reader, output, {false, true, m_order});
}

}  // namespace orvex
