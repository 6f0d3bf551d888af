// The look: an icon for every command, the styled menus drawn as they should be
// (sampled from offscreen drawings), menus added later styled too, and the zoom
// that keeps the ruler over the text.

#include <QAbstractScrollArea>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "components/styled_menu_style.h"
#include "config/configuration_dialog.h"
#include "mainwindow/command_table.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

QImage drawn(const QSize& size, const std::function<void(QPainter&)>& draw) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  draw(painter);
  return image;
}

QStyleOptionMenuItem menuItem(QStyle::State state) {
  QStyleOptionMenuItem item;
  item.rect = QRect(0, 0, 220, 24);
  item.text = QStringLiteral("&Ouvrir...\tCtrl+O");
  item.menuItemType = QStyleOptionMenuItem::Normal;
  item.state = state;
  item.font = QApplication::font("QMenu");
  return item;
}

}  // namespace

class LookTest : public QObject {
  Q_OBJECT

 private slots:
  void everyCommandHasAnIcon() {
    WindowFixture f;
    QStringList missing;
    auto check = [&](const char* name) {
      const auto actions = f.window->findChildren<QAction*>(QString::fromLatin1(name));
      if (actions.isEmpty() || actions.first()->icon().pixmap(16, 16).isNull()) missing << QString::fromLatin1(name);
    };
    for (const auto* entries : {&mainMenuEntries(), &popupMenuEntries()})
      for (const MenuEntry& entry : *entries)
        if (entry.depth > 0 && entry.kind != MenuItemKind::Separator) check(entry.name);
    for (const auto* buttons : {&editBarButtons(), &toolsBarButtons(), &blockBarButtons()})
      for (const ButtonEntry& button : *buttons) check(button.name);
    // The fallback theme comes with the packages the build installs (breeze-icon-theme).
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no icon (is the Breeze icon theme installed?): ") +
                                           missing.join(QLatin1Char(' '))));
  }

  void menuItemsHaveTheIconColumnAndTheSelectionFrame() {
    WindowFixture f;
    StyledMenuStyle& style = *f.window->menuStyle();
    const MenuPalette colours = style.palette();

    const QImage idle = drawn({220, 24}, [&](QPainter& p) {
      const auto item = menuItem(QStyle::State_Enabled);
      style.drawControl(QStyle::CE_MenuItem, &item, &p, nullptr);
    });
    QCOMPARE(idle.pixelColor(3, 12), colours.iconColumn);
    QCOMPARE(idle.pixelColor(200, 3), colours.menuBackground);

    const QImage selected = drawn({220, 24}, [&](QPainter& p) {
      const auto item = menuItem(QStyle::State_Enabled | QStyle::State_Selected);
      style.drawControl(QStyle::CE_MenuItem, &item, &p, nullptr);
    });
    QCOMPARE(selected.pixelColor(200, 1), colours.selectionBorder);
    QCOMPARE(selected.pixelColor(0, 12), colours.selectionBorder);
    QCOMPARE(selected.pixelColor(200, 4), colours.selectionBackground);
    QCOMPARE(selected.pixelColor(200, 0), colours.menuBackground);

    // A separator is measured 4 pixels high, whatever the font.
    QStyleOptionMenuItem separator = menuItem(QStyle::State_Enabled);
    separator.menuItemType = QStyleOptionMenuItem::Separator;
    QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &separator, QSize(10, 10), nullptr).height(), 4);
  }

  void gradientAndFlatVariants() {
    WindowFixture f;
    StyledMenuStyle& style = *f.window->menuStyle();
    const MenuPalette colours = style.palette();

    style.setGradient(true);
    const QImage gradient = drawn({220, 24}, [&](QPainter& p) {
      const auto item = menuItem(QStyle::State_Enabled);
      style.drawControl(QStyle::CE_MenuItem, &item, &p, nullptr);
    });
    style.setGradient(false);
    // Fast across the icon column, then slowly, up to 96 % of the way to white.
    QCOMPARE(gradient.pixelColor(0, 20), lighten(colours.iconColumn, 3));
    QCOMPARE(gradient.pixelColor(10, 20), lighten(colours.iconColumn, 33));
    QCOMPARE(gradient.pixelColor(30, 20), lighten(colours.iconColumn, 89));
    QCOMPARE(gradient.pixelColor(210, 20), lighten(colours.iconColumn, 96));

    const auto frame = [&](bool flat) {
      style.setFlatMenu(flat);
      return drawn({100, 60}, [&](QPainter& p) {
        QStyleOption option;
        option.rect = QRect(0, 0, 100, 60);
        style.drawPrimitive(QStyle::PE_FrameMenu, &option, &p, nullptr);
      });
    };
    const QImage flat = frame(true);
    QCOMPARE(flat.pixelColor(0, 30), colours.darkFrame);
    QCOMPARE(flat.pixelColor(99, 30), colours.darkFrame);
    QCOMPARE(flat.pixelColor(1, 30), QColor(Qt::transparent));
    QCOMPARE(style.pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, nullptr), 1);
    const QImage raised = frame(false);
    QCOMPARE(raised.pixelColor(1, 30), QColor(Qt::white));
    QCOMPARE(raised.pixelColor(99, 30), colours.darkFrame);
    QCOMPARE(style.pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, nullptr), 2);
  }

  void menusAddedLaterTakeTheLookButNotTheDialogs() {
    WindowFixture f;
    writeBytes(f.path(QStringLiteral("menu.cfg")), "MENU-GENERAL=Mes outils\r\nMENU=Un\r\nCHEMIN=/bin/true\r\nPARAMETRE=\r\n");
    f.window->startUp();
    QMenu* tools = f.window->menuBar()->actions().at(4)->menu();
    tools->ensurePolished();
    QCOMPARE(tools->style(), static_cast<QStyle*>(f.window->menuStyle()));
    QCOMPARE(f.window->menuBar()->style(), static_cast<QStyle*>(f.window->menuStyle()));
    auto* browse = f.window->configurationDialog()->findChild<QToolButton*>(QStringLiteral("Parcourir"));
    browse->ensurePolished();
    QVERIFY(browse->style() != static_cast<QStyle*>(f.window->menuStyle()));
  }

  void ctrlWheelZoomsTheTextAndTheRulerTogether() {
    WindowFixture f;
    auto* ruler = f.window->findChild<QLabel*>(QStringLiteral("Panel9"));
    auto* viewport = qobject_cast<QAbstractScrollArea*>(f.window->editor()->textArea())->viewport();
    for (const int steps : {3, -5}) {
      for (int i = 0; i < std::abs(steps); ++i) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, steps > 0 ? 120 : -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
      }
      QVERIFY(f.window->editor()->zoom() != 0);
      QCOMPARE(ruler->font().pointSizeF(), f.window->editor()->zoomedFont().pointSizeF());
      // A hundred columns of the ruler end over the hundredth column of the text.
      const qreal rulerWidth = QFontMetricsF(ruler->font()).horizontalAdvance(QString(100, QLatin1Char('.')));
      QVERIFY2(std::abs(rulerWidth - f.window->editor()->textWidth(100)) <= 2,
               qPrintable(QStringLiteral("%1 / %2").arg(rulerWidth).arg(f.window->editor()->textWidth(100))));
    }
    QCOMPARE(f.window->editor()->zoom(), -2);
    // The zoom stays for the session, over a new document.
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.window->editor()->zoom(), -2);
  }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
