#pragma once
// UiServices for tests: records what the window shows and answers from a script,
// so that no test ever waits on a modal window.

#include <QDialog>
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
  std::optional<QString> chooseFileToOpen(const QString&) override { return nextFile(); }
  std::optional<QString> chooseFileToSave(const QString& startName) override {
    ++saveDialogs;
    saveDialogStarts << startName;
    return nextFile();
  }
  std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return nextFile(); }
  std::optional<QColor> chooseColour(const QColor&) override { return std::nullopt; }
  bool setUpPrinter(QPrinter&) override { return true; }
  void runModal(QDialog& dialog) override {
    ++modalDialogs;
    if (onModal) onModal(dialog);
  }
  bool startDetached(const QString& program, const QStringList& arguments) override {
    started << program + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
    return true;
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
  QStringList opened;
  int saveDialogs = 0;
  QStringList saveDialogStarts;
  int modalDialogs = 0;
  std::function<void(QDialog&)> onModal;

 private:
  std::optional<QString> nextFile() {
    if (files.isEmpty()) return std::nullopt;
    return files.takeFirst();
  }
};

}  // namespace orvex::gui::test
