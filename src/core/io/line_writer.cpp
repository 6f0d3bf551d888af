#include "io/line_writer.h"

#include "io/file_handle.h"

namespace orvex {

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
}

LineWriter::LineWriter(int fd, const TextFormat& format)
    : m_fd(fd), m_break(lineBreakBytes(format.lineBreak)), m_finalBreak(format.finalBreak) {
  m_buffer.reserve(kBufferSize);
  if (format.bom) append(kUtf8Bom);
}

void LineWriter::append(std::string_view bytes) {
  if (m_buffer.size() + bytes.size() > kBufferSize) {
    flush();
    if (bytes.size() > kBufferSize) {
      writeAll(m_fd, bytes);
      return;
    }
  }
  m_buffer.append(bytes);
}

void LineWriter::put(std::string_view line) {
  if (m_lines++ > 0) append(m_break);
  append(line);
}

void LineWriter::flush() {
  if (m_buffer.empty()) return;
  writeAll(m_fd, m_buffer);
  m_buffer.clear();
}

void LineWriter::finish() {
  if (m_finalBreak && m_lines > 0) append(m_break);
  flush();
}

}  // namespace orvex
