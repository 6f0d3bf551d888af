#include "mainwindow/progress_bar_listener.h"

#include <QProgressBar>

namespace orvex::gui {

namespace {
// QProgressBar holds int values: large documents are shown in proportion.
int scaled(std::int64_t value, std::int64_t maximum) {
  constexpr std::int64_t kLimit = 1'000'000'000;
  return static_cast<int>(maximum > kLimit ? value * kLimit / maximum : value);
}
}  // namespace

void ProgressBarListener::progressChanged(std::int64_t minimum, std::int64_t position, std::int64_t maximum) {
  const bool rangeChanged = maximum != m_shownMaximum;
  const std::int64_t visibleStep = maximum / 200 + 1;
  const bool landmark = position == 0 || position == 25 || position == maximum;
  if (!rangeChanged && !landmark) {
    const bool moved = position < m_shownPosition || position - m_shownPosition >= visibleStep;
    if (!moved) return;
    if (m_sinceRepaint.isValid()) {
      if (position >= m_clockReadAt && position - m_clockReadAt < visibleStep / 16 + 1) return;
      m_clockReadAt = position;
      if (m_sinceRepaint.elapsed() < 30) return;
    }
  }
  m_bar->setRange(scaled(minimum, maximum), scaled(maximum, maximum));
  m_bar->setValue(scaled(position, maximum));
  m_bar->repaint();
  m_shownMaximum = maximum;
  m_shownPosition = position;
  m_sinceRepaint.restart();
}

}  // namespace orvex::gui
