#include "batch/batch_document.h"

#include <algorithm>
#include <new>
#include <optional>
#include <system_error>

#include "batch/batch_tools.h"
#include "io/atomic_file.h"
#include "io/file_probes.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "io/status.h"
#include "text/messages.h"

namespace orvex {

namespace {

// The document of a batch run lives in its own file: each option reads the file
// and writes the result beside it, which then replaces it. So after every option
// the file holds a complete result, and a failure leaves the last one whole.
//
// The encoding is found only when a tool needs it: by that tool's own run when it is
// the first option, otherwise before the first option runs. The file's own encoding
// stays what it was at the start; after encryption the tools see Windows-1252 until
// the bytes are valid in the file's own encoding again.
class BatchDocument {
 public:
  explicit BatchDocument(std::filesystem::path file)
      : m_file(std::move(file)), m_identity(identifyFile(m_file)), m_format(probeFileLayout(m_file)) {}

  // Runs the option (or, for any other argument, only rewrites the document) and
  // saves the result. `later` are the arguments still to come.
  void apply(const std::string& argument, std::span<const std::string> later) {
    const bool scrambles = argument == "8" || argument == "9";
    // The encoding is the file's as it was read: an option that works on bytes may
    // leave bytes that happen to be valid UTF-8, so it is found before one runs if
    // a later option needs it.
    if (!m_own && !batchToolNeedsEncoding(argument) && std::any_of(later.begin(), later.end(), batchToolNeedsEncoding))
      m_own = detectFileEncoding(m_file);
    std::unique_ptr<DocumentTool> tool = makeBatchTool(argument, encodingForTools());
    try {
      write(tool.get());
    } catch (const NotUtf8&) {
      tool = makeBatchTool(argument, Encoding::Windows1252);
      write(tool.get());
    }
    if (scrambles) {
      m_scrambled = true;
      m_seen.reset();
    } else if (tool && batchToolNeedsEncoding(argument)) {
      m_seen = tool->detectedEncoding();
      if (!m_own) m_own = m_seen;
    }
  }

 private:
  std::optional<Encoding> encodingForTools() const {
    if (m_own == Encoding::Windows1252) return Encoding::Windows1252;
    return m_scrambled ? m_seen : m_own;
  }

  void write(DocumentTool* tool) {
    // Another program writing to the file meanwhile keeps its changes: the result
    // replaces only the file this run last read or wrote.
    AtomicFile output(m_file, m_identity);
    LineWriter writer(output.fd(), m_format);
    writer.startWritebackEarly();
    if (tool) {
      Progress progress;
      tool->run(m_file, m_format, writer, progress);
    } else {
      LineReader reader(m_file, m_format.bom);
      std::string_view line;
      while (reader.next(line)) writer.put(line);
    }
    writer.finish();
    m_identity = output.commit();
    // The layout follows the document: read back, what was written may now end
    // with a break (a last empty line written without one).
    m_format.finalBreak = writer.endsWithBreak();
  }

  std::filesystem::path m_file;
  std::optional<FileIdentity> m_identity;
  TextFormat m_format;
  std::optional<Encoding> m_own;   // the file's encoding as it was read
  std::optional<Encoding> m_seen;  // what the last character tool found since encryption
  bool m_scrambled = false;
};

}  // namespace

void applyBatchOptions(const std::filesystem::path& file, std::span<const std::string> options) {
  BatchDocument document(file);
  for (std::size_t i = 0; i < options.size(); ++i) document.apply(options[i], options.subspan(i + 1));
}

int reportBatchFailures(std::ostream& errors, const std::function<void()>& work) {
  try {
    work();
  } catch (const IoFailure& failure) {
    errors << errorReportText(failure.what()) << '\n';
    return kBatchIoError;
  } catch (const std::bad_alloc&) {
    errors << errorReportText(outOfMemoryMessage()) << '\n';
    return kBatchIoError;
  } catch (const std::system_error& failure) {
    // The system refused a resource (a thread, a lock): reported, never an abort.
    errors << errorReportText(ioErrorMessage(failure.code().value())) << '\n';
    return kBatchIoError;
  }
  return kBatchDone;
}

}  // namespace orvex
