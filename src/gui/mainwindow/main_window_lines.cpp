// The line commands and insertions of the edit menu: go to a line, select,
// duplicate, delete and insert a line, and insert the date, the time, the file name
// or its directory at the caret.

#include <ctime>

#include "editing/line_commands.h"
#include "editor/document_editor.h"
#include "mainwindow/main_window.h"
#include "paths/file_names.h"
#include "text/utf8.h"
#include "services/ui_services.h"

namespace orvex::gui {

void MainWindow::goToLine() {
  const std::optional<QString> typed = m_ui.inputText(QStringLiteral("Aller à la ligne"),
                                                      QStringLiteral("A quelle ligne souhaitez vous aller ?"), QString());
  if (!typed) return;
  const std::optional<std::int32_t> number = parseLineNumber(typed->toStdString());
  if (!number || *number == -1) {
    m_ui.showMessage(QStringLiteral("Erreur"), QStringLiteral("Vous devez saisir un numéro correct."),
                     MessageIcon::Warning);
    return;
  }
  m_editor->goToLine(*number);
}

void MainWindow::selectLine() { m_editor->selectLine(); }
void MainWindow::duplicateLine() { m_editor->duplicateLine(); }
void MainWindow::deleteLine() { m_editor->deleteLine(); }
void MainWindow::insertLine() { m_editor->insertLine(); }

namespace {

std::tm now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

void MainWindow::insertText(const std::string& text, long advance) {
  m_editor->insertAtCaret(text, advance);
  refreshModifiedPanel();
}

// The caret moves on by 10 and 5 whatever the length of the date and time.
void MainWindow::insertDate() { insertText(dateText(now()), 10); }
void MainWindow::insertTime() { insertText(timeText(now()), 5); }

// The name's undecodable bytes show as U+FFFD; the caret moves on by characters.
void MainWindow::insertFileName() {
  const std::string name = shownName(fileNamePart(m_documentPath.native()));
  insertText(name, static_cast<long>(charCount(name, Encoding::Utf8)));
}

void MainWindow::insertDirectory() {
  const std::string directory = shownName(directoryPart(m_documentPath.native()));
  insertText(directory, static_cast<long>(charCount(directory, Encoding::Utf8)));
}

}  // namespace orvex::gui
