#pragma once
// Writes lines to a file descriptor through a large buffer, joining them with the
// document's line break. The break after the last line is written by finish(), so
// a document without a final line break keeps it that way.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

class LineWriter {
 public:
  // Writes the byte-order mark first when the format has one.
  LineWriter(int fd, const TextFormat& format);

  void put(std::string_view line);
  // Starts a line of `size` bytes and returns where the caller writes them, before
  // any other call on this writer; saves a copy for tools that map bytes.
  char* putUninitialized(std::size_t size);
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
  char* reserve(std::size_t size);
  void append(std::string_view bytes);
  void flush();

  int m_fd;
  std::string_view m_break;
  bool m_finalBreak;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity;
  std::size_t m_used = 0;
  std::size_t m_lines = 0;
  std::size_t m_lastLineSize = 0;
  bool m_writeback = false;
  std::uint64_t m_written = 0;
  std::uint64_t m_writebackStart = 0;
};

}  // namespace orvex
