#include "tools/replacement_tool.h"

#include "text/windows1252.h"

namespace orvex {

ReplacementTool::ReplacementTool(std::string utf8, Encoding encoding)
    : m_text(std::move(utf8)), m_result(encodingWithText(encoding, m_text)) {}

void ReplacementTool::run(const std::filesystem::path&, const TextFormat&, LineWriter& output, Progress&) {
  // Lines end with any break; the writer gives them the document's own, and the
  // final break as the document has it.
  const std::string_view text = m_text;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    output.put(m_result == Encoding::Windows1252 ? std::string_view(encodeWindows1252(line)) : line);
    if (end == std::string_view::npos) return;
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
}

}  // namespace orvex
