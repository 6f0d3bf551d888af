#include "mainwindow/recent_files_menu.h"

#include <QMenu>

#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "paths/file_names.h"
#include "services/ui_services.h"
#include "settings/preferences.h"

namespace orvex::gui {

namespace {

const std::string kSection = "FichiersRecents";
const QString kGone = QStringLiteral("Le fichier %1 n'existe plus. Il est retiré de la liste des fichiers récents.");

QString shown(const std::filesystem::path& file) { return QString::fromStdString(shownName(file.native())); }

// "&1 name" to "&9 name", then "1&0 name"; a "&" of the name is no accelerator.
QString itemText(std::size_t index, const std::filesystem::path& file) {
  const QString number = index < 9 ? QStringLiteral("&%1").arg(index + 1) : QStringLiteral("1&0");
  return number + QLatin1Char(' ') + shown(file).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(const CommandContext& context, Preferences& store, DocumentSession& session,
                                 QMenu& menu, QObject* parent)
    : QObject(parent), m_context(context), m_store(store), m_session(session), m_menu(menu) {
  connect(&m_menu, &QMenu::aboutToShow, this, &RecentFilesMenu::refresh);
  connect(&m_session, &DocumentSession::fileUsed, this, &RecentFilesMenu::add);
  refresh();
}

void RecentFilesMenu::add(const std::filesystem::path& file) {
  // By its whole name: the list is shared with windows started elsewhere.
  std::error_code error;
  const std::filesystem::path whole = std::filesystem::absolute(file, error);
  if (error) return;
  m_store.reload();
  m_store.storePaths(kSection, withRecentFile(m_store.paths(kSection), whole, kMostFiles));
}

void RecentFilesMenu::refresh() {
  m_store.reload();
  std::vector<std::filesystem::path> files = m_store.paths(kSection);
  if (files.size() > kMostFiles) files.resize(kMostFiles);
  m_menu.clear();
  if (files.empty()) {
    QAction* none = m_menu.addAction(QStringLiteral("(aucun)"));
    none->setEnabled(false);
    return;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* item = m_menu.addAction(itemText(i, files[i]));
    item->setObjectName(QStringLiteral("FichierRecent"));
    connect(item, &QAction::triggered, this, [this, file = files[i]] { choose(file); });
  }
}

void RecentFilesMenu::choose(const std::filesystem::path& file) {
  // A file that cannot be looked at (a directory on the way not readable) is not
  // gone: the open says what is wrong.
  std::error_code error;
  if (!std::filesystem::exists(file, error) && !error) {
    m_context.ui().showMessage(m_context.windowTitle(), kGone.arg(shown(file)), MessageIcon::Warning);
    m_store.reload();
    std::vector<std::filesystem::path> files = m_store.paths(kSection);
    std::erase(files, file);
    m_store.storePaths(kSection, files);
    return;
  }
  if (!m_session.settleUnsavedChanges()) return;
  m_session.open(file);
}

}  // namespace orvex::gui
