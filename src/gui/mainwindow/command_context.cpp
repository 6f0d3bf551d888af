#include "mainwindow/command_context.h"

#include <QWidget>

#include "services/ui_services.h"
#include "text/messages.h"

namespace orvex::gui {

QString CommandContext::windowTitle() const { return m_window.windowTitle(); }

void CommandContext::reportError(const QString& message) const {
  m_ui.showMessage(m_window.windowTitle(), QString::fromStdString(errorReportText(message.toStdString())),
                   MessageIcon::Error);
}

}  // namespace orvex::gui
