#include "tools/sort_tool.h"

#include "io/atomic_file.h"
#include "io/line_reader.h"

namespace orvex {

namespace {

bool isBlankPath(const std::string& path) {
  for (const char c : path)
    if (static_cast<unsigned char>(c) > 32) return false;
  return true;
}

}  // namespace

Status FileSorter::sort() {
  const bool busy = CurseurAuto && OnBusy;
  if (busy) OnBusy(true);
  Status status;
  if (!isBlankPath(FicEntree) && !isBlankPath(FicSortie)) {
    try {
      LineReader reader(FicEntree, Format.bom);
      AtomicFile output{std::filesystem::path(FicSortie)};
      LineWriter writer(output.fd(), Format);
      sortLines(reader, writer, {RespectCasse, EnleverBlancs, Ordre});
      writer.finish();
      output.commit();
    } catch (const IoFailure& failure) {
      status = Status::failure(failure.what());
    }
  }
  if (busy) OnBusy(false);
  return status;
}

void SortTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output, Progress&) {
  LineReader reader(input, format.bom);
  sortLines(reader, output, {false, true, m_order});
}

}  // namespace orvex
