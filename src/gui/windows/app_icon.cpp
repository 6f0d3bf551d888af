#include "windows/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace orvex::gui {

QIcon orvexIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 96), 1));
  painter.setBrush(QColor(255, 255, 235));
  painter.drawRect(QRectF(5.5, 2.5, 21, 27));
  painter.setPen(QPen(QColor(0, 128, 128), 1));
  for (int y = 8; y <= 24; y += 4) painter.drawLine(9, y, 23, y);
  QFont font(QStringLiteral("Times New Roman"));
  font.setBold(true);
  font.setPixelSize(18);
  painter.setFont(font);
  painter.setPen(QColor(200, 0, 0));
  painter.drawText(QRect(0, 4, 32, 26), Qt::AlignCenter, QStringLiteral("O"));
  return QIcon(pixmap);
}

}  // namespace orvex::gui
