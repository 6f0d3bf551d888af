#pragma once
// The colours of the styled menus and tool bars: three colour functions and the
// palette they derive from the system's colours.

#include <QColor>
#include <QPalette>

namespace orvex::gui {

// Each channel moves `percent` (at most 100) of the way towards white, rounded to
// the nearest integer, ties to even.
QColor lighten(const QColor& colour, int percent);
// Red and blue lose `amount`, green 2 less, clamped; a negative amount lightens.
QColor darken(const QColor& colour, int amount);
// A grey from the channels' average raised by `percent` (at most 100), at most 240.
QColor grey(const QColor& colour, int percent);

struct MenuPalette {
  QColor text;
  QColor menuBackground;
  QColor iconColumn;
  QColor selectionBackground;
  QColor selectionBorder;
  QColor selectedText;
  QColor menuBar;
  QColor disabledText;
  QColor checkBorder;
  QColor separator;
  QColor checkedBackground;
  QColor checkedSelectedBackground;
  QColor darkFrame;
  QColor lightFrame;
};

// The palette from the system's colours: on a screen of more than 15 bits per pixel
// the shades are lightened; on fewer, plain system colours and white.
MenuPalette systemMenuPalette(const QPalette& system, bool highColour);

}  // namespace orvex::gui
