#include "recovery/exit_signal_watch.h"

#include <QSocketNotifier>

#include "recovery/recovery_journal.h"

namespace orvex::gui {

ExitSignalWatch::ExitSignalWatch(QObject* parent) : QObject(parent) {
  if (m_pipe.readEnd() < 0) return;
  m_notifier = new QSocketNotifier(m_pipe.readEnd(), QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignalWatch::signalled);
  deferExitSignals(m_pipe.writeEnd());
}

void ExitSignalWatch::signalled() {
  const int number = m_pipe.takeSignal();
  if (number == 0) return;
  RecoveryJournal::flushAll();
  endBySignal(number);
}

}  // namespace orvex::gui
