#include "text/utf8.h"

#include <cstring>

namespace orvex {

void Utf8Validator::feed(std::string_view bytes) {
  if (m_failed) return;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    if (m_remaining == 0) {
      // Skip ASCII eight bytes at a time: most text is mostly ASCII.
      while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) break;
        p += 8;
      }
      if (p == end) break;
      const unsigned char b = *p++;
      if (b < 0x80) continue;
      m_lower = 0x80;
      m_upper = 0xBF;
      if (b >= 0xC2 && b <= 0xDF) {
        m_remaining = 1;
      } else if (b >= 0xE0 && b <= 0xEF) {
        m_remaining = 2;
        if (b == 0xE0) m_lower = 0xA0;
        if (b == 0xED) m_upper = 0x9F;
      } else if (b >= 0xF0 && b <= 0xF4) {
        m_remaining = 3;
        if (b == 0xF0) m_lower = 0x90;
        if (b == 0xF4) m_upper = 0x8F;
      } else {
        m_failed = true;
        return;
      }
    } else {
      const unsigned char b = *p++;
      if (b < m_lower || b > m_upper) {
        m_failed = true;
        return;
      }
      m_lower = 0x80;
      m_upper = 0xBF;
      --m_remaining;
    }
  }
}

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
