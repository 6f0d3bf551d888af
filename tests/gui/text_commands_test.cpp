// The text tools from the menus, the tool bar and the pop-up menu.

#include <QProgressBar>
#include <QTest>

#include "text/format_detection.h"
#include "tools/cipher_tool.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

class TextCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void upperCaseFromEveryPlace() {
    for (const char* name : {"Metteenmajuscules1", "ToolButton11", "Mettreenmajuscules1"}) {
      WindowFixture f;
      f.setText("Été à Noël\n");
      f.action(name)->trigger();
      QCOMPARE(f.text(), std::string("ÉTé à NOëL\n"));
      QVERIFY(f.window->isModified());
      QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
      QCOMPARE(f.window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 0);
    }
  }

  void toolsKeepTheDocumentLayout() {
    const struct {
      const char* action;
      std::string before;
      std::string after;
    } cases[] = {
        {"Metteenminuscules1", "ABC\r\nÉ\r\n", "abc\r\nÉ\r\n"},
        {"Ascendant1", "b\r\n\r\nA\r\nc", "A\r\nb\r\nc"},
        {"Descendant1", "b\na\n", "b\na\n"},
        {"Enleverlesaccents1", "élève où\n", "eleve ou\n"},
        {"Enleverlesblancs1", " a b \nc\n", "ab\nc\n"},
        {"Taillertouteslesligneslataillemaxi1", "été\na\n", "été\na  \n"},
    };
    for (const auto& c : cases) {
      WindowFixture f;
      const TextFormat format = detectFormat(c.before);
      f.window->editor()->loadBytes(c.before, format);
      f.action(c.action)->trigger();
      QCOMPARE(f.text(), c.after);
    }
  }

  void lineCountIsRewrittenByTheToolsThatSayso() {
    WindowFixture f;
    f.setText("a\na\nb\n");
    f.action("Suppressiondesdoublons1")->trigger();
    QCOMPARE(f.text(), std::string("a\nb\n"));
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 2"));
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages[0].caption, QStringLiteral("Avertissement"));
    QVERIFY(f.ui.messages[0].text.startsWith(QStringLiteral("Cette fonction permet de supprimer")));
  }

  void encryptionRoundTripsAndShowsBytes() {
    WindowFixture f;
    f.setText("Texte été ÿ\n");
    f.action("Crypter2")->trigger();
    QCOMPARE(f.text(), cipher("Texte été ÿ", CipherDirection::Encrypt) + "\n");
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Windows1252);
    f.action("Dcrypter1")->trigger();
    QCOMPARE(f.text(), std::string("Texte été ÿ\n"));
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Utf8);
  }

  void concatenationAppendsTheChosenFile() {
    WindowFixture f;
    const QString other = f.path(QStringLiteral("autre.txt"));
    writeBytes(other, "trois\r\nquatre\r\n");
    f.setText("un\ndeux\n");
    f.ui.files.push_back(other);
    f.action("Concatneravecunautrefichier1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\ntrois\nquatre\n"));
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 4"));

    f.window->editor()->markSaved();
    f.action("Concatneravecunautrefichier1")->trigger();  // cancelled
    QVERIFY(!f.window->isModified());
  }

  void aFailedToolLeavesNoScratchFileAndAnEmptyProgressBar() {
    WindowFixture f;
    f.setText("un\ndeux\n");
    f.ui.files.push_back(f.path(QStringLiteral("absent.txt")));
    f.action("Concatneravecunautrefichier1")->trigger();
    QCOMPARE(f.text(), std::string("un\ndeux\n"));
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 0);
    QVERIFY(!std::filesystem::exists(f.scratch.firstFile()));
    QVERIFY(!std::filesystem::exists(f.scratch.secondFile()));
  }

  void reversalTurnsTheSelectionAround() {
    WindowFixture f;
    f.setText("abc déf");
    f.window->editor()->selectAll();
    f.action("Inverserlaselection1")->trigger();
    QCOMPARE(f.text(), std::string("féd cba"));
    QVERIFY(f.window->isModified());

    WindowFixture blanks;
    blanks.setText("   ");
    blanks.window->editor()->selectAll();
    blanks.action("Inverserlaselection1")->trigger();
    QVERIFY(!blanks.window->isModified());
  }

  void aFailingToolKeepsTheDocument() {
    WindowFixture f;
    f.setText("précieux\n");
    std::filesystem::remove_all(f.scratch.path());
    f.action("Crypter2")->trigger();
    QCOMPARE(f.text(), std::string("précieux\n"));
    QVERIFY(!f.window->isModified());
    QVERIFY(f.ui.messages.back().text.startsWith(QStringLiteral("Impossible de créer le fichier")));
  }
};

QTEST_MAIN(TextCommandsTest)
#include "text_commands_test.moc"
