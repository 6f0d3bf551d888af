#pragma once
// A main window in a temporary program directory, driven by a scripted UI.

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <sstream>

#include "components/status_bar.h"
#include "editor/document_editor.h"
#include "mainwindow/main_window.h"
#include "paths/program_paths.h"
#include "scripted_ui.h"

namespace orvex::gui::test {

inline std::string readBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void writeBytes(const QString& path, const std::string& bytes) {
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

struct WindowFixture {
  explicit WindowFixture(const QStringList& arguments = {}) : WindowFixture(utf8(arguments)) {}
  // Arguments as bytes, as the system passes them.
  explicit WindowFixture(std::vector<std::string> arguments) {
    window = std::make_unique<MainWindow>(ui, ProgramPaths(dir.path().toStdString()), scratch, std::move(arguments));
  }
  static std::vector<std::string> utf8(const QStringList& texts) {
    std::vector<std::string> bytes;
    for (const QString& text : texts) bytes.push_back(text.toStdString());
    return bytes;
  }

  QString path(const QString& name) const { return dir.filePath(name); }
  QString panel(int index) const { return window->findChild<StatusBar*>()->panelText(index); }
  QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  std::string text() const { return std::string(window->editor()->bytes()); }
  void setText(const std::string& bytes) { window->editor()->loadBytes(bytes, TextFormat{}); }
  // Types a letter at the start and erases it: the same text, but modified, as the
  // history has moved away from the saved text.
  void touch() {
    DocumentEditor* editor = window->editor();
    const auto [start, end] = editor->selectionOffsets();
    editor->selectOffsets(0, 0);
    editor->replaceSelection("x");
    editor->selectOffsets(0, 1);
    editor->replaceSelection("");
    editor->selectOffsets(start, end);
  }
  QString documentPath() const { return QString::fromStdString(window->documentPath()); }

  QTemporaryDir dir;
  ScratchDirectory scratch;
  ScriptedUi ui;
  std::unique_ptr<MainWindow> window;
};

}  // namespace orvex::gui::test
