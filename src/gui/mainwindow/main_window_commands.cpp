// The commands of the command table: one-line forwards to the collaborators that
// own their state, and the few commands that belong to the window itself (printing,
// the file manager's entry, the bars, the release notes, the about box).

#include <QCloseEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "components/busy_cursor.h"
#include "config/desktop_entry.h"
#include "editor/document_editor.h"
#include "mainwindow/block_commands.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "mainwindow/line_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/search_commands.h"
#include "mainwindow/tool_commands.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/small_windows.h"

namespace orvex::gui {

const std::filesystem::path& MainWindow::documentPath() const { return m_session->path(); }
void MainWindow::setDocumentPath(std::filesystem::path path) { m_session->setPath(std::move(path)); }
bool MainWindow::loadDocument(const std::filesystem::path& path) { return m_session->load(path); }
const BlockAnchor& MainWindow::blockAnchor() const { return m_blocks->anchor(); }
FindDialog* MainWindow::findDialog() const { return m_search->findDialog(); }
ReplaceDialog* MainWindow::replaceDialog() const { return m_search->replaceDialog(); }

void MainWindow::newDocument() { m_session->startNewDocument(); }
void MainWindow::openDocument() { m_session->openChosenFile(); }
void MainWindow::saveDocument() { m_session->save(); }
void MainWindow::saveDocumentAs() { m_session->saveAs(); }
void MainWindow::quit() { close(); }

void MainWindow::newWindow() {
  if (const std::optional<std::string> program = runningExecutable()) m_ui.startDetached({*program}, {});
}

void MainWindow::setUpPrinter() { m_ui.setUpPrinter(m_editor->printer()); }

void MainWindow::printDocument() {
  // Without a print system Qt falls back to PDF output, which needs a file name: a
  // printer is there when the system has one or when the set-up chose a file.
  const QPrinter& printer = m_editor->printer();
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
    m_context->reportError(QStringLiteral("Aucune imprimante par défaut sélectionnée"));
    return;
  }
  m_editor->print(windowTitle());
}

void MainWindow::showFindDialog() { m_search->showFindDialog(); }
void MainWindow::findNext() { m_search->findNext(); }
void MainWindow::showReplaceDialog() { m_search->showReplaceDialog(); }

void MainWindow::goToLine() { m_lines->goToLine(); }
void MainWindow::selectLine() { m_editor->selectLine(); }
void MainWindow::duplicateLine() { m_editor->duplicateLine(); }
void MainWindow::deleteLine() { m_editor->deleteLine(); }
void MainWindow::insertLine() { m_editor->insertLine(); }
void MainWindow::insertDate() { m_lines->insertDate(); }
void MainWindow::insertTime() { m_lines->insertTime(); }
void MainWindow::insertFileName() { m_lines->insertFileName(); }
void MainWindow::insertDirectory() { m_lines->insertDirectory(); }

void MainWindow::toUpperCase() { m_tools->toUpperCase(); }
void MainWindow::toLowerCase() { m_tools->toLowerCase(); }
void MainWindow::sortAscending() { m_tools->sortAscending(); }
void MainWindow::sortDescending() { m_tools->sortDescending(); }
void MainWindow::removeDuplicates() { m_tools->removeDuplicates(); }
void MainWindow::fill() { m_tools->fill(); }
void MainWindow::concatenateFile() { m_tools->concatenateFile(); }
void MainWindow::removeAccents() { m_tools->removeAccents(); }
void MainWindow::removeBlanks() { m_tools->removeBlanks(); }
void MainWindow::padLines() { m_tools->padLines(); }
void MainWindow::reverseSelection() { m_tools->reverseSelection(); }
void MainWindow::encrypt() { m_tools->encrypt(); }
void MainWindow::decrypt() { m_tools->decrypt(); }

void MainWindow::markBlockStart() { m_blocks->markStart(); }
void MainWindow::markBlockEnd() { m_blocks->markEnd(); }
void MainWindow::copyBlockToClipboard() { m_blocks->copyToClipboard(); }
void MainWindow::cutBlock() { m_blocks->cut(); }
void MainWindow::pasteBlock() { m_blocks->paste(); }
void MainWindow::deleteBlock() { m_blocks->remove(); }
void MainWindow::insertFileAsColumn() { m_blocks->insertFile(); }
void MainWindow::fillBlock() { m_blocks->fill(); }
void MainWindow::indentBlockLeft() { m_blocks->indentLeft(); }
void MainWindow::indentBlockRight() { m_blocks->indentRight(); }

void MainWindow::showReleaseNotes() {
  // Beside the program's files, beside the executable, or where it is installed.
  std::filesystem::path notes;
  for (const std::filesystem::path& candidate :
       {m_paths.releaseNotesFile(), runningExecutableDirectory() / "nouveautes.txt",
        runningExecutableDirectory() / ".." / "share" / "orvex" / "nouveautes.txt"}) {
    std::error_code error;
    if (!candidate.empty() && std::filesystem::is_regular_file(candidate, error)) {
      notes = candidate;
      break;
    }
  }
  m_session->showReleaseNotes(notes);
}

void MainWindow::openWebPage() { m_ui.openWithDesktop(kWebPageAddress); }

void MainWindow::showAbout() {
  if (m_about) m_ui.runModal(*m_about);
}

void MainWindow::declareInFileManager() {
  const std::filesystem::path directory = desktopEntryDirectory();
  Status status;
  {
    const BusyCursor busy;
    // The path as the system has it: the toolkit's own would be decoded, and a
    // directory name that is not UTF-8 would lose its bytes.
    const std::optional<std::string> executable = runningExecutable();
    status = executable ? declareDesktopEntry(directory, *executable)
                        : Status::failure("Echec à la définition des données pour ''");
  }
  if (!status.ok()) {
    m_context->reportError(status.error);
    return;
  }
  refreshDesktopDatabase(directory);
}

void MainWindow::removeFromFileManager() {
  const std::filesystem::path directory = desktopEntryDirectory();
  removeDesktopEntry(directory);
  refreshDesktopDatabase(directory);
}

void MainWindow::refreshDesktopDatabase(const std::filesystem::path& directory) {
  // The file managers read their cache of entries; where the tool that rebuilds it
  // is installed, it runs.
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
  if (!tool.isEmpty() && !directory.empty()) m_ui.startDetached({tool.toStdString(), directory.native()}, {});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (m_session->settleUnsavedChanges())
    event->accept();
  else
    event->ignore();
}

}  // namespace orvex::gui
