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

// The lines of a text of `totalSize` bytes that goes on as `sample`, its start,
// begins; at least the sample's own lines. Each LF, CR LF and lone CR ends a line;
// a CR at the sample's end counts as a break.
std::size_t estimatedLineCount(std::string_view sample, std::size_t totalSize);

}  // namespace orvex
