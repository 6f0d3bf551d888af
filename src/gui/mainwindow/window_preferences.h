#pragma once
// The window's look kept across runs in the preferences file: the line numbers,
// the word wrap, the editor's font and zoom, and the window's place, size and
// maximised state. Nothing stored: the window as it has always started.

#include <QObject>

class QAction;
class QMainWindow;

namespace orvex {
class Preferences;
}

namespace orvex::gui {

class DocumentEditor;
class UiServices;

class WindowPreferences : public QObject {
  Q_OBJECT

 public:
  WindowPreferences(Preferences& store, UiServices& ui, DocumentEditor& editor, QMainWindow& window);

  // Applies what is stored: the editor's view and its check marks, then the
  // window's place. `maximisedStart` (the configuration's own setting) maximises
  // the window whatever was stored.
  void apply(bool maximisedStart);
  // Whether a stored place and size were applied: the window then is not centred.
  bool placeRestored() const { return m_placeRestored; }
  // The window's place as it closes.
  void storePlace();

  // The commands of "&Affichage": each follows its item's check mark.
  void showLineNumbers(bool shown);
  void wrapWords(bool wrap);
  void chooseFont();

 private:
  void restorePlace(bool maximisedStart);
  void check(const char* itemName, bool checked);

  Preferences& m_store;
  UiServices& m_ui;
  DocumentEditor& m_editor;
  QMainWindow& m_window;
  bool m_placeRestored = false;
};

}  // namespace orvex::gui
