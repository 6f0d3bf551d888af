#pragma once
// Finding and replacing text in the editor's UTF-8 text: forward only, from a byte
// offset to the end. Ignoring case folds every letter that has a case in Latin,
// Greek and Cyrillic ("é" finds "É"), not only A to Z.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

struct SearchOptions {
  bool matchCase = false;
  bool wholeWord = false;  // the match has no letter, digit or "_" on either side (see isWordCharacter)
};

// The byte offset of the first match at or after `from`; empty when there is none
// or the needle is empty. A match is as many bytes long as the needle.
std::optional<std::size_t> findText(std::string_view text, std::string_view needle, std::size_t from,
                                    const SearchOptions& options);

struct ReplacedText {
  std::string text;
  std::size_t count = 0;
};

// Replaces every match from `from` on; the search goes on after each inserted text,
// so a replacement that holds the needle never loops.
ReplacedText replaceAll(std::string_view text, std::string_view needle, std::string_view replacement, std::size_t from,
                        const SearchOptions& options);

}  // namespace orvex
