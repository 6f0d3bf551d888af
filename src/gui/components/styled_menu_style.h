#pragma once
// The look of the main window's menus and tool bars: a coloured icon column, a
// framed selection, icons faded until they are hot and then lifted over their
// shadow, drawn check marks and separators, an optional gradient icon column and an
// optional flat frame around pop-up menus. Menus and tool buttons added to the
// window later, such as the user-tool menus, take the look when they are first
// polished.

#include <QProxyStyle>

class QStyleOptionMenuItem;
class QStyleOptionToolButton;

#include "components/menu_colours.h"

namespace orvex::gui {

class StyledMenuStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Styles the menus and tool bars of `owner` (not those of its dialogs) and is
  // deleted with it, once its widgets are gone.
  explicit StyledMenuStyle(QWidget* owner);
  ~StyledMenuStyle() override;

  static constexpr int kIconWidth = 24;
  static constexpr bool kDrawSelection = true;
  // The gradient icon column and the flat frame, read at each drawing, so that a
  // change shows at the next one.
  bool gradient() const { return m_gradient; }
  void setGradient(bool on) { m_gradient = on; }
  bool flatMenu() const { return m_flatMenu; }
  void setFlatMenu(bool on) { m_flatMenu = on; }

  // The colours of the next drawing, from the system's.
  MenuPalette palette() const;

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  void polish(QWidget* widget) override;
  using QProxyStyle::polish;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool m_gradient = false;
  bool m_flatMenu = false;
  void attach(QWidget* widget);
  void drawMenuItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const;
  void drawMenuBarItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const;
  void drawMenuBackground(const QRect& rect, QPainter* painter, const MenuPalette& colours) const;
  void drawCheck(const QStyleOptionMenuItem& item, QPainter* painter, const QRect& iconColumn, bool selected,
                 const MenuPalette& colours) const;
  void drawLabelAndShortcut(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget,
                            const QRect& textRect, const QColor& colour) const;
  void drawToolButton(const QStyleOptionToolButton& button, QPainter* painter, const QWidget* widget) const;

  QWidget* m_owner;
};

}  // namespace orvex::gui
