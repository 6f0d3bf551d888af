#pragma once
// A whole-document text tool: it reads the document from a file and writes the
// transformed document through a LineWriter. The same tool objects serve the
// editor's pipeline (through the scratch files) and the batch run (in place).

#include <filesystem>
#include <optional>
#include <string_view>

#include "io/line_writer.h"
#include "text/text_format.h"
#include "tools/progress.h"

namespace orvex {

// When the editor is emptied during a pipeline run.
enum class EditorClearing { AfterDump, BeforeReload, Never };

struct PipelineVariation {
  EditorClearing clearing = EditorClearing::AfterDump;
  bool rewritesLineCount = false;
  bool drivesProgress = true;  // the sorts and the concatenation leave the bar alone
};

// Raised by a tool that was asked to find the encoding itself (see
// detectedEncoding) when the document is not valid UTF-8: the caller runs the tool
// again for Windows-1252.
struct NotUtf8 {};

class DocumentTool {
 public:
  virtual ~DocumentTool() = default;
  // For a tool built without a known encoding: the one its run found.
  virtual std::optional<Encoding> detectedEncoding() const { return std::nullopt; }
  // The encoding of the tool's output, after a run, when it may differ from the
  // encoding of its input.
  virtual std::optional<Encoding> resultEncoding() const { return std::nullopt; }
  virtual PipelineVariation variation() const = 0;
  // Whether a valid UTF-8 document stays valid UTF-8 through this tool.
  virtual bool keepsUtf8Valid() const { return true; }
  // Throws IoFailure.
  virtual void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                   Progress& progress) = 0;
};

// A tool that handles one line at a time, holding nothing but the current line.
class LineTool : public DocumentTool {
 public:
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 protected:
  // Writes zero or more lines for `line`, which comes from a LineReader: its slack
  // may be read past the line's end.
  virtual void transform(std::string_view line, LineWriter& output, Progress& progress) = 0;
  // Called after the last line, to write lines of its own.
  virtual void finish(LineWriter&) {}
  // Whether the run advances the progress by one for every line read.
  virtual bool stepsPerLine() const { return true; }
};

}  // namespace orvex
