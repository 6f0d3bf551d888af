#pragma once
// Saving a document held in memory: its byte-order mark, every line break made the
// document's own, and the file replaced only once the new content is complete.

#include <filesystem>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

// `text` is the document without byte-order mark. Throws IoFailure; the old file
// is then unchanged.
void saveDocument(const std::filesystem::path& path, std::string_view text, const TextFormat& format);

}  // namespace orvex
