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
  bool valid() const { return !m_failed && m_pendingSize == 0; }
  bool failed() const { return m_failed; }
  // The encoding of everything fed so far (see textEncoding).
  Encoding encoding() const;

 private:
  // The start of a sequence cut off at the end of the last piece.
  unsigned char m_pending[4] = {};
  std::size_t m_pendingSize = 0;
  bool m_failed = false;
};

bool isValidUtf8(std::string_view bytes);

// How the program reads a text: one that is valid UTF-8 is UTF-8, any other is
// Windows-1252.
inline Encoding textEncoding(bool validUtf8) { return validUtf8 ? Encoding::Utf8 : Encoding::Windows1252; }
inline Encoding textEncoding(std::string_view bytes) { return textEncoding(isValidUtf8(bytes)); }

// Number of characters in `line`.
std::size_t charCount(std::string_view line, Encoding encoding);

// Number of bytes taken by the first `count` characters of `line` (the whole line
// when it holds fewer).
std::size_t charPrefixBytes(std::string_view line, std::size_t count, Encoding encoding);

inline bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the sequence a lead byte starts: 1 for ASCII, 0 for a byte that cannot
// lead a sequence.
inline std::size_t utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `length` bytes at `p` (as utf8SequenceLength gives for p[0], at least 2)
// form a character: no overlong form, no surrogate, nothing past U+10FFFF.
inline bool isWellFormedUtf8Sequence(const unsigned char* p, std::size_t length) {
  unsigned char lower = 0x80;
  unsigned char upper = 0xBF;
  if (p[0] == 0xE0)
    lower = 0xA0;
  else if (p[0] == 0xED)
    upper = 0x9F;
  else if (p[0] == 0xF0)
    lower = 0x90;
  else if (p[0] == 0xF4)
    upper = 0x8F;
  if (p[1] < lower || p[1] > upper) return false;
  for (std::size_t i = 2; i < length; ++i)
    if (!isUtf8Continuation(p[i])) return false;
  return true;
}

}  // namespace orvex
