#include "components/styled_menu_style.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

namespace orvex::gui {

namespace {

enum class IconLook { Plain, Faded, Hot, Disabled };

bool isHighColour() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return !screen || screen->depth() > 15;
}

// Every pixel through `change`, its transparency kept.
template <typename Change>
QImage recoloured(QImage image, Change change) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    QRgb last = 0;
    QRgb lastResult = 0;
    for (int x = 0; x < image.width(); ++x) {
      // Neighbouring pixels are often equal: their colour is worked out once.
      if (line[x] != last || x == 0) {
        last = line[x];
        const QColor result = change(QColor(qRed(last), qGreen(last), qBlue(last)));
        lastResult = qRgba(result.red(), result.green(), result.blue(), qAlpha(last));
      }
      line[x] = lastResult;
    }
  }
  return image;
}

// Draws `icon` with its top-left corner at `at`: faded when idle, lifted over its
// shadow when hot, grey when disabled.
void drawIcon(QPainter* painter, const QIcon& icon, const QPoint& at, int size, IconLook look, const QColor& shadow) {
  const qreal ratio = painter->device()->devicePixelRatioF();
  QImage image = icon.pixmap(QSize(size, size), ratio).toImage();
  image.setDevicePixelRatio(ratio);
  switch (look) {
    case IconLook::Plain: break;
    case IconLook::Faded: image = recoloured(image, [](const QColor& c) { return lighten(c, 30); }); break;
    case IconLook::Disabled: image = recoloured(image, [](const QColor& c) { return grey(c, 90); }); break;
    case IconLook::Hot: {
      const QImage silhouette = recoloured(image, [&](const QColor&) { return shadow; });
      painter->drawImage(at + QPoint(1, 1), silhouette);
      painter->drawImage(at - QPoint(1, 1), image);
      return;
    }
  }
  painter->drawImage(at, image);
}

// A thin rectangle inside `rect`.
void outline(QPainter* painter, const QRect& rect, const QColor& colour) {
  painter->save();
  painter->setPen(colour);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

bool isLight(const QColor& colour) { return (colour.red() + colour.blue()) / 2 > 150 || colour.green() > 200; }

}  // namespace

StyledMenuStyle::StyledMenuStyle(QWidget* owner) : m_owner(owner) {
  qApp->installEventFilter(this);
  // The owner's widgets are gone by the time it reports its end; the style they
  // used can go then.
  connect(owner, &QObject::destroyed, this, [this] { delete this; });
  for (QWidget* widget : owner->findChildren<QWidget*>()) attach(widget);
}

StyledMenuStyle::~StyledMenuStyle() { qApp->removeEventFilter(this); }

MenuPalette StyledMenuStyle::palette() const {
  return systemMenuPalette(QApplication::palette("QMenu"), isHighColour());
}

bool StyledMenuStyle::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Polish && watched->isWidgetType()) attach(static_cast<QWidget*>(watched));
  return false;
}

void StyledMenuStyle::attach(QWidget* widget) {
  if (widget->style() == this) return;
  if (!qobject_cast<QMenu*>(widget) && !qobject_cast<QMenuBar*>(widget) && !qobject_cast<QToolBar*>(widget) &&
      !qobject_cast<QToolButton*>(widget))
    return;
  for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
    if (parent == m_owner) {
      widget->setStyle(this);
      return;
    }
    if (qobject_cast<const QDialog*>(parent)) return;
  }
}

void StyledMenuStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  // Tool buttons and menu bars light up under the mouse.
  if (qobject_cast<QToolButton*>(widget) || qobject_cast<QMenuBar*>(widget)) widget->setAttribute(Qt::WA_Hover);
}

int StyledMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth: return m_flatMenu ? 1 : 2;
    case PM_MenuHMargin: return 0;
    case PM_MenuVMargin: return 1;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

