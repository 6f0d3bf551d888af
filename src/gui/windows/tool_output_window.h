#pragma once
// What a user tool wrote on its standard output and error, shown once it has
// ended: a small window of its own, read-only but selectable, that the editor
// does not wait on.

#include <QDialog>

class QPlainTextEdit;

namespace orvex::gui {

class ToolOutputWindow : public QDialog {
  Q_OBJECT

 public:
  // `label` is the tool's menu label, its "&" marks included.
  ToolOutputWindow(const QString& label, const QString& text, QWidget* parent);

  QString text() const;
  // The window's caption for a tool's menu label: "Sortie de l'outil " and the
  // label as the menu shows it ("&&" is one "&", a lone "&" is no character).
  static QString captionFor(const QString& label);

 private:
  QPlainTextEdit* m_text;
};

}  // namespace orvex::gui
