#pragma once
// Finding how a file on disk lays out its text, without holding it in memory: the
// same answers as detectFormat gives for the whole content.

#include <filesystem>

#include "io/file_handle.h"
#include "text/text_format.h"

namespace orvex {

// Everything but the encoding, read from the file's start and end only; the
// encoding is left as UTF-8. Throws IoFailure.
TextFormat probeFileLayout(const std::filesystem::path& path);

// Reads the whole file (a UTF-8 byte-order mark aside). Throws IoFailure.
Encoding detectFileEncoding(const std::filesystem::path& path, LinkPolicy links = LinkPolicy::Follow);

}  // namespace orvex
