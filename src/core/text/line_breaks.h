#pragma once
// Every line break of a text made the same: a document saves all its lines with
// the break it was read with, even after text with other breaks was pasted in.

#include <optional>
#include <string>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

// The text with each LF, CR LF and lone CR replaced by `lineBreak`; nothing when
// the text already uses only that break.
std::optional<std::string> unifyLineBreaks(std::string_view text, LineBreak lineBreak);

}  // namespace orvex
