#include "io/line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "io/status.h"
#include "text/messages.h"
#include "text/text_format.h"

namespace orvex {

namespace {
constexpr std::size_t kInitialBuffer = 1 << 20;
}

LineReader::LineReader(const std::filesystem::path& path, bool skipBom, LinkPolicy links)
    : m_path(path), m_file(openForReading(path, links)), m_skipBom(skipBom), m_buffer(kInitialBuffer + kSlack) {}

void LineReader::rewind() {
  if (::lseek(m_file.get(), 0, SEEK_SET) < 0) throw IoFailure(messageForErrno(errno));
  m_begin = m_end = 0;
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
  if (m_end == capacity()) m_buffer.resize(2 * capacity() + kSlack);
  const std::size_t got = readFull(m_file.get(), m_buffer.data() + m_end, capacity() - m_end);
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

// Position of the first CR or LF at or after m_begin, or m_end. The search goes by
// 64 bytes, which hold most lines whole, and may run into the slack: a break found
// past m_end is none.
std::size_t LineReader::findBreak() const {
  const char* base = m_buffer.data();
  std::size_t at = m_begin;
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const auto breaks = [&](std::size_t offset) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + offset));
    return static_cast<std::uint64_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
  };
  static_assert(kSlack >= 64);
  for (; at < m_end; at += 64) {
    const std::uint64_t found = breaks(at) | breaks(at + 16) << 16 | breaks(at + 32) << 32 | breaks(at + 48) << 48;
    if (found != 0) return std::min(at + static_cast<std::size_t>(__builtin_ctzll(found)), m_end);
  }
  return m_end;
#else
  while (at < m_end && base[at] != '\n' && base[at] != '\r') ++at;
  return at;
#endif
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
