#include "recovery/exit_signal_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "paths/exit_cleanup.h"
#include "recovery/recovery_journal.h"

namespace orvex::gui {

ExitSignalWatch::ExitSignalWatch(QObject* parent) : QObject(parent) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_readEnd = FileHandle(ends[0]);
  m_writeEnd = FileHandle(ends[1]);
  m_notifier = new QSocketNotifier(m_readEnd.get(), QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignalWatch::signalled);
  deferExitSignals(m_writeEnd.get());
}

void ExitSignalWatch::signalled() {
  unsigned char number = 0;
  if (::read(m_readEnd.get(), &number, 1) != 1) return;
  RecoveryJournal::flushAll();
  endBySignal(number);
}

}  // namespace orvex::gui
