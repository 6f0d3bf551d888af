// The fill dialog and command, and the fill of a block: the worked examples, in
// UTF-8 and Windows-1252, one undo step each.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "text/format_detection.h"
#include "window_fixture.h"
#include "windows/fill_dialog.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void load(WindowFixture& f, const std::string& text) { f.window->editor()->loadBytes(text, detectFormat(text)); }

struct Fill {
  QString text;
  int column = 0;  // 0: as preset
  bool increment = false;
  int start = 0;
  int step = 0;
  bool accept = true;
};

// Answers the fill dialog as a user would.
void answer(WindowFixture& f, const Fill& fill) {
  f.ui.onModal = [fill](QDialog& dialog) {
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(fill.text);
    if (fill.column) dialog.findChild<QSpinBox*>(QStringLiteral("UpDown1"))->setValue(fill.column);
    dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(fill.increment);
    dialog.findChild<QSpinBox*>(QStringLiteral("UpDown4"))->setValue(fill.start);
    dialog.findChild<QSpinBox*>(QStringLiteral("UpDown5"))->setValue(fill.step);
    dialog.findChild<QPushButton*>(fill.accept ? QStringLiteral("BitBtn1") : QStringLiteral("BitBtn2"))->click();
  };
}

}  // namespace

class FillTest : public QObject {
  Q_OBJECT

 private slots:
  void theWorkedExamples() {
    const struct {
      std::string before;
      Fill fill;
      std::string after;
    } cases[] = {
        {"un\n\ntrois\n", {QStringLiteral("XY")}, "XYun\nXY \nXYtrois\n"},
        {"abcdef\n", {QStringLiteral("XY"), 3}, "abXYcdef\n"},
        {"ab\nabcdefgh\n", {QStringLiteral("XY"), 5}, "ab  XY \nabcdXYefgh\n"},
        {"ab\n", {QStringLiteral("XY"), 5}, "ab  XY \n"},
        {"\n", {QStringLiteral("XY"), 32767}, std::string(32766, ' ') + "XY \n"},
        {"a\nb\nc\n", {QStringLiteral("ID%-"), 1, true, 7, 3}, "ID7-a\nID10-b\nID13-c\n"},
        {"a\nb\n", {QStringLiteral("N"), 1, true, 1, 1}, "1Na\n2Nb\n"},
        {"caf\xE9\r\n", {QStringLiteral("€"), 5}, "caf\xE9\x80 \r\n"},
        {"abc\n", {QStringLiteral("XY"), 0, false, 0, 0, false}, "abc\n"},
    };
    for (const auto& c : cases) {
      WindowFixture f;
      load(f, c.before);
      answer(f, c.fill);
      f.action("Remplir1")->trigger();
      QVERIFY2(f.text() == c.after, f.text().c_str());
      QCOMPARE(f.window->isModified(), c.fill.accept);
    }
  }

  void aCharacterOutsideTheCodePageMakesTheDocumentUtf8() {
    WindowFixture f;
    load(f, "caf\xE9\n");
    answer(f, {QStringLiteral("☃"), 1});
    f.action("Remplir1")->trigger();
    QCOMPARE(f.text(), std::string("☃café\n"));
    QCOMPARE(f.window->editor()->format().encoding, Encoding::Utf8);
  }

  void theColumnReachesPastTheLongestLineAndTheLinesTheirCount() {
    WindowFixture f;
    std::string text;
    for (int i = 0; i < 40'000; ++i) text += "ligne\n";
    text += std::string(40'000, 'x') + "\n";
    load(f, text);
    f.ui.onModal = [](QDialog& dialog) {
      QCOMPARE(dialog.findChild<QSpinBox*>(QStringLiteral("UpDown1"))->maximum(), 40'001);
      QCOMPARE(dialog.findChild<QSpinBox*>(QStringLiteral("UpDown3"))->value(), 40'001);
    };
    f.action("Remplir1")->trigger();
  }

  // Typed, as a user types it: any column up to 32767 on short lines too, a fixed
  // window, and after a block fill the full range back.
  void aTypedColumnIsTakenUpTo32767() {
    WindowFixture f;
    load(f, "ab\ncd\n");
    std::vector<int> maxima;
    f.ui.onModal = [&maxima](QDialog& dialog) {
      dialog.show();
      QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
      auto* column = dialog.findChild<QSpinBox*>(QStringLiteral("UpDown1"));
      maxima.push_back(column->maximum());
      column->selectAll();
      QTest::keyClicks(column, QStringLiteral("5"));
      QTest::keyClicks(dialog.findChild<QLineEdit*>(QStringLiteral("Edit1")), QStringLiteral("X"));
      dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    };
    f.action("Remplir1")->trigger();
    QCOMPARE(f.text(), std::string("ab  X \ncd  X \n"));

    f.window->editor()->restoreViewPosition({0, 1, 0});
    f.action("Dbutbloc1")->trigger();
    f.window->editor()->restoreViewPosition({1, 2, 0});
    f.action("Finbloc1")->trigger();
    f.ui.onModal = [](QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); };
    f.action("ToolButton41")->trigger();
    f.ui.onModal = [&maxima](QDialog& dialog) {
      maxima.push_back(dialog.findChild<QSpinBox*>(QStringLiteral("UpDown1"))->maximum());
    };
    f.action("Remplir1")->trigger();
    QCOMPARE(maxima, (std::vector<int>{32767, 32767}));
  }

  void aBlockIsFilledInOneStep() {
    WindowFixture f;
    load(f, "0123456789\nabcdéfghij\nABCDEFGHIJ\n");
    f.window->editor()->restoreViewPosition({0, 2, 0});
    f.action("Dbutbloc1")->trigger();
    f.window->editor()->restoreViewPosition({1, 7, 0});
    f.action("Finbloc1")->trigger();  // columns 3 to 7 of lines 1 and 2: width 5
    answer(f, {QStringLiteral("ab")});
    f.action("ToolButton41")->trigger();
    QCOMPARE(f.text(), std::string("01ab   789\nabab   hij\nABCDEFGHIJ\n"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("0123456789\nabcdéfghij\nABCDEFGHIJ\n"));

    // Cancelled: the block's content stays deleted.
    answer(f, {QStringLiteral("ab"), 0, false, 0, 0, false});
    f.action("ToolButton41")->trigger();
    QCOMPARE(f.text(), std::string("01789\nabhij\nABCDEFGHIJ\n"));

    // The deletion's step could not be kept: the fill does not cut the block twice.
    load(f, "0123456789\nabcdéfghij\nABCDEFGHIJ\n");
    std::filesystem::remove_all(f.scratch.path() / "annulations");
    writeBytes(QString::fromStdString((f.scratch.path() / "annulations").string()), "pas un dossier");
    answer(f, {QStringLiteral("ab")});
    f.action("ToolButton41")->trigger();
    QCOMPARE(f.text(), std::string("01789\nabhij\nABCDEFGHIJ\n"));
    QVERIFY(f.ui.messages.back().text.contains(QStringLiteral("ne peut plus être rétabli")));
  }
};

QTEST_MAIN(FillTest)
#include "fill_test.moc"
