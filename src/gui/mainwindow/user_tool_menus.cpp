#include "mainwindow/user_tool_menus.h"

#include <QMainWindow>
#include <QMenuBar>

#include "config/menu_config.h"
#include "config/tool_command.h"
#include "editor/document_editor.h"
#include "io/file_handle.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "mainwindow/tool_output_watch.h"
#include "services/ui_services.h"
#include "text/messages.h"

namespace orvex::gui {

namespace {
constexpr int kUserMenuPosition = 4;  // after "O&ptions", before "&Affichage"
const QString kUserToolMenu = QStringLiteral("UserToolMenu");
const QString kUserToolItem = QStringLiteral("UserToolItem");
const QString kSelectionTooLong = QStringLiteral(
    "Le texte sélectionné est trop long pour être passé en paramètre à l'outil.\n\r"
    "Sélectionnez un texte plus court.");
}  // namespace

void UserToolMenus::remove() {
  qDeleteAll(m_window.findChildren<QAction*>(kUserToolItem));
  qDeleteAll(m_window.findChildren<QMenu*>(kUserToolMenu));
}

void UserToolMenus::build() {
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) return;
  const Result<MenuFile> menuFile = readMenuFile(file);
  if (!menuFile.ok()) return m_context.reportError(menuFile.error());
  for (const ToolMenu& group : buildToolMenus(menuFile.value().lines)) {
    QMenu* menu = nullptr;
    if (group.title) {
      menu = new QMenu(QString::fromStdString(*group.title), &m_window);
      menu->setObjectName(kUserToolMenu);
      m_window.menuBar()->insertMenu(m_window.menuBar()->actions().value(kUserMenuPosition), menu);
    } else {
      menu = m_window.menuBar()->actions().value(kUserMenuPosition)->menu();
    }
    for (const std::string& label : group.labels) {
      QAction* item = menu->addAction(QString::fromStdString(label));
      item->setObjectName(kUserToolItem);
      item->setParent(&m_window);
      QObject::connect(item, &QAction::triggered, &m_window, [this, label] { launch(label); });
    }
  }
}

void UserToolMenus::launch(const std::string& label) {
  const auto file = m_paths.menuFile();
  const auto reconfigure = [this] {
    m_context.ui().showMessage(QStringLiteral("Problème de configuration"),
                               QStringLiteral("Veuillez reconfigurer l'outil."), MessageIcon::Stop);
  };
  if (!isExistingFile(file)) return reconfigure();
  const Result<MenuFile> menuFile = readMenuFile(file);
  if (!menuFile.ok()) return m_context.reportError(menuFile.error());
  const std::optional<ToolLaunch> launch = findTool(menuFile.value().lines, label);
  // A file edited since the menus were built may no longer name the tool.
  if (!launch) return;
  if (!launch->program) return reconfigure();
  const QString program = QString::fromStdString(*launch->program).trimmed();
  if (program.isEmpty()) return;
  const ToolTarget target = resolveToolProgram(program.toStdString());
  if (target.kind == ToolTarget::Kind::Missing) return reconfigure();
  if (target.kind == ToolTarget::Kind::Open) {
    if (!m_context.ui().openWithDesktop(QString::fromStdString(target.path))) reconfigure();
    return;
  }
  // The selection goes as UTF-8 text, whatever the document's encoding; the file
  // name is made whole, since the tool starts in another directory.
  std::error_code error;
  const std::string document =
      m_session.path().empty() ? std::string() : std::filesystem::absolute(m_session.path(), error).native();
  const std::vector<std::string> arguments =
      toolArguments(launch->parameters, document, m_context.editor().selectedText());
  std::vector<std::string> command{target.path};
  command.insert(command.end(), arguments.begin(), arguments.end());
  if (!fitsArgumentLimits(command)) {
    m_context.ui().showMessage(QStringLiteral("Avertissement"), kSelectionTooLong, MessageIcon::Warning);
    return;
  }
  std::optional<ToolRun> run = m_context.ui().startTool(command, "/", m_outputDirectory);
  if (!run) return reconfigure();
  if (run->isWatched()) new ToolOutputWatch(std::move(*run), QString::fromStdString(label), m_window);
}

}  // namespace orvex::gui
