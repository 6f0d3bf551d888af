#include "io/piece_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "text/messages.h"
#include "text/text_format.h"
#include "text/windows1252.h"

namespace orvex {

// The buffer holds at least a byte-order mark's length, so that the first read sees one.
PieceReader::PieceReader(int fd, const Options& options)
    : m_fd(fd), m_options(options), m_buffer(std::max(options.pieceSize, kUtf8Bom.size()), '\0') {}

Result<PieceReader> PieceReader::open(const std::filesystem::path& path, const Options& options) {
  return resultOf([&] {
    FileHandle file = openForReading(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw IoFailure(messageForErrno(errno));
    PieceReader reader(file.get(), options);
    reader.m_file = std::move(file);
    reader.m_size = static_cast<std::size_t>(info.st_size);
    return reader;
  });
}

// Moves the bytes not yet given to the front, grows the buffer when they fill it,
// and reads until it is full or the file ends.
void PieceReader::fill() {
  if (m_begin > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_searched -= m_begin;
    m_begin = 0;
  }
  if (m_end == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
  const std::size_t room = m_buffer.size() - m_end;
  // Asked before reading: a writer that had finished then has nothing left to add
  // after what this read finds.
  const bool lastRead = !m_options.writerFinished || m_options.writerFinished();
  const std::size_t got = readFull(m_fd, m_buffer.data() + m_end, room);
  m_end += got;
  m_eof = got < room && lastRead;
  if (got == 0 && !m_eof) std::this_thread::sleep_for(std::chrono::microseconds(200));
  if (!m_started) {
    m_started = true;
    if (m_options.skipBom && std::string_view(m_buffer.data(), m_end).substr(0, kUtf8Bom.size()) == kUtf8Bom)
      m_begin = m_searched = kUtf8Bom.size();
  }
}

std::string_view PieceReader::give(std::size_t end) {
  const std::string_view bytes(m_buffer.data() + m_begin, end - m_begin);
  m_begin = m_searched = end;
  if (!m_options.fromWindows1252) return bytes;
  m_converted.clear();
  appendWindows1252AsUtf8(bytes, m_converted);
  return m_converted;
}

bool PieceReader::next(std::string_view& piece) {
  for (;;) {
    if (m_eof) {
      if (m_begin == m_end) return false;
      piece = give(m_end);
      return true;
    }
    try {
      fill();
    } catch (const IoFailure& failure) {
      m_error = failure.what();
      return false;
    }
    const std::string_view unsearched(m_buffer.data() + m_searched, m_end - m_searched);
    const std::size_t lf = unsearched.rfind('\n');
    if (lf != std::string_view::npos) {
      piece = give(m_searched + lf + 1);
      return true;
    }
    m_searched = m_end;
  }
}

}  // namespace orvex
