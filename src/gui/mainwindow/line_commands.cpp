#include "mainwindow/line_commands.h"

#include <ctime>
#include <string>

#include "editing/line_commands.h"
#include "editor/document_editor.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "paths/file_names.h"
#include "services/ui_services.h"
#include "text/utf8.h"

namespace orvex::gui {

void LineCommands::goToLine() {
  const std::optional<QString> typed = m_context.ui().inputText(
      QStringLiteral("Aller à la ligne"), QStringLiteral("A quelle ligne souhaitez vous aller ?"), QString());
  if (!typed) return;
  const std::optional<std::int32_t> number = parseLineNumber(typed->toStdString());
  if (!number || *number == -1) {
    m_context.ui().showMessage(QStringLiteral("Erreur"), QStringLiteral("Vous devez saisir un numéro correct."),
                               MessageIcon::Warning);
    return;
  }
  m_context.editor().goToLine(*number);
}

namespace {

std::tm now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

// The caret moves on by 10 and 5 whatever the length of the date and time.
void LineCommands::insertDate() { m_context.editor().insertAtCaret(dateText(now()), 10); }
void LineCommands::insertTime() { m_context.editor().insertAtCaret(timeText(now()), 5); }

// The name's undecodable bytes show as U+FFFD; the caret moves on by characters.
void LineCommands::insertFileName() {
  const std::string name = shownName(fileNamePart(m_session.path().native()));
  m_context.editor().insertAtCaret(name, static_cast<long>(charCount(name, Encoding::Utf8)));
}

void LineCommands::insertDirectory() {
  const std::string directory = shownName(directoryPart(m_session.path().native()));
  m_context.editor().insertAtCaret(directory, static_cast<long>(charCount(directory, Encoding::Utf8)));
}

}  // namespace orvex::gui
