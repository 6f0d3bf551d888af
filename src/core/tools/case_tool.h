#pragma once
// Upper and lower case of the whole document. Only the 26 ASCII letters change;
// accented letters stay as they are, whatever the locale.

#include <string>

#include "tools/byte_map.h"
#include "tools/document_tool.h"

namespace orvex {

enum class LetterCase { Upper, Lower };

// The case mapping as a table, for comparisons that fold case.
const ByteMap& caseMap(LetterCase letterCase);
// Writes line.size() bytes at `out`.
void changeCase(std::string_view line, LetterCase letterCase, char* out);
std::string changeCase(std::string_view line, LetterCase letterCase);

class CaseTool : public LineTool {
 public:
  explicit CaseTool(LetterCase letterCase) : m_case(letterCase) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override {
    changeCase(line, m_case, output.putUninitialized(line.size()));
  }

 private:
  LetterCase m_case;
};

}  // namespace orvex
