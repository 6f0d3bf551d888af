#pragma once
// UTF-8 validation and the character counting that column tools need. A document
// in Windows-1252 counts one character per byte; in UTF-8 one per code point.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

// Checks well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF)
// over data that arrives in pieces.
class Utf8Validator {
 public:
  void feed(std::string_view bytes);
  bool valid() const { return !m_failed && m_remaining == 0; }
  bool failed() const { return m_failed; }

 private:
  int m_remaining = 0;
  unsigned char m_lower = 0x80;
  unsigned char m_upper = 0xBF;
  bool m_failed = false;
};

bool isValidUtf8(std::string_view bytes);

// Number of characters in `line`.
std::size_t charCount(std::string_view line, Encoding encoding);

// Number of bytes taken by the first `count` characters of `line` (the whole line
// when it holds fewer).
std::size_t charPrefixBytes(std::string_view line, std::size_t count, Encoding encoding);

inline bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace orvex
