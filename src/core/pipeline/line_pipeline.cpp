#include "pipeline/line_pipeline.h"

#include "io/file_handle.h"
#include "io/line_writer.h"

namespace orvex {

namespace {
constexpr std::int64_t kDumpSteps = 25;
constexpr std::int64_t kReloadSteps = 25;
}  // namespace

Status runLinePipeline(DocumentPort& port, DocumentTool& tool, const ScratchDirectory& scratch,
                       ProgressListener* listener) {
  const PipelineVariation variation = tool.variation();
  Progress progress(variation.drivesProgress ? listener : nullptr);
  Progress silent;
  Progress& shown = variation.drivesProgress ? progress : silent;
  const auto first = scratch.firstFile();
  const auto second = scratch.secondFile();

  shown.start(static_cast<std::int64_t>(port.lineCount()) + kDumpSteps + kReloadSteps);
  TextFormat format;
  try {
    format = port.saveTo(first);
  } catch (const IoFailure& failure) {
    return Status::failure(failure.what());
  }
  shown.setPosition(kDumpSteps);

  bool emptied = false;
  try {
    if (variation.clearing == EditorClearing::AfterDump) {
      port.clear();
      emptied = true;
    }
    {
      FileHandle output = createForWriting(second);
      LineWriter writer(output.get(), format);
      tool.run(first, format, writer, shown);
      writer.finish();
      output.close();
    }
    if (variation.clearing != EditorClearing::Never) {
      port.clear();
    }
    // A reload that fails half-way leaves the editor as damaged as an emptied one.
    emptied = true;
    port.loadFrom(second, format);
  } catch (const IoFailure& failure) {
    if (emptied) {
      try {
        port.loadFrom(first, format);
      } catch (const IoFailure&) {
        // The document is still whole in the first scratch file, which stays.
      }
    }
    return Status::failure(failure.what());
  }
  shown.advance(kReloadSteps);
  removeQuietly(second);
  removeQuietly(first);
  shown.setPosition(0);
  return {};
}

}  // namespace orvex
