#pragma once
// The nine batch options "1" to "9" and the tools they run.

#include <memory>
#include <optional>
#include <string_view>

#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

// The tool for a batch argument, or null when the argument is not exactly one of
// "1" to "9". Without a known encoding, the tools that need one find it themselves.
std::unique_ptr<DocumentTool> makeBatchTool(std::string_view argument, std::optional<Encoding> encoding);

// Whether the option's tool works on characters rather than bytes.
bool batchToolNeedsEncoding(std::string_view argument);

}  // namespace orvex
