#include "components/zil_status_bar.h"

#include <QLabel>
#include <QVBoxLayout>

namespace orvex::gui {

TZilStatusBar::TZilStatusBar(const QVector<int>& panelWidths, QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  for (int i = 0; i < panelWidths.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Panel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedWidth(panelWidths[i]);
    addWidget(label);
    m_panels.append(label);
  }
}

QString TZilStatusBar::panelText(int index) const { return m_panels.at(index)->text(); }

void TZilStatusBar::setPanelText(int index, const QString& text) { m_panels.at(index)->setText(text); }

void TZilStatusBar::placeOverPanel(QWidget* control, int index) {
  QLabel* host = m_panels.at(index);
  auto* layout = new QVBoxLayout(host);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(control);
}

}  // namespace orvex::gui
