// Files the editor must not choke on: larger than it can hold, or changing while
// they are read.

#include <QTest>
#include <thread>

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
};

QTEST_MAIN(LargeFilesTest)
#include "large_files_test.moc"
