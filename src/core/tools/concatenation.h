#pragma once
// Appending another file's lines to the document, and reversing a selected string.

#include <filesystem>
#include <string>

#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

// Copies the document, then every line of another file (read with any line break,
// without its byte-order mark) as new lines after the document's last line.
class ConcatenationTool : public LineTool {
 public:
  explicit ConcatenationTool(std::filesystem::path otherFile) : m_otherFile(std::move(otherFile)) {}
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, true, false}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override { output.put(line); }
  void finish(LineWriter& output) override;
  bool stepsPerLine() const override { return false; }

 private:
  std::filesystem::path m_otherFile;
};

// The characters of `text` in the opposite order; a UTF-8 character and a CR LF
// pair each stay whole, so the result is the same text read backwards.
std::string reverseText(std::string_view text, Encoding encoding);

// Whether a selection is worth reversing: it holds a character above code 32.
bool isReversible(std::string_view text);

}  // namespace orvex
