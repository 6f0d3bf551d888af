#include "editing/block_operations.h"

#include <algorithm>

#include "text/utf8.h"

namespace orvex {

namespace {

// The block clipboard is shared by every document, so it has one fixed layout.
const TextFormat kClipboardFormat{Encoding::Windows1252, false, LineBreak::CrLf, true};

std::size_t bytesBefore(std::string_view line, std::int64_t characters, Encoding encoding) {
  return characters <= 0 ? 0 : charPrefixBytes(line, static_cast<std::size_t>(characters), encoding);
}

}  // namespace

void BlockAnchor::markStart(std::int64_t caretColumn, std::int64_t caretLine) {
  startColumn = static_cast<std::int32_t>(caretColumn + 1);
  startLine = static_cast<std::int32_t>(caretLine + 1);
}

void BlockAnchor::markEnd(std::int64_t caretColumn, std::int64_t caretLine) {
  endColumn = static_cast<std::int32_t>(caretColumn);
  endLine = static_cast<std::int32_t>(caretLine + 1);
}

std::string anchorLabel(std::int64_t column, std::int64_t line) {
  return "col: " + std::to_string(column) + " lg: " + std::to_string(line);
}

ByteRange blockSliceBytes(std::string_view line, std::int64_t from, std::int64_t count, Encoding encoding) {
  if (count <= 0) return {};
  if (from < 1) from = 1;
  const std::size_t begin = bytesBefore(line, from - 1, encoding);
  return {begin, begin + charPrefixBytes(line.substr(begin), static_cast<std::size_t>(count), encoding)};
}

std::string_view blockSlice(std::string_view line, std::int64_t from, std::int64_t count, Encoding encoding) {
  const ByteRange slice = blockSliceBytes(line, from, count, encoding);
  return line.substr(slice.begin, slice.end - slice.begin);
}

std::string padToWidth(std::string text, std::int64_t width, Encoding encoding) {
  const auto length = static_cast<std::int64_t>(charCount(text, encoding));
  if (length < width) text.append(static_cast<std::size_t>(width - length), ' ');
  return text;
}

Status copyBlock(const std::filesystem::path& input, const TextFormat& format, const BlockAnchor& anchor,
                 const std::filesystem::path& clipboard, Progress& progress) {
  return statusOf([&] {
    LineReader reader(input, format.bom);
    AtomicFile output(clipboard, std::nullopt, LinkPolicy::OwnLinksOnly);
    LineWriter writer(output.fd(), kClipboardFormat);
    std::string_view line;
    std::int64_t number = 0;
    while (reader.next(line)) {
      if (anchor.containsLine(++number))
        writer.put(blockSlice(line, anchor.startColumn, anchor.width(), format.encoding));
      progress.advance();
    }
    writer.finish();
    output.commit();
  });
}

BlockRemovalTool::BlockRemovalTool(const BlockAnchor& anchor, Encoding encoding,
                                   std::optional<std::filesystem::path> clipboard)
    : m_anchor(anchor), m_encoding(encoding), m_clipboardPath(std::move(clipboard)) {}

void BlockRemovalTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                           Progress& progress) {
  if (m_clipboardPath) {
    m_clipboard.emplace(*m_clipboardPath);
    m_clipboardWriter.emplace(m_clipboard->fd(), kClipboardFormat);
  }
  LineTool::run(input, format, output, progress);
  if (m_clipboard) {
    m_clipboardWriter->finish();
    m_clipboard->commit();
  }
}

void BlockRemovalTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (!m_anchor.containsLine(++m_lineNumber)) {
    output.put(line);
    return;
  }
  if (m_clipboardWriter) m_clipboardWriter->put(blockSlice(line, m_anchor.startColumn, m_anchor.width(), m_encoding));
  if (m_anchor.width() <= 0) {
    output.put(line);
    return;
  }
  const std::size_t head = bytesBefore(line, m_anchor.startColumn - 1, m_encoding);
  const std::size_t tail = bytesBefore(line, m_anchor.endColumn, m_encoding);
  m_line.assign(line.substr(0, head));
  if (tail > head)
    m_line.append(line.substr(tail));
  else
    m_line.append(line.substr(head));
  output.put(m_line);
}

void BlockFillTool::transform(std::string_view line, LineWriter& output, Progress& progress) {
  if (!m_anchor.containsLine(++m_lineNumber) || m_anchor.width() <= 0) {
    FillTool::transform(line, output, progress);
    return;
  }
  const std::size_t head = bytesBefore(line, m_anchor.startColumn - 1, m_encoding);
  const std::size_t tail = bytesBefore(line, m_anchor.endColumn, m_encoding);
  m_kept.assign(line.substr(0, head));
  m_kept.append(line.substr(std::max(head, tail)));
  FillTool::transform(m_kept, output, progress);
}

ColumnInsertTool::ColumnInsertTool(std::filesystem::path source, std::int64_t caretColumn, std::int64_t caretLine,
                                   Encoding encoding, LinkPolicy links)
    : m_sourcePath(std::move(source)),
      m_links(links),
      m_column(caretColumn < 0 ? 0 : caretColumn),
      m_caretLine(caretLine),
      m_encoding(encoding) {}

void ColumnInsertTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                           Progress& progress) {
  m_meeting.emplace(m_encoding, m_sourcePath, m_links);
  m_source.emplace(m_sourcePath, true, m_links);
  LineTool::run(input, format, output, progress);
}

void ColumnInsertTool::transform(std::string_view line, LineWriter& output, Progress&) {
  line = m_meeting->documentLine(line);
  std::string_view inserted;
  if (++m_lineNumber <= m_caretLine || !m_source->next(inserted)) {
    output.put(line);
    return;
  }
  const Encoding encoding = m_meeting->result();
  m_line.assign(line);
  const auto length = static_cast<std::int64_t>(charCount(line, encoding));
  if (length < m_column) m_line.append(static_cast<std::size_t>(m_column - length), ' ');
  m_line.insert(bytesBefore(m_line, m_column, encoding), m_meeting->otherLine(inserted));
  output.put(m_line);
}

void ColumnInsertTool::finish(LineWriter& output) {
  std::string_view inserted;
  while (m_source->next(inserted)) {
    m_line.assign(static_cast<std::size_t>(m_column), ' ');
    m_line.append(m_meeting->otherLine(inserted));
    output.put(m_line);
  }
}

void IndentTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (!m_anchor.containsLine(++m_lineNumber)) {
    output.put(line);
    return;
  }
  const std::int64_t start = m_anchor.startColumn;
  if (m_direction == IndentDirection::Right) {
    const std::size_t at = bytesBefore(line, start - 1, m_encoding);
    m_line.assign(line.substr(0, at));
    m_line.append(kIndentStep, ' ');
    m_line.append(line.substr(at));
  } else {
    const std::int64_t from = start - kIndentStep < 1 ? 1 : start - kIndentStep;
    const std::size_t begin = bytesBefore(line, from - 1, m_encoding);
    const std::size_t end = bytesBefore(line, start - 1, m_encoding);
    m_line.assign(line.substr(0, begin));
    if (end > begin)
      m_line.append(line.substr(end));
    else
      m_line.append(line.substr(begin));
  }
  output.put(m_line);
}

}  // namespace orvex
