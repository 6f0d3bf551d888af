#pragma once
// Saving a document held in memory: its byte-order mark, every line break made the
// document's own, and the file replaced only once the new content is complete.

#include <filesystem>
#include <string_view>

#include "io/atomic_file.h"
#include "io/status.h"
#include "text/text_format.h"

namespace orvex {

// `text` is the document without byte-order mark. Returns the identity of the file
// written, or the failure; the old file is then unchanged.
Result<FileIdentity> saveDocument(const std::filesystem::path& path, std::string_view text, const TextFormat& format);

}  // namespace orvex