QSize StyledMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                        const QWidget* widget) const {
  QSize proposed = QProxyStyle::sizeFromContents(type, option, size, widget);
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type != CT_MenuItem || !item) return proposed;
  if (item->menuItemType == QStyleOptionMenuItem::Separator) return {proposed.width(), 4};
  const QFontMetrics metrics(item->font);
  QString text = item->text;
  const auto tab = text.indexOf(QLatin1Char('\t'));
  if (tab >= 0) text = text.left(tab) + text.mid(tab + 1).trimmed() + QStringLiteral("WWW");
  int width = metrics.horizontalAdvance(QLatin1Char(' ') + text);
  if (text.contains(QLatin1Char('&'))) width -= metrics.horizontalAdvance(QLatin1Char('&'));
  const int iconSize = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
  const int arrow = item->menuItemType == QStyleOptionMenuItem::SubMenu ? 16 : 0;
  const int textHeight = metrics.height();
  const int height = std::max(textHeight + static_cast<int>(std::lround(textHeight * 0.75)), iconSize + 4);
  return proposed.expandedTo(QSize(width + std::max(kIconWidth, iconSize) + 10 + 5 + arrow, height));
}

void StyledMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  switch (element) {
    case CE_MenuItem:
      if (item) return drawMenuItem(*item, painter, widget);
      break;
    case CE_MenuBarItem:
      if (item) return drawMenuBarItem(*item, painter, widget);
      break;
    case CE_MenuBarEmptyArea: painter->fillRect(option->rect, palette().menuBar); return;
    case CE_MenuEmptyArea: drawMenuBackground(option->rect, painter, palette()); return;
    default: break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void StyledMenuStyle::drawMenuBackground(const QRect& rect, QPainter* painter, const MenuPalette& colours) const {
  if (m_gradient && isHighColour()) {
    // One-pixel stripes, lightening fast across the icon column, then slowly.
    int offset = 0;
    for (int x = rect.left(); x <= rect.right(); ++x) {
      offset = std::min(96, offset + (x - rect.left() < kIconWidth + 5 ? 3 : 1));
      painter->fillRect(QRect(x, rect.top(), 1, rect.height()), lighten(colours.iconColumn, offset));
    }
    return;
  }
  painter->fillRect(rect, colours.menuBackground);
  painter->fillRect(QRect(rect.left(), rect.top(), kIconWidth, rect.height()), colours.iconColumn);
}

// The mark of a checked item: a box around its icon, or a tick or dot of its own.
void StyledMenuStyle::drawCheck(const QStyleOptionMenuItem& item, QPainter* painter, const QRect& iconColumn,
                                bool selected, const MenuPalette& colours) const {
  const bool hasIcon = !item.icon.isNull();
  const QColor fill = selected ? colours.checkedSelectedBackground : colours.checkedBackground;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  if (hasIcon) {
    const QRect area = iconColumn.adjusted(1, 2, -3, -2);
    painter->setPen(colours.selectionBorder);
    painter->setBrush(fill);
    if (item.checkType == QStyleOptionMenuItem::Exclusive)
      painter->drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    else
      painter->drawRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5));
  } else {
    const QRectF box(iconColumn.center().x() - 4.5, iconColumn.center().y() - 4.5, 10, 10);
    painter->setPen(item.checkType == QStyleOptionMenuItem::Exclusive ? colours.selectionBorder : colours.checkBorder);
    painter->setBrush(fill);
    if (item.checkType == QStyleOptionMenuItem::Exclusive) {
      painter->drawEllipse(box);
    } else {
      painter->drawRect(box);
      painter->setPen(QPen(Qt::black, 1.6));
      painter->drawPolyline(QPolygonF(
          {box.topLeft() + QPointF(2, 4.5), box.topLeft() + QPointF(4, 6.8), box.topLeft() + QPointF(8, 2.5)}));
    }
  }
  painter->restore();
}

