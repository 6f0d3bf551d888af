#pragma once
// Finding how a file on disk lays out its text, without holding it in memory: the
// same answers as detectFormat gives for the whole content.

#include <filesystem>

#include "io/file_handle.h"
#include "io/status.h"
#include "text/text_format.h"

namespace orvex {

// Everything but the encoding, read from the file's start and end only; the
// encoding is left as UTF-8. Throws IoFailure.
TextFormat probeFileLayout(const std::filesystem::path& path);

// Reads the whole file (a UTF-8 byte-order mark aside). Throws IoFailure.
Encoding detectFileEncoding(const std::filesystem::path& path, LinkPolicy links = LinkPolicy::Follow);

// The two probes of a file about to be opened, for callers outside the engine.
struct FileProbe {
  TextFormat layout;
  Encoding encoding = Encoding::Utf8;
};
Result<FileProbe> probeFile(const std::filesystem::path& path);
Result<Encoding> probeEncoding(const std::filesystem::path& path);

}  // namespace orvex
