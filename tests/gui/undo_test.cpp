// Undo and redo: every tool one step back to the exact bytes, the history before a
// tool kept, the bounded store of tool steps, and the caret kept through a tool.

#include <QDir>
#include <QTest>

#include "text/format_detection.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void typeText(QWidget* area, const QString& text) {
  for (const QChar c : text) QTest::keyClick(area, c.toLatin1());
}

int filesIn(const std::filesystem::path& directory) {
  return static_cast<int>(QDir(QString::fromStdString(directory.string())).entryList(QDir::Files).size());
}

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT

 private slots:
  void everyToolIsUndoneAndRedoneInOneStep() {
    const struct {
      const char* action;
      std::string before;
    } cases[] = {
        {"Metteenmajuscules1", "Été à Noël\r\nfin\r\n"},
        {"Metteenminuscules1", "ABC\nDÉF"},
        {"Ascendant1", "b\n\nA\nc\n"},
        {"Descendant1", "a\r\nc\r\nb"},
        {"Suppressiondesdoublons1", "a\na\nb\nb\n"},
        {"Concatneravecunautrefichier1", "un\ndeux\n"},
        {"Enleverlesaccents1", "caf\xE9 o\xF9\r\n"},
        {"Enleverlesblancs1", " a b \n\n c\n"},
        {"Taillertouteslesligneslataillemaxi1", "été\na\n\nlongue ligne\n"},
        {"Crypter2", "Texte été \x01\x02\x03\n"},
        {"Dcrypter1", "Wh{wh\n"},
        {"Inverserlaselection1", "abc déf\r\nghi"},
    };
    for (const auto& c : cases) {
      WindowFixture f;
      const QString other = f.path(QStringLiteral("autre.txt"));
      writeBytes(other, "trois\nquatre\n");
      f.ui.files << other;
      f.window->editor()->loadBytes(c.before, detectFormat(c.before));
      const Encoding shown = f.window->editor()->shownEncoding();
      f.window->editor()->selectAll();
      f.action(c.action)->trigger();
      const std::string after = f.text();
      QVERIFY2(after != c.before, c.action);

      f.window->editor()->markSaved();
      f.action("Annuler1")->trigger();
      QVERIFY2(f.text() == c.before, c.action);
      QCOMPARE(f.window->editor()->shownEncoding(), shown);
      QVERIFY(f.window->isModified());
      f.action("Annuler1")->trigger();  // nothing older: the text stays
      QVERIFY2(f.text() == c.before, c.action);

      f.window->editor()->markSaved();
      f.action("Rtablir1")->trigger();
      QVERIFY2(f.text() == after, c.action);
      QVERIFY(f.window->isModified());
      QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
      QVERIFY(f.ui.messages.size() <= 1);  // the duplicate warning only
    }
  }

  void typingBeforeAToolIsStillUndone() {
    WindowFixture f;
    f.setText("base\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QWidget* area = f.window->editor()->textArea();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_End);
    typeText(area, QStringLiteral("xy"));
    QCOMPARE(f.text(), std::string("basexy\n"));
    f.action("Metteenmajuscules1")->trigger();
    f.action("Enleverlesblancs1")->trigger();
    QCOMPARE(f.text(), std::string("BASEXY\n"));

    for (const char* expected : {"BASEXY\n", "basexy\n", "base\n"}) {
      f.action("Annuler1")->trigger();
      QCOMPARE(f.text(), std::string(expected));
    }
    for (const char* expected : {"basexy\n", "BASEXY\n"}) {
      QTest::keyClick(area, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      QCOMPARE(f.text(), std::string(expected));
    }
    QTest::keyClick(area, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.text(), std::string("basexy\n"));

    // Typing after an undo drops what could have been redone.
    typeText(area, QStringLiteral("!"));
    const std::string typed = f.text();
    QCOMPARE(typed.size(), std::string("basexy!\n").size());
    f.action("Rtablir1")->trigger();
    QCOMPARE(f.text(), typed);
  }

  void aTabIsOneStep() {
    WindowFixture f;
    f.setText("ab");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_Right);
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(f.text(), std::string("a    b"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("ab"));
  }

  void theToolHistoryIsBoundedOldestFirst() {
    WindowFixture f;
    f.setText("abc\n");
    f.window->editor()->setHistoryLimits({2, std::uintmax_t{1} << 30});
    for (const char* action : {"Metteenmajuscules1", "Metteenminuscules1", "Crypter2"})
      f.action(action)->trigger();
    const ToolHistory& history = f.window->editor()->toolHistory();
    QCOMPARE(history.steps(), std::size_t(2));
    QCOMPARE(filesIn(f.scratch.path() / "annulations"), 4);

    f.action("Annuler1")->trigger();
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("ABC\n"));
    QVERIFY(f.ui.messages.empty());
    // The first tool's text is gone: the text stays, and so does nothing older.
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("ABC\n"));
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages[0].text, QStringLiteral("Les modifications plus anciennes ne peuvent plus être annulées."));
    QCOMPARE(filesIn(f.scratch.path() / "annulations"), 0);
    f.action("Rtablir1")->trigger();
    QCOMPARE(f.text(), std::string("ABC\n"));

    // A byte limit smaller than one step still keeps the newest step.
    f.window->editor()->setHistoryLimits({20, 1});
    f.action("Metteenminuscules1")->trigger();
    f.action("Enleverlesblancs1")->trigger();
    QCOMPARE(history.steps(), std::size_t(1));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("abc\n"));
  }

  void openingAFileStartsAFreshHistory() {
    WindowFixture f;
    f.setText("abc\n");
    f.action("Metteenmajuscules1")->trigger();
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "autre\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    QCOMPARE(f.window->editor()->toolHistory().steps(), std::size_t(0));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("autre\n"));
  }

  void theCaretAndTheViewStayThroughATool() {
    WindowFixture f;
    std::string text;
    for (int i = 0; i < 300; ++i) text += "ligne  " + std::to_string(i) + "\n";
    f.setText(text);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    DocumentEditor* editor = f.window->editor();
    editor->restoreViewPosition({150, 8, 140});
    QCOMPARE(editor->viewPosition().line, 150);

    f.action("Metteenmajuscules1")->trigger();
    ViewPosition where = editor->viewPosition();
    QCOMPARE(where.line, 150);
    QCOMPARE(where.column, 8);
    QCOMPARE(where.firstVisibleLine, 140);
    QCOMPARE(editor->selectionLength(), 0);

    // Blanks removed: the line is shorter and the column stops at its end.
    f.action("Enleverlesblancs1")->trigger();
    where = editor->viewPosition();
    QCOMPARE(where.line, 150);
    QCOMPARE(where.column, 8);
    editor->restoreViewPosition({150, 20, 140});
    QCOMPARE(editor->viewPosition().column, 8);
    f.action("Annuler1")->trigger();
    QCOMPARE(editor->viewPosition().line, 150);
    QCOMPARE(editor->viewPosition().firstVisibleLine, 140);

    // Every tool and its undo, duplicate removal included.
    for (const char* action : {"Suppressiondesdoublons1", "Metteenminuscules1", "Descendant1", "Crypter2",
                               "Taillertouteslesligneslataillemaxi1"}) {
      editor->restoreViewPosition({150, 3, 140});
      f.action(action)->trigger();
      QVERIFY2(editor->viewPosition().line == 150, action);
      f.action("Annuler1")->trigger();
      QVERIFY2(editor->viewPosition().line == 150, action);
      QVERIFY2(editor->viewPosition().column == 3, action);
    }

    // Fewer lines than the caret's line: the caret goes to the last one.
    f.setText("a\na\na\n");
    editor->restoreViewPosition({2, 1, 0});
    f.action("Suppressiondesdoublons1")->trigger();
    QCOMPARE(editor->viewPosition().line, 1);
  }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
