// A file whose name is not UTF-8 opens from the command line, a drop and the open
// dialog, saves back under the same bytes, and shows U+FFFD only where its bytes
// cannot be decoded. Dialogs start where the user works.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

const QString kReplacement = QString(QChar(0xFFFD));

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void dropUriList(WindowFixture& f, const QByteArray& list) {
  QMimeData data;
  data.setData(QStringLiteral("text/uri-list"), list);
  QWidget* target = qobject_cast<QAbstractScrollArea*>(f.window->editor()->textArea())->viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
}

}  // namespace

class NonUtf8NamesTest : public QObject {
  Q_OBJECT

 private slots:
  void aLatin1NameOpensAndSavesBackFromEveryEntry() {
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string name = base + "/caf\xE9.txt";
    writeFile(name, "contenu\n");
    const QString shown = dir.path() + QStringLiteral("/caf") + kReplacement + QStringLiteral(".txt");

    enum class Entry { CommandLine, Drop, OpenDialog };
    for (const Entry entry : {Entry::CommandLine, Entry::Drop, Entry::OpenDialog}) {
      WindowFixture f(entry == Entry::CommandLine ? std::vector<std::string>{name} : std::vector<std::string>{});
      switch (entry) {
        case Entry::CommandLine: f.window->startUp(); break;
        case Entry::Drop:
          dropUriList(f, "file://" + QByteArray::fromStdString(base) + "/caf%E9.txt\r\n");
          QCoreApplication::processEvents();
          break;
        case Entry::OpenDialog:
          f.ui.files << shown;
          f.action("Ouvrir1")->trigger();
          break;
      }
      QVERIFY2(f.ui.messages.empty(), qPrintable(f.ui.messages.empty() ? QString() : f.ui.messages[0].text));
      QCOMPARE(f.window->documentPath().native(), name);
      QCOMPARE(f.text(), std::string("contenu\n"));
      QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex - ") + shown);

      f.window->editor()->selectOffsets(0, 0);
      f.action("Nomdufichier1")->trigger();
      QCOMPARE(f.text(), (QStringLiteral("caf") + kReplacement + QStringLiteral(".txtcontenu\n")).toStdString());
      f.action("Enregistrer2")->trigger();
      QCOMPARE(fileBytes(name), (QStringLiteral("caf") + kReplacement + QStringLiteral(".txtcontenu\n")).toStdString());
      writeFile(name, "contenu\n");
    }
  }

  void twoNamesThatShowAlikeAreNotConfused() {
    WindowFixture f;
    const std::string base = f.dir.path().toStdString();
    writeFile(base + "/a\xE9.txt", "un\n");
    writeFile(base + "/a\xE8.txt", "deux\n");
    f.setText("inchangé");
    f.ui.files << f.dir.path() + QStringLiteral("/a") + kReplacement + QStringLiteral(".txt");
    f.action("Ouvrir1")->trigger();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QVERIFY(f.ui.messages[0].text.startsWith(QStringLiteral("Plusieurs fichiers de ce dossier")));
    QCOMPARE(f.text(), std::string("inchangé"));
  }

  void theCaretFollowsANameOutsideTheBasicPlane() {
    WindowFixture f;
    f.setText("fin");
    f.window->setDocumentPath("/tmp/\xF0\x9F\x98\x80 notes.txt");
    f.action("Nomdufichier1")->trigger();
    QCOMPARE(f.text(), std::string("\xF0\x9F\x98\x80 notes.txtfin"));
    QCOMPARE(f.window->editor()->caretColumn(), 11);
  }

  void openDialogsStartInTheDocumentsDirectoryThenOnTheLastChoice() {
    WindowFixture f;
    const QString document = f.path(QStringLiteral("doc.txt"));
    const QString other = f.path(QStringLiteral("autre.txt"));
    writeBytes(document, "a\n");
    writeBytes(other, "b\n");
    f.action("Ouvrir1")->trigger();  // unnamed document: the working directory
    QCOMPARE(f.ui.openDialogStarts.last(), QDir::currentPath());
    QVERIFY(f.window->loadDocument(document.toStdString()));
    f.window->setDocumentPath(document.toStdString());
    for (const char* command : {"Concatneravecunautrefichier1", "ToolButton40", "Ouvrir1"}) {
      f.action(command)->trigger();
      QCOMPARE(f.ui.openDialogStarts.last(), f.dir.path());
    }
    f.ui.files << other;
    f.action("Concatneravecunautrefichier1")->trigger();
    f.action("ToolButton40")->trigger();
    QCOMPARE(f.ui.openDialogStarts.last(), other);
  }
};

QTEST_MAIN(NonUtf8NamesTest)
#include "non_utf8_names_test.moc"
