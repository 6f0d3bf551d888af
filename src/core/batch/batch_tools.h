#pragma once
// The nine batch options "1" to "9" and the tools they run.

#include <functional>
#include <memory>
#include <string_view>

#include "text/text_format.h"
#include "tools/document_tool.h"

namespace orvex {

// The tool for a batch argument, or null when the argument is not exactly one of
// "1" to "9". `encoding` is asked only by the tools that count or map characters.
std::unique_ptr<DocumentTool> makeBatchTool(std::string_view argument, const std::function<Encoding()>& encoding);

}  // namespace orvex
