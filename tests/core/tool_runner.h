#pragma once
// Runs a document tool over lines held in memory, through real files.

#include <string>
#include <vector>

#include "io/file_handle.h"
#include "io/line_writer.h"
#include "io/line_reader.h"
#include "test_support.h"
#include "tools/document_tool.h"

namespace orvex::test {

struct ToolRun {
  std::vector<std::string> lines;
  std::int64_t progressSteps = 0;
};

inline ToolRun runTool(DocumentTool& tool, const std::vector<std::string>& lines,
                       TextFormat format = {Encoding::Utf8, false, LineBreak::Lf, true}) {
  TempDir dir;
  {
    FileHandle in = createForWriting(dir / "in.txt");
    LineWriter writer(in.get(), format);
    for (const auto& line : lines) writer.put(line);
    writer.finish();
    in.close();
  }
  {
    FileHandle out = createForWriting(dir / "out.txt");
    LineWriter writer(out.get(), format);
    Progress progress;
    tool.run(dir / "in.txt", format, writer, progress);
    writer.finish();
    out.close();
    ToolRun run;
    run.progressSteps = progress.position();
    LineReader reader(dir / "out.txt", format.bom);
    std::string_view line;
    while (reader.next(line)) run.lines.emplace_back(line);
    return run;
  }
}

}  // namespace orvex::test
