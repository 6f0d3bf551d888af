// Column blocks: marking and the box on the marked cells, the block clipboard
// shared by every window of the program directory, cut, delete, paste, file
// insertion and indents, whole characters in both encodings, one undo step each.

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <unistd.h>

#include "text/format_detection.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void load(WindowFixture& f, const std::string& text) { f.window->editor()->loadBytes(text, detectFormat(text)); }

void markBlock(WindowFixture& f, int startColumn, int startLine, int endColumn, int endLine) {
  f.window->editor()->restoreViewPosition({startLine, startColumn, 0});
  f.action("Dbutbloc1")->trigger();
  f.window->editor()->restoreViewPosition({endLine, endColumn, 0});
  f.action("Finbloc1")->trigger();
}

QString label(const WindowFixture& f, const char* name) {
  return f.window->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

// The text of each boxed cell, in order.
QStringList boxed(const WindowFixture& f) {
  const std::string_view text = f.window->editor()->editorText();
  QStringList cells;
  for (const auto& [begin, end] : f.window->editor()->shownBlockCells())
    cells << QString::fromUtf8(text.substr(begin, end - begin));
  return cells;
}

using Cells = QStringList;

}  // namespace

class BlockCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void markingCopiesTheBlockToTheClipboardFile() {
    WindowFixture f;
    load(f, "0123456789\nabcdéfghij\nABCDEFGHIJ\nklmno€qrst\nfin\n");
    f.action("Finbloc1")->trigger();
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Fin Bloc impossible"));
    for (const char* command : {"ToolButton36", "ToolButton37", "ToolButton39", "ToolButton27"}) {
      f.action(command)->trigger();
      QCOMPARE(f.ui.messages.back().text,
               QStringLiteral("Vous devez sélectionner un bloc avant d'utiliser cette fonction."));
    }
    f.action("ToolButton38")->trigger();
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Collage d'un bloc impossible"));

    markBlock(f, 3, 1, 7, 3);
    QCOMPARE(label(f, "Label1"), QStringLiteral("col: 4 lg: 2"));
    QCOMPARE(label(f, "Label2"), QStringLiteral("col: 7 lg: 4"));
    QVERIFY(f.action("OutilsBloc1")->isChecked());
    QVERIFY(!f.window->isModified());  // marking and copying change no text
    // Whole characters: "é" and "€" are one column each.
    QCOMPARE(readBytes(f.path(QStringLiteral("bloc.txt"))), std::string("défg\r\nDEFG\r\nno€q\r\n"));
    QCOMPARE(f.text(), std::string("0123456789\nabcdéfghij\nABCDEFGHIJ\nklmno€qrst\nfin\n"));

