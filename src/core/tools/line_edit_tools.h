#pragma once
// The tools that rewrite each line's characters: accent removal, blank removal,
// equal line lengths, and removal of consecutive duplicate lines.

#include <string>

#include "text/text_format.h"
#include "tools/byte_map.h"
#include "tools/document_tool.h"

namespace orvex {

// Fifteen lower-case accented letters become plain letters (à â ä è é ê ë î ï ô ö ù
// û ü ÿ); every other character, capitals and ç included, stays.
void removeAccents(std::string_view line, Encoding encoding, std::string& out);
std::string removeAccents(std::string_view line, Encoding encoding);

// Removes every space of the line, with the control characters at the start of the
// line and those standing just before a space. A line without a space is unchanged.
void removeBlanks(std::string_view line, std::string& out);
std::string removeBlanks(std::string_view line);

class AccentTool : public LineTool {
 public:
  explicit AccentTool(Encoding encoding) : m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::Never, true, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  Encoding m_encoding;
  std::string m_line;
};

class BlankTool : public LineTool {
 public:
  PipelineVariation variation() const override { return {EditorClearing::Never, true, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  std::string m_line;
};

// Drops a line equal (byte for byte) to the line before it; the first line is
// compared with an empty line. Progress counts the lines kept.
class DuplicateTool : public LineTool {
 public:
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, true, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress& progress) override;
  bool stepsPerLine() const override { return false; }

 private:
  std::string m_previous;
};

// Extends every line with spaces to the length, in characters, of the longest one.
class PaddingTool : public DocumentTool {
 public:
  explicit PaddingTool(Encoding encoding) : m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 private:
  Encoding m_encoding;
};

}  // namespace orvex
