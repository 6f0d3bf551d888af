// Find and replace: the modeless dialogs, F3, and replace all as one engine pass
// and one undo step.

#include <QApplication>

#include "editing/text_search.h"
#include "editor/document_editor.h"
#include "mainwindow/tform1.h"
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

void TForm1::createSearchDialogs() {
  FindDialog1 = new FindDialog(this);
  ReplaceDialog1 = new ReplaceDialog(this);
  connect(FindDialog1, &FindDialog::findNext, this, &TForm1::FindDialog1Find);
  connect(ReplaceDialog1, &ReplaceDialog::findNext, this, &TForm1::ReplaceDialog1Find);
  connect(ReplaceDialog1, &ReplaceDialog::replace, this, &TForm1::ReplaceDialog1Replace);
}

void TForm1::Rechercher1Click() {
  const QString selected = QString::fromStdString(editeur->selectedText());
  if (holdsVisibleCharacter(selected)) FindDialog1->setFindText(selected);
  FindDialog1->present();
}

void TForm1::Suivant1Click() { FindDialog1Find(); }

// A match gives the keyboard back to the text, the dialog staying open beside it:
// the next key types over the match rather than into the find text.
void TForm1::FindDialog1Find() {
  if (!searchForward(FindDialog1->findText(), FindDialog1->options())) return;
  activateWindow();
  editeur->setFocus(Qt::OtherFocusReason);
}

// Opening the dialog changes nothing: the document shows "Modifié" once a
// replacement is made.
void TForm1::Remplacer1Click() {
  ReplaceDialog1->present();
}

void TForm1::ReplaceDialog1Find() { searchForward(ReplaceDialog1->findText(), ReplaceDialog1->options()); }

bool TForm1::searchForward(const QString& find, const SearchOptions& options) {
  const std::string needle = find.toStdString();
  const std::optional<std::size_t> at =
      findText(editeur->editorText(), needle, editeur->selectionOffsets().second, options);
  if (!at) {
    m_ui.showMessage(QStringLiteral("Avertissement"), QLatin1Char('"') + find + QStringLiteral("\" pas trouvé."),
                     MessageIcon::Warning);
    return false;
  }
  editeur->selectOffsets(*at, *at + needle.size());
  return true;
}

void TForm1::ReplaceDialog1Replace(bool all) {
  const std::string find = ReplaceDialog1->findText().toStdString();
  const std::string replacement = ReplaceDialog1->replaceText().toStdString();
  const auto [start, end] = editeur->selectionOffsets();
  // The selection is replaced first when it is exactly the find text, whatever the
  // options say.
  const bool selectionMatches = !find.empty() && editeur->selectedText() == find;
  if (!all) {
    if (!selectionMatches) return;
    editeur->replaceSelection(replacement);
    editeur->selectOffsets(start, start + replacement.size());
    return;
  }
  const std::string_view text = editeur->editorText();
  ReplacedText result = replaceAll(text, find, replacement, end, ReplaceDialog1->options());
  if (selectionMatches) {
    result.text.replace(start, end - start, replacement);
    ++result.count;
  }
  if (result.count > 0) {
    ReplacementTool tool(std::move(result.text), editeur->shownEncoding());
    runTool(tool);
  }
  m_ui.showMessage(QStringLiteral("Information"), QStringLiteral("Remplacement terminé."), MessageIcon::Information);
  editeur->selectOffsets(editeur->editorText().size(), editeur->editorText().size());
}

}  // namespace orvex::gui
