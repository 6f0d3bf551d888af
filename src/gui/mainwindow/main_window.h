#pragma once
// The main window: menus, tool bars, ruler, editor and status bar, and the settings
// applied to them. Its state is owned by collaborators (the document session, the
// text tools, the block commands, the search, the line commands and the user-tool
// menus), which the commands of the command table reach through WindowCommands.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editing/block_operations.h"
#include "paths/program_paths.h"
#include "settings/settings_record.h"

class QLabel;
class QProgressBar;
class QToolBar;

namespace orvex {
class Preferences;
struct JournalRecord;
}  // namespace orvex

namespace orvex::gui {

class BlockCommands;
class CommandContext;
class ConfigurationDialog;
class DiskChangeCheck;
class DocumentEditor;
class DocumentSession;
class DocumentStatus;
class FillDialog;
class FindDialog;
class LineCommands;
class ProgressBarListener;
class ReplaceDialog;
class SearchCommands;
class StatusBar;
class StyledMenuStyle;
class ToolCommands;
class UiServices;
class UserToolMenus;
class WindowCommands;
class WindowPreferences;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `arguments` are the command-line arguments after the program's name, as bytes.
  MainWindow(UiServices& ui, ProgramPaths paths, const ScratchDirectory& scratch, std::vector<std::string> arguments,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The show step: user-tool menus, then (the first time) the command line.
  void startUp();
  // The activation step: tips window (`showTips` shows it, returns its check box), config.dat.
  void activate(const std::function<bool()>& showTips);

  DocumentEditor* editor() const { return m_editor; }
  // The text differs from the file as last opened or saved (a new document: from empty).
  bool isModified() const;
  // The document's file as the system names it (empty for a new document); the caption follows it.
  const std::filesystem::path& documentPath() const;
  void setDocumentPath(std::filesystem::path path);
  // Opens `path` as the one-argument command line does.
  bool loadDocument(const std::filesystem::path& path);
  const BlockAnchor& blockAnchor() const;
  // A recovery journal's text (`fd` at its start) as the document; the error if unreadable.
  std::string recoverDocument(int fd, std::uint64_t length, const JournalRecord& record);
  FindDialog* findDialog() const;
  ReplaceDialog* replaceDialog() const;
  FillDialog* fillDialog();
  // Made the first time it is wanted, then kept: most sessions never open it.
  ConfigurationDialog* configurationDialog();
  StyledMenuStyle* menuStyle() const { return m_menuStyle; }
  // A place and size kept from an earlier run were applied: the window is not centred.
  bool placeRestored() const;
  // How the about box is made, the first time it is shown.
  void setAboutBox(std::function<QDialog*()> make) { m_makeAbout = std::move(make); }
  QDialog* aboutBox();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The bars have no menu of their own: only the view menu shows and hides them,
  // so that its check marks always tell the truth.
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  // The commands reach the collaborators and the window's own parts.
  friend class WindowCommands;

  void showConfiguration();
  void buildLayout();
  QWidget* buildBlockPanel(QWidget* parent);
  void buildStatusBar();
  void buildPopupMenu();
  void buildCommands();
  void createCollaborators();
  void applySettings(const SettingsRecord& record);
  // What the configuration dialog applies at once: all but the start-up options.
  void applyLook(const SettingsRecord& record);
  void stepHistory(bool (DocumentEditor::*step)());
  // A switch of the view menu: its check mark, already inverted, shows or hides the bar.
  void toggleBar(const char* itemName, QWidget* bar);
  // The ruler takes the editor's font at its zoom and starts where the text's first
  // column does, after the line numbers.
  void refreshRuler();

  UiServices& m_ui;
  ProgramPaths m_paths;
  const ScratchDirectory& m_scratch;
  std::vector<std::string> m_arguments;
  bool m_firstShowPending = true;

  QToolBar* m_editBar = nullptr;
  QWidget* m_toolsPanel = nullptr;
  QToolBar* m_toolsBar = nullptr;
  QLabel* m_ruler = nullptr;
  DocumentEditor* m_editor = nullptr;
  QWidget* m_blockPanel = nullptr;
  QToolBar* m_blockBar = nullptr;
  QLabel* m_blockStartLabel = nullptr;
  QLabel* m_blockEndLabel = nullptr;
  StatusBar* m_statusBar = nullptr;
  DocumentStatus* m_status = nullptr;
  QProgressBar* m_progressBar = nullptr;
  QMenu* m_popupMenu = nullptr;
  FillDialog* m_fillDialog = nullptr;
  ConfigurationDialog* m_configurationDialog = nullptr;
  std::function<QDialog*()> m_makeAbout;
  QDialog* m_about = nullptr;
  StyledMenuStyle* m_menuStyle = nullptr;

  std::unique_ptr<ProgressBarListener> m_progress;
  std::unique_ptr<CommandContext> m_context;
  DocumentSession* m_session = nullptr;
  ToolCommands* m_tools = nullptr;
  BlockCommands* m_blocks = nullptr;
  SearchCommands* m_search = nullptr;
  std::unique_ptr<LineCommands> m_lines;
  std::unique_ptr<UserToolMenus> m_userTools;
  std::unique_ptr<WindowCommands> m_commands;
  std::unique_ptr<Preferences> m_preferences;
  WindowPreferences* m_windowPreferences = nullptr;
  // Goes before the context it uses: the window is still deactivated on its way out.
  std::unique_ptr<DiskChangeCheck> m_diskChanges;
};

}  // namespace orvex::gui
