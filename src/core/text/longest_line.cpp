#include "text/longest_line.h"

#include <cstring>

namespace orvex {

void LongestLine::feed(std::string_view piece) {
  const char* p = piece.data();
  const char* const end = p + piece.size();
  while (p < end) {
    const auto* feed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (feed == nullptr) {
      m_current += static_cast<std::size_t>(end - p);
      return;
    }
    m_current += static_cast<std::size_t>(feed - p);
    if (m_current > m_longest) m_longest = m_current;
    m_current = 0;
    p = feed + 1;
  }
}

std::size_t longestLineOf(std::string_view text) {
  LongestLine longest;
  longest.feed(text);
  return longest.bytes();
}

std::size_t estimatedLineCount(std::string_view sample, std::size_t totalSize) {
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    if (sample[i] == '\n') ++breaks;
    if (sample[i] == '\r' && (i + 1 == sample.size() || sample[i + 1] != '\n')) ++breaks;
  }
  if (sample.empty() || totalSize <= sample.size()) return breaks + 1;
  // Within 64 bits for any sample and text under 4 GB.
  return breaks * totalSize / sample.size() + 1;
}

}  // namespace orvex
