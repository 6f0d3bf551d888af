#include "batch/batch_tools.h"

#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/line_edit_tools.h"
#include "tools/sort_tool.h"

namespace orvex {

std::unique_ptr<DocumentTool> makeBatchTool(std::string_view argument, std::optional<Encoding> encoding) {
  if (argument.size() != 1) return nullptr;
  switch (argument[0]) {
    case '1': return std::make_unique<CaseTool>(LetterCase::Upper);
    case '2': return std::make_unique<CaseTool>(LetterCase::Lower);
    case '3': return std::make_unique<SortTool>(SortOrder::Ascending);
    case '4': return std::make_unique<SortTool>(SortOrder::Descending);
    case '5': return std::make_unique<AccentTool>(encoding);
    case '6': return std::make_unique<BlankTool>();
    case '7': return std::make_unique<PaddingTool>(encoding);
    case '8': return std::make_unique<CipherTool>(CipherDirection::Encrypt);
    case '9': return std::make_unique<CipherTool>(CipherDirection::Decrypt);
    default: return nullptr;
  }
}

}  // namespace orvex

namespace orvex {

bool batchToolNeedsEncoding(std::string_view argument) { return argument == "5" || argument == "7"; }

}  // namespace orvex
