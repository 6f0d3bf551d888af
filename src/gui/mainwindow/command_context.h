#pragma once
// What every group of the main window's commands works with: the services that
// show and ask, the editor, and the window whose name their reports carry.

#include <QString>
#include <string>

class QWidget;

namespace orvex::gui {

class DocumentEditor;
class UiServices;

class CommandContext {
 public:
  CommandContext(UiServices& ui, DocumentEditor& editor, const QWidget& window)
      : m_ui(ui), m_editor(editor), m_window(window) {}

  UiServices& ui() const { return m_ui; }
  DocumentEditor& editor() const { return m_editor; }
  QString windowTitle() const;
  // An error message box captioned with the window's title, in the report form.
  void reportError(const QString& message) const;
  void reportError(const std::string& message) const { reportError(QString::fromStdString(message)); }

 private:
  UiServices& m_ui;
  DocumentEditor& m_editor;
  const QWidget& m_window;
};

}  // namespace orvex::gui
