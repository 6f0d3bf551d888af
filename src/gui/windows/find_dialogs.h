#pragma once
// The modeless find and replace dialogs, laid out like the standard ones, in
// French. They only gather the texts and options and say which button was
// pressed; the main window searches and replaces.

#include <QDialog>

#include "editing/text_search.h"

class QCheckBox;
class QLineEdit;

namespace orvex::gui {

// "Rechercher": the find text; match case and whole word stay off and disabled.
class FindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FindDialog(QWidget* parent = nullptr);
  QString findText() const;
  void setFindText(const QString& text);
  SearchOptions options() const;
  // Shows the dialog, or brings it back to the front, with the keyboard in the find
  // text, all of it selected so that typing replaces it.
  void present();

 signals:
  void findNext();

 protected:
  // Fields shared with the replace dialog, which lays out more of them.
  FindDialog(QWidget* parent, bool replacing);
  QLineEdit* m_find;
  QCheckBox* m_wholeWord;
  QCheckBox* m_matchCase;
};

// "Remplacer": find and replace texts, with match case and whole word available.
class ReplaceDialog : public FindDialog {
  Q_OBJECT

 public:
  explicit ReplaceDialog(QWidget* parent = nullptr);
  QString replaceText() const;

 signals:
  // `all`: "Remplacer tout" rather than "Remplacer".
  void replace(bool all);

 private:
  QLineEdit* m_replace;
};

}  // namespace orvex::gui
