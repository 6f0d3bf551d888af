#include "editing/text_search.h"

#include <array>
#include <vector>

#include "text/word_characters.h"

namespace orvex {

namespace {

// Decodes the character at `at`; a malformed byte stands for itself.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (at + length > text.size()) length = 1;
  if (length == 1) return lead;
  char32_t c = lead & (0xFF >> (length + 1));
  for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  return c;
}

// The lower-case form of a letter. Every pair folded here has the same UTF-8 length,
// so a match is as long as the needle.
char32_t fold(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper/lower as even/odd, shifted by one in 0x139-0x148 and 0x179-0x17E.
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return shifted ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

class Matcher {
 public:
  Matcher(std::string_view needle, const SearchOptions& options) : m_needle(needle), m_options(options) {
    for (std::size_t at = 0, length = 0; at < needle.size(); at += length)
      m_folded.push_back(fold(decode(needle, at, length)));
    // The bytes a match can start with: the first character in both of its cases.
    if (!needle.empty()) {
      m_first[static_cast<unsigned char>(needle[0])] = true;
      if (!options.matchCase)
        for (int b = 0; b < 256; ++b)
          m_first[static_cast<std::size_t>(b)] =
              m_first[static_cast<std::size_t>(b)] || leadMatches(static_cast<unsigned char>(b));
    }
  }

  std::optional<std::size_t> find(std::string_view text, std::size_t from) const {
    if (m_needle.empty() || m_needle.size() > text.size()) return std::nullopt;
    const std::size_t last = text.size() - m_needle.size();
    for (std::size_t at = from; at <= last; ++at) {
      if (!m_first[static_cast<unsigned char>(text[at])]) continue;
      if (matchesAt(text, at) && (!m_options.wholeWord || isWholeWord(text, at))) return at;
    }
    return std::nullopt;
  }

 private:
  // Whether a byte can lead a character that folds like the needle's first one.
  bool leadMatches(unsigned char b) const {
    const char32_t first = m_folded.front();
    if (first < 0x80) return b < 0x80 && fold(b) == first;
    const auto needleLead = static_cast<unsigned char>(m_needle[0]);
    // Folded pairs share their length; their lead bytes lie within two of each other.
    return b >= 0xC0 && (b == needleLead || b + 1 == needleLead || b == needleLead + 1 || b + 2 == needleLead ||
                         b == needleLead + 2);
  }

  bool matchesAt(std::string_view text, std::size_t at) const {
    if (m_options.matchCase) return text.compare(at, m_needle.size(), m_needle) == 0;
    std::size_t length = 0;
    for (const char32_t wanted : m_folded) {
      if (at >= text.size() || fold(decode(text, at, length)) != wanted) return false;
      at += length;
    }
    return true;
  }

  bool isWholeWord(std::string_view text, std::size_t at) const {
    if (at > 0) {
      std::size_t start = at - 1;
      while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
      std::size_t length = 0;
      if (isWordCharacter(decode(text, start, length))) return false;
    }
    const std::size_t end = at + m_needle.size();
    std::size_t length = 0;
    return end >= text.size() || !isWordCharacter(decode(text, end, length));
  }

  std::string_view m_needle;
  SearchOptions m_options;
  std::vector<char32_t> m_folded;
  std::array<bool, 256> m_first{};
};

}  // namespace

std::optional<std::size_t> findText(std::string_view text, std::string_view needle, std::size_t from,
                                    const SearchOptions& options) {
  return Matcher(needle, options).find(text, from);
}

ReplacedText replaceAll(std::string_view text, std::string_view needle, std::string_view replacement, std::size_t from,
                        const SearchOptions& options) {
  const Matcher matcher(needle, options);
  ReplacedText result;
  result.text.reserve(text.size());
  std::size_t copied = 0;
  for (std::optional<std::size_t> at = matcher.find(text, from); at; at = matcher.find(text, *at + needle.size())) {
    result.text.append(text.substr(copied, *at - copied)).append(replacement);
    copied = *at + needle.size();
    ++result.count;
  }
  result.text.append(text.substr(copied));
  return result;
}

}  // namespace orvex
