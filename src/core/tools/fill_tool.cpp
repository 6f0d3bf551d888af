#include "tools/fill_tool.h"

#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {

FillTool::FillTool(FillParameters parameters, Encoding encoding)
    : m_parameters(std::move(parameters)),
      m_encoding(encodingWithText(encoding, m_parameters.text)),
      m_number(m_parameters.increment ? m_parameters.startNumber : 0),
      m_toUtf8(m_encoding != encoding) {
  if (m_encoding == Encoding::Windows1252) m_parameters.text = encodeWindows1252(m_parameters.text);
  const std::string& text = m_parameters.text;
  if (!m_parameters.increment) {
    m_prefix = text;
  } else if (const auto percent = text.find('%'); percent != std::string::npos) {
    m_prefix = text.substr(0, percent);
    m_suffix = text.substr(percent + 1);
  } else {
    m_suffix = text;
  }
}

void FillTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (m_toUtf8) {
    m_converted.clear();
    appendWindows1252AsUtf8(line, m_converted);
    line = m_converted;
  }
  ++m_lineNumber;
  if (m_lineNumber < m_parameters.firstLine || m_lineNumber > m_parameters.lastLine) {
    output.put(line);
    return;
  }
  const std::size_t column = m_parameters.column < 1 ? 1 : static_cast<std::size_t>(m_parameters.column);
  m_line.assign(line);
  const std::size_t length = charCount(line, m_encoding);
  if (length < column) m_line.append(column - length, ' ');
  const std::size_t headBytes = charPrefixBytes(m_line, column - 1, m_encoding);
  m_line.insert(headBytes, m_prefix);
  std::size_t at = headBytes + m_prefix.size();
  if (m_parameters.increment) {
    const std::string number = std::to_string(m_number);
    m_line.insert(at, number);
    at += number.size();
    m_line.insert(at, m_suffix);
    m_number += m_parameters.step;
  }
  output.put(m_line);
}

}  // namespace orvex
