// The main window's show and activation steps: user-tool menus, the command line,
// the tips window and config.dat; and the configuration dialog they share.

#include <QMenuBar>

#include "components/status_bar.h"
#include "components/styled_menu_style.h"
#include "config/configuration_dialog.h"
#include "editor/document_editor.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "mainwindow/document_status.h"
#include "mainwindow/main_window.h"
#include "mainwindow/user_tool_menus.h"
#include "services/ui_services.h"
#include "settings/activation.h"
#include "text/messages.h"

namespace orvex::gui {

void MainWindow::startUp() {
  m_userTools->build();
  if (m_firstShowPending && m_arguments.size() == 1 && m_arguments.front() == "/?") {
    // The batch help: the configuration dialog on its "Mode Batch" page, whose
    // "&Ok" only closes; then the program ends.
    m_firstShowPending = false;
    configurationDialog()->setStartPage(2);
    showConfiguration();
    close();
    return;
  }
  if (m_firstShowPending && m_arguments.size() == 1) {
    const std::filesystem::path argument = m_arguments.front();
    if (m_session->openNamed(argument)) {
      m_status->refreshLineCount();
      m_status->refreshCaret();
      m_status->refreshModified();
    }
  }
  m_firstShowPending = false;
}

void MainWindow::activate(const std::function<bool()>& showTips) {
  const auto applyGradient = [this](const SettingsRecord& record) { m_menuStyle->setGradient(record.MenusDegrade); };
  const Status status = runActivationSettings(m_paths.configFile(), {showTips, applyGradient});
  if (!status.ok()) m_context->reportError(status.error);
}

void MainWindow::showConfiguration() {
  ConfigurationDialog& dialog = *configurationDialog();
  dialog.prepareToShow();
  m_ui.runModal(dialog);
  if (!dialog.confirmed()) return;
  m_userTools->remove();
  applyLook(dialog.controlsRecord());
  startUp();
}

}  // namespace orvex::gui
