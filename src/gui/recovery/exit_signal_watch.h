#pragma once
// Turns a signal that ends the program (a logout's SIGHUP, SIGTERM, SIGINT) into an
// event of the window's loop: there the recovery journals are brought up to date,
// which a signal handler could not do safely, and then the program ends as the
// signal would have ended it.

#include <QObject>

#include "paths/exit_cleanup.h"

class QSocketNotifier;

namespace orvex::gui {

class ExitSignalWatch : public QObject {
  Q_OBJECT

 public:
  explicit ExitSignalWatch(QObject* parent = nullptr);

 private:
  void signalled();

  ExitSignalPipe m_pipe;
  QSocketNotifier* m_notifier = nullptr;
};

}  // namespace orvex::gui
