// The find and replace dialogs as the keyboard meets them: a match gives the keys
// back to the text while the dialog stays open, and Tab goes through the replace
// dialog in the order of its fields.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "window_fixture.h"
#include "windows/find_dialogs.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

class FindTest : public QObject {
  Q_OBJECT

 private slots:
  void aMatchGivesTheKeyboardToTheText() {
    WindowFixture f;
    f.setText("un abc deux abc trois abc\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget* text = f.window->editor()->textArea();
    FindDialog* find = f.window->findDialog();
    auto* findText = find->findChild<QLineEdit*>(QStringLiteral("FindText"));
    auto* next = find->findChild<QPushButton*>(QStringLiteral("Suivant"));

    // Enter in the find text (the default button), then a click on "Suivant".
    const std::function<void()> presses[] = {
        [&] { QTest::keyClick(findText, Qt::Key_Return); },
        [&] { QTest::mouseClick(next, Qt::LeftButton); },
    };
    const char* const after[] = {"un x deux abc trois abc\n", "un x deux x trois abc\n"};
    for (int i = 0; i < 2; ++i) {
      f.action("Rechercher1")->trigger();
      QTRY_VERIFY(find->isActiveWindow());
      // The keys go to the find text, whichever button had them before.
      QCOMPARE(QApplication::focusWidget(), findText);
      QTest::keyClicks(findText, QStringLiteral("abc"));
      presses[i]();
      QTRY_VERIFY(f.window->isActiveWindow());
      QCOMPARE(QApplication::focusWidget(), text);
      QVERIFY(find->isVisible());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
      QCOMPARE(f.text(), std::string(after[i]));
      QCOMPARE(find->findText(), QStringLiteral("abc"));
    }

    // F3 from the text: the next match, the keys still in the text.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    QCOMPARE(f.window->editor()->selectedText(), std::string("abc"));
    QCOMPARE(QApplication::focusWidget(), text);
    QVERIFY(f.ui.messages.empty());
  }

  void tabFollowsTheReplaceDialogsFields() {
    WindowFixture f;
    f.setText("abc abc\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.action("Remplacer1")->trigger();
    ReplaceDialog* replace = f.window->replaceDialog();
    QTRY_VERIFY(replace->isActiveWindow());
    auto* findText = replace->findChild<QLineEdit*>(QStringLiteral("FindText"));
    findText->setFocus();
    const QString order[] = {QStringLiteral("ReplaceText"), QStringLiteral("WholeWord"),
                             QStringLiteral("MatchCase"),   QStringLiteral("Suivant"),
                             QStringLiteral("Remplacer"),   QStringLiteral("RemplacerTout"),
                             QStringLiteral("Annuler"),     QStringLiteral("FindText")};
    for (const QString& name : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }

    // Typed as a user types: the find text, Tab, the replace text.
    QTest::keyClicks(findText, QStringLiteral("abc"));
    QTest::keyClick(findText, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    replace->findChild<QPushButton*>(QStringLiteral("RemplacerTout"))->click();
    QCOMPARE(f.text(), std::string("x x\n"));
  }
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
