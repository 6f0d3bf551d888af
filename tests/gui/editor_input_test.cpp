// What reaches the editor and what it does with it: the control's own key bindings
// reduced to plain editing, Shift+Tab, files dropped from the file manager, the
// caret after a reversal, and tool bars without a menu of their own.

#include <QAbstractScrollArea>
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
