// The line commands and insertions of the edit menu: go to a line, select,
// duplicate, delete and insert a line, and insert the date, the time, the file name
// or its directory at the caret.

#include <ctime>

#include "editing/line_commands.h"
#include "editor/document_editor.h"
#include "mainwindow/tform1.h"
#include "paths/file_names.h"
#include "text/utf8.h"
#include "services/ui_services.h"

namespace orvex::gui {

void TForm1::Allerlaligne1Click() {
  const std::optional<QString> typed = m_ui.inputText(QStringLiteral("Aller à la ligne"),
                                                      QStringLiteral("A quelle ligne souhaitez vous aller ?"), QString());
  if (!typed) return;
  const std::optional<std::int32_t> number = parseLineNumber(typed->toStdString());
  if (!number || *number == -1) {
    m_ui.showMessage(QStringLiteral("Erreur"), QStringLiteral("Vous devez saisir un numéro correct."),
                     MessageIcon::Warning);
    return;
  }
  editeur->goToLine(*number);
}

void TForm1::Slectionnerlaligne1Click() { editeur->selectLine(); }
void TForm1::Dupliquerlaligne1Click() { editeur->duplicateLine(); }
void TForm1::Supprimerleligne1Click() { editeur->deleteLine(); }
void TForm1::Insreruneligne1Click() { editeur->insertLine(); }

namespace {

std::tm now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

void TForm1::insertText(const std::string& text, long advance) {
  editeur->insertAtCaret(text, advance);
  editeurChange();
}

// The caret moves on by 10 and 5 whatever the length of the date and time.
void TForm1::Date1Click() { insertText(dateText(now()), 10); }
void TForm1::Heure1Click() { insertText(timeText(now()), 5); }

// The name's undecodable bytes show as U+FFFD; the caret moves on by characters.
void TForm1::Nomdufichier1Click() {
  const std::string name = shownName(fileNamePart(m_documentPath.native()));
  insertText(name, static_cast<long>(charCount(name, Encoding::Utf8)));
}

void TForm1::Rpertoiredufichier1Click() {
  const std::string directory = shownName(directoryPart(m_documentPath.native()));
  insertText(directory, static_cast<long>(charCount(directory, Encoding::Utf8)));
}

}  // namespace orvex::gui
