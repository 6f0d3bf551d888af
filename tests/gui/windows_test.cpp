// The gradient panel's painting and the splash, tips and about windows.

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "components/gradient_panel.h"
#include "scripted_ui.h"
#include "windows/small_windows.h"

using namespace orvex::gui;

namespace {

QImage render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  if (const QByteArray dir = qgetenv("ORVEX_SCREENSHOTS"); !dir.isEmpty())
    image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + widget.objectName() + QStringLiteral(".png"));
  return image;
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void defaultPanelRunsNavyToBlueInHundredStripes() {
    GradientPanel panel;
    QCOMPARE(panel.size(), QSize(200, 30));
    const QImage image = render(panel);
    QCOMPARE(QColor(image.pixel(0, 15)), QColor(0, 0, 129));
    QCOMPARE(QColor(image.pixel(1, 15)), QColor(0, 0, 129));
    QCOMPARE(QColor(image.pixel(2, 15)), QColor(0, 0, 130));
    QCOMPARE(QColor(image.pixel(199, 0)), QColor(0, 0, 228));
  }

  void splashBandsFollowTheWorkedExample() {
    SplashWindow splash(true);
    splash.resize(230, 179);
    const QImage image = render(*splash.panel());
    auto greenOfBand = [&](int band) { return QColor(image.pixel(0, (band - 1) * 2)).green(); };
    QCOMPARE(greenOfBand(1), 253);
    QCOMPARE(greenOfBand(2), 251);
    QCOMPARE(greenOfBand(3), 249);
    QCOMPARE(greenOfBand(64), 127);
    QCOMPARE(greenOfBand(65), 126);
    QCOMPARE(greenOfBand(90), 101);
    QCOMPARE(QColor(image.pixel(0, 0)).red(), 0);
    QCOMPARE(QColor(image.pixel(0, 0)).blue(), 255);
    QVERIFY(splash.wantsToShow());
    QVERIFY(!SplashWindow(false).wantsToShow());
  }

  void edgeCasesOfTheGradient() {
    GradientPanel same;
    same.setStartColour(QColor(10, 20, 30));
    same.setEndColour(QColor(10, 20, 30));
    QCOMPARE(QColor(render(same).pixel(100, 10)), QColor(10, 20, 30));

    GradientPanel oneStep;
    oneStep.setSteps(1);
    oneStep.setStartColour(Qt::black);
    oneStep.setEndColour(QColor(200, 100, 50));
    QCOMPARE(QColor(render(oneStep).pixel(0, 0)), QColor(200, 100, 50));

    GradientPanel framed;
    framed.setBorder(true);
    framed.setBevelStyle(BevelStyle::Lowered);
    const QImage image = render(framed);
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(199, 29)), QColor(Qt::black));
    QCOMPARE(image.pixel(1, 5), framed.palette().color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(198, 5), framed.palette().color(QPalette::Light).rgb());
    // Inside the frames the gradient starts one step from navy.
    QCOMPARE(QColor(image.pixel(2, 15)), QColor(0, 0, 129));
  }

  void tipsNavigateAndDisableTheirButtons() {
    TipsWindow tips;
    auto* next = tips.findChild<QToolButton*>(QStringLiteral("AstuceSuivante"));
    auto* previous = tips.findChild<QToolButton*>(QStringLiteral("AstucePrecedente"));
    QCOMPARE(TipsWindow::tips().size(), 9);
    QVERIFY(!previous->isEnabled());
    for (int i = 0; i < 8; ++i) next->click();
    QCOMPARE(tips.tipIndex(), 8);
    QVERIFY(!next->isEnabled());
    QVERIFY(previous->isEnabled());
    for (int i = 0; i < 8; ++i) previous->click();
    QCOMPARE(tips.tipIndex(), 0);
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());
    next->click();
    QVERIFY(tips.shownTip().contains(QLatin1Char('\n')));  // tip 1 is two lines
    QVERIFY(tips.showAtStart());
    tips.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(false);
    QVERIFY(!tips.showAtStart());
    render(tips);
  }

  void theSplashIsOnScreenBeforeTheEventLoopRuns() {
    SplashWindow splash(true);
    splash.showPainted();
    QVERIFY(splash.windowHandle()->isExposed());
  }

  void aboutBoxOpensTheWebPage() {
    test::ScriptedUi ui;
    AboutBox about(ui);
    QCOMPARE(about.windowTitle(), QStringLiteral("A propos..."));
    about.openWebPage();
    QCOMPARE(ui.opened, QStringList{kWebPageAddress});
    render(about);
    SplashWindow splash(true);
    render(splash);
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
