#pragma once
// A widget filled with a colour of its own.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace orvex::gui {

inline void paintBackground(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace orvex::gui
