#pragma once
// Finding how a file lays out its text: a UTF-8 byte-order mark, the first line
// break (which every saved line then uses), whether the last line ends with a break,
// and the encoding: valid UTF-8 is UTF-8, anything else Windows-1252.

#include <filesystem>
#include <optional>
#include <string_view>

#include "io/file_handle.h"
#include "text/text_format.h"

namespace orvex {

TextFormat detectFormat(std::string_view content);

// The first line break of `content`, if it holds one. A CR at the very end may be
// the first half of a CR LF: `complete` says whether the content is all there is.
std::optional<LineBreak> firstLineBreak(std::string_view content, bool complete);

// Everything but the encoding, read from the file's start and end only; the
// encoding is left as UTF-8. Throws IoFailure.
TextFormat probeFileLayout(const std::filesystem::path& path);

// Reads the whole file. Throws IoFailure.
Encoding detectFileEncoding(const std::filesystem::path& path, LinkPolicy links = LinkPolicy::Follow);

}  // namespace orvex