    // Another window of the same program directory pastes it.
    WindowFixture other;
    MainWindow second(other.ui, ProgramPaths(f.dir.path().toStdString()), other.scratch, {});
    second.editor()->loadBytes("xx\nyy\n", TextFormat{});
    second.editor()->restoreViewPosition({0, 1, 0});
    second.findChild<QAction*>(QStringLiteral("ToolButton38"))->trigger();
    QCOMPARE(std::string(second.editor()->bytes()), std::string("xdéfgx\nyDEFGy\n no€q\n"));
  }

  void aBlockCopiedInOneProcessPastesInAnother() {
    WindowFixture f;
    load(f, "abcdef\nghijkl\n");
    markBlock(f, 1, 0, 3, 1);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVEX_PASTE_INTO"), f.dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30'000));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(readBytes(f.path(QStringLiteral("colle.txt"))), std::string("xbcy\nxhiy\n"));
  }

  void cutDeleteAndPasteAreOneStepEach() {
    WindowFixture f;
    load(f, "abcdef\nab\nabcdef\n");
    markBlock(f, 1, 0, 3, 2);
    f.action("ToolButton37")->trigger();
    QCOMPARE(f.text(), std::string("adef\na\nadef\n"));  // a short line loses what it has inside
    QCOMPARE(readBytes(f.path(QStringLiteral("bloc.txt"))), std::string("bc\r\nb\r\nbc\r\n"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("abcdef\nab\nabcdef\n"));

    f.action("ToolButton39")->trigger();
    QCOMPARE(f.text(), std::string("adef\na\nadef\n"));

    // Paste at column 2 of the last line: the block lines left over become new lines.
    load(f, "abcdef\nab\n");
    f.window->editor()->restoreViewPosition({1, 2, 0});
    f.window->editor()->markSaved();
    f.action("ToolButton38")->trigger();
    QCOMPARE(f.text(), std::string("abcdef\nabbc\n  b\n  bc\n"));
    QVERIFY(f.window->isModified());  // a change of the text, like every other
  }

  void aWindows1252DocumentCutsWholeCharacters() {
    WindowFixture f;
    load(f, "caf\xE9\x80 x\n");
    markBlock(f, 3, 0, 5, 0);
    QCOMPARE(readBytes(f.path(QStringLiteral("bloc.txt"))), std::string("\xE9\x80\r\n"));
    f.action("ToolButton39")->trigger();
    QCOMPARE(f.text(), std::string("caf x\n"));

    // Pasted into a UTF-8 document, the Windows-1252 block shows the same characters.
    load(f, "ab\n");
    f.action("ToolButton38")->trigger();
    QCOMPARE(f.text(), std::string("é€ab\n"));
    // A UTF-8 block with a character the code page lacks turns the document UTF-8.
    writeBytes(f.path(QStringLiteral("bloc.txt")), "Ω\r\n");
    load(f, "caf\xE9\n");
    f.action("ToolButton38")->trigger();
    QCOMPARE(f.text(), std::string("Ωcafé\n"));
    QCOMPARE(f.window->editor()->format().encoding, Encoding::Utf8);
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Information"));
  }

  void indentsMoveTheStartColumn() {
    WindowFixture f;
    load(f, "abcdefghij\nxy\nabcdefghij\n");
    markBlock(f, 6, 0, 8, 2);  // start column 7
    f.action("ToolButton27")->trigger();
    QCOMPARE(f.text(), std::string("abghij\nxy\nabghij\n"));
    QCOMPARE(f.window->blockAnchor().startColumn, 3);
    QCOMPARE(f.window->editor()->shownBlockCells().size(), std::size_t(2));  // the box follows
    f.action("ToolButton35")->trigger();
    QCOMPARE(f.text(), std::string("ab    ghij\nxy    \nab    ghij\n"));
    QCOMPARE(f.window->blockAnchor().startColumn, 7);
    QCOMPARE(boxed(f), (Cells{"gh", "gh"}));
    QCOMPARE(f.window->editor()->caretLine(), 0);
  }

  void aBlockClipboardLinkOfAnotherUserIsNotPasted() {
    if (::geteuid() != 0) QSKIP("giving a link to another user needs root");
    WindowFixture f;
    const QString elsewhere = f.path(QStringLiteral("ailleurs.txt"));
    writeBytes(elsewhere, "piège\r\n");
    const QByteArray clipboard = QFile::encodeName(f.path(QStringLiteral("bloc.txt")));
    QVERIFY(QFile::link(elsewhere, QFile::decodeName(clipboard)));
    QCOMPARE(::lchown(clipboard.constData(), 61002, 61002), 0);
    load(f, "ab\n");
    f.action("ToolButton38")->trigger();
    QCOMPARE(f.text(), std::string("ab\n"));
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QVERIFY(f.ui.messages[0].text.startsWith(QStringLiteral("Impossible d'ouvrir le fichier")));

    // A link of the user's own is followed, as for any file.
    QCOMPARE(::lchown(clipboard.constData(), ::geteuid(), ::getegid()), 0);
    f.action("ToolButton38")->trigger();
    QVERIFY(f.text().find("piège") != std::string::npos);
  }

  void theMarkedBlockIsBoxedOnItsCells() {
    WindowFixture f;
    f.window->show();  // after a change, the box is drawn again as the view updates
    load(f, "0123456789\nabcdéfghij\nab\nklmno€qrst\nfin\n");
    f.window->editor()->restoreViewPosition({1, 3, 0});
    f.action("Dbutbloc1")->trigger();
    QCOMPARE(boxed(f), Cells());  // the start alone is no block
    markBlock(f, 3, 1, 7, 3);
    QCOMPARE(boxed(f), (Cells{"défg", "no€q"}));  // the short line has no cell
    const auto cells = f.window->editor()->shownBlockCells();
    QCOMPARE(cells.front(), (std::pair<std::size_t, std::size_t>(14, 19)));

    // Typing moves the text, not the box: it stays on the same columns and lines.
    QWidget* area = f.window->editor()->textArea();
    f.window->editor()->restoreViewPosition({1, 4, 0});
    QTest::keyClicks(area, QStringLiteral("XY"));
    QTRY_COMPARE(boxed(f), (Cells{"dXYé", "no€q"}));
    f.window->editor()->restoreViewPosition({0, 0, 0});
    QTest::keyClick(area, Qt::Key_Return);
    QTRY_COMPARE(boxed(f), (Cells{"3456", "dXYé"}));
    f.action("Annuler1")->trigger();
    QTRY_COMPARE(boxed(f), (Cells{"dXYé", "no€q"}));

    // A block command's new text is boxed on the same cells too.
    f.action("ToolButton39")->trigger();
    QCOMPARE(f.text(), std::string("0123456789\nabcfghij\nab\nklmrst\nfin\n"));
    QCOMPARE(boxed(f), (Cells{"fghi", "rst"}));

    // A new or opened document has no box until a block is marked again.
    f.ui.answers.push_back(Answer::No);
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.text(), std::string());
    QCOMPARE(boxed(f), Cells());
    f.setText("0123456789\n0123456789\n");
    f.window->editor()->restoreViewPosition({1, 5, 0});
    f.action("Dbutbloc1")->trigger();  // with the end kept, a block again
    QCOMPARE(boxed(f), (Cells{"56"}));
    const QString file = f.path(QStringLiteral("autre.txt"));
    writeBytes(file, "0123456789\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    QCOMPARE(boxed(f), Cells());
  }

  void aWindows1252BlockIsBoxedOnWholeCharacters() {
    WindowFixture f;
    load(f,
         "caf\xE9\x80 x\n\x93"
         "abc\xE9\x94z\n");
    markBlock(f, 3, 0, 5, 1);
    QCOMPARE(boxed(f), (Cells{"é€", "cé"}));
  }

  void aLongBlockIsBoxedNearTheViewOnly() {
    WindowFixture f;
    f.window->show();
    std::string text;
    for (int i = 0; i < 100'000; ++i) text += "ligne " + std::to_string(i) + "\n";
    load(f, text);
    markBlock(f, 0, 0, 5, 99'999);
    const std::size_t nearTop = f.window->editor()->shownBlockCells().size();
    QVERIFY(nearTop > 20);
    QVERIFY(nearTop < 1'000);
    QCOMPARE(boxed(f).front(), QStringLiteral("ligne"));
    // Scrolled to the end, the box follows the view.
    f.window->editor()->goToLine(100'000);
    QTRY_VERIFY(f.window->editor()->shownBlockCells().back().second > text.size() - 20);
    QVERIFY(f.window->editor()->shownBlockCells().front().first > 0);
  }

  void aFileIsInsertedAsAColumn() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("colonne.txt"));
    writeBytes(file, "un\ndeux\ntrois\n");
    load(f, "abcd\n\n123456789\n");
    f.window->editor()->restoreViewPosition({0, 4, 0});
    f.ui.files << file;
    f.action("ToolButton40")->trigger();
    QCOMPARE(f.text(), std::string("abcdun\n    deux\n1234trois56789\n"));
  }
};

// The second process of the test above: a window of the same program directory
// pastes the block into "xy" lines and saves the result.
int pasteInThisProcess(const QString& directory) {
  ScriptedUi ui;
  ScratchDirectory scratch;
  MainWindow window(ui, ProgramPaths(directory.toStdString()), scratch, {});
  window.editor()->loadBytes("xy\nxy\n", TextFormat{});
  window.editor()->restoreViewPosition({0, 1, 0});
  window.findChild<QAction*>(QStringLiteral("ToolButton38"))->trigger();
  window.editor()->saveFile((directory + QStringLiteral("/colle.txt")).toStdString());
  return ui.messages.empty() ? 0 : 1;
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (const QString directory = qEnvironmentVariable("ORVEX_PASTE_INTO"); !directory.isEmpty())
    return pasteInThisProcess(directory);
  BlockCommandsTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "block_commands_test.moc"
