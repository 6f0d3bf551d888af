#pragma once
// The main window: menus, tool bars, ruler, editor and status bar, the document's
// life from new to print, and the text-tool commands. Each command is a handler
// named after its menu item; menus, bars and the pop-up menu come from one table.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editing/block_operations.h"
#include "editing/text_search.h"
#include "io/atomic_file.h"
#include "paths/program_paths.h"
#include "settings/settings_record.h"
#include "tools/document_tool.h"
#include "tools/fill_tool.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;

namespace orvex::gui {

class DocumentEditor;
class FindDialog;
class FillDialog;
class ConfigurationDialog;
class StyledMenuStyle;
class ReplaceDialog;
class StatusBar;
class UiServices;
class ProgressBarListener;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `arguments` are the command-line arguments after the program's name, as bytes.
  MainWindow(UiServices& ui, ProgramPaths paths, const ScratchDirectory& scratch, std::vector<std::string> arguments,
         QWidget* parent = nullptr);
  ~MainWindow() override;

  // The show step: user-tool menus, then (the first time) the command line.
  void startUp();
  // The activation step: tips window and config.dat. `showTips` shows the tips
  // window and returns its check box.
  void activate(const std::function<bool()>& showTips);

  // The column block marked with "Début bloc" and "Fin bloc".
  const BlockAnchor& blockAnchor() const { return m_blockAnchor; }
  DocumentEditor* editor() const { return m_editor; }
  // The text differs from the file as last opened or saved (a new document: from empty).
  bool isModified() const;
  FindDialog* findDialog() const { return m_findDialog; }
  FillDialog* fillDialog() const { return m_fillDialog; }
  ConfigurationDialog* configurationDialog() const { return m_configurationDialog; }
  // The look of the menus and bars.
  StyledMenuStyle* menuStyle() const { return m_menuStyle; }
  ReplaceDialog* replaceDialog() const { return m_replaceDialog; }
  void setAboutBox(QDialog* about) { m_about = about; }
  StatusBar* statusPanels() const { return m_statusBar; }
  // The document's file, its name as the system has it (empty for a new document),
  // and naming it, which the caption follows.
  const std::filesystem::path& documentPath() const { return m_documentPath; }
  void setDocumentPath(std::filesystem::path path);
  // Opens `path` as the one-argument command line does.
  bool loadDocument(const std::filesystem::path& path);
  // Opens a file dropped from the file manager as "&Ouvrir..." does, save question first.
  void openDroppedFile(const std::filesystem::path& path);

  // File menu.
  void newDocument();
  void newWindow();
  void openDocument();
  void saveDocument();
  void saveDocumentAs();
  void setUpPrinter();
  void printDocument();
  void quit();
  // Edit menu.
  void undo();
  void redo();
  void copy();
  void cut();
  void paste();
  void selectAll();
  void fill();
  // Block commands.
  void markBlockStart();
  void markBlockEnd();
  void copyBlockToClipboard();
  void cutBlock();
  void pasteBlock();
  void deleteBlock();
  void insertFileAsColumn();
  void fillBlock();
  void indentBlockLeft();
  void indentBlockRight();
  void showFindDialog();
  void findNext();
  void showReplaceDialog();
  void findFromDialog();
  void findFromReplaceDialog();
  // `all`: "Remplacer tout".
  void replaceFromDialog(bool all);
  void goToLine();
  void selectLine();
  void duplicateLine();
  void deleteLine();
  void insertLine();
  void insertDate();
  void insertTime();
  void insertFileName();
  void insertDirectory();
  // Tools menu.
  void toUpperCase();
  void toLowerCase();
  void sortAscending();
  void sortDescending();
  void removeDuplicates();
  void concatenateFile();
  void removeAccents();
  void removeBlanks();
  void padLines();
  void reverseSelection();
  void encrypt();
  void decrypt();
  // View menu.
  void toggleEditBar();
  void toggleStatusBar();
  void toggleToolsBar();
  void toggleRuler();
  void toggleBlockBar();
  // Options menu: the file manager's "Ouvrir avec Orvex", and the configuration.
  void declareInFileManager();
  void removeFromFileManager();
  void showConfiguration();
  // Help menu.
  void showReleaseNotes();
  void openWebPage();
  void showAbout();

