// The document's file changed or removed by another program: noticed when the
// window becomes active again, asked about once, never for the window's own saves
// and never while one of its dialogs is open.

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void activate(QWidget& window) {
  QEvent event(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &event);
  QCoreApplication::processEvents();
}

void deactivate(QWidget& window) {
  QEvent event(QEvent::WindowDeactivate);
  QApplication::sendEvent(&window, &event);
}

// Rewrites the file from another process, as another program would.
void rewriteElsewhere(const QString& file, const QString& text) {
  QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"),
                             {QStringLiteral("-c"), QStringLiteral("printf '%s' \"$1\" > \"$2\""), QStringLiteral("sh"),
                              text, file}),
           0);
}

QString reloadQuestion(const QString& file, bool modified) {
  QString question = QStringLiteral("Orvex - %1|Le fichier %1 a été modifié par un autre programme.\n"
                                    "Voulez-vous le recharger ?")
                         .arg(file);
  if (modified) question += QStringLiteral("\nVos modifications non enregistrées seront perdues.");
  return question;
}

struct OpenFile {
  OpenFile() : file(holder.filePath(QStringLiteral("notes.txt"))) {
    writeBytes(file, "un\ndeux trois\nquatre\n");
    f = std::make_unique<WindowFixture>(QStringList{file});
    f->window->startUp();
  }
  QTemporaryDir holder;
  QString file;
  std::unique_ptr<WindowFixture> f;
};

}  // namespace

class DiskChangeTest : public QObject {
  Q_OBJECT

 private slots:
  void ouiReloadsTheNewText() {
    OpenFile open;
    WindowFixture& f = *open.f;
    activate(*f.window);
    QVERIFY(f.ui.questions.isEmpty());
    f.window->editor()->selectOffsets(8, 8);  // line 2, column 6
    rewriteElsewhere(open.file, QStringLiteral("un\nDEUX TROIS !\nquatre\ncinq\n"));
    f.ui.answers = {Answer::Yes};
    activate(*f.window);
    QCOMPARE(f.ui.questions, QStringList{reloadQuestion(open.file, false)});
    QCOMPARE(f.text(), std::string("un\nDEUX TROIS !\nquatre\ncinq\n"));
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));
    QCOMPARE(f.window->editor()->caretLine(), 1);
    QCOMPARE(f.window->editor()->caretColumn(), 5);
    // The history starts afresh: undo has nothing to go back to.
    f.window->editor()->undo();
    QCOMPARE(f.text(), std::string("un\nDEUX TROIS !\nquatre\ncinq\n"));
    // The reloaded file is the document's own now.
    activate(*f.window);
    QCOMPARE(f.ui.questions.size(), 1);
  }

  void nonKeepsTheTextAndAsksOncePerChange() {
    OpenFile open;
    WindowFixture& f = *open.f;
    f.touch();
    rewriteElsewhere(open.file, QStringLiteral("autre\n"));
    f.ui.answers = {Answer::No};
    activate(*f.window);
    QCOMPARE(f.ui.questions, QStringList{reloadQuestion(open.file, true)});
    QCOMPARE(f.text(), std::string("un\ndeux trois\nquatre\n"));
    activate(*f.window);
    QCOMPARE(f.ui.questions.size(), 1);
    // Another change is another question.
    rewriteElsewhere(open.file, QStringLiteral("encore une autre\n"));
    activate(*f.window);
    QCOMPARE(f.ui.questions.size(), 2);
    // Saving still asks before replacing the other program's file.
    f.ui.answers = {Answer::No};
    f.action("Enregistrer2")->trigger();
    QCOMPARE(f.ui.questions.size(), 3);
    QVERIFY(f.ui.questions.back().contains(QStringLiteral("Voulez-vous le remplacer ?")));
    QCOMPARE(readBytes(open.file), std::string("encore une autre\n"));
  }

  void aRemovedFileIsSaidOnce() {
    OpenFile open;
    WindowFixture& f = *open.f;
    QVERIFY(QFile::rename(open.file, open.file + QStringLiteral(".bak")));
    activate(*f.window);
    activate(*f.window);
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages[0].text,
             QStringLiteral("Le fichier %1 a été supprimé ou déplacé par un autre programme.").arg(open.file));
    QCOMPARE(f.text(), std::string("un\ndeux trois\nquatre\n"));
    QVERIFY(f.ui.questions.isEmpty());
  }

  void ownSavesNeverAsk() {
    OpenFile open;
    WindowFixture& f = *open.f;
    for (int save = 0; save < 3; ++save) {
      f.window->editor()->selectOffsets(0, 0);
      f.window->editor()->replaceSelection("+");
      f.action("Enregistrer2")->trigger();
      activate(*f.window);
    }
    QVERIFY(f.ui.questions.isEmpty());
    QCOMPARE(readBytes(open.file), std::string("+++un\ndeux trois\nquatre\n"));
  }

  // Two windows on one file: a save in one is another program's change to the other.
  void anotherWindowsSaveCounts() {
    OpenFile open;
    WindowFixture other({open.file});
    other.window->startUp();
    other.setText("de l'autre fenêtre\n");
    other.action("Enregistrer2")->trigger();
    activate(*other.window);
    QVERIFY(other.ui.questions.isEmpty());
    open.f->ui.answers = {Answer::Yes};
    activate(*open.f->window);
    QCOMPARE(open.f->ui.questions.size(), 1);
    QCOMPARE(open.f->text(), std::string("de l'autre fenêtre\n"));
  }

  // Nothing is asked while a dialog of the window is open, nor when closing it
  // gives the window back; the next activation asks.
  void noQuestionWhileADialogIsOpen() {
    OpenFile open;
    WindowFixture& f = *open.f;
    bool ranInside = false;
    f.ui.onModal = [&](QDialog&) {
      deactivate(*f.window);
      rewriteElsewhere(open.file, QStringLiteral("pendant le dialogue\n"));
      activate(*f.window);
      ranInside = true;
    };
    f.action("Configuration1")->trigger();
    QVERIFY(ranInside);
    QVERIFY(f.ui.questions.isEmpty());
    activate(*f.window);
    QVERIFY(f.ui.questions.isEmpty());
    deactivate(*f.window);
    activate(*f.window);
    QCOMPARE(f.ui.questions.size(), 1);
  }
};

QTEST_MAIN(DiskChangeTest)
#include "disk_change_test.moc"
