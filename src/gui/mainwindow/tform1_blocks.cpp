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
#include "io/status.h"
#include "mainwindow/progress_bar_listener.h"
#include "mainwindow/tform1.h"
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

void TForm1::showBlockBar() {
  setBarVisible(Panel2, findChild<QAction*>(QStringLiteral("OutilsBloc1")), true);
}

bool TForm1::requireBlock() {
  if (Anchor.hasBlock()) return true;
  m_ui.showMessage(QStringLiteral("Avertissement"), kNoBlock, MessageIcon::Warning);
  return false;
}

void TForm1::Dbutbloc1Click() {
  Anchor.markStart(editeur->caretColumn(), editeur->caretLine());
  Label1->setText(labelText(Anchor.startColumn, Anchor.startLine));
  showBlockBar();
}

void TForm1::Finbloc1Click() {
  if (!Anchor.hasStart()) {
    m_ui.showMessage(QStringLiteral("Fin Bloc impossible"),
                     QStringLiteral("Vous devez, en premier lieu, sélectionner le début du bloc."), MessageIcon::Warning);
    return;
  }
  showBlockBar();
  Anchor.markEnd(editeur->caretColumn(), editeur->caretLine());
  Label2->setText(labelText(Anchor.endColumn, Anchor.endLine));
  // Marking the end always refreshes the block clipboard.
  ToolButton36Click();
}

void TForm1::ToolButton36Click() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    reportError(QString::fromStdString(cannotCreateMessage("bloc.txt")));
    return;
  }
  // The document does not change: it is written out once for the copy to read.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::string error;
  try {
    const TextFormat format = editeur->saveTo(m_scratch.firstFile());
    Progress progress(m_progress.get());
    progress.start(static_cast<std::int64_t>(editeur->lineCount()));
    copyBlock(m_scratch.firstFile(), format, Anchor, m_paths.blockClipboardFile(), progress);
    progress.setPosition(0);
  } catch (const IoFailure& failure) {
    error = failure.what();
  }
  removeQuietly(m_scratch.firstFile());
  QApplication::restoreOverrideCursor();
  if (!error.empty()) reportError(QString::fromStdString(error));
}

void TForm1::ToolButton37Click() {
  if (!requireBlock()) return;
  if (!m_paths.available()) {
    reportError(QString::fromStdString(cannotCreateMessage("bloc.txt")));
    return;
  }
  BlockRemovalTool tool(Anchor, editeur->shownEncoding(), m_paths.blockClipboardFile());
  runTool(tool);
}

void TForm1::ToolButton39Click() {
  if (!requireBlock()) return;
  BlockRemovalTool tool(Anchor, editeur->shownEncoding());
  runTool(tool);
}

void TForm1::ToolButton38Click() {
  if (!m_paths.available() || !isExistingFile(m_paths.blockClipboardFile())) {
    m_ui.showMessage(QStringLiteral("Collage d'un bloc impossible"),
                     QStringLiteral("Vous devez copier ou couper un bloc avant de le coller."), MessageIcon::Warning);
    return;
  }
  insertColumn(m_paths.blockClipboardFile(), LinkPolicy::OwnLinksOnly);
}

void TForm1::ToolButton40Click() {
  if (const std::optional<std::filesystem::path> chosen = chooseFileToOpen()) insertColumn(*chosen);
}

void TForm1::insertColumn(const std::filesystem::path& source, LinkPolicy links) {
  ColumnInsertTool tool(source, editeur->caretColumn(), editeur->caretLine(), editeur->shownEncoding(), links);
  runTool(tool);
}

void TForm1::ToolButton41Click() {
  if (!requireBlock()) return;
  // The block's content goes first, so that the user sees it gone while choosing
  // the text; it stays gone when the dialog is cancelled.
  BlockRemovalTool removal(Anchor, editeur->shownEncoding());
  if (!runTool(removal)) return;
  Form2->prepareBlockFill(Anchor.startColumn, Anchor.startLine, Anchor.endLine, Anchor.width());
  BlockFillMode = true;
  std::optional<FillRun> run = askFill();
  BlockFillMode = false;
  if (!run) return;
  // Deletion and fill become one undo step: the deletion is undone and both run in
  // one pass. Without the deletion's step the fill would cut the block a second time.
  if (!editeur->undoTool()) {
    reportError(kBlockFillLost);
    return;
  }
  BlockFillTool fill(Anchor, std::move(run->parameters), editeur->shownEncoding());
  runTool(fill);
}

void TForm1::ToolButton27Click() { indentBlock(IndentDirection::Left); }
void TForm1::ToolButton35Click() { indentBlock(IndentDirection::Right); }

void TForm1::indentBlock(IndentDirection direction) {
  if (!requireBlock() || Anchor.startColumn < 0) return;
  IndentTool tool(Anchor, direction, editeur->shownEncoding());
  if (!runTool(tool)) return;
  Anchor.startColumn += direction == IndentDirection::Left ? -kIndentStep : kIndentStep;
  editeur->goToLine(Anchor.startLine);
}

}  // namespace orvex::gui
