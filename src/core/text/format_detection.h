#pragma once
// Finding how a text lays out its bytes: a UTF-8 byte-order mark, the first line
// break (which every saved line then uses), whether the last line ends with a break,
// and the encoding: valid UTF-8 is UTF-8, anything else Windows-1252.

#include <optional>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

TextFormat detectFormat(std::string_view content);

// The first line break of `content`, if it holds one. A CR at the very end may be
// the first half of a CR LF: `complete` says whether the content is all there is.
std::optional<LineBreak> firstLineBreak(std::string_view content, bool complete);

}  // namespace orvex