  // The status updates every command calls.
  void refreshModifiedPanel();
  void refreshCaretPanel();
  void refreshLineCount();
  // The format panel: the document's encoding and line break.
  void refreshFormatPanel();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The bars have no menu of their own: only the view menu shows and hides them,
  // so that its check marks always tell the truth.
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void buildLayout();
  void buildCommands();
  void applySettings(const SettingsRecord& record);
  // What the configuration dialog applies at once: all but the start-up options.
  void applyLook(const SettingsRecord& record);
  void setCaption(const QString& caption);
  void reportError(const QString& message);
  void onEditorKey();
  void stepHistory(bool (DocumentEditor::*step)());
  // Inserts at the caret and marks the document, as the insertion commands do.
  void insertText(const std::string& text, long advance);
  void createSearchDialogs();
  // Selects the next match after the selection; says so when there is none.
  bool searchForward(const QString& find, const SearchOptions& options);
  bool save();
  bool saveAs();
  bool readDocument(const std::filesystem::path& path);
  // Replaces the document by the file, then caption, line count and state.
  void openFile(const std::filesystem::path& path);
  // The open dialog of "&Ouvrir...", concatenation and file insertion: it starts on
  // the file last chosen in it, or in the document's directory before any choice.
  std::optional<std::filesystem::path> chooseFileToOpen();
  // The name a file dialog returned, as the bytes the system has; nothing (and
  // said so) when two files of its directory show alike.
  std::optional<std::filesystem::path> fileFromDialog(const QString& chosen);
  // The same file as the document's at its last open or save (hard links included).
  bool isDocumentFile(const std::filesystem::path& path) const;
  // Asks before replacing a document file that another program changed since.
  bool mayOverwriteDocumentFile();
  void refreshDesktopDatabase(const std::filesystem::path& directory);
  // The release notes shipped with the program; empty when there are none.
  std::filesystem::path releaseNotesFile() const;
  // The state of a new document: no file, not modified, caption "Orvex".
  void showNewDocument();
  // The save dialog, asking before an existing file is replaced; empty when cancelled.
  std::optional<std::filesystem::path> chooseSaveName();
  bool writeDocument(const std::filesystem::path& path);
  // Asks the save question; false when the user cancelled (or the save failed).
  bool settleUnsavedChanges();
  // The fill dialog's parameters once accepted, in the document's encoding.
  struct FillRun {
    FillParameters parameters;
    bool toUtf8;
  };
  std::optional<FillRun> askFill();
  // Runs a text tool over the document; false when it failed (and said so).
  bool runTool(DocumentTool& tool);
  void showBlockBar();
  // Says so when no block is marked.
  bool requireBlock();
  void insertColumn(const std::filesystem::path& source, LinkPolicy links = LinkPolicy::Follow);
  void indentBlock(IndentDirection direction);
  void buildUserToolMenus();
  void removeUserToolMenus();
  void launchUserTool(const std::string& label);
  void setBarVisible(QWidget* bar, QAction* item, bool visible);
  // A switch of the view menu: its check mark, already inverted, shows or hides the bar.
  void toggleBar(const char* itemName, QWidget* bar);

  UiServices& m_ui;
  ProgramPaths m_paths;
  const ScratchDirectory& m_scratch;
  std::vector<std::string> m_arguments;
  std::filesystem::path m_documentPath;
  std::filesystem::path m_openDialogName;
  std::filesystem::path m_saveDialogName;
  // The document's file as it was when last opened or saved.
  std::optional<FileIdentity> m_fileIdentity;
  bool m_firstShowPending = true;
  BlockAnchor m_blockAnchor;

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
  QProgressBar* m_progressBar = nullptr;
  QMenu* m_popupMenu = nullptr;
  FindDialog* m_findDialog = nullptr;
  FillDialog* m_fillDialog = nullptr;
  ConfigurationDialog* m_configurationDialog = nullptr;
  ReplaceDialog* m_replaceDialog = nullptr;
  std::unique_ptr<ProgressBarListener> m_progress;
  QDialog* m_about = nullptr;
  StyledMenuStyle* m_menuStyle = nullptr;
};

}  // namespace orvex::gui
