#include "text/utf8.h"

#include <cstring>

namespace orvex {

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
    // ASCII sixteen bytes at a time: most text is mostly ASCII.
    if (end - p >= 16) {
      std::uint64_t a;
      std::uint64_t b;
      std::memcpy(&a, p, 8);
      std::memcpy(&b, p + 8, 8);
      if (!((a | b) & 0x8080808080808080ULL)) {
        p += 16;
        continue;
      }
    }
    const std::size_t length = utf8SequenceLength(*p);
    if (length == 1) {
      ++p;
      continue;
    }
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
