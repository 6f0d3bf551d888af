// Find and replace: the modeless dialogs, F3, and replace all as one engine pass
// and one undo step.

#include <QApplication>

#include "editing/text_search.h"
#include "editor/document_editor.h"
#include "mainwindow/main_window.h"
#include "services/ui_services.h"
#include "tools/replacement_tool.h"
#include "windows/find_dialogs.h"

namespace orvex::gui {

namespace {

bool holdsVisibleCharacter(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 32) return true;
  return false;
}

}  // namespace

void MainWindow::createSearchDialogs() {
  m_findDialog = new FindDialog(this);
  m_replaceDialog = new ReplaceDialog(this);
  connect(m_findDialog, &FindDialog::findNext, this, &MainWindow::findFromDialog);
  connect(m_replaceDialog, &ReplaceDialog::findNext, this, &MainWindow::findFromReplaceDialog);
  connect(m_replaceDialog, &ReplaceDialog::replace, this, &MainWindow::replaceFromDialog);
}

void MainWindow::showFindDialog() {
  const QString selected = QString::fromStdString(m_editor->selectedText());
  if (holdsVisibleCharacter(selected)) m_findDialog->setFindText(selected);
  m_findDialog->present();
}

void MainWindow::findNext() { findFromDialog(); }

// A match gives the keyboard back to the text, the dialog staying open beside it:
// the next key types over the match rather than into the find text.
void MainWindow::findFromDialog() {
  if (!searchForward(m_findDialog->findText(), m_findDialog->options())) return;
  activateWindow();
  m_editor->setFocus(Qt::OtherFocusReason);
}

// Opening the dialog changes nothing: the document shows "Modifié" once a
// replacement is made.
void MainWindow::showReplaceDialog() {
  m_replaceDialog->present();
}

void MainWindow::findFromReplaceDialog() { searchForward(m_replaceDialog->findText(), m_replaceDialog->options()); }

bool MainWindow::searchForward(const QString& find, const SearchOptions& options) {
  const std::string needle = find.toStdString();
  const std::optional<std::size_t> at =
      findText(m_editor->editorText(), needle, m_editor->selectionOffsets().second, options);
  if (!at) {
    m_ui.showMessage(QStringLiteral("Avertissement"), QLatin1Char('"') + find + QStringLiteral("\" pas trouvé."),
                     MessageIcon::Warning);
    return false;
  }
  m_editor->selectOffsets(*at, *at + needle.size());
  return true;
}

void MainWindow::replaceFromDialog(bool all) {
  const std::string find = m_replaceDialog->findText().toStdString();
  const std::string replacement = m_replaceDialog->replaceText().toStdString();
  const auto [start, end] = m_editor->selectionOffsets();
  // The selection is replaced first when it is exactly the find text, whatever the
  // options say.
  const bool selectionMatches = !find.empty() && m_editor->selectedText() == find;
  if (!all) {
    if (!selectionMatches) return;
    m_editor->replaceSelection(replacement);
    m_editor->selectOffsets(start, start + replacement.size());
    return;
  }
  const std::string_view text = m_editor->editorText();
  ReplacedText result = replaceAll(text, find, replacement, end, m_replaceDialog->options());
  if (selectionMatches) {
    result.text.replace(start, end - start, replacement);
    ++result.count;
  }
  if (result.count > 0) {
    ReplacementTool tool(std::move(result.text), m_editor->shownEncoding());
    runTool(tool);
  }
  m_ui.showMessage(QStringLiteral("Information"), QStringLiteral("Remplacement terminé."), MessageIcon::Information);
  m_editor->selectOffsets(m_editor->editorText().size(), m_editor->editorText().size());
}

}  // namespace orvex::gui
