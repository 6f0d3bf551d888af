// The main window's show and activation steps: user-tool menus, the command line,
// the tips window and config.dat.

#include <QMenuBar>

#include "components/txp_menu.h"
#include "components/zil_status_bar.h"
#include "config/menu_config.h"
#include "config/tform4.h"
#include "config/tool_command.h"
#include "editor/document_editor.h"
#include "io/file_handle.h"
#include "io/status.h"
#include "mainwindow/tform1.h"
#include "services/ui_services.h"
#include "settings/activation.h"

namespace orvex::gui {

namespace {
constexpr int kUserMenuPosition = 4;  // after "O&ptions", before "&Affichage"
const QString kUserToolMenu = QStringLiteral("UserToolMenu");
const QString kUserToolItem = QStringLiteral("UserToolItem");
const QString kSelectionTooLong = QStringLiteral(
    "Le texte sélectionné est trop long pour être passé en paramètre à l'outil.\n\r"
    "Sélectionnez un texte plus court.");
}

void TForm1::FormShow() {
  buildUserToolMenus();
  if (FirstShowPending && m_arguments.size() == 1 && m_arguments.front() == "/?") {
    // The batch help: the configuration dialog on its "Mode Batch" page, whose
    // "&Ok" only closes; then the program ends.
    FirstShowPending = false;
    Form4->PageInitiale = 2;
    Configuration1Click();
    close();
    return;
  }
  if (FirstShowPending && m_arguments.size() == 1) {
    const std::filesystem::path argument = m_arguments.front();
    if (loadDocument(argument)) {
      setDocumentPath(argument);
      refreshLineCount();
      editeurSelectionChange();
      editeurChange();
    }
  }
  FirstShowPending = false;
}

void TForm1::FormActivate(const std::function<bool()>& showTips) {
  const auto applyGradient = [this](const SettingsRecord& record) { XPMenu1->Gradient = record.MenusDegrade; };
  const Status status = runActivationSettings(m_paths.configFile(), {showTips, applyGradient});
  if (!status.ok()) reportError(QString::fromStdString(status.error));
}

void TForm1::Configuration1Click() {
  Form4->FormShow();
  m_ui.runModal(*Form4);
  if (!Form4->Valide) return;
  removeUserToolMenus();
  applyLook(Form4->controlsRecord());
  FormShow();
}

// The menus and items the last build added; the built-in menus are never touched,
// so a tool menu titled "&Affichage" goes away like any other.
void TForm1::removeUserToolMenus() {
  qDeleteAll(findChildren<QAction*>(kUserToolItem));
  qDeleteAll(findChildren<QMenu*>(kUserToolMenu));
}

void TForm1::buildUserToolMenus() {
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) return;
  MenuFile menuFile;
  try {
    menuFile = readMenuFile(file);
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return;
  }
  for (const ToolMenu& group : buildToolMenus(menuFile.lines)) {
    QMenu* menu = nullptr;
    if (group.title) {
      menu = new QMenu(QString::fromStdString(*group.title), this);
      menu->setObjectName(kUserToolMenu);
      menuBar()->insertMenu(menuBar()->actions().value(kUserMenuPosition), menu);
    } else {
      menu = menuBar()->actions().value(kUserMenuPosition)->menu();
    }
    for (const std::string& label : group.labels) {
      QAction* item = menu->addAction(QString::fromStdString(label));
      item->setObjectName(kUserToolItem);
      item->setParent(this);
      connect(item, &QAction::triggered, this, [this, label] { launchUserTool(label); });
    }
  }
}

void TForm1::launchUserTool(const std::string& label) {
  const auto file = m_paths.menuFile();
  const auto reconfigure = [this] {
    m_ui.showMessage(QStringLiteral("Problème de configuration"), QStringLiteral("Veuillez reconfigurer l'outil."),
                     MessageIcon::Stop);
  };
  if (!isExistingFile(file)) return reconfigure();
  std::optional<ToolLaunch> launch;
  try {
    launch = findTool(readMenuFile(file).lines, label);
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return;
  }
  // A file edited since the menus were built may no longer name the tool.
  if (!launch) return;
  if (!launch->program) return reconfigure();
  const QString program = QString::fromStdString(*launch->program).trimmed();
  if (program.isEmpty()) return;
  const ToolTarget target = resolveToolProgram(program.toStdString());
  if (target.kind == ToolTarget::Kind::Missing) return reconfigure();
  if (target.kind == ToolTarget::Kind::Open) {
    if (!m_ui.openWithDesktop(QString::fromStdString(target.path))) reconfigure();
    return;
  }
  // The selection goes as UTF-8 text, whatever the document's encoding; the file
  // name is made whole, since the tool starts in another directory.
  std::error_code error;
  const std::string document = m_documentPath.empty() ? std::string()
                                                      : std::filesystem::absolute(m_documentPath, error).native();
  const std::vector<std::string> arguments = toolArguments(launch->parameters, document, editor()->selectedText());
  std::vector<std::string> command{target.path};
  command.insert(command.end(), arguments.begin(), arguments.end());
  if (!fitsArgumentLimits(command)) {
    m_ui.showMessage(QStringLiteral("Avertissement"), kSelectionTooLong, MessageIcon::Warning);
    return;
  }
  if (!m_ui.startDetached(command, "/")) reconfigure();
}

}  // namespace orvex::gui
