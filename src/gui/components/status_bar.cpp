#include "components/status_bar.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace orvex::gui {

namespace {
constexpr int kGap = 2;
constexpr int kMargin = 2;
}  // namespace

StatusBar::StatusBar(const QVector<int>& panelWidths, QWidget* parent)
    : QStatusBar(parent), m_minimumWidths(panelWidths) {
  setSizeGripEnabled(false);
  for (int i = 0; i < panelWidths.size(); ++i) {
    // The panels are laid out by hand rather than added to the bar's layout, so
    // that their widths never force the window wider.
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Panel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    m_panels.append(label);
  }
  layOutPanels();
}

QString StatusBar::panelText(int index) const { return m_panels.at(index)->text(); }

void StatusBar::setPanelText(int index, const QString& text) {
  QLabel* panel = m_panels.at(index);
  if (panel->text() == text) return;
  panel->setText(text);
  layOutPanels();
}

void StatusBar::placeOverPanel(QWidget* control, int index) {
  QLabel* host = m_panels.at(index);
  auto* layout = new QVBoxLayout(host);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(control);
}

int StatusBar::neededWidth(int index) const {
  const QLabel* panel = m_panels.at(index);
  const int text = panel->fontMetrics().horizontalAdvance(panel->text()) + 2 * panel->frameWidth() + 6;
  return std::max(m_minimumWidths.at(index), text);
}

QSize StatusBar::sizeHint() const {
  int width = kMargin;
  for (int i = 0; i < m_panels.size(); ++i) width += neededWidth(i) + kGap;
  return {width, minimumSizeHint().height()};
}

QSize StatusBar::minimumSizeHint() const {
  return {0, m_panels.isEmpty() ? QStatusBar::minimumSizeHint().height()
                                : m_panels.front()->sizeHint().height() + 2 * kMargin};
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  layOutPanels();
}

void StatusBar::changeEvent(QEvent* event) {
  QStatusBar::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) layOutPanels();
}

void StatusBar::layOutPanels() {
  const int height = this->height() - 2 * kMargin;
  int x = kMargin;
  for (int i = 0; i < m_panels.size(); ++i) {
    const bool last = i == m_panels.size() - 1;
    // The last panel takes the room left, and hides rather than show its text cut.
    const int room = width() - kMargin - x;
    const int width = last ? (room >= neededWidth(i) ? room : 0) : neededWidth(i);
    m_panels[i]->setGeometry(x, kMargin, width, height);
    m_panels[i]->setVisible(width > 0);
    x += width + kGap;
  }
}

}  // namespace orvex::gui
