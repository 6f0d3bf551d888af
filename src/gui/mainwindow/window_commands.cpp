// The commands of the command table: one-line forwards to the main window's
// collaborators, and the few commands over the window's own parts (printing, the
// file manager's entry, the bars, the release notes, the about box).

#include "mainwindow/window_commands.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QToolBar>

#include "components/busy_cursor.h"
#include "components/status_bar.h"
#include "config/desktop_entry.h"
#include "editor/document_editor.h"
#include "mainwindow/block_commands.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "mainwindow/document_status.h"
#include "mainwindow/line_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/search_commands.h"
#include "mainwindow/tool_commands.h"
#include "mainwindow/window_preferences.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/small_windows.h"

namespace orvex::gui {

namespace {

// The file managers read their cache of entries; where the tool that rebuilds it is
// installed, it runs.
void refreshDesktopDatabase(UiServices& ui, const std::filesystem::path& directory) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
  if (!tool.isEmpty() && !directory.empty()) ui.startDetached({tool.toStdString(), directory.native()}, {});
}

bool isChecked(const QObject& window, const char* itemName) {
  return window.findChild<QAction*>(QString::fromLatin1(itemName))->isChecked();
}

}  // namespace

void WindowCommands::newDocument() { m_window.m_session->startNewDocument(); }
void WindowCommands::openDocument() { m_window.m_session->openChosenFile(); }
void WindowCommands::saveDocument() { m_window.m_session->save(); }
void WindowCommands::saveDocumentAs() { m_window.m_session->saveAs(); }
void WindowCommands::quit() { m_window.close(); }

void WindowCommands::newWindow() {
  if (const std::optional<std::string> program = runningExecutable()) m_window.m_ui.startDetached({*program}, {});
}

void WindowCommands::setUpPrinter() { m_window.m_ui.setUpPrinter(m_window.m_editor->printer()); }

void WindowCommands::printDocument() {
  // Without a print system Qt falls back to PDF output, which needs a file name: a
  // printer is there when the system has one or when the set-up chose a file.
  const QPrinter& printer = m_window.m_editor->printer();
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
    m_window.m_context->reportError(QStringLiteral("Aucune imprimante par défaut sélectionnée"));
    return;
  }
  m_window.m_editor->print(m_window.windowTitle());
}

void WindowCommands::showFindDialog() { m_window.m_search->showFindDialog(); }
void WindowCommands::findNext() { m_window.m_search->findNext(); }
void WindowCommands::showReplaceDialog() { m_window.m_search->showReplaceDialog(); }

void WindowCommands::goToLine() { m_window.m_lines->goToLine(); }
void WindowCommands::selectLine() { m_window.m_editor->selectLine(); }
void WindowCommands::duplicateLine() { m_window.m_editor->duplicateLine(); }
void WindowCommands::deleteLine() { m_window.m_editor->deleteLine(); }
void WindowCommands::insertLine() { m_window.m_editor->insertLine(); }
void WindowCommands::insertDate() { m_window.m_lines->insertDate(); }
void WindowCommands::insertTime() { m_window.m_lines->insertTime(); }
void WindowCommands::insertFileName() { m_window.m_lines->insertFileName(); }
void WindowCommands::insertDirectory() { m_window.m_lines->insertDirectory(); }

void WindowCommands::toUpperCase() { m_window.m_tools->toUpperCase(); }
void WindowCommands::toLowerCase() { m_window.m_tools->toLowerCase(); }
void WindowCommands::sortAscending() { m_window.m_tools->sortAscending(); }
void WindowCommands::sortDescending() { m_window.m_tools->sortDescending(); }
void WindowCommands::removeDuplicates() { m_window.m_tools->removeDuplicates(); }
void WindowCommands::fill() { m_window.m_tools->fill(); }
void WindowCommands::concatenateFile() { m_window.m_tools->concatenateFile(); }
void WindowCommands::removeAccents() { m_window.m_tools->removeAccents(); }
void WindowCommands::removeBlanks() { m_window.m_tools->removeBlanks(); }
void WindowCommands::padLines() { m_window.m_tools->padLines(); }
void WindowCommands::reverseSelection() { m_window.m_tools->reverseSelection(); }
void WindowCommands::encrypt() { m_window.m_tools->encrypt(); }
void WindowCommands::decrypt() { m_window.m_tools->decrypt(); }

