#include "mainwindow/disk_change_check.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "editor/document_editor.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "paths/file_names.h"
#include "services/ui_services.h"

namespace orvex::gui {

namespace {

const QString kChangedQuestion =
    QStringLiteral("Le fichier %1 a été modifié par un autre programme.\nVoulez-vous le recharger ?");
const QString kChangesLost = QStringLiteral("\nVos modifications non enregistrées seront perdues.");
const QString kRemoved = QStringLiteral("Le fichier %1 a été supprimé ou déplacé par un autre programme.");

}  // namespace

DiskChangeCheck::DiskChangeCheck(const CommandContext& context, DocumentSession& session, QWidget& window)
    : m_context(context), m_session(session) {
  window.installEventFilter(this);
}

bool DiskChangeCheck::dialogShowing() const {
  return m_context.ui().isShowingDialog() || QApplication::activeModalWidget() != nullptr;
}

bool DiskChangeCheck::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) {
    m_leftForDialog = dialogShowing();
  } else if (event->type() == QEvent::WindowActivate && !dialogShowing() && !std::exchange(m_leftForDialog, false) &&
             !m_checkQueued) {
    // Looked at once the activation is over: a question asked from inside it
    // would come before the window has finished coming up.
    m_checkQueued = true;
    QTimer::singleShot(0, this, [this] {
      m_checkQueued = false;
      check();
    });
  }
  return QObject::eventFilter(watched, event);
}

void DiskChangeCheck::check() {
  const std::optional<FileIdentity>& opened = m_session.fileIdentity();
  if (!opened || dialogShowing()) return;
  const QString name = QString::fromStdString(shownName(m_session.path().native()));
  const std::optional<FileIdentity> now = identifyFile(m_session.path());
  if (!now) {
    if (!std::exchange(m_removalSaid, true))
      m_context.ui().showMessage(m_context.windowTitle(), kRemoved.arg(name), MessageIcon::Warning);
    return;
  }
  m_removalSaid = false;
  if (*now == *opened || now == m_declined) return;
  QString question = kChangedQuestion.arg(name);
  if (m_context.editor().isModified()) question += kChangesLost;
  // A file that cannot be read again is not offered again for the same change.
  if (!m_context.ui().confirm(m_context.windowTitle(), question) || !m_session.reload()) m_declined = now;
}

}  // namespace orvex::gui
