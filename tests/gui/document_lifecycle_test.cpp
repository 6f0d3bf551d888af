// New, open, save, save as, the save question, the close query and printing.

#include <QCloseEvent>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

class DocumentLifecycleTest : public QObject {
  Q_OBJECT

 private slots:
  void commandLineFileOpensWithItsCaption() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mon fichier.txt"));
    writeBytes(file, "un\ndeux\n");
    WindowFixture f({file});
    f.window->startUp();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex - ") + file);
    QCOMPARE(f.documentPath(), file);
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 2"));
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));
    // The command line is read at the first showing only.
    f.setText("autre");
    f.window->startUp();
    QCOMPARE(f.text(), std::string("autre"));
  }

  void missingCommandLineFileLeavesAnEmptyWindow() {
    WindowFixture f({QStringLiteral("/nonexistent/absent.txt")});
    f.window->startUp();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages[0].text, QStringLiteral("Impossible d'ouvrir le fichier /nonexistent/absent.txt."));
    QCOMPARE(f.ui.messages[0].caption, QStringLiteral("Orvex"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));
    QVERIFY(f.window->documentPath().empty());
  }

  void encodingAndLineBreaksSurviveOpenThenSave() {
    const std::string samples[] = {"caf\xE9\r\nna\xEFve\r\n", "\xEF\xBB\xBF" "café\nnaïve", "a\rb\r",
                                   std::string("nul\0fin\n", 8)};
    for (const std::string& sample : samples) {
      WindowFixture f;
      const QString file = f.path(QStringLiteral("f.txt"));
      writeBytes(file, sample);
      f.ui.files.push_back(file);
      f.action("Ouvrir1")->trigger();
      QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex - ") + file);
      QFile::remove(file);
      f.touch();
      f.ui.answers = {Answer::Yes};  // the file is gone: saving asks first
      f.action("Enregistrer2")->trigger();
      QCOMPARE(readBytes(file), sample);
      QVERIFY(!f.window->isModified());
    }
  }

  void aFileChangedByAnotherProgramIsNotReplacedWithoutAQuestion() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "à moi\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    f.setText("mon texte\n");
    f.touch();

    // Saved untouched on disk: no question.
    f.action("Enregistrer2")->trigger();
    QVERIFY(f.ui.questions.isEmpty());
    writeBytes(file, "à moi\nune ligne de l'autre programme\n");

    f.ui.answers = {Answer::No};
    f.action("Enregistrer2")->trigger();
    QCOMPARE(f.ui.questions, QStringList{QStringLiteral("Enregistrer|Le fichier ") + file +
                                         QStringLiteral(" a été modifié par un autre programme.\n"
                                                        "Voulez-vous le remplacer ?")});
    QCOMPARE(readBytes(file), std::string("à moi\nune ligne de l'autre programme\n"));
    // A command that needed the save stops as after a cancelled save.
    f.touch();
    f.ui.answers = {Answer::Yes, Answer::No};
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.text(), std::string("mon texte\n"));

    f.ui.answers = {Answer::Yes};
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("mon texte\n"));
    QVERIFY(!f.window->isModified());
  }

  void saveOnANamelessDocumentAsksForAName() {
    WindowFixture f;
    f.setText("texte");
    f.touch();
    f.action("Enregistrer2")->trigger();
    QCOMPARE(f.ui.saveDialogs, 1);
    QVERIFY(f.window->isModified());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));

    const QString file = f.path(QStringLiteral("nouveau.txt"));
    f.ui.files.push_back(file);
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("texte"));
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex - ") + file);
  }

  void saveAsAsksBeforeReplacingAFile() {
    WindowFixture f;
    const QString existing = f.path(QStringLiteral("existant.txt"));
    const QString other = f.path(QStringLiteral("autre.txt"));
    writeBytes(existing, "ancien");
    f.setText("nouveau");
    f.touch();

    // Non goes back to the dialog, on the name just refused; cancelling it writes nothing.
    f.ui.files << existing;
    f.ui.answers = {Answer::No};
    f.action("Enregistrer1")->trigger();
    QCOMPARE(f.ui.questions,
             QStringList{QStringLiteral("Enregistrer sous|Le fichier ") + existing +
                         QStringLiteral(" existe déjà.\nVoulez-vous le remplacer ?")});
    QCOMPARE(f.ui.saveDialogs, 2);
    QCOMPARE(f.ui.saveDialogStarts.last(), existing);
    QCOMPARE(readBytes(existing), std::string("ancien"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));

    // Non, then a name that is free: saved there without a second question.
    f.ui.files << existing << other;
    f.ui.answers = {Answer::No};
    f.action("Enregistrer1")->trigger();
    QCOMPARE(f.ui.questions.size(), 2);
    QCOMPARE(readBytes(other), std::string("nouveau"));
    QCOMPARE(readBytes(existing), std::string("ancien"));
    QCOMPARE(f.documentPath(), other);

    // Oui replaces the file; the dialog starts on the document's own file.
    f.ui.files << existing;
    f.ui.answers = {Answer::Yes};
    f.action("Enregistrer1")->trigger();
    QCOMPARE(f.ui.saveDialogStarts.last(), other);
    QCOMPARE(readBytes(existing), std::string("nouveau"));
    QCOMPARE(f.documentPath(), existing);
    QVERIFY(!f.window->isModified());
  }

  void theEditorHasTheKeyboardBackAfterEveryDialog() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "texte\n");
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget* area = f.window->editor()->textArea();
    for (const char* command : {"Ouvrir1", "Enregistrer1", "Apropos1", "Concatneravecunautrefichier1"}) {
      f.window->findChild<QWidget*>(QStringLiteral("ToolButton13"))->setFocus();
      QVERIFY(!area->hasFocus());
      f.ui.files << file;
      f.ui.answers = {Answer::Yes};
      f.action(command)->trigger();
      QVERIFY2(area->hasFocus(), command);
    }
  }

  void theHelpMenuShowsTheReleaseNotesAndTheWebPage() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "mon texte\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    f.touch();

    f.ui.answers = {Answer::Cancel};
    f.action("Nouveauts1")->trigger();
    QVERIFY(f.ui.questions.back().startsWith(QStringLiteral("Attention|Le document a été modifié.")));
    QCOMPARE(f.text(), std::string("mon texte\n"));

    // No notes anywhere: the document is emptied and the user told.
    f.ui.answers = {Answer::No};
    f.action("Nouveauts1")->trigger();
    QCOMPARE(f.text(), std::string(""));
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Nouveautés"));

    writeBytes(f.path(QStringLiteral("nouveautes.txt")), "Orvex 1.3\n");
    f.action("Nouveauts1")->trigger();
    QCOMPARE(f.text(), std::string("Orvex 1.3\n"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));
    QVERIFY(f.window->documentPath().empty());
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));

    f.action("VelmorasurInternet1")->trigger();
    QCOMPARE(f.ui.opened, QStringList{QStringLiteral("https://orvex.velmora.fr")});
  }

  void theFileManagerEntryIsDeclaredAndRemoved() {
    WindowFixture f;
    qputenv("XDG_DATA_HOME", f.dir.path().toUtf8());
    const QString entry = f.path(QStringLiteral("applications/orvex-ouvrir-avec.desktop"));
    f.action("Dclarerdanslabasederegistre1")->trigger();
    QVERIFY(readBytes(entry).find("Exec=\"" + QCoreApplication::applicationFilePath().toStdString() + "\" %f") !=
            std::string::npos);
    f.action("Enleverdelabasederegistre1")->trigger();
    QVERIFY(!QFile::exists(entry));
    QVERIFY(f.ui.messages.empty());
    qunsetenv("XDG_DATA_HOME");
  }

  void newDocumentFollowsTheSaveQuestion() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("a.txt"));
    writeBytes(file, "garder");
    f.ui.files.push_back(file);
    f.action("Ouvrir1")->trigger();
    f.touch();

    f.ui.answers = {Answer::Cancel};
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.text(), std::string("garder"));
    QCOMPARE(f.ui.questions.back(),
             QStringLiteral("Avant de quitter|Le document a été modifié.\n\rSouhaitez vous enregistrer les modifications ?"));

    f.ui.answers = {Answer::No};
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.text(), std::string());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));
    QVERIFY(!f.window->isModified());

    // A Yes on a nameless document whose save dialog is cancelled keeps the text.
    f.setText("brouillon");
    f.touch();
    f.ui.answers = {Answer::Yes};
    f.action("Nouveau2")->trigger();
    QCOMPARE(f.text(), std::string("brouillon"));
  }

  void openAnsweredNoThenCancelledKeepsTheChanges() {
    WindowFixture f;
    f.setText("modifie");
    f.touch();
    f.ui.answers = {Answer::No};
    f.action("Ouvrir1")->trigger();
    QCOMPARE(f.text(), std::string("modifie"));
    QVERIFY(f.window->isModified());
  }

  void aFailedSaveKeepsTheOldFileAndTheState() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("lecture.txt"));
    writeBytes(file, "ancien");
    f.ui.files.push_back(file);
    f.action("Ouvrir1")->trigger();
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    f.setText("nouveau");
    f.touch();
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("ancien"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Impossible de créer le fichier ") + file + QStringLiteral("."));
  }

  void closeQueryAsksOnlyWithUnsavedChanges() {
    WindowFixture f;
    QCloseEvent clean;
    QApplication::sendEvent(f.window.get(), &clean);
    QVERIFY(clean.isAccepted());
    QVERIFY(f.ui.questions.isEmpty());

    f.touch();
    f.ui.answers = {Answer::Cancel};
    QCloseEvent cancelled;
    QApplication::sendEvent(f.window.get(), &cancelled);
    QVERIFY(!cancelled.isAccepted());

    const QString file = f.path(QStringLiteral("q.txt"));
    writeBytes(file, "x");
    f.window->setDocumentPath(file.toStdString());
    f.setText("sauve");
    f.touch();
    f.ui.answers = {Answer::Yes};
    QCloseEvent saved;
    QApplication::sendEvent(f.window.get(), &saved);
    QVERIFY(saved.isAccepted());
    QCOMPARE(readBytes(file), std::string("sauve"));
  }

  void newWindowStartsAnotherInstance() {
    WindowFixture f;
    f.action("Nouveau1")->trigger();
    QCOMPARE(f.ui.started.size(), 1);
    QVERIFY(f.ui.started[0].startsWith(QCoreApplication::applicationFilePath()));
  }

  void printingWithoutAPrinterSaysSo() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
    WindowFixture f;
    f.action("Imprimer1")->trigger();
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Aucune imprimante par défaut sélectionnée."));
  }

  void printsEveryPageToPdf() {
    WindowFixture f;
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "ligne " + std::to_string(i) + "\n";
    f.setText(text);
    QPrinter& printer = f.window->editor()->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(f.path(QStringLiteral("out.pdf")));
    const int pages = f.window->editor()->print(QStringLiteral("Orvex"));
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const std::string pdf = readBytes(f.path(QStringLiteral("out.pdf")));
    QVERIFY(pdf.rfind("%PDF", 0) == 0);
    std::size_t count = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1))
      ++count;
    QCOMPARE(static_cast<int>(count), pages);
  }
};

QTEST_MAIN(DocumentLifecycleTest)
#include "document_lifecycle_test.moc"
