#pragma once
// Shows a text tool's progress in the status bar's progress bar. Repainting for
// every line of a large document would cost more than the tool itself, so the bar
// is repainted when its position moves by a visible amount or at the protocol's
// fixed points (start, the 25 steps of the dump and the reload, the return to 0).

#include <QElapsedTimer>

#include "tools/progress.h"

class QProgressBar;

namespace orvex::gui {

class ProgressBarListener : public ProgressListener {
 public:
  explicit ProgressBarListener(QProgressBar* bar) : m_bar(bar) {}
  void progressChanged(std::int64_t minimum, std::int64_t position, std::int64_t maximum) override;

 private:
  QProgressBar* m_bar;
  std::int64_t m_shownMaximum = -1;
  std::int64_t m_shownPosition = -1;
  // Where the clock was last read: reading it for every line costs as much as a
  // simple tool's work on that line.
  std::int64_t m_clockReadAt = -1;
  QElapsedTimer m_sinceRepaint;
};

}  // namespace orvex::gui
