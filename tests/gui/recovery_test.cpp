// The recovery journal of the window: written a moment after typing, gone once the
// text is saved or replaced, and offered back at the next start.

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QTest>
#include <filesystem>

#include "io/file_handle.h"
#include "recovery/journal_directory.h"
#include "recovery/journal_format.h"
#include "recovery/journal_recovery.h"
#include "recovery/journal_update.h"
#include "recovery/recovery_journal.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

// The journal's text, or nothing when there is no readable journal.
std::optional<std::string> journalText(const std::filesystem::path& path) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.isOpen() || ::fstat(file.get(), &info) != 0) return std::nullopt;
  const Result<JournalLayout> layout = readJournalLayout(file.get(), static_cast<std::uint64_t>(info.st_size));
  if (!layout.ok()) return std::nullopt;
  std::string text(layout.value().textLength, '\0');
  readFull(file.get(), text.data(), text.size(), static_cast<off_t>(layout.value().textOffset));
  return text;
}

// A journal left by a window that is gone.
std::filesystem::path leaveJournal(const QString& programDirectory, const JournalRecord& record,
                                   const std::string& text) {
  const Result<JournalDirectory> directory = JournalDirectory::open(programDirectory.toStdString());
  Result<JournalSlot> slot = directory.value().createSlot();
  writeJournal(directory.value(), slot.value(), record, text);
  return directory.value().journalPath(slot.value());
}

// Types a letter at the caret, as the keyboard does.
void type(WindowFixture& f, const char* text) {
  QTest::keyClicks(f.window->editor()->textArea(), QString::fromUtf8(text));
}

}  // namespace

class RecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void typedTextIsJournalledWithinTheDelay() {
    WindowFixture f;
    RecoveryJournal* journal = f.window->findChild<RecoveryJournal*>();
    journal->setDelay(100);
    QVERIFY(!journal->path());
    type(f, "abc");
    QTRY_VERIFY_WITH_TIMEOUT(journal->path() && journalText(*journal->path()) == "abc", 2000);
    // Typing on never holds the journal back: the timer is not restarted by each key.
    for (int i = 0; i < 8; ++i) {
      type(f, "d");
      QTest::qWait(30);
    }
    QTRY_VERIFY_WITH_TIMEOUT(journalText(*journal->path()) == "abcdddddddd", 2000);
  }

  void aToolBringsTheJournalUpToDateFirst() {
    WindowFixture f;
    RecoveryJournal* journal = f.window->findChild<RecoveryJournal*>();
    journal->setDelay(60000);
    type(f, "minuscules");
    f.action("Metteenmajuscules1")->trigger();
    QVERIFY(journal->path());
    QCOMPARE(journalText(*journal->path()), std::optional<std::string>("minuscules"));
  }

  void savingOrReplacingTheTextRemovesItsJournal() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "texte\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    RecoveryJournal* journal = f.window->findChild<RecoveryJournal*>();
    journal->setDelay(10);
    type(f, "x");
    QTRY_VERIFY(journal->path() && std::filesystem::exists(*journal->path()));
    const std::filesystem::path path = *journal->path();
    f.action("Enregistrer2")->trigger();
    QVERIFY(!std::filesystem::exists(path));

    type(f, "y");
    QTRY_VERIFY(std::filesystem::exists(path));
    // The answer to the save question alone removes nothing; the new document does.
    f.ui.answers = {Answer::No};
    f.action("Nouveau2")->trigger();
    QVERIFY(!std::filesystem::exists(path));
    QTest::qWait(50);
    QVERIFY(!std::filesystem::exists(path));
  }

  void ouiBringsTheTextBackModifiedAndReadyToSave() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("récupéré.txt"));
    JournalRecord record;
    record.fileName = file.toStdString();
    record.format = TextFormat{Encoding::Windows1252, false, LineBreak::CrLf, false};
    record.shown = Encoding::Windows1252;
    const std::filesystem::path journal = leaveJournal(f.dir.path(), record, std::string("caf\xC3\xA9\r\n\0fin", 11));
    f.ui.answers = {Answer::Yes};
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QCOMPARE(f.ui.questions, QStringList{QStringLiteral("Orvex|Orvex a été interrompu alors que le document ") + file +
                                         QStringLiteral(" n'était pas enregistré.\nVoulez-vous récupérer les "
                                                        "modifications ?")});
    QCOMPARE(f.documentPath(), file);
    QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
    QCOMPARE(f.window->editor()->format().encoding, Encoding::Windows1252);
    // The window has taken the journal over: it is still there until the save.
    QVERIFY(std::filesystem::exists(journal));
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("caf\xE9\r\n\0fin", 10));
    QVERIFY(!std::filesystem::exists(journal));
  }

  void nonRemovesTheJournal() {
    WindowFixture f;
    const std::filesystem::path journal = leaveJournal(f.dir.path(), JournalRecord{}, "perdu");
    f.ui.answers = {Answer::No};
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QVERIFY(f.ui.questions.first().contains(QStringLiteral("le document sans nom")));
    QVERIFY(!std::filesystem::exists(journal));
    QCOMPARE(f.text(), std::string());
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));
  }

  void aFileChangedSinceTheLastSaveIsSaid() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "avant\n");
    JournalRecord record;
    record.fileName = file.toStdString();
    record.identity = identifyFile(record.fileName);
    leaveJournal(f.dir.path(), record, "mon texte\n");
    writeBytes(file, "l'autre programme a écrit ici\n");
    f.ui.answers = {Answer::Yes};
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QCOMPARE(f.text(), std::string("mon texte\n"));
    QCOMPARE(f.ui.messages.size(), qsizetype{1});
    QCOMPARE(f.ui.messages[0].text, QStringLiteral("Le fichier ") + file +
                                        QStringLiteral(" a été modifié sur le disque depuis la dernière sauvegarde."));
    // The save asks, as for any other program's change.
    f.ui.answers = {Answer::No};
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("l'autre programme a écrit ici\n"));
  }

  void anUnreadableJournalIsSetAsideAndSaidOnce() {
    WindowFixture f;
    const std::filesystem::path journal = leaveJournal(f.dir.path(), JournalRecord{}, "texte");
    writeBytes(QString::fromStdString(journal.string()), "ORVEXJNL tronqué");
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QVERIFY(f.ui.questions.isEmpty());
    QCOMPARE(f.ui.messages.size(), qsizetype{1});
    QVERIFY(f.ui.messages[0].text.startsWith(QStringLiteral("Le fichier de récupération ") +
                                             QString::fromStdString(journal.string()) +
                                             QStringLiteral(" est illisible ; il a été mis de côté sous le nom ")));
    QVERIFY(!std::filesystem::exists(journal));
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QCOMPARE(f.ui.messages.size(), qsizetype{1});
  }

  void anUnreadableJournalThatCannotBeSetAsideStaysForTheNextStart_data() {
    QTest::addColumn<bool>("handedOver");
    QTest::newRow("offered") << false;
    QTest::newRow("handed_over") << true;
  }

  void anUnreadableJournalThatCannotBeSetAsideStaysForTheNextStart() {
    QFETCH(bool, handedOver);
    WindowFixture f;
    const std::filesystem::path journal = leaveJournal(f.dir.path(), JournalRecord{}, "texte");
    const QString journalName = QString::fromStdString(journal.string());
    const std::string bytes("ORVEXJNL tronqu\xC3\xA9\0\xFF", 19);
    writeBytes(journalName, bytes);
    // Every name it could be moved to is taken.
    const std::string name = journal.stem().string();
    for (int number = 1; number < 1000; ++number)
      writeBytes(
          QString::fromStdString((journal.parent_path() / (name + ".illisible-" + std::to_string(number))).string()),
          "");
    const QString kept = QStringLiteral("Le fichier de récupération ") + journalName +
                         QStringLiteral(" est illisible et n'a pas pu être mis de côté ; il reste à sa place.");
    for (int start = 1; start <= 2; ++start) {
      if (handedOver)
        recoverHandedOver(f.ui, *f.window, f.dir.path().toStdString(), name);
      else
        offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
      QCOMPARE(readBytes(journalName), bytes);
      QVERIFY(f.ui.questions.isEmpty());
      QCOMPARE(f.ui.messages.size(), qsizetype{start});
      QCOMPARE(f.ui.messages.back().text, kept);
    }
  }

  void furtherJournalsGoToNewWindows() {
    WindowFixture f;
    leaveJournal(f.dir.path(), JournalRecord{}, "un");
    leaveJournal(f.dir.path(), JournalRecord{}, "deux");
    f.ui.answers = {Answer::Yes, Answer::Yes};
    offerRecovery(f.ui, *f.window, f.dir.path().toStdString(), {});
    QCOMPARE(f.ui.questions.size(), qsizetype{2});
    QCOMPARE(f.ui.startedCommands.size(), std::size_t{1});
    QVERIFY(f.text() == "un" || f.text() == "deux");
  }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
