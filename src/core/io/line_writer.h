#pragma once
// Writes lines to a file descriptor through a large buffer, joining them with the
// document's line break. The break after the last line is written by finish(), so
// a document without a final line break keeps it that way.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

class LineWriter {
 public:
  // Writes the byte-order mark first when the format has one.
  LineWriter(int fd, const TextFormat& format);

  void put(std::string_view line);
  std::size_t linesWritten() const { return m_lines; }
  // Writes the final break (when the format has one and a line was written) and
  // flushes. Throws IoFailure.
  void finish();

 private:
  void append(std::string_view bytes);
  void flush();

  int m_fd;
  std::string_view m_break;
  bool m_finalBreak;
  std::string m_buffer;
  std::size_t m_lines = 0;
};

}  // namespace orvex