void WindowCommands::markBlockStart() { m_window.m_blocks->markStart(); }
void WindowCommands::markBlockEnd() { m_window.m_blocks->markEnd(); }
void WindowCommands::copyBlockToClipboard() { m_window.m_blocks->copyToClipboard(); }
void WindowCommands::cutBlock() { m_window.m_blocks->cut(); }
void WindowCommands::pasteBlock() { m_window.m_blocks->paste(); }
void WindowCommands::deleteBlock() { m_window.m_blocks->remove(); }
void WindowCommands::insertFileAsColumn() { m_window.m_blocks->insertFile(); }
void WindowCommands::fillBlock() { m_window.m_blocks->fill(); }
void WindowCommands::indentBlockLeft() { m_window.m_blocks->indentLeft(); }
void WindowCommands::indentBlockRight() { m_window.m_blocks->indentRight(); }

void WindowCommands::showReleaseNotes() {
  // Beside the program's files, beside the executable, or where it is installed.
  std::filesystem::path notes;
  for (const std::filesystem::path& candidate :
       {m_window.m_paths.releaseNotesFile(), runningExecutableDirectory() / "nouveautes.txt",
        runningExecutableDirectory() / ".." / "share" / "orvex" / "nouveautes.txt"}) {
    std::error_code error;
    if (!candidate.empty() && std::filesystem::is_regular_file(candidate, error)) {
      notes = candidate;
      break;
    }
  }
  m_window.m_session->showReleaseNotes(notes);
}

void WindowCommands::openWebPage() { m_window.m_ui.openWithDesktop(kWebPageAddress); }

void WindowCommands::showConfiguration() { m_window.showConfiguration(); }

void WindowCommands::showAbout() {
  if (QDialog* about = m_window.aboutBox()) m_window.m_ui.runModal(*about);
}

void WindowCommands::declareInFileManager() {
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
    m_window.m_context->reportError(status.error);
    return;
  }
  refreshDesktopDatabase(m_window.m_ui, directory);
}

void WindowCommands::removeFromFileManager() {
  const std::filesystem::path directory = desktopEntryDirectory();
  removeDesktopEntry(directory);
  refreshDesktopDatabase(m_window.m_ui, directory);
}

void WindowCommands::undo() { m_window.stepHistory(&DocumentEditor::undo); }

void WindowCommands::redo() { m_window.stepHistory(&DocumentEditor::redo); }

void WindowCommands::copy() { m_window.m_editor->copy(); }

void WindowCommands::cut() {
  m_window.m_editor->cut();
  m_window.m_status->refreshModified();
}

void WindowCommands::paste() {
  m_window.m_editor->paste();
  m_window.m_status->refreshModified();
}

void WindowCommands::selectAll() { m_window.m_editor->selectAll(); }

void WindowCommands::toggleEditBar() { m_window.toggleBar("Barreddition1", m_window.m_editBar); }

void WindowCommands::toggleStatusBar() { m_window.toggleBar("Barredestatut1", m_window.m_statusBar); }

void WindowCommands::toggleToolsBar() { m_window.toggleBar("Barredoutils1", m_window.m_toolsPanel); }

void WindowCommands::toggleRuler() { m_window.toggleBar("Echelle1", m_window.m_ruler); }

void WindowCommands::toggleBlockBar() { m_window.toggleBar("OutilsBloc1", m_window.m_blockPanel); }

void WindowCommands::toggleLineNumbers() {
  m_window.m_windowPreferences->showLineNumbers(isChecked(m_window, "NumerosDeLigne1"));
}

void WindowCommands::toggleWordWrap() {
  m_window.m_windowPreferences->wrapWords(isChecked(m_window, "RetourALaLigne1"));
}

void WindowCommands::chooseEditorFont() { m_window.m_windowPreferences->chooseFont(); }

}  // namespace orvex::gui
