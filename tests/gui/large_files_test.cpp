// Files the editor must not choke on: larger than it can hold, or changing while
// they are read.

#include <Qsci/qsciscintillabase.h>

#include <QTest>
#include <thread>
#include <vector>

#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

class LargeFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void aFileOverTwoGigabytesIsRefusedAndTheDocumentKept() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("enorme.txt"));
    writeBytes(file, "");
    std::filesystem::resize_file(file.toStdString(), (std::uintmax_t{2} << 30) + 4096);  // sparse
    f.setText("mon texte\n");
    f.ui.files << file;
    f.action("Ouvrir1")->trigger();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QVERIFY(f.ui.messages[0].text.contains(QStringLiteral("trop volumineux")));
    QCOMPARE(f.text(), std::string("mon texte\n"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));
  }

  void aFileThatShrinksWhileItLoadsGivesWhatCouldBeRead() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("fuyant.txt"));
    std::string text;
    while (text.size() < 64'000'000) text += "une ligne qui va disparaître\n";
    writeBytes(file, text);
    std::thread shrink([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      std::filesystem::resize_file(file.toStdString(), 1000);
    });
    const bool loaded = f.window->loadDocument(file.toStdString());
    shrink.join();
    QVERIFY(loaded);
    // At least what the file still holds once cut, and never other bytes than its own.
    const std::string_view shown = f.window->editor()->editorText();
    QVERIFY(shown.size() >= 1000);
    QVERIFY(std::string_view(text).substr(0, shown.size()) == shown);
  }

  // Many short lines take the load that sizes the control's line index first. Its
  // lines must be the file's, whatever break ends them and wherever the reads cut:
  // a CR LF across the first read's end, lone CRs, a CR as the very last byte.
  void aFileOfManyLinesLoadsWithEveryLineInPlace() {
    const char* const breaks[] = {"\n", "\r\n", "\r"};
    for (const std::string lastBreak : {"", "\r", "\r\n"}) {
      WindowFixture f;
      std::string text;
      for (std::size_t i = 0; text.size() < 1'700'000; ++i) {
        if (text.size() + 12 > (std::size_t{1} << 20) && text.size() < (std::size_t{1} << 20)) {
          text.resize((std::size_t{1} << 20) - 1, 'x');
          text += "\r\n";
        }
        text += "ligne é " + std::to_string(i % 97) + breaks[i % 3];
      }
      text += "fin" + lastBreak;
      const QString file = f.path(QStringLiteral("lignes.txt"));
      writeBytes(file, text);
      QVERIFY(f.window->loadDocument(file.toStdString()));
      QCOMPARE(f.text(), text);

      std::vector<long> starts{0};
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n') starts.push_back(static_cast<long>(i + 1));
      }
      auto* control = f.window->editor()->findChild<QsciScintillaBase*>();
      QCOMPARE(control->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT), static_cast<long>(starts.size()));
      for (std::size_t line = 0; line < starts.size(); ++line)
        if (control->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line) != starts[line])
          QFAIL(qPrintable(QStringLiteral("line %1 starts elsewhere").arg(line)));
    }
  }
};

QTEST_MAIN(LargeFilesTest)
#include "large_files_test.moc"
