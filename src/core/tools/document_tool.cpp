#include "tools/document_tool.h"

#include "io/line_reader.h"

namespace orvex {

void LineTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                   Progress& progress) {
  LineReader reader(input, format.bom);
  const bool step = stepsPerLine();
  std::string_view line;
  while (reader.next(line)) {
    transform(line, output, progress);
    if (step) progress.advance();
  }
  finish(output);
}

}  // namespace orvex
