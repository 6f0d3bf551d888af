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

// Without a known encoding the tool treats the document as UTF-8 and checks it on
// the way, raising NotUtf8 at the first malformed character.
class AccentTool : public LineTool {
 public:
  explicit AccentTool(std::optional<Encoding> encoding) : m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::Never, true, true}; }
  std::optional<Encoding> detectedEncoding() const override { return m_encoding.value_or(Encoding::Utf8); }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  std::optional<Encoding> m_encoding;
};

class BlankTool : public LineTool {
 public:
  PipelineVariation variation() const override { return {EditorClearing::Never, true, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;
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
// Without a known encoding, the first pass finds it.
class PaddingTool : public DocumentTool {
 public:
  explicit PaddingTool(std::optional<Encoding> encoding) : m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }
  std::optional<Encoding> detectedEncoding() const override { return m_encoding; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 private:
  std::optional<Encoding> m_encoding;
};

}  // namespace orvex
