#include "components/command_icons.h"

#include <QStandardPaths>
#include <QStringList>

namespace orvex::gui {

QIcon commandIcon(const char* name) {
  [[maybe_unused]] static const bool themesSet = [] {
    // Without a desktop platform to say where the themes are and which one is in
    // use, the freedesktop places and the base theme.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& path : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                         QStandardPaths::LocateDirectory))
      if (!paths.contains(path)) paths << path;
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    return true;
  }();
  if (name[0] == ':') return QIcon(QString::fromLatin1(name));
  return QIcon::fromTheme(QString::fromLatin1(name));
}

}  // namespace orvex::gui
