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
class TForm2;
class TForm4;
class TXPMenu;
class ReplaceDialog;
class TZilStatusBar;
class UiServices;
class ProgressBarListener;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // `arguments` are the command-line arguments after the program's name, as bytes.
  TForm1(UiServices& ui, ProgramPaths paths, const ScratchDirectory& scratch, std::vector<std::string> arguments,
         QWidget* parent = nullptr);
  ~TForm1() override;

  // The show step: user-tool menus, then (the first time) the command line.
  void FormShow();
  // The activation step: tips window and config.dat. `showTips` shows the tips
  // window and returns its check box.
  void FormActivate(const std::function<bool()>& showTips);

  // Fields the other parts of the program share with the window.
  bool ForceCapitals = false;
  bool FirstShowPending = true;
  bool BlockFillMode = false;
  BlockAnchor Anchor;

  DocumentEditor* editor() const { return editeur; }
  // The text differs from the file as last opened or saved (a new document: from empty).
  bool isModified() const;
  FindDialog* findDialog() const { return FindDialog1; }
  TForm2* fillDialog() const { return Form2; }
  TForm4* configurationDialog() const { return Form4; }
  // The look of the menus and bars.
  TXPMenu* menuStyle() const { return XPMenu1; }
  ReplaceDialog* replaceDialog() const { return ReplaceDialog1; }
  void setAboutBox(QDialog* about) { m_about = about; }
  TZilStatusBar* statusBar2() const { return StatusBar2; }
  // The document's file, its name as the system has it (empty for a new document),
  // and naming it, which the caption follows.
  const std::filesystem::path& documentPath() const { return m_documentPath; }
  void setDocumentPath(std::filesystem::path path);
  // Opens `path` as the one-argument command line does.
  bool loadDocument(const std::filesystem::path& path);
  // Opens a file dropped from the file manager as "&Ouvrir..." does, save question first.
  void openDroppedFile(const std::filesystem::path& path);

  // File menu.
  void Nouveau2Click();
  void Nouveau1Click();
  void Ouvrir1Click();
  void Enregistrer2Click();
  void Enregistrer1Click();
  void Miseenpage1Click();
  void Imprimer1Click();
  void Quitter1Click();
  // Edit menu.
  void Annuler1Click();
  void Rtablir1Click();
  void Copier1Click();
  void Couper1Click();
  void Coller1Click();
  void Toutselectionner1Click();
  void Remplir1Click();
  // Block commands.
  void Dbutbloc1Click();
  void Finbloc1Click();
  void ToolButton36Click();
  void ToolButton37Click();
  void ToolButton38Click();
  void ToolButton39Click();
  void ToolButton40Click();
  void ToolButton41Click();
  void ToolButton27Click();
  void ToolButton35Click();
  void Rechercher1Click();
  void Suivant1Click();
  void Remplacer1Click();
  void FindDialog1Find();
  void ReplaceDialog1Find();
  // `all`: "Remplacer tout".
  void ReplaceDialog1Replace(bool all);
  void Allerlaligne1Click();
  void Slectionnerlaligne1Click();
  void Dupliquerlaligne1Click();
  void Supprimerleligne1Click();
  void Insreruneligne1Click();
  void Date1Click();
  void Heure1Click();
  void Nomdufichier1Click();
  void Rpertoiredufichier1Click();
  // Tools menu.
  void Metteenmajuscules1Click();
  void Metteenminuscules1Click();
  void Ascendant1Click();
  void Descendant1Click();
  void Suppressiondesdoublons1Click();
  void Concatneravecunautrefichier1Click();
  void Enleverlesaccents1Click();
  void Enleverlesblancs1Click();
  void Taillertouteslesligneslataillemaxi1Click();
  void Inverserlaselection1Click();
  void Crypter2Click();
  void Dcrypter1Click();
  // View menu.
  void Barreddition1Click();
  void Barredestatut1Click();
  void Barredoutils1Click();
  void Echelle1Click();
  void OutilsBloc1Click();
  // Options menu: the file manager's "Ouvrir avec Orvex", and the configuration.
  void Dclarerdanslabasederegistre1Click();
  void Enleverdelabasederegistre1Click();
  void Configuration1Click();
  // Help menu.
  void Nouveauts1Click();
  void VelmorasurInternet1Click();
  void Apropos1Click();

  // The status updates every command calls.
  void editeurChange();
  void editeurSelectionChange();
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
  void editeurKeyDown();
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
  // The fill dialog's parameters once accepted; the fill tool converts the text.
  struct FillRun {
    FillParameters parameters;
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

  QToolBar* ToolBar1 = nullptr;
  QWidget* Panel1 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QLabel* Panel9 = nullptr;
  DocumentEditor* editeur = nullptr;
  QWidget* Panel2 = nullptr;
  QToolBar* ToolBar3 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  TZilStatusBar* StatusBar2 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  FindDialog* FindDialog1 = nullptr;
  TForm2* Form2 = nullptr;
  TForm4* Form4 = nullptr;
  ReplaceDialog* ReplaceDialog1 = nullptr;
  std::unique_ptr<ProgressBarListener> m_progress;
  QDialog* m_about = nullptr;
  TXPMenu* XPMenu1 = nullptr;
};

}  // namespace orvex::gui
