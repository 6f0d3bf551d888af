#pragma once
// Inserts a text at a column of every line in a range, optionally with a running
// number in place of the text's first "%".

#include <cstdint>
#include <string>

#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

struct FillParameters {
  std::string text;            // UTF-8, as typed
  std::int64_t column = 1;     // 1-based character position where the text starts
  std::int64_t firstLine = 1;  // 1-based, inclusive
  std::int64_t lastLine = 1;
  bool increment = false;
  std::int64_t startNumber = 0;
  std::int64_t step = 0;
};

class FillTool : public LineTool {
 public:
  // `encoding` is the document's. A Windows-1252 document takes the text in the
  // code page's bytes; when the text holds a character the code page lacks, every
  // line is written in UTF-8, and so is the whole document from then on.
  FillTool(FillParameters parameters, Encoding encoding);
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, false, true}; }
  std::optional<Encoding> resultEncoding() const override {
    return m_toUtf8 ? std::optional<Encoding>(Encoding::Utf8) : std::nullopt;
  }

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
  bool m_toUtf8;
  std::string m_converted;
};

}  // namespace orvex
