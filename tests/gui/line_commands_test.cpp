// The line commands and insertions of the edit menu, with the edge cases a user
// meets: numbers that name no line, the last line, selections, a nameless document.

#include <QTest>

#include "text/format_detection.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void load(WindowFixture& f, const std::string& text) { f.window->editor()->loadBytes(text, detectFormat(text)); }

void goToLine(WindowFixture& f, const QString& typed) {
  f.ui.files << typed;  // the scripted input box answers from the same list
  f.action("Allerlaligne1")->trigger();
}

}  // namespace

class LineCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void goToLineMovesWithoutChangingTheText() {
    WindowFixture f;
    load(f, "un\r\ndeux\r\ntrois");
    DocumentEditor* editor = f.window->editor();
    goToLine(f, QStringLiteral("2"));
    QCOMPARE(editor->caretLine(), 1);
    QCOMPARE(editor->caretColumn(), 0);
    goToLine(f, QStringLiteral("1"));
    QCOMPARE(editor->caretLine(), 0);
    for (const char* nothing : {"0", "-5", "5"}) {
      goToLine(f, QString::fromLatin1(nothing));
      QCOMPARE(editor->caretLine(), 0);
    }
    QVERIFY(f.ui.messages.empty());
    QVERIFY(!f.window->ModifiedFlag);
    f.action("Annuler1")->trigger();  // scrolling left no undo step
    QCOMPARE(f.text(), std::string("un\r\ndeux\r\ntrois"));

    for (const char* wrong : {"-1", "abc", "", "$FFFFFFFF"}) {
      goToLine(f, QString::fromLatin1(wrong));
      QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Erreur"));
      QCOMPARE(f.ui.messages.back().text, QStringLiteral("Vous devez saisir un numéro correct."));
      QCOMPARE(f.ui.messages.back().icon, MessageIcon::Warning);
    }
    QCOMPARE(f.ui.messages.size(), std::size_t(4));

    // Just past a last line with text: an empty line is appended and the caret goes there.
    goToLine(f, QStringLiteral("4"));
    QCOMPARE(f.text(), std::string("un\r\ndeux\r\ntrois\r\n"));
    QCOMPARE(editor->caretLine(), 3);
    goToLine(f, QStringLiteral("5"));
    QCOMPARE(editor->caretLine(), 3);
  }

  void selectTheLineWithoutItsBreak() {
    WindowFixture f;
    load(f, "abcd\r\nefghijk\r\nligne trois\r\n");
    f.window->editor()->restoreViewPosition({2, 4, 0});
    f.action("Slectionnerlaligne1")->trigger();
    QCOMPARE(f.window->editor()->selectedText(), std::string("ligne trois"));
    QCOMPARE(f.window->editor()->selectionStartColumn(), 0);
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 3  Select : 11"));
  }

  void duplicateDeleteAndInsertLines() {
    WindowFixture f;
    load(f, "un\ndeux\n");
    DocumentEditor* editor = f.window->editor();
    editor->restoreViewPosition({1, 2, 0});
    f.action("Dupliquerlaligne1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\ndeux\n"));
    QCOMPARE(editor->caretLine(), 2);
    QVERIFY(f.window->ModifiedFlag);
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\n"));

    editor->restoreViewPosition({1, 1, 0});
    f.action("Insreruneligne1")->trigger();
    QCOMPARE(f.text(), std::string("un\n\ndeux\n"));
    QCOMPARE(editor->caretLine(), 1);
    QCOMPARE(editor->caretColumn(), 0);

    f.action("Supprimerleligne1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\n"));
    QCOMPARE(editor->caretLine(), 1);

    // The last line: the document ends with two equal lines; deleting the only line
    // leaves one empty line.
    WindowFixture last;
    load(last, "seule");
    last.action("Dupliquerlaligne1")->trigger();
    QCOMPARE(last.text(), std::string("seule\nseule"));
    last.action("Supprimerleligne1")->trigger();
    QCOMPARE(last.text(), std::string("seule\n"));
    load(last, "seule");
    last.action("Supprimerleligne1")->trigger();
    QCOMPARE(last.text(), std::string(""));
  }

  void insertionsGoAtTheCaretAndMarkTheDocument() {
    WindowFixture f;
    load(f, "ligne\n");
    DocumentEditor* editor = f.window->editor();
    f.action("Date1")->trigger();
    const std::string date = f.text().substr(0, 10);
    QVERIFY(date[2] == '/' && date[5] == '/');
    QCOMPARE(f.text(), date + "ligne\n");
    QCOMPARE(editor->caretColumn(), 10);
    QVERIFY(f.window->ModifiedFlag);

    // With a selection, the text goes after it and the caret 5 after its start.
    load(f, "abcdefgh\n");
    editor->restoreViewPosition({0, 2, 0});
    QTest::keyClick(editor->textArea(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor->textArea(), Qt::Key_Right, Qt::ShiftModifier);
    f.action("Heure1")->trigger();
    const std::string time = f.text().substr(4, 5);
    QCOMPARE(f.text(), "abcd" + time + "efgh\n");
    QCOMPARE(editor->caretColumn(), 2 + 5);

    // A nameless document: nothing inserted, the document marked all the same.
    load(f, "x");
    f.window->ModifiedFlag = false;
    f.action("Nomdufichier1")->trigger();
    QCOMPARE(f.text(), std::string("x"));
    QVERIFY(f.window->ModifiedFlag);

    f.window->CurrentFileName = QStringLiteral("/tmp/dossier é/été.txt");
    f.action("Nomdufichier1")->trigger();
    f.action("Rpertoiredufichier1")->trigger();
    QCOMPARE(f.text(), std::string("été.txt/tmp/dossier é/x"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("été.txtx"));
  }
};

QTEST_MAIN(LineCommandsTest)
#include "line_commands_test.moc"
