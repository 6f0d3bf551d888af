#pragma once
// UiServices for tests: records what the window shows and answers from a script,
// so that no test ever waits on a modal window.

#include <QDialog>
#include <QMenu>
#include <QPoint>
#include <QStringList>
#include <deque>

#include "services/ui_services.h"

namespace orvex::gui::test {

class ScriptedUi : public UiServices {
 public:
  struct Message {
    QString caption;
    QString text;
    MessageIcon icon;
  };

  void showMessage(const QString& caption, const QString& text, MessageIcon icon) override {
    messages.push_back({caption, text, icon});
  }
  Answer ask(const QString& caption, const QString& text) override {
    questions << caption + QStringLiteral("|") + text;
    if (answers.empty()) return Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool confirm(const QString& caption, const QString& text) override {
    return ask(caption, text) == Answer::Yes;
  }
  std::optional<QString> chooseFileToOpen(const QString& startName) override {
    openDialogStarts << startName;
    return nextFile();
  }
  std::optional<QString> chooseFileToSave(const QString& startName) override {
    ++saveDialogs;
    saveDialogStarts << startName;
    return nextFile();
  }
  std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return nextFile(); }
  std::optional<QString> chooseProgram(const QString& directory) override {
    programDirectories << directory;
    return nextFile();
  }
  std::optional<QColor> chooseColour(const QColor& initial) override {
    colourStarts.push_back(initial);
    if (colours.empty()) return std::nullopt;
    const QColor colour = colours.front();
    colours.pop_front();
    return colour;
  }
  std::optional<QFont> chooseFont(const QFont& initial) override {
    fontStarts.push_back(initial);
    if (fonts.empty()) return std::nullopt;
    const QFont font = fonts.front();
    fonts.pop_front();
    return font;
  }
  bool setUpPrinter(QPrinter&) override { return true; }
  void runModal(QDialog& dialog) override {
    const DialogScope open(*this);
    ++modalDialogs;
    if (onModal) onModal(dialog);
  }
  // The item of the given index among the menu's actions, separators counted.
  QAction* popUp(QMenu& menu, const QPoint& at) override {
    popUpPoints.push_back(at);
    if (menuChoices.empty()) return nullptr;
    QAction* chosen = menu.actions().value(menuChoices.front());
    menuChoices.pop_front();
    return chosen;
  }
  bool startDetached(const std::vector<std::string>& command, const std::string& directory) override {
    recordStart(command, directory);
    return realLaunches ? QtUiServices().startDetached(command, directory) : true;
  }
  // Without real launches, a tool that started and has nothing to show.
  std::optional<ToolRun> startTool(const std::vector<std::string>& command, const std::string& directory,
                                   const std::filesystem::path& outputDirectory) override {
    recordStart(command, directory);
    outputDirectories.push_back(outputDirectory);
    if (!realLaunches) return ToolRun();
    return QtUiServices().startTool(command, directory, outputDirectory);
  }
  bool openWithDesktop(const QString& target) override {
    opened << target;
    return true;
  }

  std::vector<Message> messages;
  QStringList questions;
  std::deque<Answer> answers;  // for ask() and confirm(); none left: Cancel, or No
  QStringList files;  // the names the file dialogs give, in turn; none left: cancelled
  QStringList started;
  std::vector<QStringList> startedArguments;
  std::vector<std::vector<std::string>> startedCommands;  // as bytes
  QStringList startDirectories;
  std::vector<std::filesystem::path> outputDirectories;  // of the tools started
  bool realLaunches = false;  // also start the programs for real
  QStringList programDirectories;
  std::deque<QColor> colours;  // the colour dialog's answers; none left: cancelled
  std::vector<QColor> colourStarts;
  std::deque<QFont> fonts;  // the font dialog's answers; none left: cancelled
  std::vector<QFont> fontStarts;
  std::deque<int> menuChoices;  // pop-up menus' answers; none left: dismissed
  std::vector<QPoint> popUpPoints;
  QStringList opened;
  int saveDialogs = 0;
  QStringList saveDialogStarts;
  QStringList openDialogStarts;
  int modalDialogs = 0;
  std::function<void(QDialog&)> onModal;

 private:
  void recordStart(const std::vector<std::string>& command, const std::string& directory) {
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i) arguments << QString::fromStdString(command[i]);
    started << QString::fromStdString(command.front()) + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
    startedArguments.push_back(arguments);
    startedCommands.push_back(command);
    startDirectories << QString::fromStdString(directory);
  }
  std::optional<QString> nextFile() {
    if (files.isEmpty()) return std::nullopt;
    return files.takeFirst();
  }
};

}  // namespace orvex::gui::test
