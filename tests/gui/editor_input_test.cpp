// What reaches the editor and what it does with it: the control's own key bindings
// reduced to plain editing, Ctrl and Alt keys that type nothing, Shift+Tab, files dropped from the file manager, the
// caret after a reversal, and tool bars without a menu of their own.

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

QWidget* viewport(const WindowFixture& f) {
  return qobject_cast<QAbstractScrollArea*>(f.window->editor()->textArea())->viewport();
}

void drop(QWidget* target, QMimeData* data) {
  const QPointF at(10, 10);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
}

}  // namespace

class EditorInputTest : public QObject {
  Q_OBJECT

 private slots:
  void theControlsOwnBindingsAreGone() {
    const QKeySequence keys[] = {
        QKeySequence(Qt::CTRL | Qt::Key_U),          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
        QKeySequence(Qt::CTRL | Qt::Key_Backspace),  QKeySequence(Qt::CTRL | Qt::Key_Delete),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backspace), QKeySequence(Qt::ALT | Qt::Key_Backspace),
        QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down),
        QKeySequence(Qt::Key_Insert),                QKeySequence(Qt::SHIFT | Qt::Key_Return),
    };
    for (const QKeySequence& key : keys) {
      WindowFixture f;
      f.setText("LIGNE UN\nLigne Deux\n");
      f.window->show();
      QWidget* area = f.window->editor()->textArea();
      QTest::keyClick(area, Qt::Key_Down);
      QTest::keyClick(area, Qt::Key_Right);
      QTest::keyClick(area, Qt::Key_End, Qt::ShiftModifier);
      QTest::keySequence(area, key);
      QVERIFY2(f.text() == "LIGNE UN\nLigne Deux\n", qPrintable(key.toString()));
    }
    // Insert does not switch to overwriting.
    WindowFixture overwrite;
    overwrite.setText("abc");
    overwrite.window->show();
    QTest::keyClick(overwrite.window->editor()->textArea(), Qt::Key_Insert);
    QTest::keyClick(overwrite.window->editor()->textArea(), Qt::Key_X);
    QCOMPARE(overwrite.text(), std::string("xabc"));

    // Zoom keys leave the text size alone: a typed line stays as wide.
    WindowFixture f;
    f.setText("abc");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    const QFont before = area->font();
    QTest::keyClick(area, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(area->font(), before);
    QCOMPARE(f.text(), std::string("abc"));
  }

  // Ctrl or Alt with a key that gives a character: the program's shortcuts and the
  // control's clipboard keys act, nothing else types. AltGr types its character:
  // X11 gives it the group switch (as Qt 6.4 reports a French keyboard under Xvfb),
  // other systems no modifier. Shortcuts need the window active.
  void commandKeysTypeNothing_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const struct {
      const char* name;
      int key;
      Qt::KeyboardModifiers modifiers;
      QString typed;
      QString after;
    } rows[] = {
        {"Ctrl+=", Qt::Key_Equal, ctrl, "=", "ab"},
        {"Ctrl++", Qt::Key_Plus, ctrl | Qt::ShiftModifier, "+", "ab"},
        {"Ctrl+keypad +", Qt::Key_Plus, ctrl | Qt::KeypadModifier, "+", "ab"},
        {"Ctrl+-", Qt::Key_Minus, ctrl, "-", "ab"},
        {"Ctrl+keypad -", Qt::Key_Minus, ctrl | Qt::KeypadModifier, "-", "ab"},
        {"Ctrl+0", Qt::Key_0, ctrl, "0", "ab"},
        {"Ctrl+à (0 in French)", Qt::Key_Agrave, ctrl, "à", "ab"},
        {"Ctrl+,", Qt::Key_Comma, ctrl, ",", "ab"},
        {"Ctrl+Alt+W", Qt::Key_W, ctrl | alt, "w", "ab"},
        {"Alt+W", Qt::Key_W, alt, "w", "ab"},
        {"Alt+Shift+W", Qt::Key_W, alt | Qt::ShiftModifier, "W", "ab"},
        {"Alt+é", Qt::Key_Eacute, alt, "é", "ab"},
        {"Ctrl+Alt+W from X11", Qt::Key_W, ctrl | alt, "\x17", "ab"},
        {"AltGr+E", 0x20AC, Qt::GroupSwitchModifier, "€", "ab€"},
        {"AltGr+0", Qt::Key_At, Qt::GroupSwitchModifier, "@", "ab@"},
        {"AltGr+5", Qt::Key_BracketLeft, Qt::GroupSwitchModifier, "[", "ab["},
        {"AltGr+E, no modifier", 0x20AC, Qt::NoModifier, "€", "ab€"},
        {"Shift+A", Qt::Key_A, Qt::ShiftModifier, "A", "abA"},
        {"é", Qt::Key_Eacute, Qt::NoModifier, "é", "abé"},
        {"Ctrl+V", Qt::Key_V, ctrl, "v", "abcollé"},
        {"Ctrl+V from X11", Qt::Key_V, ctrl, "\x16", "abcollé"},
        {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, "", "abcollé"},
        {"Ctrl+Insert", Qt::Key_Insert, ctrl, "", "ab"},
        {"Ctrl+Alt+A, upper case", Qt::Key_A, ctrl | alt, "a", "AB"},
        {"Ctrl+W, paste", Qt::Key_W, ctrl, "w", "abcollé"},
        {"Ctrl+Left", Qt::Key_Left, ctrl, "", "ab"},
    };
    for (const auto& row : rows) QTest::newRow(row.name) << row.key << row.modifiers << row.typed << row.after;
  }

  void commandKeysTypeNothing() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QApplication::clipboard()->setText(QStringLiteral("collé"));
    WindowFixture f;
    f.setText("ab");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget* area = f.window->editor()->textArea();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_End);
    QTest::sendKeyEvent(QTest::Click, area, static_cast<Qt::Key>(key), typed, modifiers);
    QCOMPARE(QString::fromStdString(f.text()), after);
    QCOMPARE(f.window->editor()->zoom(), 0);  // zoom is Ctrl+wheel only
  }

  void navigationAndClipboardKeysStillWork() {
    WindowFixture f;
    f.setText("un deux\ntrois\n");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(area, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(f.window->editor()->selectedText(), std::string("deux"));
    QTest::keyClick(area, Qt::Key_Insert, Qt::ControlModifier);
    QTest::keyClick(area, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(f.text(), std::string("un \ntrois\n"));
    QTest::keyClick(area, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(area, Qt::Key_Backspace);
    QTest::keyClick(area, Qt::Key_Return);
    QCOMPARE(f.text(), std::string("un deu\n\ntrois\n"));
  }

  void shiftTabIsATabToo() {
    WindowFixture f;
    f.setText("  ab");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_End);
    QTest::keyClick(area, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.text(), std::string("  ab    "));
    QCOMPARE(f.window->editor()->caretColumn(), 8);
  }

  void theReversedTextIsLeftUnselected() {
    WindowFixture f;
    f.setText("abc déf");
    f.window->show();
    f.window->editor()->selectAll();
    f.action("Inverserlaselection1")->trigger();
    QCOMPARE(f.text(), std::string("féd cba"));
    QCOMPARE(f.window->editor()->selectionLength(), 0);
    QCOMPARE(f.window->editor()->caretColumn(), 7);
    QTest::keyClick(f.window->editor()->textArea(), Qt::Key_X);
    QCOMPARE(f.text(), std::string("féd cbax"));
  }

  void aFileDroppedFromTheFileManagerIsOpened() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("déposé.txt"));
    writeBytes(file, "contenu\n");
    f.setText("non enregistré");
    f.touch();
    f.window->show();

    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(file)});
    f.ui.answers = {Answer::Cancel};
    drop(viewport(f), files);
    QTRY_COMPARE(f.ui.questions.size(), 1);
    QCOMPARE(f.text(), std::string("non enregistré"));

    f.ui.answers = {Answer::No};
    drop(viewport(f), files);
    QTRY_COMPARE(f.text(), std::string("contenu\n"));
    QCOMPARE(f.documentPath(), file);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex - ") + file);
    QVERIFY(!f.window->isModified());
    delete files;

    // Text is no file: nothing is opened, nothing asked.
    auto* text = new QMimeData;
    text->setText(QStringLiteral("texte"));
    f.touch();
    drop(viewport(f), text);
    QCoreApplication::processEvents();
    QCOMPARE(f.ui.questions.size(), 2);
    QCOMPARE(f.documentPath(), file);
    delete text;
  }

  void barsHaveNoMenuOfTheirOwn() {
    WindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    for (const char* name : {"ToolBar1", "ToolBar2", "ToolBar3"}) {
      auto* bar = f.window->findChild<QToolBar*>(QString::fromLatin1(name));
      QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(bar, &click);
      QVERIFY2(QApplication::activePopupWidget() == nullptr, name);
    }
    QVERIFY(f.window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->isVisible());
    QVERIFY(f.action("Barreddition1")->isChecked());
  }
};

QTEST_MAIN(EditorInputTest)
#include "editor_input_test.moc"
