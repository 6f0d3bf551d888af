// The line commands, insertions, find and replace of the edit menu, with the edge
// cases a user meets: numbers that name no line, the last line, selections, a
// nameless document, no wrap-around, replace all that never loops.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "text/format_detection.h"
#include "window_fixture.h"
#include "windows/find_dialogs.h"

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
    QVERIFY(!f.window->isModified());
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
    QVERIFY(f.window->isModified());
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\n"));
    // A NUL byte is a character like any other: the copy is whole.
    load(f, std::string("a\0b\n", 4));
    f.action("Dupliquerlaligne1")->trigger();
    QCOMPARE(f.text(), std::string("a\0b\na\0b\n", 8));
    load(f, "un\ndeux\n");

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
    QVERIFY(f.window->isModified());

    // With a selection, the text goes after it and the caret 5 after its start.
    load(f, "abcdefgh\n");
    editor->restoreViewPosition({0, 2, 0});
    QTest::keyClick(editor->textArea(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor->textArea(), Qt::Key_Right, Qt::ShiftModifier);
    f.action("Heure1")->trigger();
    const std::string time = f.text().substr(4, 5);
    QCOMPARE(f.text(), "abcd" + time + "efgh\n");
    QCOMPARE(editor->caretColumn(), 2 + 5);

    // A nameless document: nothing inserted, nothing changed.
    load(f, "x");
    f.action("Nomdufichier1")->trigger();
    QCOMPARE(f.text(), std::string("x"));
    QVERIFY(!f.window->isModified());

    f.window->setDocumentPath("/tmp/dossier é/été.txt");
    f.action("Nomdufichier1")->trigger();
    f.action("Rpertoiredufichier1")->trigger();
    QCOMPARE(f.text(), std::string("été.txt/tmp/dossier é/x"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("été.txtx"));
  }

  void findAndReplace() {
    WindowFixture f;
    load(f, "abc ABC été\nabc");
    DocumentEditor* editor = f.window->editor();
    FindDialog* find = f.window->findDialog();
    find->setFindText(QStringLiteral("abc"));
    f.action("Suivant1")->trigger();  // F3, the dialog closed
    QCOMPARE(editor->selectedText(), std::string("abc"));
    f.action("Suivant1")->trigger();
    QCOMPARE(editor->selectedText(), std::string("ABC"));  // never case-sensitive
    f.action("Suivant1")->trigger();
    f.action("Suivant1")->trigger();  // no wrap-around
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("\"abc\" pas trouvé."));
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Avertissement"));
    QVERIFY(!f.window->isModified());

    // Find takes a selection that holds a visible character as its text.
    editor->selectOffsets(8, 13);
    f.action("Rechercher1")->trigger();
    QCOMPARE(find->findText(), QStringLiteral("été"));
    QVERIFY(find->isVisible());

    // Replace: the selection only when it is exactly the find text.
    ReplaceDialog* replace = f.window->replaceDialog();
    f.action("Remplacer1")->trigger();
    QVERIFY(!f.window->isModified());
    replace->findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QStringLiteral("abc"));
    replace->findChild<QLineEdit*>(QStringLiteral("ReplaceText"))->setText(QStringLiteral("x"));
    editor->selectOffsets(4, 7);  // "ABC"
    replace->findChild<QPushButton*>(QStringLiteral("Remplacer"))->click();
    QCOMPARE(f.text(), std::string("abc ABC été\nabc"));
    QVERIFY(!f.window->isModified());
    editor->selectOffsets(0, 0);
    replace->findChild<QPushButton*>(QStringLiteral("RemplacerTout"))->click();
    QCOMPARE(f.text(), std::string("x x été\nx"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Remplacement terminé."));
    QCOMPARE(editor->caretLine(), 1);
    f.action("Annuler1")->trigger();  // one step
    QCOMPARE(f.text(), std::string("abc ABC été\nabc"));

    // a by aa in aaa: never endless; a Windows-1252 document stays so.
    load(f, "aaa caf\xE9");
    replace->findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QStringLiteral("a"));
    replace->findChild<QLineEdit*>(QStringLiteral("ReplaceText"))->setText(QStringLiteral("aa"));
    replace->findChild<QPushButton*>(QStringLiteral("RemplacerTout"))->click();
    QCOMPARE(f.text(), std::string("aaaaaa caaf\xE9"));
    QCOMPARE(editor->shownEncoding(), Encoding::Windows1252);
  }
};

QTEST_MAIN(LineCommandsTest)
#include "line_commands_test.moc"
