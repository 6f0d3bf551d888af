// Find and replace: the modeless dialogs, F3, and replace all as one engine pass
// and one undo step.

#include "mainwindow/search_commands.h"

#include "editing/text_search.h"
#include "editor/document_editor.h"
#include "mainwindow/command_context.h"
#include "mainwindow/tool_commands.h"
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

SearchCommands::SearchCommands(const CommandContext& context, ToolCommands& tools, QWidget& window)
    : QObject(&window), m_context(context), m_tools(tools), m_window(window) {}

FindDialog* SearchCommands::findDialog() {
  if (!m_findDialog) {
    m_findDialog = new FindDialog(&m_window);
    connect(m_findDialog, &FindDialog::findNext, this, &SearchCommands::findFromDialog);
  }
  return m_findDialog;
}

ReplaceDialog* SearchCommands::replaceDialog() {
  if (!m_replaceDialog) {
    m_replaceDialog = new ReplaceDialog(&m_window);
    connect(m_replaceDialog, &ReplaceDialog::findNext, this, &SearchCommands::findFromReplaceDialog);
    connect(m_replaceDialog, &ReplaceDialog::replace, this, &SearchCommands::replaceFromDialog);
  }
  return m_replaceDialog;
}

void SearchCommands::showFindDialog() {
  const QString selected = QString::fromStdString(m_context.editor().selectedText());
  if (holdsVisibleCharacter(selected)) findDialog()->setFindText(selected);
  findDialog()->present();
}

void SearchCommands::findNext() { findFromDialog(); }

// A match gives the keyboard back to the text, the dialog staying open beside it:
// the next key types over the match rather than into the find text.
void SearchCommands::findFromDialog() {
  if (!searchForward(findDialog()->findText(), findDialog()->options())) return;
  m_window.activateWindow();
  m_context.editor().setFocus(Qt::OtherFocusReason);
}

// Opening the dialog changes nothing: the document shows "Modifié" once a
// replacement is made.
void SearchCommands::showReplaceDialog() { replaceDialog()->present(); }

void SearchCommands::findFromReplaceDialog() { searchForward(replaceDialog()->findText(), replaceDialog()->options()); }

bool SearchCommands::searchForward(const QString& find, const SearchOptions& options) {
  const std::string needle = find.toStdString();
  const std::optional<std::size_t> at =
      findText(m_context.editor().editorText(), needle, m_context.editor().selectionOffsets().second, options);
  if (!at) {
    m_context.ui().showMessage(QStringLiteral("Avertissement"),
                               QLatin1Char('"') + find + QStringLiteral("\" pas trouvé."), MessageIcon::Warning);
    return false;
  }
  m_context.editor().selectOffsets(*at, *at + needle.size());
  return true;
}

void SearchCommands::replaceFromDialog(bool all) {
  const std::string find = replaceDialog()->findText().toStdString();
  const std::string replacement = replaceDialog()->replaceText().toStdString();
  const auto [start, end] = m_context.editor().selectionOffsets();
  // The selection is replaced first when it is exactly the find text, whatever the
  // options say.
  const bool selectionMatches = !find.empty() && m_context.editor().selectedText() == find;
  if (!all) {
    if (!selectionMatches) return;
    m_context.editor().replaceSelection(replacement);
    m_context.editor().selectOffsets(start, start + replacement.size());
    return;
  }
  const std::string_view text = m_context.editor().editorText();
  ReplacedText result = replaceAll(text, find, replacement, end, replaceDialog()->options());
  if (selectionMatches) {
    result.text.replace(start, end - start, replacement);
    ++result.count;
  }
  if (result.count > 0) {
    ReplacementTool tool(std::move(result.text), m_context.editor().shownEncoding());
    m_tools.run(tool);
  }
  m_context.ui().showMessage(QStringLiteral("Information"), QStringLiteral("Remplacement terminé."),
                             MessageIcon::Information);
  m_context.editor().selectOffsets(m_context.editor().editorText().size(), m_context.editor().editorText().size());
}

}  // namespace orvex::gui
