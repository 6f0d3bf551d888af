#pragma once
// Writes a document computed in memory (the editor's text after a replace-all) as
// the tool's output, so that the change takes the text tools' road: one undo step,
// kept on disk. The text is UTF-8; it is written in the encoding the document's
// bytes are in, or in UTF-8 when it holds a character Windows-1252 lacks.

#include <string>

#include "tools/document_tool.h"

namespace orvex {

class ReplacementTool : public DocumentTool {
 public:
  ReplacementTool(std::string utf8, Encoding encoding);
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, true, false}; }
  std::optional<Encoding> resultEncoding() const override { return m_result; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 private:
  std::string m_text;
  Encoding m_result;
};

}  // namespace orvex
