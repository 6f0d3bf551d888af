#pragma once
// Writes lines to a file descriptor through a large buffer, joining them with the
// document's line break. The break after the last line is written by finish(), so
// a document without a final line break keeps it that way. Once a first buffer is
// full, the buffers are written on a thread of their own while the next one fills.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "io/background_writer.h"
#include "text/text_format.h"

namespace orvex {

class LineWriter {
 public:
  // How many bytes past the end of a line started by putUninitialized() the caller
  // may write too: what follows overwrites them.
  static constexpr std::size_t kSlack = 64;

  // Writes the byte-order mark first when the format has one.
  LineWriter(int fd, const TextFormat& format);
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  void put(std::string_view line);
  // Starts a line of `size` bytes and returns where the caller writes them, before
  // any other call on this writer; saves a copy for tools that map bytes.
  char* putUninitialized(std::size_t size) {
    // Inline while the break and the line fit in the buffer, as they nearly always do.
    const std::size_t breakSize = m_lines > 0 ? m_break.size() : 0;
    if (m_used + breakSize + size > m_buffer.capacity) return startLine(size);
    char* at = m_buffer.bytes.get() + m_used;
    for (std::size_t k = 0; k < breakSize; ++k) at[k] = m_break[k];
    ++m_lines;
    m_lastLineSize = size;
    m_used += breakSize + size;
    return at + breakSize;
  }
  // Gives back the last `unused` bytes of the line started by putUninitialized().
  void shortenLastLine(std::size_t unused) {
    m_used -= unused;
    m_lastLineSize -= unused;
  }
  // Whether the bytes written so far end with a line break: a last line that is
  // empty and written without a break leaves the break of the line before it. Read
  // back, the file has that final break.
  bool endsWithBreak() const;

  // Asks the system to start writing the data to disk as it goes, for a file that is
  // flushed to disk at the end: the final flush then has little left to wait for.
  void startWritebackEarly() { m_writeback = true; }
  // Writes the final break (when the format has one and a line was written) and
  // flushes. Throws IoFailure.
  void finish();

 private:
  struct Buffer {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;  // without the slack
  };
  static Buffer allocate(std::size_t capacity);

  char* startLine(std::size_t size);
  char* reserve(std::size_t size);
  void append(std::string_view bytes);
  // Hands the buffer's bytes over for writing; `last` keeps a writer that has not
  // filled a buffer yet from starting a thread for them.
  void flush(bool last);
  void writeOut(std::string_view bytes);

  int m_fd;
  std::string_view m_break;
  bool m_finalBreak;
  Buffer m_buffer;
  Buffer m_spare;  // the buffer being written in the background
  std::size_t m_used = 0;
  std::size_t m_lines = 0;
  std::size_t m_lastLineSize = 0;
  bool m_writeback = false;
  bool m_threadless = false;
  std::uint64_t m_written = 0;
  std::uint64_t m_writebackStart = 0;
  std::unique_ptr<BackgroundWriter> m_background;  // last: it ends before the buffers go
};

}  // namespace orvex
