#include "io/line_writer.h"

#include <fcntl.h>

#include <cstring>
#include <system_error>

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
      m_buffer(allocate(kBufferSize)) {
  if (format.bom) append(kUtf8Bom);
}

LineWriter::Buffer LineWriter::allocate(std::size_t capacity) {
  return {std::make_unique_for_overwrite<char[]>(capacity + kSlack), capacity};
}

// Room for `size` more bytes: flushes first when they do not fit, and grows the
// buffer only for a line larger than it.
char* LineWriter::reserve(std::size_t size) {
  if (m_used + size > m_buffer.capacity) {
    flush(false);
    if (size > m_buffer.capacity) m_buffer = allocate(size);
  }
  char* at = m_buffer.bytes.get() + m_used;
  m_used += size;
  return at;
}

void LineWriter::append(std::string_view bytes) {
  if (bytes.empty()) return;  // an empty view may have no data pointer at all
  if (bytes.size() > kBufferSize) {
    flush(false);
    if (m_background) m_background->wait();
    writeOut(bytes);
    return;
  }
  std::memcpy(reserve(bytes.size()), bytes.data(), bytes.size());
}

void LineWriter::put(std::string_view line) {
  if (m_lines++ > 0) append(m_break);
  m_lastLineSize = line.size();
  append(line);
}

char* LineWriter::startLine(std::size_t size) {
  if (m_lines++ > 0) append(m_break);
  m_lastLineSize = size;
  return reserve(size);
}

bool LineWriter::endsWithBreak() const {
  if (m_lines == 0) return false;
  return m_finalBreak || (m_lines > 1 && m_lastLineSize == 0);
}

void LineWriter::flush(bool last) {
  if (m_used == 0) return;
  const std::string_view bytes(m_buffer.bytes.get(), m_used);
  m_used = 0;
  if (!m_background && !last && !m_threadless) {
    m_spare = allocate(kBufferSize);
    try {
      m_background = std::make_unique<BackgroundWriter>([this](std::string_view full) { writeOut(full); });
    } catch (const std::system_error&) {
      m_threadless = true;  // no thread to be had (a process limit): written here
      m_spare = {};
    }
  }
  if (!m_background) {
    writeOut(bytes);
    return;
  }
  m_background->submit(bytes);
  std::swap(m_buffer, m_spare);
}

// Runs on the thread that writes: the background one once it is there.
void LineWriter::writeOut(std::string_view bytes) {
  writeAll(m_fd, bytes);
  m_written += bytes.size();
  if (m_writeback && m_written - m_writebackStart >= kWritebackStep) {
    // Only a hint: a file system that ignores it loses nothing.
    ::sync_file_range(m_fd, static_cast<off_t>(m_writebackStart), static_cast<off_t>(m_written - m_writebackStart),
                      SYNC_FILE_RANGE_WRITE);
    m_writebackStart = m_written;
  }
}

void LineWriter::finish() {
  if (m_finalBreak && m_lines > 0) append(m_break);
  flush(true);
  if (m_background) m_background->wait();
}

}  // namespace orvex
