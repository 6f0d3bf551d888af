#include "io/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/status.h"
#include "text/messages.h"
#include "text/text_format.h"

namespace orvex {

namespace {
constexpr std::size_t kInitialBuffer = 1 << 20;
}

LineReader::LineReader(const std::filesystem::path& path, bool skipBom, LinkPolicy links)
    : m_path(path), m_file(openForReading(path, links)), m_skipBom(skipBom), m_buffer(kInitialBuffer) {}

void LineReader::rewind() {
  if (::lseek(m_file.get(), 0, SEEK_SET) < 0) throw IoFailure(messageForErrno(errno));
  m_begin = m_end = m_nextLf = m_nextCr = 0;
  m_eof = m_started = m_lastHadBreak = false;
}

// Moves the unread bytes to the front, grows the buffer when a line fills it, and
// reads more. Returns false when nothing more could be read.
bool LineReader::fill() {
  if (m_eof) return false;
  if (m_begin > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
  }
  if (m_end == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
  m_nextLf = m_nextCr = 0;
  const std::size_t got = readFull(m_file.get(), m_buffer.data() + m_end, m_buffer.size() - m_end);
  if (got == 0) {
    m_eof = true;
    return false;
  }
  m_end += got;
  if (!m_started) {
    m_started = true;
    if (m_skipBom && m_end >= kUtf8Bom.size() && std::string_view(m_buffer.data(), kUtf8Bom.size()) == kUtf8Bom)
      m_begin = kUtf8Bom.size();
  }
  return true;
}

// Position of the first CR or LF at or after m_begin, or m_end. Each search result is
// kept until the reading passes it, so every byte is scanned once per character.
std::size_t LineReader::findBreak() {
  const char* base = m_buffer.data();
  auto search = [&](std::size_t& cached, char wanted) {
    if (cached < m_begin || cached == 0) {
      const void* hit = std::memchr(base + m_begin, wanted, m_end - m_begin);
      cached = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : m_end;
    }
  };
  search(m_nextLf, '\n');
  search(m_nextCr, '\r');
  return m_nextLf < m_nextCr ? m_nextLf : m_nextCr;
}

bool LineReader::next(std::string_view& line) {
  if (!m_started) fill();
  for (;;) {
    const std::size_t brk = m_begin < m_end ? findBreak() : m_end;
    if (brk < m_end) {
      std::size_t after = brk + 1;
      if (m_buffer[brk] == '\r') {
        // A CR at the very end of the buffer may be the first half of CR LF.
        if (after == m_end && !m_eof) {
          fill();
          continue;
        }
        if (after < m_end && m_buffer[after] == '\n') ++after;
      }
      line = std::string_view(m_buffer.data() + m_begin, brk - m_begin);
      m_begin = after;
      m_lastHadBreak = true;
      return true;
    }
    if (fill()) continue;
    if (m_begin < m_end) {
      line = std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
      m_begin = m_end;
      m_lastHadBreak = false;
      return true;
    }
    return false;
  }
}

}  // namespace orvex
