#include "components/menu_colours.h"

#include <algorithm>
#include <cmath>

namespace orvex::gui {

namespace {

int towardsWhite(int channel, int percent) {
  return channel + static_cast<int>(std::nearbyint((255 - channel) * percent / 100.0));
}

}  // namespace

QColor lighten(const QColor& colour, int percent) {
  percent = std::min(percent, 100);
  return QColor(towardsWhite(colour.red(), percent), towardsWhite(colour.green(), percent),
                towardsWhite(colour.blue(), percent));
}

QColor darken(const QColor& colour, int amount) {
  return QColor(std::clamp(colour.red() - amount, 0, 255), std::clamp(colour.green() - amount + 2, 0, 255),
                std::clamp(colour.blue() - amount, 0, 255));
}

QColor grey(const QColor& colour, int percent) {
  const int level = std::min(240, (colour.red() + colour.green() + colour.blue()) / 3 + std::min(percent, 100));
  return QColor(level, level, level);
}

MenuPalette systemMenuPalette(const QPalette& system, bool highColour) {
  const QColor face = system.color(QPalette::Button);
  const QColor highlight = system.color(QPalette::Highlight);
  const QColor shadow = system.color(QPalette::Mid);
  const QColor text = system.color(QPalette::WindowText);
  MenuPalette palette;
  palette.text = text;
  palette.selectionBorder = highlight;
  palette.selectedText = text;
  palette.checkBorder = highlight;
  palette.darkFrame = highColour ? darken(face, 90) : shadow;
  palette.lightFrame = highColour ? darken(face, 76) : shadow;
  if (highColour) {
    palette.menuBackground = lighten(face, 86);
    palette.iconColumn = lighten(face, 16);
    palette.selectionBackground = lighten(highlight, 68);
    palette.menuBar = system.color(QPalette::Window);
    palette.disabledText = lighten(shadow, 10);
    palette.separator = lighten(shadow, 25);
    palette.checkedBackground = lighten(highlight, 75);
    palette.checkedSelectedBackground = lighten(highlight, 50);
  } else {
    palette.menuBackground = Qt::white;
    palette.iconColumn = face;
    palette.selectionBackground = Qt::white;
    palette.menuBar = face;
    palette.disabledText = shadow;
    palette.separator = shadow;
    palette.checkedBackground = Qt::white;
    palette.checkedSelectedBackground = Qt::white;
  }
  return palette;
}

}  // namespace orvex::gui
