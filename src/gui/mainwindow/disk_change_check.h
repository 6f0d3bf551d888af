#pragma once
// Notices, when the window becomes active again, that another program has changed
// or removed the document's file since this window opened, reloaded or saved it,
// and offers to reload it. Each change is asked about once: a declined reload is
// not offered again until the file changes anew, and a removed file is said once.
// The window's own dialogs make it inactive too; coming back from one of them is
// no reason to look.

#include <QObject>
#include <optional>

#include "io/atomic_file.h"

class QWidget;

namespace orvex::gui {

class CommandContext;
class DocumentSession;

class DiskChangeCheck : public QObject {
  Q_OBJECT

 public:
  // Watches `window`'s activation until it is destroyed, which must come before
  // the end of `context` and `session`.
  DiskChangeCheck(const CommandContext& context, DocumentSession& session, QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A dialog of the program is open: the window is waiting for it.
  bool dialogShowing() const;
  void check();

  const CommandContext& m_context;
  DocumentSession& m_session;
  // The file's state the user chose to keep the text over.
  std::optional<FileIdentity> m_declined;
  bool m_removalSaid = false;
  // The window went inactive because one of its dialogs opened.
  bool m_leftForDialog = false;
  bool m_checkQueued = false;
};

}  // namespace orvex::gui
