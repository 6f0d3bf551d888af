// The text-tool commands: each runs an engine tool over the document through the
// scratch files, with the busy cursor and the progress bar.

#include <QApplication>

#include "editor/document_editor.h"
#include "mainwindow/progress_bar_listener.h"
#include "mainwindow/main_window.h"
#include "pipeline/line_pipeline.h"
#include "services/ui_services.h"
#include "tools/case_tool.h"
#include "text/windows1252.h"
#include "tools/cipher_tool.h"
#include "tools/fill_tool.h"
#include "windows/fill_dialog.h"
#include "tools/concatenation.h"
#include "tools/line_edit_tools.h"
#include "tools/sort_tool.h"

namespace orvex::gui {

namespace {
const QString kDuplicateWarning = QStringLiteral(
    "Cette fonction permet de supprimer les lignes consécutives équivalantes.\n\r"
    "Par conséquent, en fonction de vos besoins, si vous souhaitez enlever tous \n\r"
    "les doublons du fichier, veuillez au préalable trier le fichier.");
}  // namespace

bool MainWindow::runTool(DocumentTool& tool) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ViewPosition where = m_editor->viewPosition();
  const Status status = runLinePipeline(*m_editor, tool, m_scratch, m_progress.get());
  m_editor->restoreViewPosition(where);
  QApplication::restoreOverrideCursor();
  if (!status.ok()) {
    reportError(QString::fromStdString(status.error));
    return false;
  }
  if (tool.variation().rewritesLineCount) refreshLineCount();
  refreshModifiedPanel();
  return true;
}

void MainWindow::toUpperCase() {
  CaseTool tool(LetterCase::Upper);
  runTool(tool);
}

void MainWindow::toLowerCase() {
  CaseTool tool(LetterCase::Lower);
  runTool(tool);
}

void MainWindow::sortAscending() {
  SortTool tool(TTriStyle::triCroissant);
  runTool(tool);
}

void MainWindow::sortDescending() {
  SortTool tool(TTriStyle::triDecroissant);
  runTool(tool);
}

void MainWindow::removeDuplicates() {
  m_ui.showMessage(QStringLiteral("Avertissement"), kDuplicateWarning, MessageIcon::Warning);
  DuplicateTool tool;
  runTool(tool);
}

void MainWindow::concatenateFile() {
  const std::optional<std::filesystem::path> chosen = chooseFileToOpen();
  if (!chosen) return;
  ConcatenationTool tool(*chosen, m_editor->shownEncoding());
  runTool(tool);
}

void MainWindow::removeAccents() {
  AccentTool tool(m_editor->shownEncoding());
  runTool(tool);
}

void MainWindow::removeBlanks() {
  BlankTool tool;
  runTool(tool);
}

void MainWindow::padLines() {
  PaddingTool tool(m_editor->shownEncoding());
  runTool(tool);
}

void MainWindow::encrypt() {
  CipherTool tool(CipherDirection::Encrypt);
  runTool(tool);
}

void MainWindow::decrypt() {
  CipherTool tool(CipherDirection::Decrypt);
  runTool(tool);
}

std::optional<MainWindow::FillRun> MainWindow::askFill() {
  m_ui.runModal(*m_fillDialog);
  if (!m_fillDialog->accepted()) return std::nullopt;
  FillRun run{m_fillDialog->parameters(), false};
  // The dialog gives UTF-8; a Windows-1252 document takes the code page's bytes, or
  // turns UTF-8 for a character the code page lacks.
  if (m_editor->shownEncoding() == Encoding::Windows1252) {
    run.toUtf8 = !fitsWindows1252(run.parameters.text);
    if (!run.toUtf8) run.parameters.text = encodeWindows1252(run.parameters.text);
  }
  return run;
}

void MainWindow::fill() {
  m_fillDialog->prepareFill(m_editor->caretColumn(), static_cast<std::int64_t>(m_editor->lineCount()),
                            m_editor->longestLineLength());
  std::optional<FillRun> run = askFill();
  if (!run) return;
  FillTool tool(std::move(run->parameters), m_editor->shownEncoding(), run->toUtf8);
  runTool(tool);
}

void MainWindow::reverseSelection() {
  const std::string selected = m_editor->selectedText();
  if (!isReversible(selected)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_editor->replaceSelection(reverseText(selected, Encoding::Utf8));
  refreshModifiedPanel();
  QApplication::restoreOverrideCursor();
}

}  // namespace orvex::gui
