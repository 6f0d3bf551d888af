#pragma once
// Find and replace: the two modeless dialogs, F3, and "Remplacer tout" as one engine
// pass and one undo step.

#include <QObject>
#include <QString>

#include "editing/text_search.h"

class QWidget;

namespace orvex::gui {

class CommandContext;
class FindDialog;
class ReplaceDialog;
class ToolCommands;

class SearchCommands : public QObject {
  Q_OBJECT

 public:
  // The dialogs are children of `window`, which a match activates. Each is made the
  // first time it is wanted, then kept with its texts.
  SearchCommands(const CommandContext& context, ToolCommands& tools, QWidget& window);

  FindDialog* findDialog();
  ReplaceDialog* replaceDialog();

  void showFindDialog();
  void showReplaceDialog();
  // F3: the find dialog's text and options again.
  void findNext();

 private:
  void findFromDialog();
  void findFromReplaceDialog();
  // `all`: "Remplacer tout".
  void replaceFromDialog(bool all);
  // Selects the next match after the selection; says so when there is none.
  bool searchForward(const QString& find, const SearchOptions& options);

  const CommandContext& m_context;
  ToolCommands& m_tools;
  QWidget& m_window;
  FindDialog* m_findDialog = nullptr;
  ReplaceDialog* m_replaceDialog = nullptr;
};

}  // namespace orvex::gui
