#include "components/gradient_panel.h"

#include <QPainter>
#include <cmath>

namespace orvex::gui {

namespace {

int ceilDiv(int numerator, int steps) { return static_cast<int>(std::ceil(static_cast<double>(numerator) / steps)); }

// One step of a channel towards its target; never overshoots.
int stepTowards(int current, int target, int steps) {
  if (target > current) return current + ceilDiv(target - current, steps);
  return current - ceilDiv(current - target, steps);
}

}  // namespace

GradientPanel::GradientPanel(QWidget* parent) : QWidget(parent) {
  resize(200, 30);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  setFont(font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  setPalette(palette);
}

void GradientPanel::setIcon(const QIcon& icon, const QSize& size) {
  m_icon = icon;
  m_iconSize = size;
  update();
}

void GradientPanel::setBevelStyle(BevelStyle style) {
  m_bevel = style;
  update();
}

void GradientPanel::setBorder(bool border) {
  m_border = border;
  update();
}

void GradientPanel::setSteps(int steps) {
  m_steps = steps;
  update();
}

void GradientPanel::setStartColour(const QColor& colour) {
  m_start = colour;
  update();
}

void GradientPanel::setEndColour(const QColor& colour) {
  m_end = colour;
  update();
}

void GradientPanel::setDirection(GradientDirection direction) {
  m_direction = direction;
  update();
}

void GradientPanel::setCaption(const QString& caption) {
  m_caption = caption;
  update();
}

void GradientPanel::paintGradient(QPainter& painter, const QRect& area) const {
  // Edges as left, top, right and bottom, the right and bottom ones exclusive.
  const int left = area.left();
  const int top = area.top();
  const int right = area.left() + area.width();
  const int bottom = area.top() + area.height();
  const int steps = m_steps < 1 ? 1 : m_steps;
  const int bandWidth = ceilDiv(right - left, steps);
  const int bandHeight = ceilDiv(bottom - top, steps);
  int red = m_start.red(), green = m_start.green(), blue = m_start.blue();
  auto step = [&] {
    red = stepTowards(red, m_end.red(), steps);
    green = stepTowards(green, m_end.green(), steps);
    blue = stepTowards(blue, m_end.blue(), steps);
  };
  if (m_direction == GradientDirection::Horizontal) {
    for (int x = left; x < right && x + bandWidth > left; x += bandWidth) {
      step();
      painter.fillRect(QRect(x, top, bandWidth, bottom - top), QColor(red, green, blue));
    }
  } else {
    // Every band is painted, also below the area: only the control clips them.
    for (int band = 0, y = top; band < steps; ++band, y += bandHeight) {
      step();
      painter.fillRect(QRect(left, y, right - left, bandHeight), QColor(red, green, blue));
    }
  }
}

void GradientPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect area = rect();
  if (m_border) {
    painter.setPen(Qt::black);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    area.adjust(1, 1, -1, -1);
  }
  if (m_bevel == BevelStyle::Lowered || m_bevel == BevelStyle::Raised) {
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    const bool lowered = m_bevel == BevelStyle::Lowered;
    painter.setPen(lowered ? shadow : highlight);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(lowered ? highlight : shadow);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());
    area.adjust(1, 1, -1, -1);
  }
  paintGradient(painter, area);
  if (!m_icon.isNull()) {
    const int y = (height() - m_iconSize.height()) / 2;
    painter.drawPixmap(area.left() + 4, y, m_icon.pixmap(m_iconSize));
    area.setLeft(m_iconSize.width() + 8);
  }
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
}

}  // namespace orvex::gui
