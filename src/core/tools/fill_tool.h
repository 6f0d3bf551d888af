#pragma once
// Inserts a text at a column of every line in a range, optionally with a running
// number in place of the text's first "%".

#include <cstdint>
#include <string>

#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

struct FillParameters {
  std::string text;
  std::int64_t column = 1;     // 1-based character position where the text starts
  std::int64_t firstLine = 1;  // 1-based, inclusive
  std::int64_t lastLine = 1;
  bool increment = false;
  std::int64_t startNumber = 0;
  std::int64_t step = 0;
};

class FillTool : public LineTool {
 public:
  FillTool(FillParameters parameters, Encoding encoding);
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, false, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  FillParameters m_parameters;
  Encoding m_encoding;
  std::string m_prefix;  // the text before its first "%" (the text itself without increment)
  std::string m_suffix;
  std::int64_t m_number;
  std::int64_t m_lineNumber = 0;
  std::string m_line;
};

}  // namespace orvex
