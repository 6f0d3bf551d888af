#pragma once
// Sorting the lines of a document: a partition sort with the middle element as
// pivot, comparing bytes as unsigned values, with ASCII-only case folding when the
// comparison ignores case. Ties between lines that differ only in case come out in
// the order this partition scheme gives them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/line_reader.h"
#include "io/line_writer.h"

namespace orvex {

enum class SortOrder { Ascending, Descending };

struct SortOptions {
  bool respectCase = false;
  bool dropBlankLines = true;  // lines made only of bytes of code 32 or less
  SortOrder order = SortOrder::Ascending;
};

// Reads every line from `reader`, sorts and writes them to `writer`. Throws IoFailure.
void sortLines(LineReader& reader, LineWriter& writer, const SortOptions& options);

// Sorts lines held in memory, with the same order as the file sort.
std::vector<std::string> sortLines(const std::vector<std::string>& lines, const SortOptions& options);

}  // namespace orvex
