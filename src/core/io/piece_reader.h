#pragma once
// Reads a file in large pieces for a consumer that takes text in bulk (the editor's
// control). Each piece ends after a line feed, so that no character and no CR LF is
// split between two pieces; the last piece holds what follows the last line feed. A
// line longer than a piece makes the piece grow to hold it. The bytes are read with
// read(), never mapped: a file that shrinks while it is read simply ends sooner.
// A file that another thread is still writing can be followed: its end is then
// only the end once the writer says it has finished.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "io/file_handle.h"
#include "io/status.h"

namespace orvex {

class PieceReader {
 public:
  struct Options {
    bool skipBom = false;          // a leading UTF-8 byte-order mark is not given
    bool fromWindows1252 = false;  // pieces are converted to UTF-8
    std::size_t pieceSize = std::size_t{16} << 20;
    // For a file still being written: true once the writer has written its last byte.
    std::function<bool()> writerFinished;
  };

  // Reads `fd` from its current position; the caller keeps the descriptor open.
  PieceReader(int fd, const Options& options);

  // Opens a regular file to read from its start; the reader keeps it open.
  static Result<PieceReader> open(const std::filesystem::path& path, const Options& options);

  // The file's size when it was opened, 0 for a reader given a descriptor.
  std::size_t size() const { return m_size; }

  // Gives the next piece, never empty, valid until the following call; false when
  // the file is done or a read failed, which error() then says.
  bool next(std::string_view& piece);
  const std::string& error() const { return m_error; }

 private:
  void fill();
  std::string_view give(std::size_t end);

  FileHandle m_file;
  int m_fd;
  std::size_t m_size = 0;
  std::string m_error;
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
