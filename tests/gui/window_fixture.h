#pragma once
// A main window in a temporary program directory, driven by a scripted UI.

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <sstream>

#include "components/zil_status_bar.h"
#include "editor/document_editor.h"
#include "mainwindow/tform1.h"
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
  explicit WindowFixture(QStringList arguments = {}) {
    window = std::make_unique<TForm1>(ui, ProgramPaths(dir.path().toStdString()), scratch, std::move(arguments));
  }

  QString path(const QString& name) const { return dir.filePath(name); }
  QString panel(int index) const { return window->statusBar2()->panelText(index); }
  QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  std::string text() const { return std::string(window->editor()->bytes()); }
  void setText(const std::string& bytes) { window->editor()->loadBytes(bytes, TextFormat{}); }

  QTemporaryDir dir;
  ScratchDirectory scratch;
  ScriptedUi ui;
  std::unique_ptr<TForm1> window;
};

}  // namespace orvex::gui::test
