#include "pipeline/line_pipeline.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <new>
#include <thread>
#include <utility>

#include "io/file_handle.h"
#include "io/line_writer.h"
#include "text/messages.h"

namespace orvex {

namespace {

constexpr std::int64_t kDumpSteps = 25;
constexpr std::int64_t kReloadSteps = 25;

// The document could not be put back in the editor: its only copy, the first
// scratch file, moves out of the scratch directory (which goes at exit) and the
// user is told where it is.
std::string rescueDocument(const std::filesystem::path& copy) {
  for (const auto& base : temporaryBases()) {
    std::string pattern = (base / "orvex-document-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) continue;
    ::close(fd);
    std::error_code error;
    std::filesystem::rename(copy, pattern, error);
    if (!error) return "Le document est conservé dans le fichier " + pattern;
    removeQuietly(pattern);
  }
  return "Le document est conservé dans le fichier " + copy.string();
}

void runTool(DocumentTool& tool, const std::filesystem::path& input, FileHandle file, const TextFormat& format,
             Progress& progress) {
  LineWriter writer(file.get(), format);
  tool.run(input, format, writer, progress);
  writer.finish();
  file.close();
}

// The tool writes its result on a thread of its own while the port loads it: the
// two take about as long, and a text of 100 MB comes back in the time of one.
// Progress goes unreported meanwhile: its listener belongs to the caller's thread.
Status runToolWhileLoading(DocumentPort& port, DocumentTool& tool, const std::filesystem::path& input,
                           const std::filesystem::path& output, const TextFormat& format) {
  FileHandle file = createForWriting(output);
  std::atomic<bool> finished = false;
  std::exception_ptr failure;
  Status loaded;
  {
    const std::jthread writer([&] {
      try {
        Progress unreported;
        runTool(tool, input, std::move(file), format, unreported);
      } catch (...) {
        failure = std::current_exception();
      }
      finished.store(true, std::memory_order_release);
    });
    std::error_code unknown;
    const std::uintmax_t inputSize = std::filesystem::file_size(input, unknown);
    const GrowingFile growing{[&finished] { return finished.load(std::memory_order_acquire); },
                              unknown ? 0 : inputSize};
    loaded = port.loadGrowing(output, format, growing);
  }
  if (failure) std::rethrow_exception(failure);
  return loaded;
}

struct ScratchFiles {
  const std::filesystem::path& first;
  const std::filesystem::path& second;
  const TextFormat& format;
};

// Runs the tool from the first file to the second and loads the result into the
// port; `emptied` tells when the port no longer holds the document. Throws IoFailure.
void loadToolResult(DocumentPort& port, DocumentTool& tool, const ScratchFiles& files, Progress& progress,
                    bool& emptied) {
  // A result in the document's own encoding, known before the run, can be loaded
  // while it is written.
  if (port.followsGrowingResult() && tool.keepsUtf8Valid() && !tool.resultEncoding()) {
    port.clear();
    emptied = true;
    const Status loaded = runToolWhileLoading(port, tool, files.first, files.second, files.format);
    if (!loaded.ok()) throw IoFailure(loaded.error);
    return;
  }
  const EditorClearing clearing = tool.variation().clearing;
  if (clearing == EditorClearing::AfterDump) {
    port.clear();
    emptied = true;
  }
  runTool(tool, files.first, createForWriting(files.second), files.format, progress);
  if (clearing != EditorClearing::Never) port.clear();
  // A reload that fails half-way leaves the editor as damaged as an emptied one.
  emptied = true;
  TextFormat result = files.format;
  if (const std::optional<Encoding> encoding = tool.resultEncoding()) result.encoding = *encoding;
  const Status loaded = port.loadFrom(files.second, result, tool.keepsUtf8Valid());
  if (!loaded.ok()) throw IoFailure(loaded.error);
}

}  // namespace

Status runLinePipeline(DocumentPort& port, DocumentTool& tool, const ScratchDirectory& scratch,
                       ProgressListener* listener) {
  const PipelineVariation variation = tool.variation();
  Progress progress(variation.drivesProgress ? listener : nullptr);
  const auto first = scratch.firstFile();
  const auto second = scratch.secondFile();

  progress.start(static_cast<std::int64_t>(port.lineCount()) + kDumpSteps + kReloadSteps);
  const Result<TextFormat> saved = port.saveTo(first);
  if (!saved.ok()) {
    removeQuietly(first);
    return Status::failure(saved.error());
  }
  const TextFormat format = saved.value();
  progress.setPosition(kDumpSteps);

  bool emptied = false;
  std::string error;
  try {
    loadToolResult(port, tool, {first, second, format}, progress, emptied);
  } catch (const IoFailure& failure) {
    error = failure.what();
  } catch (const std::bad_alloc&) {
    error = outOfMemoryMessage();
  } catch (const std::exception& failure) {
    error = ioErrorMessage(0) + " (" + failure.what() + ")";
  }
  if (!error.empty()) {
    // The scratch files go at once: after a full disk they hold the space that
    // saving the document needs.
    removeQuietly(second);
    if (emptied && !port.loadFrom(first, format, true).ok()) {
      port.reloadFailed();
      return Status::failure(error + "\n\r" + rescueDocument(first));
    }
    removeQuietly(first);
    return Status::failure(error);
  }
  progress.advance(kReloadSteps);
  port.recordChange(first, second);
  removeQuietly(second);
  removeQuietly(first);
  progress.setPosition(0);
  return {};
}

}  // namespace orvex
