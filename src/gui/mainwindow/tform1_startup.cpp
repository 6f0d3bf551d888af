// The main window's show and activation steps: user-tool menus, the command line,
// the tips window and config.dat.

#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>

#include "components/zil_status_bar.h"
#include "config/menu_config.h"
#include "editor/document_editor.h"
#include "io/file_handle.h"
#include "mainwindow/tform1.h"
#include "services/ui_services.h"
#include "settings/activation.h"
#include "text/messages.h"

namespace orvex::gui {

namespace {
constexpr int kUserMenuPosition = 4;  // after "O&ptions", before "&Affichage"
}

void TForm1::FormShow() {
  buildUserToolMenus();
  if (FirstShowPending && m_arguments.size() == 1) {
    const QString& argument = m_arguments.front();
    if (loadDocument(argument)) {
      CurrentFileName = argument;
      setCaption(QStringLiteral("Orvex - ") + CurrentFileName);
      refreshLineCount();
      editeurSelectionChange();
      ModifiedFlag = false;
      editeurChange();
    }
  }
  FirstShowPending = false;
}

void TForm1::FormActivate(const std::function<bool()>& showTips) {
  const Status status = runActivationSettings(m_paths.configFile(), {showTips, nullptr});
  if (!status.ok()) reportError(QString::fromStdString(status.error));
}

void TForm1::buildUserToolMenus() {
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) return;
  std::vector<std::string> lines;
  try {
    lines = readMenuLines(file);
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return;
  }
  for (const ToolMenu& group : buildToolMenus(lines)) {
    QMenu* menu = nullptr;
    if (group.title) {
      menu = new QMenu(QString::fromStdString(*group.title), menuBar());
      menu->setObjectName(QStringLiteral("UserToolMenu"));
      menuBar()->insertMenu(menuBar()->actions().value(kUserMenuPosition), menu);
    } else {
      menu = menuBar()->actions().value(kUserMenuPosition)->menu();
    }
    for (const std::string& label : group.labels) {
      QAction* item = menu->addAction(QString::fromStdString(label));
      connect(item, &QAction::triggered, this, [this, item] { launchUserTool(item->text()); });
    }
  }
}

void TForm1::launchUserTool(const QString& caption) {
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) {
    m_ui.showMessage(QStringLiteral("Problème de configuration"), QStringLiteral("Veuillez reconfigurer l'outil."),
                     MessageIcon::Stop);
    return;
  }
  ToolLaunch launch;
  try {
    launch = findTool(readMenuLines(file), caption.toStdString());
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return;
  }
  const QString program = QString::fromStdString(launch.program).trimmed();
  if (program.isEmpty()) return;
  const QString parameters = QString::fromStdString(
      substituteToolVariables(launch.parameters, CurrentFileName.toStdString(), editor()->selectedText()));
  // An executable starts with its parameters; anything else opens in its application.
  if (QFileInfo(program).isExecutable() && QFileInfo(program).isFile())
    m_ui.startDetached(program, QProcess::splitCommand(parameters));
  else
    m_ui.openWithDesktop(program);
}

}  // namespace orvex::gui
