#pragma once
// The user tools of menu.cfg as menus of the main window: built after the built-in
// menus (tools before any title go into "&Affichage"), removed before each rebuild,
// and a click that launches its tool with the document's name and the selection;
// what the tool writes is shown when it ends.

#include <filesystem>
#include <string>

#include "paths/program_paths.h"

class QMainWindow;

namespace orvex::gui {

class CommandContext;
class DocumentSession;

class UserToolMenus {
 public:
  // A tool's output waits in an unnamed file of `outputDirectory`.
  UserToolMenus(const CommandContext& context, const ProgramPaths& paths, const DocumentSession& session,
                QMainWindow& window, std::filesystem::path outputDirectory)
      : m_context(context),
        m_paths(paths),
        m_session(session),
        m_window(window),
        m_outputDirectory(std::move(outputDirectory)) {}

  void build();
  // The menus and items the last build added; the built-in menus are never touched,
  // so a tool menu titled "&Affichage" goes away like any other.
  void remove();

 private:
  void launch(const std::string& label);

  const CommandContext& m_context;
  const ProgramPaths& m_paths;
  const DocumentSession& m_session;
  QMainWindow& m_window;
  std::filesystem::path m_outputDirectory;
};

}  // namespace orvex::gui