// The item's text at the left and its shortcut, after a tab, at the right.
void StyledMenuStyle::drawLabelAndShortcut(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget,
                                           const QRect& textRect, const QColor& colour) const {
  QString text = item.text;
  QString shortcut;
  if (const auto tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
    shortcut = text.mid(tab + 1);
    text = text.left(tab);
  }
  const int mnemonic =
      proxy()->styleHint(SH_UnderlineShortcut, &item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
  painter->save();
  painter->setFont(item.font);
  painter->setPen(colour);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic,
                    QLatin1Char(' ') + text);
  if (!shortcut.isEmpty()) {
    painter->setPen(isHighColour() ? darken(colour, -40) : colour);
    painter->drawText(textRect.adjusted(0, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                      shortcut + QLatin1Char(' '));
  }
  painter->restore();
}

void StyledMenuStyle::drawMenuItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const {
  const MenuPalette colours = palette();
  const QRect rect = item.rect;
  const bool selected = item.state & State_Selected;
  const bool enabled = item.state & State_Enabled;
  const QRect iconColumn(rect.left(), rect.top(), kIconWidth, rect.height());
  const QRect textRect = rect.adjusted(kIconWidth, 0, 0, 0);

  if (m_gradient && isHighColour())
    drawMenuBackground(rect.adjusted(0, 0, 2, 0), painter, colours);
  else if (enabled || !selected)
    drawMenuBackground(rect, painter, colours);

  if (selected && kDrawSelection && enabled) {
    const QRect box = rect.adjusted(0, 1, m_flatMenu ? -1 : 0, -1);
    painter->fillRect(box, colours.selectionBackground);
    outline(painter, box, colours.selectionBorder);
  }

  const bool hasIcon = !item.icon.isNull();
  const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
  if (checked) drawCheck(item, painter, iconColumn, selected, colours);

  if (hasIcon) {
    const int size = proxy()->pixelMetric(PM_SmallIconSize, &item, widget);
    const int left = size <= kIconWidth ? iconColumn.left() + (kIconWidth - size) / 2 - 1 : iconColumn.left() + 2;
    const QPoint at(left, iconColumn.top() + (iconColumn.height() - size) / 2);
    const IconLook look = !enabled         ? IconLook::Disabled
                          : checked        ? IconLook::Plain
                          : selected       ? IconLook::Hot
                          : isHighColour() ? IconLook::Faded
                                           : IconLook::Plain;
    drawIcon(painter, item.icon, at, size, look, darken(colours.selectionBackground, 50));
  }

  if (item.menuItemType == QStyleOptionMenuItem::Separator) {
    const int y = textRect.center().y();
    painter->fillRect(QRect(iconColumn.right() + 7, y, rect.right() - iconColumn.right() - 7, 1), colours.separator);
    return;
  }

  const QColor colour = !enabled ? colours.disabledText : selected ? colours.selectedText : colours.text;
  drawLabelAndShortcut(item, painter, widget, textRect.adjusted(5, 0, 0, 0), colour);

  if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
    QStyleOptionMenuItem arrow = item;
    arrow.rect = QRect(rect.right() - 14, rect.top(), 10, rect.height());
    arrow.palette.setColor(QPalette::ButtonText, colour);
    arrow.palette.setColor(QPalette::WindowText, colour);
    proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
  }
}

