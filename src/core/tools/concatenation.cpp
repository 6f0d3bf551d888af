#include "tools/concatenation.h"

#include "io/line_reader.h"
#include "text/format_detection.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {

namespace {

// Whether every line of a UTF-8 file fits the Windows-1252 code page.
bool fileFitsWindows1252(const std::filesystem::path& path) {
  LineReader reader(path, true);
  std::string_view line;
  while (reader.next(line))
    if (!fitsWindows1252(line)) return false;
  return true;
}

}  // namespace

void ConcatenationTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                            Progress& progress) {
  m_otherEncoding = detectFileEncoding(m_otherFile);
  m_resultEncoding = m_documentEncoding;
  if (m_documentEncoding == Encoding::Windows1252 && m_otherEncoding == Encoding::Utf8 &&
      !fileFitsWindows1252(m_otherFile))
    m_resultEncoding = Encoding::Utf8;
  LineTool::run(input, format, output, progress);
}

void ConcatenationTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (m_resultEncoding == m_documentEncoding) {
    output.put(line);
    return;
  }
  m_converted.clear();
  appendWindows1252AsUtf8(line, m_converted);
  output.put(m_converted);
}

void ConcatenationTool::finish(LineWriter& output) {
  LineReader reader(m_otherFile, true);
  std::string_view line;
  while (reader.next(line)) {
    if (m_otherEncoding == m_resultEncoding) {
      output.put(line);
    } else if (m_resultEncoding == Encoding::Utf8) {
      m_converted.clear();
      appendWindows1252AsUtf8(line, m_converted);
      output.put(m_converted);
    } else {
      output.put(encodeWindows1252(line));
    }
  }
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
      while (i + length < text.size() && isUtf8Continuation(static_cast<unsigned char>(text[i + length])))
        ++length;
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
