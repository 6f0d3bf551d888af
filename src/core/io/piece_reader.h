#pragma once
// Reads a file in large pieces for a consumer that takes text in bulk (the editor's
// control). Each piece ends after a line feed, so that no character and no CR LF is
// split between two pieces; the last piece holds what follows the last line feed. A
// line longer than a piece makes the piece grow to hold it. The bytes are read with
// read(), never mapped: a file that shrinks while it is read simply ends sooner.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvex {

class PieceReader {
 public:
  struct Options {
    bool skipBom = false;          // a leading UTF-8 byte-order mark is not given
    bool fromWindows1252 = false;  // pieces are converted to UTF-8
    std::size_t pieceSize = std::size_t{16} << 20;
  };

  // Reads `fd` from its current position; the caller keeps the descriptor open.
  PieceReader(int fd, Options options);

  // Gives the next piece, never empty, valid until the following call; false when
  // the file is done. Throws IoFailure on a read error.
  bool next(std::string_view& piece);

 private:
  void fill();
  std::string_view give(std::size_t end);

  int m_fd;
  Options m_options;
  std::string m_buffer;  // bytes [m_begin, m_end) are read and not yet given
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  std::size_t m_searched = 0;  // [m_begin, m_searched) holds no line feed
  std::string m_converted;
  bool m_started = false;
  bool m_eof = false;
};

}  // namespace orvex
