#pragma once
// The commands of the command table: each a one-line forward to the collaborator
// of the main window that owns its state, or a few lines over the window's own
// parts (the bars, printing, the file manager's entry, the help menu).

namespace orvex::gui {

class MainWindow;

class WindowCommands {
 public:
  explicit WindowCommands(MainWindow& window) : m_window(window) {}

  void newDocument();
  void newWindow();
  void openDocument();
  void saveDocument();
  void saveDocumentAs();
  void setUpPrinter();
  void printDocument();
  void quit();
  void undo();
  void redo();
  void copy();
  void cut();
  void paste();
  void selectAll();
  void showFindDialog();
  void findNext();
  void showReplaceDialog();
  void goToLine();
  void selectLine();
  void duplicateLine();
  void deleteLine();
  void insertLine();
  void insertDate();
  void insertTime();
  void insertFileName();
  void insertDirectory();
  void toUpperCase();
  void toLowerCase();
  void sortAscending();
  void sortDescending();
  void removeDuplicates();
  void fill();
  void concatenateFile();
  void removeAccents();
  void removeBlanks();
  void padLines();
  void reverseSelection();
  void encrypt();
  void decrypt();
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
  void declareInFileManager();
  void removeFromFileManager();
  void showConfiguration();
  void toggleEditBar();
  void toggleStatusBar();
  void toggleToolsBar();
  void toggleRuler();
  void toggleBlockBar();
  void toggleLineNumbers();
  void toggleWordWrap();
  void chooseEditorFont();
  void openWebPage();
  void showReleaseNotes();
  void showAbout();

 private:
  MainWindow& m_window;
};

}  // namespace orvex::gui