void StyledMenuStyle::drawMenuBarItem(const QStyleOptionMenuItem& item, QPainter* painter,
                                      const QWidget* widget) const {
  const MenuPalette colours = palette();
  const QRect rect = item.rect;
  const bool selected = (item.state & State_Selected) && kDrawSelection;
  painter->fillRect(rect, colours.menuBar);
  QColor colour = item.state & State_Enabled ? colours.text : colours.disabledText;
  if (selected) {
    // A raised tab over the bar, with a small stepped shadow at its right.
    const QRect tab = rect.adjusted(0, 1, -3, 0);
    painter->fillRect(tab, colours.iconColumn);
    painter->fillRect(QRect(tab.left(), tab.top(), 1, tab.height()), colours.darkFrame);
    painter->fillRect(QRect(tab.left(), tab.top(), tab.width(), 1), colours.darkFrame);
    painter->fillRect(QRect(tab.right(), tab.top(), 1, tab.height()), colours.darkFrame);
    const int shades[] = {100, 60, 30};
    for (int i = 0; i < 3; ++i)
      painter->fillRect(QRect(tab.right() + 1 + i, tab.top() + 2 + i, 1, tab.height() - 2 - i),
                        darken(colours.menuBar, shades[i]));
    colour = isLight(colours.iconColumn) ? colours.text : lighten(colours.iconColumn, 90);
  }
  const int mnemonic =
      proxy()->styleHint(SH_UnderlineShortcut, &item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
  painter->save();
  painter->setFont(item.font);
  painter->setPen(colour);
  painter->drawText(rect.adjusted(0, 0, -3, 0), Qt::AlignCenter | Qt::TextSingleLine | mnemonic, item.text);
  painter->restore();
}

void StyledMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  const MenuPalette colours = palette();
  switch (element) {
    case PE_PanelMenu: drawMenuBackground(option->rect, painter, colours); return;
    case PE_FrameMenu: {
      const QRect rect = option->rect;
      if (m_flatMenu) {
        // One thin border; the icon column runs to it.
        outline(painter, rect, colours.darkFrame);
        return;
      }
      // A raised border two pixels wide.
      const QColor face = QApplication::palette("QMenu").color(QPalette::Button);
      painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), face);
      painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), face);
      painter->fillRect(QRect(rect.left() + 1, rect.top() + 1, rect.width() - 2, 1), Qt::white);
      painter->fillRect(QRect(rect.left() + 1, rect.top() + 1, 1, rect.height() - 2), Qt::white);
      painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colours.darkFrame);
      painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colours.darkFrame);
      painter->fillRect(QRect(rect.left() + 1, rect.bottom() - 1, rect.width() - 2, 1), colours.lightFrame);
      painter->fillRect(QRect(rect.right() - 1, rect.top() + 1, 1, rect.height() - 2), colours.lightFrame);
      return;
    }
    case PE_IndicatorToolBarSeparator: {
      const QRect rect = option->rect;
      if (option->state & State_Horizontal)
        painter->fillRect(QRect(rect.center().x(), rect.top() + 2, 1, rect.height() - 4), colours.disabledText);
      else
        painter->fillRect(QRect(rect.left() + 2, rect.center().y(), rect.width() - 4, 1), colours.disabledText);
      return;
    }
    default: break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void StyledMenuStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                         const QWidget* widget) const {
  const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
  if (control == CC_ToolButton && button && button->toolButtonStyle == Qt::ToolButtonIconOnly)
    return drawToolButton(*button, painter, widget);
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void StyledMenuStyle::drawToolButton(const QStyleOptionToolButton& button, QPainter* painter, const QWidget*) const {
  const MenuPalette colours = palette();
  const QColor face = QApplication::palette("QMenu").color(QPalette::Button);
  const QRect rect = button.rect;
  const bool enabled = button.state & State_Enabled;
  const bool hot = enabled && (button.state & State_MouseOver);
  const bool pressed = button.state & State_Sunken;
  const bool checked = button.state & State_On;
  painter->fillRect(rect, isHighColour() ? lighten(face, 16) : face);
  const QRect state = rect.adjusted(0, 1, 0, 0);
  if (hot && (checked || pressed))
    painter->fillRect(state, colours.checkedSelectedBackground);
  else if (hot)
    painter->fillRect(state, colours.selectionBackground);
  else if (checked)
    painter->fillRect(state, colours.checkedBackground);
  if (hot || checked) outline(painter, state, colours.selectionBorder);

  if (button.icon.isNull()) return;
  const int size = std::min(button.iconSize.width(), button.iconSize.height());
  const QPoint at(rect.left() + (rect.width() - size) / 2, rect.top() + (rect.height() - size) / 2);
  const IconLook look = !enabled          ? IconLook::Disabled
                        : hot && !pressed ? IconLook::Hot
                        : hot || checked  ? IconLook::Plain
                        : isHighColour()  ? IconLook::Faded
                                          : IconLook::Plain;
  drawIcon(painter, button.icon, at, size, look, darken(colours.selectionBackground, 50));
}

}  // namespace orvex::gui
