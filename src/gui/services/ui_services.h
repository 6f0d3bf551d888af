#pragma once
// Every modal question, message, file dialog and launch of the program goes
// through this interface, so that the windows can be driven by a script in tests.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/tool_output.h"

class QMenu;
class QAction;
class QPoint;
class QPrinter;
class QWidget;
class QDialog;

namespace orvex::gui {

enum class MessageIcon { Information, Warning, Stop, Error };
enum class Answer { Yes, No, Cancel };

class UiServices {
 public:
  virtual ~UiServices() = default;

  virtual void showMessage(const QString& caption, const QString& text, MessageIcon icon) = 0;
  // A question with the buttons Yes, No and Cancel and the information icon.
  virtual Answer ask(const QString& caption, const QString& text) = 0;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool confirm(const QString& caption, const QString& text) = 0;
  // The same with Yes as the default button, for a question whose safe answer is Yes.
  virtual bool confirmYesByDefault(const QString& caption, const QString& text) { return confirm(caption, text); }
  // Open and save dialogs with the filter "Tous les fichiers (*)", starting on
  // `startName`; empty when cancelled.
  virtual std::optional<QString> chooseFileToOpen(const QString& startName) = 0;
  virtual std::optional<QString> chooseFileToSave(const QString& startName) = 0;
  // An input box with a caption, a prompt and a preset value; empty when cancelled.
  virtual std::optional<QString> inputText(const QString& caption, const QString& prompt, const QString& value) = 0;
  // An open dialog listing the folders and the executable files, starting in
  // `directory`; the full path chosen, or empty when cancelled.
  virtual std::optional<QString> chooseProgram(const QString& directory) = 0;
  // The colour dialog, opening on `initial`; empty when cancelled.
  virtual std::optional<QColor> chooseColour(const QColor& initial) = 0;
  // The editor's font dialog, the monospaced families first, opening on
  // `initial`; empty when cancelled.
  virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
  // The printer set-up dialog; false when cancelled.
  virtual bool setUpPrinter(QPrinter& printer) = 0;
  // Shows a modal dialog and returns when it is closed.
  virtual void runModal(QDialog& dialog) = 0;
  // Pops `menu` up at the screen point `at`; the item chosen, or none.
  virtual QAction* popUp(QMenu& menu, const QPoint& at) = 0;
  // Starts a program (its path, then its arguments, as bytes) in `directory`
  // without waiting for it and without any shell; false when it could not start.
  virtual bool startDetached(const std::vector<std::string>& command, const std::string& directory) = 0;
  // Opens a document or a web address with the desktop's default application.
  virtual bool openWithDesktop(const QString& target) = 0;
  // Starts a user tool as startDetached does, its standard output and error kept
  // in an unnamed file of `outputDirectory` until it ends; nothing when it could
  // not start.
  virtual std::optional<ToolRun> startTool(const std::vector<std::string>& command, const std::string& directory,
                                           const std::filesystem::path& outputDirectory) = 0;

  // Whether one of the dialogs above is open: the window behind it is then waiting
  // for its answer.
  bool isShowingDialog() const { return m_openDialogs > 0; }

 protected:
  // Counts a dialog as open for as long as it lives.
  class DialogScope {
   public:
    explicit DialogScope(UiServices& ui) : m_ui(ui) { ++m_ui.m_openDialogs; }
    DialogScope(const DialogScope&) = delete;
    DialogScope& operator=(const DialogScope&) = delete;
    ~DialogScope() { --m_ui.m_openDialogs; }

   private:
    UiServices& m_ui;
  };

 private:
  int m_openDialogs = 0;
};

// The real dialogs of the toolkit.
class QtUiServices : public UiServices {
 public:
  explicit QtUiServices(QWidget* parent = nullptr) : m_parent(parent) {}
  void setParent(QWidget* parent) { m_parent = parent; }

  void showMessage(const QString& caption, const QString& text, MessageIcon icon) override;
  Answer ask(const QString& caption, const QString& text) override;
  bool confirm(const QString& caption, const QString& text) override;
  bool confirmYesByDefault(const QString& caption, const QString& text) override;
  std::optional<QString> chooseFileToOpen(const QString& startName) override;
  std::optional<QString> chooseFileToSave(const QString& startName) override;
  std::optional<QString> inputText(const QString& caption, const QString& prompt, const QString& value) override;
  std::optional<QString> chooseProgram(const QString& directory) override;
  std::optional<QColor> chooseColour(const QColor& initial) override;
  std::optional<QFont> chooseFont(const QFont& initial) override;
  bool setUpPrinter(QPrinter& printer) override;
  void runModal(QDialog& dialog) override;
  QAction* popUp(QMenu& menu, const QPoint& at) override;
  bool startDetached(const std::vector<std::string>& command, const std::string& directory) override;
  bool openWithDesktop(const QString& target) override;
  std::optional<ToolRun> startTool(const std::vector<std::string>& command, const std::string& directory,
                                   const std::filesystem::path& outputDirectory) override;

 private:
  QWidget* m_parent;
};

// Message texts that span two lines join them with LF CR; Qt shows them as two lines.
QString displayText(const QString& text);

}  // namespace orvex::gui
