#pragma once
// The length in bytes of the longest line of a text read in pieces, which may cut a
// line anywhere. Lines end at a line feed, which covers LF and CR LF texts; a text
// broken by lone CRs counts as one line, which only errs towards "long".

#include <cstddef>
#include <string_view>

namespace orvex {

class LongestLine {
 public:
  void feed(std::string_view piece);
  std::size_t bytes() const { return m_longest > m_current ? m_longest : m_current; }

 private:
  std::size_t m_longest = 0;
  std::size_t m_current = 0;  // the bytes of the line still open at the last piece's end
};

// The longest line of a text held whole.
std::size_t longestLineOf(std::string_view text);

}  // namespace orvex
