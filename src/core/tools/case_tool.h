#pragma once
// Upper and lower case of the whole document. Only the 26 ASCII letters change;
// accented letters stay as they are, whatever the locale.

#include <string>

#include "tools/byte_map.h"
#include "tools/document_tool.h"

namespace orvex {

enum class LetterCase { Upper, Lower };

const ByteMap& caseMap(LetterCase letterCase);
std::string changeCase(std::string_view line, LetterCase letterCase);

class CaseTool : public LineTool {
 public:
  explicit CaseTool(LetterCase letterCase) : m_map(caseMap(letterCase)) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override {
    mapBytes(line, m_map, m_line);
    output.put(m_line);
  }

 private:
  const ByteMap& m_map;
  std::string m_line;
};

}  // namespace orvex
