#include "text/utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvex {

namespace {

// The first byte at or after `p` that is not ASCII, eight bytes at a time: most
// text is mostly ASCII.
const unsigned char* skipAscii(const unsigned char* p, const unsigned char* end) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (const std::uint64_t high = word & kHighBits; high != 0) {
      static_assert(std::endian::native == std::endian::little);
      return p + std::countr_zero(high) / 8;
    }
    p += 8;
  }
  while (p < end && *p < 0x80) ++p;
  return p;
}

}  // namespace

void Utf8Validator::feed(std::string_view bytes) {
  if (m_failed) return;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  if (m_pendingSize > 0) {
    const std::size_t length = utf8SequenceLength(m_pending[0]);
    while (m_pendingSize < length && p < end) m_pending[m_pendingSize++] = *p++;
    if (m_pendingSize < length) return;
    if (!isWellFormedUtf8Sequence(m_pending, length)) {
      m_failed = true;
      return;
    }
    m_pendingSize = 0;
  }
  while (p < end) {
    if (*p < 0x80) {
      p = skipAscii(p + 1, end);
      continue;
    }
    // Two-byte characters (the accented letters of Latin scripts) take no detour.
    if (*p >= 0xC2 && *p <= 0xDF && end - p >= 2) {
      if (!isUtf8Continuation(p[1])) {
        m_failed = true;
        return;
      }
      p += 2;
      continue;
    }
    const std::size_t length = utf8SequenceLength(*p);
    if (length == 0) {
      m_failed = true;
      return;
    }
    if (static_cast<std::size_t>(end - p) < length) {
      while (p < end) m_pending[m_pendingSize++] = *p++;
      return;
    }
    if (!isWellFormedUtf8Sequence(p, length)) {
      m_failed = true;
      return;
    }
    p += length;
  }
}

Encoding Utf8Validator::encoding() const { return textEncoding(valid()); }

bool isValidUtf8(std::string_view bytes) {
  Utf8Validator validator;
  validator.feed(bytes);
  return validator.valid();
}

std::size_t charCount(std::string_view line, Encoding encoding) {
  if (encoding == Encoding::Windows1252) return line.size();
  std::size_t count = 0;
  for (const char c : line) count += !isUtf8Continuation(static_cast<unsigned char>(c));
  return count;
}

std::size_t charPrefixBytes(std::string_view line, std::size_t count, Encoding encoding) {
  if (encoding == Encoding::Windows1252) return count < line.size() ? count : line.size();
  std::size_t seen = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!isUtf8Continuation(static_cast<unsigned char>(line[i]))) {
      if (seen == count) return i;
      ++seen;
    }
  }
  return line.size();
}

}  // namespace orvex
