#pragma once
// "Fichiers &récents": the last files opened or saved, newest first, shared by every
// window through the preferences file, which is read afresh each time the menu
// opens. Choosing one opens it as "&Ouvrir..." does; one that no longer exists is
// said and dropped from the list.

#include <QObject>
#include <filesystem>

class QMenu;

namespace orvex {
class Preferences;
}

namespace orvex::gui {

class CommandContext;
class DocumentSession;

class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  static constexpr std::size_t kMostFiles = 10;

  RecentFilesMenu(const CommandContext& context, Preferences& store, DocumentSession& session, QMenu& menu,
                  QObject* parent);

  // Puts the file first in the list, by its whole name.
  void add(const std::filesystem::path& file);
  // Reads the list afresh and rebuilds the menu's items.
  void refresh();

 private:
  void choose(const std::filesystem::path& file);

  const CommandContext& m_context;
  Preferences& m_store;
  DocumentSession& m_session;
  QMenu& m_menu;
};

}  // namespace orvex::gui
