#pragma once
// Streams the lines of a file without their line breaks. LF, CR LF and a lone CR
// all end a line; every other byte, NUL and Ctrl+Z included, belongs to the line.
// Lines have no length limit: the buffer grows to hold the longest one.
// Past the end of every line given lie at least kSlack readable bytes, so that a
// tool may work on whole 16-byte blocks and leave aside what lies past the line.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "io/file_handle.h"

namespace orvex {

class LineReader {
 public:
  static constexpr std::size_t kSlack = 64;

  // Throws IoFailure when the file cannot be opened (or `links` refuses a link on
  // the way). With `skipBom`, a leading UTF-8 byte-order mark is not part of the first line.
  LineReader(const std::filesystem::path& path, bool skipBom, LinkPolicy links = LinkPolicy::Follow);

  // Gives the next line, valid until the following call; false at the end.
  // Throws IoFailure on a read error.
  bool next(std::string_view& line);

  // After the end: whether the file's last line ended with a line break.
  bool lastLineHadBreak() const { return m_lastHadBreak; }

  // Rewinds to the first line.
  void rewind();

 private:
  bool fill();
  std::size_t findBreak() const;
  std::size_t capacity() const { return m_buffer.size() - kSlack; }

  std::filesystem::path m_path;
  FileHandle m_file;
  bool m_skipBom;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  bool m_eof = false;
  bool m_started = false;
  bool m_lastHadBreak = false;
};

}  // namespace orvex
