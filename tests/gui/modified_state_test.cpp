// "Modifié" and the save question follow the saved text through edits, undo, redo,
// tools, saves that fail and a history that lost its oldest steps; "Enregistrer
// sous" onto the document's own file asks nothing.

#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void type(WindowFixture& f, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, f.window->editor()->textArea(), Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// What the status bar shows, checked against what the save question will follow.
enum class State { Unmodified, Modified, Inconsistent };
State state(const WindowFixture& f) {
  const bool shown = f.panel(2) == QStringLiteral("Modifié");
  if (shown != f.window->isModified()) return State::Inconsistent;
  return shown ? State::Modified : State::Unmodified;
}

}  // namespace

class ModifiedStateTest : public QObject {
  Q_OBJECT

 private slots:
  void undoAndRedoCrossTheSavePoint() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    f.window->setDocumentPath(file.toStdString());
    f.action("Annuler1")->trigger();  // nothing to undo: nothing changes
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));

    type(f, QStringLiteral("ab"));
    QVERIFY(f.window->isModified());
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("ab"));
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));

    // Typing after a save is a step of its own.
    type(f, QStringLiteral("c"));
    QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("ab"));
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));
    f.action("Rtablir1")->trigger();
    QCOMPARE(f.text(), std::string("abc"));
    QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
    f.action("Annuler1")->trigger();

    // A tool is a change like any other, and its undo comes back to the saved text.
    f.action("Metteenmajuscules1")->trigger();
    QCOMPARE(state(f), State::Modified);
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("ab"));
    QCOMPARE(state(f), State::Unmodified);
    f.ui.questions.clear();
    f.action("Nouveau2")->trigger();
    QVERIFY(f.ui.questions.isEmpty());
  }

  void aHistoryThatLostItsOldestStepsStaysModified() {
    WindowFixture f;
    f.setText("abc\n");
    const QString file = f.path(QStringLiteral("f.txt"));
    f.window->setDocumentPath(file.toStdString());
    for (int i = 0; i < 21; ++i) f.action(i % 2 == 0 ? "Metteenmajuscules1" : "Metteenminuscules1")->trigger();
    f.action("Enregistrer2")->trigger();
    QVERIFY(!f.window->isModified());
    for (int i = 0; i < 21; ++i) {
      f.action("Annuler1")->trigger();
      QCOMPARE(state(f), State::Modified);
    }
    QCOMPARE(f.ui.messages.size(), std::size_t(1));  // the oldest step was dropped
    f.ui.answers = {Answer::Cancel};
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.ui.questions.size(), 1);
    // Saving clears it.
    f.action("Enregistrer2")->trigger();
    QCOMPARE(state(f), State::Unmodified);
  }

  void aFailedSaveLeavesTheSavePoint() {
    WindowFixture f;
    const QString directory = f.path(QStringLiteral("lecture"));
    QVERIFY(QDir().mkdir(directory));
    const QString file = directory + QStringLiteral("/f.txt");
    writeBytes(file, "texte\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    QCOMPARE(::chmod(file.toStdString().c_str(), 0444), 0);
    QCOMPARE(::chmod(directory.toStdString().c_str(), 0555), 0);
    type(f, QStringLiteral("x"));
    f.action("Enregistrer2")->trigger();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(state(f), State::Modified);
    f.action("Annuler1")->trigger();
    QCOMPARE(f.text(), std::string("texte\n"));
    QCOMPARE(state(f), State::Unmodified);
    ::chmod(directory.toStdString().c_str(), 0755);
  }

  void aChangeOfEncodingIsAChangeUntilSaved() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "caf\xE9\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    type(f, QStringLiteral("Ω"));
    QVERIFY(f.window->isModified());
    // Undoing the character leaves the document UTF-8: saving would now write
    // other bytes than the file holds.
    f.action("Annuler1")->trigger();
    QCOMPARE(f.window->editor()->format().encoding, Encoding::Utf8);
    QCOMPARE(state(f), State::Modified);
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("café\n"));
    QCOMPARE(state(f), State::Unmodified);
  }

  void commandsThatChangeNoTextDoNotMarkTheDocument() {
    const char* commands[] = {"Dbutbloc1", "Rechercher1", "Remplacer1", "Copier1", "Toutselectionner1",
                              "Slectionnerlaligne1", "Allerlaligne1", "Annuler1", "Rtablir1"};
    for (const char* command : commands) {
      WindowFixture f;
      f.setText("abc\ndef\n");
      f.ui.files << QStringLiteral("1");
      f.action(command)->trigger();
      QVERIFY2(state(f) == State::Unmodified, command);
    }
  }

  void saveAsOntoTheDocumentsOwnFileAsksNothing() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    const QString link = f.path(QStringLiteral("lien.txt"));
    writeBytes(file, "ancien\n");
    QCOMPARE(::link(file.toStdString().c_str(), link.toStdString().c_str()), 0);
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    type(f, QStringLiteral("a"));
    // The same file under its own name or through a hard link.
    for (const QString& name : {file, link}) {
      f.ui.files << name;
      f.action("Enregistrer1")->trigger();
      QVERIFY(f.ui.questions.isEmpty());
      QCOMPARE(readBytes(file), std::string("aancien\n"));
      QVERIFY(!f.window->isModified());
    }
    // Another program's change is still asked about.
    writeBytes(file, "autre\n");
    f.ui.files << file;
    f.ui.answers = {Answer::No};
    f.action("Enregistrer1")->trigger();
    QCOMPARE(f.ui.questions.size(), 1);
    QVERIFY(f.ui.questions.front().startsWith(QStringLiteral("Enregistrer|")));
    QCOMPARE(readBytes(file), std::string("autre\n"));
  }
};

QTEST_MAIN(ModifiedStateTest)
#include "modified_state_test.moc"
