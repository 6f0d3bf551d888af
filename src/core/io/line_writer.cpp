#include "io/line_writer.h"

#include <fcntl.h>

#include <cstring>

#include "io/file_handle.h"

namespace orvex {

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::uint64_t kWritebackStep = 8 << 20;
}  // namespace

LineWriter::LineWriter(int fd, const TextFormat& format)
    : m_fd(fd),
      m_break(lineBreakBytes(format.lineBreak)),
      m_finalBreak(format.finalBreak),
      m_buffer(new char[kBufferSize]),
      m_capacity(kBufferSize) {
  if (format.bom) append(kUtf8Bom);
}

// Room for `size` more bytes: flushes first when they do not fit, and grows the
// buffer only for a line larger than it.
char* LineWriter::reserve(std::size_t size) {
  if (m_used + size > m_capacity) {
    flush();
    if (size > m_capacity) {
      m_buffer.reset(new char[size]);
      m_capacity = size;
    }
  }
  char* at = m_buffer.get() + m_used;
  m_used += size;
  return at;
}

void LineWriter::append(std::string_view bytes) {
  if (bytes.empty()) return;  // an empty view may have no data pointer at all
  if (bytes.size() > kBufferSize) {
    flush();
    writeAll(m_fd, bytes);
    return;
  }
  std::memcpy(reserve(bytes.size()), bytes.data(), bytes.size());
}

void LineWriter::put(std::string_view line) {
  if (m_lines++ > 0) append(m_break);
  m_lastLineSize = line.size();
  append(line);
}

char* LineWriter::putUninitialized(std::size_t size) {
  if (m_lines++ > 0) append(m_break);
  m_lastLineSize = size;
  return reserve(size);
}

bool LineWriter::endsWithBreak() const {
  if (m_lines == 0) return false;
  return m_finalBreak || (m_lines > 1 && m_lastLineSize == 0);
}

void LineWriter::flush() {
  if (m_used == 0) return;
  writeAll(m_fd, std::string_view(m_buffer.get(), m_used));
  m_written += m_used;
  m_used = 0;
  if (m_writeback && m_written - m_writebackStart >= kWritebackStep) {
    // Only a hint: a file system that ignores it loses nothing.
    ::sync_file_range(m_fd, static_cast<off_t>(m_writebackStart), static_cast<off_t>(m_written - m_writebackStart),
                      SYNC_FILE_RANGE_WRITE);
    m_writebackStart = m_written;
  }
}

void LineWriter::finish() {
  if (m_finalBreak && m_lines > 0) append(m_break);
  flush();
}

}  // namespace orvex
