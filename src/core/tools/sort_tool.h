#pragma once
// The sort component and the document sorts built on it.

#include <functional>
#include <string>

#include "io/status.h"
#include "text/text_format.h"
#include "tools/document_tool.h"
#include "tools/line_sort.h"

namespace orvex {

// Sorts the text file FicEntree into FicSortie. Besides the sort's own
// properties, Format says how the files lay out their lines (line break, byte-order
// mark, final break); OnBusy, when set, is told when a run starts and ends so that
// CurseurAuto can show the busy cursor.
class FileSorter {
 public:
  std::string FicEntree;
  std::string FicSortie;
  bool RespectCasse = false;
  bool EnleverBlancs = true;
  bool CurseurAuto = true;
  TTriStyle Ordre = TTriStyle::triCroissant;
  TextFormat Format{Encoding::Windows1252, false, LineBreak::CrLf, true};
  std::function<void(bool busy)> OnBusy;

  // Does nothing when either path is empty once trimmed of blanks.
  Status sort();
};

// The ascending or descending sort of the whole document: case-insensitive, blank
// lines dropped.
class SortTool : public DocumentTool {
 public:
  explicit SortTool(TTriStyle order) : m_order(order) {}
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, false, false}; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 private:
  TTriStyle m_order;
};

}  // namespace orvex
