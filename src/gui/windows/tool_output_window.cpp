#include "windows/tool_output_window.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvex::gui {

ToolOutputWindow::ToolOutputWindow(const QString& label, const QString& text, QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("ToolOutputWindow"));
  setWindowTitle(captionFor(label));
  setAttribute(Qt::WA_DeleteOnClose);
  // It comes up while the user may be typing: it does not take the keyboard.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setModal(false);
  m_text->setObjectName(QStringLiteral("ToolOutputText"));
  m_text->setReadOnly(true);
  m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_text->setPlainText(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Fermer"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text, 1);
  layout->addWidget(buttons);
  resize(520, 300);
}

QString ToolOutputWindow::text() const { return m_text->toPlainText(); }

QString ToolOutputWindow::captionFor(const QString& label) {
  QString shown;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label.at(i) == QLatin1Char('&')) {
      if (i + 1 == label.size() || label.at(i + 1) != QLatin1Char('&')) continue;
      ++i;
    }
    shown += label.at(i);
  }
  return QStringLiteral("Sortie de l'outil %1").arg(shown);
}

}  // namespace orvex::gui
