// The column block commands: marking the start and the end, copy, cut, paste and
// delete through the block clipboard bloc.txt, a file inserted as a column, and the
// indents. Each change of the text runs an engine tool through the line pipeline,
// so it is one undo step.

#include "mainwindow/block_commands.h"

#include <QLabel>

#include "components/busy_cursor.h"
#include "editing/block_operations.h"
#include "editor/document_editor.h"
#include "io/file_handle.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "mainwindow/tool_commands.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/fill_dialog.h"

namespace orvex::gui {

namespace {

const QString kBlockFillLost =
    QStringLiteral("Le contenu du bloc a été supprimé, mais il ne peut plus être rétabli pour le remplissage.");
const QString kNoBlock = QStringLiteral("Vous devez sélectionner un bloc avant d'utiliser cette fonction.");

QString labelText(std::int64_t column, std::int64_t line) { return QString::fromStdString(anchorLabel(column, line)); }

}  // namespace

BlockCommands::BlockCommands(const CommandContext& context, const ProgramPaths& paths, const ScratchDirectory& scratch,
                             ProgressListener& progress, ToolCommands& tools, std::function<FillDialog&()> fillDialog,
                             DocumentSession& session, QLabel& startLabel, QLabel& endLabel,
                             std::function<void()> showBlockBar, QObject* parent)
    : QObject(parent),
      m_context(context),
      m_paths(paths),
      m_scratch(scratch),
      m_progress(progress),
      m_tools(tools),
      m_fillDialog(std::move(fillDialog)),
      m_session(session),
      m_startLabel(startLabel),
      m_endLabel(endLabel),
      m_showBlockBar(std::move(showBlockBar)) {}

bool BlockCommands::requireBlock() {
  if (m_anchor.hasBlock()) return true;
  m_context.ui().showMessage(QStringLiteral("Avertissement"), kNoBlock, MessageIcon::Warning);
  return false;
}

void BlockCommands::markStart() {
  m_anchor.markStart(m_context.editor().caretColumn(), m_context.editor().caretLine());
  m_startLabel.setText(labelText(m_anchor.startColumn, m_anchor.startLine));
  m_context.editor().showBlock(m_anchor);
  m_showBlockBar();
}

void BlockCommands::markEnd() {
  if (!m_anchor.hasStart()) {
    m_context.ui().showMessage(QStringLiteral("Fin Bloc impossible"),
                               QStringLiteral("Vous devez, en premier lieu, sélectionner le début du bloc."),
                               MessageIcon::Warning);
    return;
  }
  m_showBlockBar();
  m_anchor.markEnd(m_context.editor().caretColumn(), m_context.editor().caretLine());
  m_endLabel.setText(labelText(m_anchor.endColumn, m_anchor.endLine));
  m_context.editor().showBlock(m_anchor);
  // Marking the end always refreshes the block clipboard.
  copyToClipboard();
}

void BlockCommands::copyToClipboard() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    m_context.reportError(cannotCreateMessage("bloc.txt"));
    return;
  }
  // The document does not change: it is written out once for the copy to read.
  Status status;
  {
    const BusyCursor busy;
    const Result<TextFormat> format = m_context.editor().saveTo(m_scratch.firstFile());
    if (format.ok()) {
      Progress progress(&m_progress);
      progress.start(static_cast<std::int64_t>(m_context.editor().lineCount()));
      status = copyBlock(m_scratch.firstFile(), format.value(), m_anchor, m_paths.blockClipboardFile(), progress);
      progress.setPosition(0);
    } else {
      status = Status::failure(format.error());
    }
  }
  removeQuietly(m_scratch.firstFile());
  if (!status.ok()) m_context.reportError(status.error);
}

void BlockCommands::cut() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    m_context.reportError(cannotCreateMessage("bloc.txt"));
    return;
  }
  BlockRemovalTool tool(m_anchor, m_context.editor().shownEncoding(), m_paths.blockClipboardFile());
  m_tools.run(tool);
}

void BlockCommands::remove() {
  if (!requireBlock()) return;
  BlockRemovalTool tool(m_anchor, m_context.editor().shownEncoding());
  m_tools.run(tool);
}

void BlockCommands::paste() {
  if (!m_paths.available() || !isExistingFile(m_paths.blockClipboardFile())) {
    m_context.ui().showMessage(QStringLiteral("Collage d'un bloc impossible"),
                               QStringLiteral("Vous devez copier ou couper un bloc avant de le coller."),
                               MessageIcon::Warning);
    return;
  }
  insertColumn(m_paths.blockClipboardFile(), LinkPolicy::OwnLinksOnly);
}

void BlockCommands::insertFile() {
  if (const std::optional<std::filesystem::path> chosen = m_session.chooseFileToOpen())
    insertColumn(*chosen, LinkPolicy::Follow);
}

void BlockCommands::insertColumn(const std::filesystem::path& source, LinkPolicy links) {
  ColumnInsertTool tool(source, m_context.editor().caretColumn(), m_context.editor().caretLine(),
                        m_context.editor().shownEncoding(), links);
  m_tools.run(tool);
}

void BlockCommands::fill() {
  if (!requireBlock()) return;
  // The block's content goes first, so that the user sees it gone while choosing
  // the text; it stays gone when the dialog is cancelled.
  BlockRemovalTool removal(m_anchor, m_context.editor().shownEncoding());
  if (!m_tools.run(removal)) return;
  m_fillDialog().prepareBlockFill(m_anchor.startColumn, m_anchor.startLine, m_anchor.endLine, m_anchor.width());
  std::optional<FillParameters> parameters = m_tools.askFill();
  if (!parameters) return;
  // Deletion and fill become one undo step: the deletion is undone and both run in
  // one pass. Without the deletion's step the fill would cut the block a second time.
  if (!m_context.editor().undoTool()) {
    m_context.reportError(kBlockFillLost);
    return;
  }
  BlockFillTool fill(m_anchor, std::move(*parameters), m_context.editor().shownEncoding());
  m_tools.run(fill);
}

void BlockCommands::indentLeft() { indent(IndentDirection::Left); }
void BlockCommands::indentRight() { indent(IndentDirection::Right); }

void BlockCommands::indent(IndentDirection direction) {
  if (!requireBlock() || m_anchor.startColumn < 0) return;
  IndentTool tool(m_anchor, direction, m_context.editor().shownEncoding());
  if (!m_tools.run(tool)) return;
  m_anchor.startColumn += direction == IndentDirection::Left ? -kIndentStep : kIndentStep;
  m_context.editor().showBlock(m_anchor);
  m_context.editor().goToLine(m_anchor.startLine);
}

}  // namespace orvex::gui
