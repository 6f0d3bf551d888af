#include "mainwindow/document_status.h"

#include "components/status_bar.h"
#include "editor/document_editor.h"

namespace orvex::gui {

DocumentStatus::DocumentStatus(DocumentEditor& editor, StatusBar& panels, QObject* parent)
    : QObject(parent), m_editor(editor), m_panels(panels) {
  connect(&m_editor, &DocumentEditor::keyPressed, this, [this] {
    refreshLineCount();
    refreshModified();
  });
  connect(&m_editor, &DocumentEditor::modifiedChanged, this, &DocumentStatus::refreshModified);
  connect(&m_editor, &DocumentEditor::selectionMoved, this, &DocumentStatus::refreshCaret);
  connect(&m_editor, &DocumentEditor::formatChanged, this, &DocumentStatus::refreshFormat);
}

void DocumentStatus::refreshModified() {
  m_panels.setPanelText(2, m_editor.isModified() ? QStringLiteral("Modifié") : QStringLiteral("Non modifié"));
}

void DocumentStatus::refreshFormat() {
  const TextFormat& format = m_editor.format();
  QString text = format.encoding == Encoding::Windows1252 ? QStringLiteral("Windows-1252")
                 : format.bom                             ? QStringLiteral("UTF-8 BOM")
                                                          : QStringLiteral("UTF-8");
  switch (format.lineBreak) {
    case LineBreak::Lf: text += QStringLiteral("  LF"); break;
    case LineBreak::CrLf: text += QStringLiteral("  CR LF"); break;
    case LineBreak::Cr: text += QStringLiteral("  CR"); break;
  }
  m_panels.setPanelText(5, text);
}

void DocumentStatus::refreshLineCount() {
  m_panels.setPanelText(0, QStringLiteral("Nb lignes : %1").arg(m_editor.lineCount()));
}

void DocumentStatus::refreshCaret() {
  const int line = m_editor.selectionStartLine() + 1;
  const int column = m_editor.selectionStartColumn() + 1;
  m_panels.setPanelText(3, QString::asprintf("lg: %3d col: %3d", line, column));
  QString count = QStringLiteral("Nb lignes : %1").arg(m_editor.lineCount());
  if (const qint64 selected = m_editor.selectionLength(); selected > 0)
    count += QStringLiteral("  Select : %1").arg(selected);
  m_panels.setPanelText(0, count);
  m_panels.setToolTip(count);
}

void DocumentStatus::refreshAll() {
  refreshModified();
  refreshCaret();
  refreshFormat();
}

}  // namespace orvex::gui
