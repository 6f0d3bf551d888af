#pragma once
// The configuration dialog "Configuration": the settings of config.dat on the
// "Général" tab, the user tools of menu.cfg on "Outils de l'utilisateur", and the
// batch mode help on "Mode Batch". It is created once and keeps its controls'
// states from one showing to the next.

#include <QColor>
#include <QDialog>
#include <map>

#include "paths/program_paths.h"
#include "settings/settings_record.h"
#include "text/text_format.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

namespace orvex::gui {

class ColourSwatch;
class UiServices;

class ConfigurationDialog : public QDialog {
  Q_OBJECT

 public:
  ConfigurationDialog(UiServices& ui, ProgramPaths paths, QWidget* parent = nullptr);

  // Set by "&Ok", cleared by "&Annuler" (and Escape, and the close button); "Défaut"
  // and "&Ok" on the batch help leave it as it was. The main window reads it once
  // the dialog has closed.
  bool confirmed() const { return m_confirmed; }
  // The tab shown when the dialog opens: 0 "Général", 1 "Outils de l'utilisateur",
  // 2 "Mode Batch" (the batch help, where "&Ok" only closes).
  void setStartPage(int page) { m_startPage = page; }

  // The showing routine: the tool list from menu.cfg, the "Général" controls from
  // config.dat, the start page.
  void prepareToShow();
  // The "Général" controls as a settings record, and back.
  SettingsRecord controlsRecord() const;
  void setControls(const SettingsRecord& record);

  void confirm();
  void cancel();
  void restoreDefaults();
  void chooseSwatchColour(ColourSwatch* swatch);

  // The "Outils de l'utilisateur" tab.
  void showSelectedTool();
  void addTool();
  void removeTool();
  void updateTool();
  void removeAllTools();
  void browseProgram();
  void insertVariable();

 public slots:
  void reject() override;

 private:
  QWidget* buildGeneralPage();
  QGroupBox* buildColourBox(QWidget* page);
  QWidget* buildNotice(QWidget* page);
  QWidget* buildToolsPage();
  void loadToolList();
  // The selected entry of the tool list, or none: the current item alone is not a
  // choice the user made.
  QListWidgetItem* selectedTool() const;
  // Writes menu.cfg from the list; false when a failure was reported.
  bool saveToolList();
  void reportError(const std::string& message);
  // Deletes `file` when it exists; false when there was none or the deletion
  // failed (and was reported).
  bool removeExistingFile(const std::filesystem::path& file);

  UiServices& m_ui;
  ProgramPaths m_paths;
  bool m_confirmed = false;
  int m_startPage = 0;
  // The encoding menu.cfg was read in, kept when it is written back.
  Encoding m_menuEncoding = Encoding::Utf8;
  // The colour dialog opens on the colour last chosen in it.
  QColor m_lastColour = Qt::black;

  QTabWidget* m_pages = nullptr;
  std::map<std::string, QCheckBox*> m_flags;  // by settings field name
  ColourSwatch* m_editorSwatch = nullptr;
  ColourSwatch* m_fontSwatch = nullptr;
  ColourSwatch* m_rulerSwatch = nullptr;
  QListWidget* m_toolList = nullptr;
  QLineEdit* m_label = nullptr;
  QLineEdit* m_program = nullptr;
  QLineEdit* m_parameters = nullptr;
  QLineEdit* m_menuTitle = nullptr;
};

// The "Mode Batch" page: the batch mode help in colour.
QWidget* createBatchHelpPage(QWidget* parent);

}  // namespace orvex::gui
