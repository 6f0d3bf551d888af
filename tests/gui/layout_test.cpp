// Texts at the fonts of a Linux desktop: nothing cut in the status bar, the small
// windows and the message boxes, and a main window that opens at its own size.

#include <QCheckBox>
#include <QPushButton>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "services/ui_services.h"
#include "window_fixture.h"
#include "windows/small_windows.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

// Every label, check box and button of the window shows its whole text inside it.
void checkNothingCut(QWidget& window) {
  for (QWidget* child : window.findChildren<QWidget*>()) {
    const bool hasText = qobject_cast<QLabel*>(child) || qobject_cast<QPushButton*>(child) ||
                         qobject_cast<QCheckBox*>(child);
    if (!hasText || child->isHidden() || child->sizeHint().isEmpty()) continue;
    if (auto* label = qobject_cast<QLabel*>(child); label && label->wordWrap()) continue;
    const QRect inWindow(child->mapTo(&window, QPoint(0, 0)), child->size());
    QVERIFY2(window.rect().contains(inWindow), qPrintable(window.objectName() + QLatin1Char('/') + child->objectName()));
    // A push button's hint holds a minimum width of the style's; its text is what counts.
    auto* button = qobject_cast<QPushButton*>(child);
    const int needed = button ? button->fontMetrics().horizontalAdvance(button->text().remove(QLatin1Char('&'))) + 8
                              : child->sizeHint().width();
    QVERIFY2(child->width() >= needed, qPrintable(window.objectName() + QLatin1Char('/') + child->objectName()));
  }
}

}  // namespace

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void theSmallWindowsShowTheirWholeTexts() {
    AboutBox about(*new ScriptedUi);
    SplashWindow splash(true);
    TipsWindow tips;
    for (QWidget* window : std::initializer_list<QWidget*>{&about, &splash, &tips}) {
      window->show();
      checkNothingCut(*window);
    }
    QCOMPARE(splash.size(), QSize(230, 179));
    QCOMPARE(about.size(), QSize(241, 105));
  }

  void theStatusBarPanelsFitTheirTexts() {
    WindowFixture f;
    f.setText("une ligne\nune autre\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->editor()->selectAll();
    f.window->resize(1000, 480);
    QTRY_VERIFY(f.window->findChild<StatusBar*>()->panel(5)->isVisible());
    StatusBar* bar = f.window->findChild<StatusBar*>();
    const int widths[] = {150, 150, 75, 100, 110};
    for (int i = 0; i < bar->panelCount(); ++i) {
      QLabel* panel = bar->panel(i);
      const int text = panel->fontMetrics().horizontalAdvance(panel->text());
      QVERIFY2(panel->contentsRect().width() >= text, qPrintable(panel->text()));
      if (i < 5) QVERIFY(panel->width() >= widths[i]);
    }
    QVERIFY(bar->panelText(0).contains(QStringLiteral("Select")));

    // Narrow, the format panel goes first, whole: never shown cut.
    f.window->resize(600, 480);
    QTRY_COMPARE(f.window->width(), 600);
    QLabel* format = bar->panel(5);
    QVERIFY(!format->isVisible() ||
            format->contentsRect().width() >= format->fontMetrics().horizontalAdvance(format->text()));
  }

  void theMainWindowOpensAtItsOwnSize() {
    WindowFixture f;
    f.setText(std::string(500, 'x'));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->size(), QSize(600, 480));
    QVERIFY(f.window->minimumSizeHint().width() <= 600);
  }

  void messageBoxesKeepTheLinesOfTheirText() {
    const QString warning = QStringLiteral(
        "Cette fonction permet de supprimer les lignes consécutives équivalantes.\n\r"
        "Par conséquent, en fonction de vos besoins, si vous souhaitez enlever tous \n\r"
        "les doublons du fichier, veuillez au préalable trier le fichier.");
    QtUiServices ui;
    int lines = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      lines = label->height() / label->fontMetrics().lineSpacing();
      box->accept();
    });
    ui.showMessage(QStringLiteral("Avertissement"), warning, MessageIcon::Warning);
    QCOMPARE(lines, 3);
  }

  // A short text in a box with a longer caption: the frame's bold title, with its
  // icon and buttons beside it, still fits.
  void aNarrowBoxShowsItsWholeCaption() {
    QtUiServices ui;
    for (const QString& caption : {QStringLiteral("Avertissement"), QStringLiteral("Information")}) {
      int width = 0;
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        width = box->width();
        box->accept();
      });
      ui.showMessage(caption, QStringLiteral("\"x\" pas trouvé."), MessageIcon::Warning);
      QFont title = QApplication::font();
      title.setBold(true);
      // Openbox's frame takes about 90 pixels for its icon, three buttons and margins.
      QVERIFY2(width >= QFontMetrics(title).horizontalAdvance(caption) + 100, qPrintable(caption));
    }
  }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
