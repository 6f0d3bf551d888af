// The editor hears of its control's edits just before they happen: what it derives
// from them (the first byte the recovery journal must write again, "Modifié", the
// width of the line numbers) must still be right once each edit is complete.

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

// 999 lines: one more and the numbers take a fourth digit.
std::string nineHundredNinetyNineLines() {
  std::string text;
  for (int i = 1; i < 999; ++i) text += "ligne\n";
  return text + "fin";
}

}  // namespace

class ChangeReportsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachEditReportsWhereTheTextChangesAndLeavesTheMarginRight() {
    struct Edit {
      const char* name;
      std::function<void(QWidget* area, DocumentEditor& editor)> act;
      qint64 firstChanged;
      bool widerNumbers;
    };
    const std::string text = nineHundredNinetyNineLines();
    const qint64 lastLine = static_cast<qint64>(text.size()) - 3;
    const Edit edits[] = {
        {"a letter typed at the end", [](QWidget* area, DocumentEditor&) { QTest::keyClick(area, Qt::Key_X); },
         static_cast<qint64>(text.size()), false},
        {"a line break typed", [](QWidget* area, DocumentEditor&) { QTest::keyClick(area, Qt::Key_Return); },
         static_cast<qint64>(text.size()), true},
        {"the last line break erased",
         [lastLine](QWidget* area, DocumentEditor& editor) {
           editor.selectOffsets(static_cast<std::size_t>(lastLine), static_cast<std::size_t>(lastLine));
           QTest::keyClick(area, Qt::Key_Backspace);
         },
         lastLine - 1, false},
        {"two lines pasted over the first letter",
         [](QWidget*, DocumentEditor& editor) {
           editor.selectOffsets(0, 1);
           editor.replaceSelection("a\nb\n");
         },
         0, true},
    };
    for (const Edit& edit : edits) {
      WindowFixture f;
      DocumentEditor& editor = *f.window->editor();
      editor.setLineNumbersShown(true);
      f.setText(text);
      editor.selectOffsets(text.size(), text.size());
      QApplication::processEvents();
      const int width = editor.marginWidth();
      const std::string before = f.text();
      QSignalSpy changes(&editor, &DocumentEditor::textChangesFrom);
      edit.act(editor.textArea(), editor);
      QApplication::processEvents();
      QVERIFY2(!changes.isEmpty(), edit.name);
      qint64 first = changes.first().first().toLongLong();
      for (const QList<QVariant>& change : changes) first = std::min(first, change.first().toLongLong());
      QCOMPARE(first, edit.firstChanged);
      QVERIFY2(editor.isModified(), edit.name);
      QVERIFY2(edit.widerNumbers == (editor.marginWidth() > width), edit.name);
      QVERIFY2(editor.marginWidth() >= width, edit.name);

      // Undone, the text and the margin are as before, and "Modifié" is gone.
      QVERIFY2(editor.undo(), edit.name);
      QApplication::processEvents();
      QCOMPARE(f.text(), before);
      QCOMPARE(editor.marginWidth(), width);
      QVERIFY2(!editor.isModified(), edit.name);
    }
  }

  // The control's own accessible interface counts the characters from the start of
  // the text at every key; without a screen reader the editor is offered as a plain
  // editable widget.
  void withoutAScreenReaderTheEditorIsAPlainAccessibleWidget() {
    WindowFixture f;
    f.window->show();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(f.window->editor()->textArea());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(!accessible->textInterface());
  }
};

QTEST_MAIN(ChangeReportsTest)
#include "change_reports_test.moc"
