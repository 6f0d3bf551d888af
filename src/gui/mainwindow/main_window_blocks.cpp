// The column block commands: marking the start and the end, copy, cut, paste and
// delete through the block clipboard bloc.txt, a file inserted as a column, and the
// indents. Each change of the text runs an engine tool through the line pipeline,
// so it is one undo step.

#include <QAction>
#include <QApplication>
#include <QLabel>

#include "editing/block_operations.h"
#include "editor/document_editor.h"
#include "io/file_handle.h"
#include "mainwindow/progress_bar_listener.h"
#include "mainwindow/main_window.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/fill_dialog.h"

namespace orvex::gui {

namespace {

const QString kBlockFillLost = QStringLiteral(
    "Le contenu du bloc a été supprimé, mais il ne peut plus être rétabli pour le remplissage.");
const QString kNoBlock = QStringLiteral("Vous devez sélectionner un bloc avant d'utiliser cette fonction.");

QString labelText(std::int64_t column, std::int64_t line) { return QString::fromStdString(anchorLabel(column, line)); }

}  // namespace

void MainWindow::showBlockBar() {
  setBarVisible(m_blockPanel, findChild<QAction*>(QStringLiteral("OutilsBloc1")), true);
}

bool MainWindow::requireBlock() {
  if (m_blockAnchor.hasBlock()) return true;
  m_ui.showMessage(QStringLiteral("Avertissement"), kNoBlock, MessageIcon::Warning);
  return false;
}

void MainWindow::markBlockStart() {
  m_blockAnchor.markStart(m_editor->caretColumn(), m_editor->caretLine());
  m_blockStartLabel->setText(labelText(m_blockAnchor.startColumn, m_blockAnchor.startLine));
  showBlockBar();
}

void MainWindow::markBlockEnd() {
  if (!m_blockAnchor.hasStart()) {
    m_ui.showMessage(QStringLiteral("Fin Bloc impossible"),
                     QStringLiteral("Vous devez, en premier lieu, sélectionner le début du bloc."), MessageIcon::Warning);
    return;
  }
  showBlockBar();
  m_blockAnchor.markEnd(m_editor->caretColumn(), m_editor->caretLine());
  m_blockEndLabel->setText(labelText(m_blockAnchor.endColumn, m_blockAnchor.endLine));
  // Marking the end always refreshes the block clipboard.
  copyBlockToClipboard();
}

void MainWindow::copyBlockToClipboard() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    reportError(QString::fromStdString(cannotCreateMessage("bloc.txt")));
    return;
  }
  // The document does not change: it is written out once for the copy to read.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::string error;
  try {
    const TextFormat format = m_editor->saveTo(m_scratch.firstFile());
    Progress progress(m_progress.get());
    progress.start(static_cast<std::int64_t>(m_editor->lineCount()));
    copyBlock(m_scratch.firstFile(), format, m_blockAnchor, m_paths.blockClipboardFile(), progress);
    progress.setPosition(0);
  } catch (const IoFailure& failure) {
    error = failure.what();
  }
  removeQuietly(m_scratch.firstFile());
  QApplication::restoreOverrideCursor();
  if (!error.empty()) reportError(QString::fromStdString(error));
}

void MainWindow::cutBlock() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    reportError(QString::fromStdString(cannotCreateMessage("bloc.txt")));
    return;
  }
  BlockRemovalTool tool(m_blockAnchor, m_editor->shownEncoding(), m_paths.blockClipboardFile());
  runTool(tool);
}

void MainWindow::deleteBlock() {
  if (!requireBlock()) return;
  BlockRemovalTool tool(m_blockAnchor, m_editor->shownEncoding());
  runTool(tool);
}

void MainWindow::pasteBlock() {
  if (!m_paths.available() || !isExistingFile(m_paths.blockClipboardFile())) {
    m_ui.showMessage(QStringLiteral("Collage d'un bloc impossible"),
                     QStringLiteral("Vous devez copier ou couper un bloc avant de le coller."), MessageIcon::Warning);
    return;
  }
  insertColumn(m_paths.blockClipboardFile(), LinkPolicy::OwnLinksOnly);
}

void MainWindow::insertFileAsColumn() {
  if (const std::optional<std::filesystem::path> chosen = chooseFileToOpen()) insertColumn(*chosen);
}

void MainWindow::insertColumn(const std::filesystem::path& source, LinkPolicy links) {
  ColumnInsertTool tool(source, m_editor->caretColumn(), m_editor->caretLine(), m_editor->shownEncoding(), links);
  runTool(tool);
}

void MainWindow::fillBlock() {
  if (!requireBlock()) return;
  // The block's content goes first, so that the user sees it gone while choosing
  // the text; it stays gone when the dialog is cancelled.
  BlockRemovalTool removal(m_blockAnchor, m_editor->shownEncoding());
  if (!runTool(removal)) return;
  m_fillDialog->prepareBlockFill(m_blockAnchor.startColumn, m_blockAnchor.startLine, m_blockAnchor.endLine,
                                 m_blockAnchor.width());
  std::optional<FillRun> run = askFill();
  if (!run) return;
  // Deletion and fill become one undo step: the deletion is undone and both run in
  // one pass. Without the deletion's step the fill would cut the block a second time.
  if (!m_editor->undoTool()) {
    reportError(kBlockFillLost);
    return;
  }
  BlockFillTool fill(m_blockAnchor, std::move(run->parameters), m_editor->shownEncoding(), run->toUtf8);
  runTool(fill);
}

void MainWindow::indentBlockLeft() { indentBlock(IndentDirection::Left); }
void MainWindow::indentBlockRight() { indentBlock(IndentDirection::Right); }

void MainWindow::indentBlock(IndentDirection direction) {
  if (!requireBlock() || m_blockAnchor.startColumn < 0) return;
  IndentTool tool(m_blockAnchor, direction, m_editor->shownEncoding());
  if (!runTool(tool)) return;
  m_blockAnchor.startColumn += direction == IndentDirection::Left ? -kIndentStep : kIndentStep;
  m_editor->goToLine(m_blockAnchor.startLine);
}

}  // namespace orvex::gui
