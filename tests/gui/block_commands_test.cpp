// Column blocks: marking, the block clipboard shared by every window of the
// program directory, cut, delete, paste, file insertion and indents, whole
// characters in both encodings, one undo step each.

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
    f.action("ToolButton35")->trigger();
    QCOMPARE(f.text(), std::string("ab    ghij\nxy    \nab    ghij\n"));
    QCOMPARE(f.window->blockAnchor().startColumn, 7);
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
