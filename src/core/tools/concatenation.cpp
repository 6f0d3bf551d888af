#include "tools/concatenation.h"

#include "io/line_reader.h"
#include "text/utf8.h"

namespace orvex {

void ConcatenationTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                            Progress& progress) {
  m_meeting.emplace(m_documentEncoding, m_otherFile);
  LineTool::run(input, format, output, progress);
}

void ConcatenationTool::transform(std::string_view line, LineWriter& output, Progress&) {
  output.put(m_meeting->documentLine(line));
}

void ConcatenationTool::finish(LineWriter& output) {
  LineReader reader(m_otherFile, true);
  std::string_view line;
  while (reader.next(line)) output.put(m_meeting->otherLine(line));
}

std::string reverseText(std::string_view text, Encoding encoding) {
  std::string reversed(text.size(), '\0');
  std::size_t out = text.size();
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t length = 1;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      length = 2;
    } else if (encoding == Encoding::Utf8) {
      while (i + length < text.size() && isUtf8Continuation(static_cast<unsigned char>(text[i + length]))) ++length;
    }
    out -= length;
    reversed.replace(out, length, text.substr(i, length));
    i += length;
  }
  return reversed;
}

bool isReversible(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) > 32) return true;
  return false;
}

}  // namespace orvex
