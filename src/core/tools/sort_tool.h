#pragma once
// The document sorts built on the line sort.

#include "text/text_format.h"
#include "tools/document_tool.h"
#include "tools/line_sort.h"

namespace orvex {

// The ascending or descending sort of the whole document: case-insensitive, blank
// lines dropped.
class SortTool : public DocumentTool {
 public:
  explicit SortTool(SortOrder order) : m_order(order) {}
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, false, false}; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 private:
  SortOrder m_order;
};

}  // namespace orvex
