#pragma once
// Runs a whole-document tool the way the editor does: the document is written to the
// first scratch file, the tool turns it into the second, and the document is loaded
// back from that. Whatever fails, the document is never lost: when the editor was
// already emptied it is loaded back from the first scratch file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "io/status.h"
#include "paths/program_paths.h"
#include "text/text_format.h"
#include "tools/document_tool.h"
#include "tools/progress.h"

namespace orvex {

// A result file the tool is still writing when the port starts to load it.
struct GrowingFile {
  std::function<bool()> writerFinished;  // true once its last byte is written
  std::uint64_t expectedSize = 0;        // the size it will probably reach
};

// What the pipeline needs of the place that holds the document (the editor).
class DocumentPort {
 public:
  virtual ~DocumentPort() = default;
  virtual std::size_t lineCount() const = 0;
  // Writes the document's bytes (without byte-order mark) and says how they are laid
  // out.
  virtual Result<TextFormat> saveTo(const std::filesystem::path& path) = 0;
  virtual void clear() = 0;
  // Replaces the document with the file's bytes; after a failure the port may hold
  // part of them. With `keptUtf8`, the file is valid UTF-8 if the document was, and
  // the port need not read it twice to find out.
  virtual Status loadFrom(const std::filesystem::path& path, const TextFormat& format, bool keptUtf8) = 0;
  // Whether the port can load a valid-UTF-8-keeping tool's result while the tool
  // writes it (see loadGrowing): it must then know the result's encoding without
  // reading it first.
  virtual bool followsGrowingResult() const { return false; }
  // As loadFrom with `keptUtf8`, for a file the tool is still writing.
  virtual Status loadGrowing(const std::filesystem::path& path, const TextFormat& format,
                             const GrowingFile& /*growing*/) {
    return loadFrom(path, format, true);
  }
  // The document now holds the tool's result; `before` and `after` hold its bytes
  // on either side of the tool. The port may move the two files away to keep them
  // (for undo); whatever is left is removed.
  virtual void recordChange(const std::filesystem::path& /*before*/, const std::filesystem::path& /*after*/) {}
  // The document could not be given back after a failure: what the port holds is no
  // longer the text its history describes.
  virtual void reloadFailed() {}
};

// Runs `tool` over the document held by `port`. Success or failure, both scratch
// files are gone afterwards and the progress is back at 0; after a failure the
// document is in the editor as before. If even that fails, the message says which
// file holds the document.
Status runLinePipeline(DocumentPort& port, DocumentTool& tool, const ScratchDirectory& scratch,
                       ProgressListener* listener = nullptr);

}  // namespace orvex
