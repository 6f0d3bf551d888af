// The editor as the text tools' pipeline sees it: the document dumped to a scratch
// file, emptied, and loaded back from the tool's result, a step of its history.

#include <Qsci/qsciscintilla.h>

#include "editor/document_editor.h"
#include "editor/document_editor_impl.h"
#include "io/file_handle.h"

namespace orvex::gui {

Result<TextFormat> DocumentEditor::saveTo(const std::filesystem::path& path) {
  const std::string_view text = editorText();
  const Status written = statusOf([&] {
    if (m_encoding.showsUtf8())
      writeWholeFile(path, text);
    else
      writeWholeFile(path, m_encoding.bytes(text));
  });
  if (!written.ok()) return written;
  m_toolUndo.toolStarting(m_encoding.snapshot(path));
  return m_encoding.dumpFormat(text);
}

void DocumentEditor::clear() {
  // Emptied for a reload; the tool's step in the history brings the old text back.
  const Impl::QuietChange quiet(*m_impl);
  m_impl->send(QsciScintillaBase::SCI_CLEARALL);
}

Status DocumentEditor::loadFrom(const std::filesystem::path& path, const TextFormat& format, bool keptUtf8) {
  return loadToolResult(path, format, keptUtf8, nullptr);
}

// Only where the result's encoding is settled without reading it (see forToolOutput).
bool DocumentEditor::followsGrowingResult() const {
  const Encoding own = m_encoding.format().encoding;
  return own == m_encoding.shown();
}

Status DocumentEditor::loadGrowing(const std::filesystem::path& path, const TextFormat& format,
                                   const GrowingFile& growing) {
  return loadToolResult(path, format, true, &growing);
}

Status DocumentEditor::loadToolResult(const std::filesystem::path& path, const TextFormat& format, bool keptUtf8,
                                      const GrowingFile* growing) {
  const Result<DocumentEncoding::Reload> reload = m_encoding.forToolOutput(format.encoding, path, keptUtf8);
  if (!reload.ok()) return Status::failure(reload.error());
  // A failed reload keeps the document's encodings for the reload that gives the
  // text back.
  const DocumentEncoding previous = m_encoding;
  const FileLoad load = loadFromFile(path, reload.value().own, reload.value().shown, false, false, growing);
  if (load.outcome != LoadOutcome::Done) {
    m_encoding = previous;
    return Status::failure(load.error);
  }
  if (reload.value().turnsUtf8) emit becameUtf8();
  return {};
}

void DocumentEditor::recordChange(const std::filesystem::path& before, const std::filesystem::path& after) {
  m_toolUndo.record(before, m_encoding.snapshot(after));
}

}  // namespace orvex::gui
