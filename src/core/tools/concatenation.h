#pragma once
// Appending another file's lines to the document, and reversing a selected string.

#include <filesystem>
#include <optional>
#include <string>

#include "io/encoding_meeting.h"
#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

// Copies the document, then every line of another file (read with any line break,
// without its byte-order mark) as new lines after the document's last line, in the
// document's encoding: both show the same characters as they did on their own. When
// a Windows-1252 document meets a UTF-8 file with characters the code page lacks,
// the whole result is UTF-8.
class ConcatenationTool : public LineTool {
 public:
  // `encoding` is the one the document's bytes are in.
  ConcatenationTool(std::filesystem::path otherFile, Encoding encoding)
      : m_otherFile(std::move(otherFile)), m_documentEncoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, true, false}; }
  // The other file's bytes are its own: nothing is promised of them.
  bool keepsUtf8Valid() const override { return false; }
  std::optional<Encoding> resultEncoding() const override {
    return m_meeting ? m_meeting->result() : m_documentEncoding;
  }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;
  void finish(LineWriter& output) override;
  bool stepsPerLine() const override { return false; }

 private:
  std::filesystem::path m_otherFile;
  Encoding m_documentEncoding;
  std::optional<EncodingMeeting> m_meeting;
};

// The characters of `text` in the opposite order; a UTF-8 character and a CR LF
// pair each stay whole, so the result is the same text read backwards.
std::string reverseText(std::string_view text, Encoding encoding);

// Whether a selection is worth reversing: it holds a character above code 32.
bool isReversible(std::string_view text);

}  // namespace orvex
