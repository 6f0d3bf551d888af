// Every character shown as itself: Windows-1252 documents held as UTF-8 in the
// editor and saved byte for byte, the switch to UTF-8 for characters the code page
// lacks, concatenation across encodings and the format panel.

#include <QInputMethodEvent>
#include <QTest>

#include "text/format_detection.h"
#include "text/windows1252.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

void type(QWidget* area, const QString& text) {
  QInputMethodEvent typed;
  typed.setCommitString(text);
  QApplication::sendEvent(area, &typed);
}

QString shown(const WindowFixture& f) { return QString::fromUtf8(f.window->editor()->editorText()); }

}  // namespace

class EncodingTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindows1252ByteShowsAsItsCharacterAndSavesUnchanged() {
    std::string all;
    for (int b = 0; b < 256; ++b)
      if (b != '\n' && b != '\r') all.push_back(static_cast<char>(b));
    all += "\r\n";
    WindowFixture f;
    const QString file = f.path(QStringLiteral("cp1252.txt"));
    writeBytes(file, all);
    f.ui.files << file;
    f.action("Ouvrir1")->trigger();
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Windows1252);

    const QString text = shown(f);
    QCOMPARE(text.size(), 256);
    int at = 0;
    for (int b = 0; b < 256; ++b) {
      if (b == '\n' || b == '\r') continue;
      const char32_t expected = decodeWindows1252(static_cast<unsigned char>(b));
      QVERIFY2(text.at(at).unicode() == expected, qPrintable(QString::number(b, 16)));
      ++at;
    }
    QCOMPARE(text.mid(0x80 - 2, 1), QStringLiteral("€"));  // byte 0x80, two places earlier for LF and CR
    QVERIFY(text.contains(QStringLiteral("‚ƒ„…†‡ˆ‰Š‹Œ")));
    QVERIFY(text.contains(QStringLiteral("‘’“”•–—˜™š›œ")));
    QVERIFY(text.contains(QStringLiteral("žŸ")));

    // Columns count characters: the caret after "€" in the high range.
    f.window->editor()->restoreViewPosition({0, 0x80 - 1, 0});
    QCOMPARE(f.window->editor()->caretColumn(), 0x80 - 1);
    QCOMPARE(f.window->editor()->selectionLength(), 0);

    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), all);
  }

  void typedCharactersOfTheCodePageAreStoredAsItsBytes() {
    WindowFixture f;
    f.window->editor()->loadBytes("caf\xE9\n", detectFormat("caf\xE9\n"));
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_End);
    type(area, QStringLiteral(" € œ"));
    QCOMPARE(shown(f), QStringLiteral("café € œ\n"));
    QCOMPARE(f.text(), std::string("caf\xE9 \x80 \x9C\n"));
    QCOMPARE(f.window->editor()->caretColumn(), 8);
    QCOMPARE(f.panel(5), QStringLiteral("Windows-1252  LF"));
    QCoreApplication::processEvents();
    QVERIFY(f.ui.messages.empty());
  }

  void aCharacterOutsideTheCodePageMakesTheDocumentUtf8() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "caf\xE9 \x80\r\n");
    f.ui.files << file;
    f.action("Ouvrir1")->trigger();
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    type(area, QStringLiteral("☃"));
    QCOMPARE(f.panel(5), QStringLiteral("UTF-8  CR LF"));
    QTRY_COMPARE(f.ui.messages.size(), std::size_t(1));
    QVERIFY(f.ui.messages[0].text.contains(QStringLiteral("UTF-8")));
    type(area, QStringLiteral("日"));  // said once only
    QCoreApplication::processEvents();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.text(), std::string("☃日café €\r\n"));
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), std::string("☃日café €\r\n"));
  }

  void concatenationConvertsTheOtherFile() {
    const struct {
      std::string document;
      std::string other;
      std::string result;
      QString panel;
      bool message;
    } cases[] = {
        {"un \xE9t\xE9\n", "deux €té\n", "un \xE9t\xE9\ndeux \x80t\xE9\n", QStringLiteral("Windows-1252  LF"), false},
        {"un été\r\n", "deux \x80t\xE9\n", "un été\r\ndeux €té\r\n", QStringLiteral("UTF-8  CR LF"), false},
        {"\xEF\xBB\xBFun\n", "\xEF\xBB\xBF" "deux\n", "un\ndeux\n", QStringLiteral("UTF-8 BOM  LF"), false},
        {"un \xE9t\xE9\n", "deux 日本\n", "un été\ndeux 日本\n", QStringLiteral("UTF-8  LF"), true},
    };
    for (const auto& c : cases) {
      WindowFixture f;
      const QString file = f.path(QStringLiteral("doc.txt"));
      const QString other = f.path(QStringLiteral("autre.txt"));
      writeBytes(file, c.document);
      writeBytes(other, c.other);
      f.ui.files << file << other;
      f.action("Ouvrir1")->trigger();
      const QString panelBefore = f.panel(5);
      f.action("Concatneravecunautrefichier1")->trigger();
      QCOMPARE(f.text(), c.result);
      QCOMPARE(f.panel(5), c.panel);
      QCOMPARE(f.ui.messages.size(), std::size_t(c.message ? 1 : 0));

      // Undone, the document is back in its own encoding.
      f.action("Annuler1")->trigger();
      QCOMPARE(f.panel(5), panelBefore);
      f.action("Enregistrer2")->trigger();
      QCOMPARE(readBytes(file), c.document);
    }
  }

  void theFormatPanelNamesEncodingAndLineBreak() {
    const struct {
      std::string bytes;
      QString panel;
    } cases[] = {
        {"a\nb\n", QStringLiteral("UTF-8  LF")},
        {"\xEF\xBB\xBF" "a\r\nb", QStringLiteral("UTF-8 BOM  CR LF")},
        {"\xE9\r", QStringLiteral("Windows-1252  CR")},
        {"", QStringLiteral("UTF-8  LF")},
    };
    for (const auto& c : cases) {
      WindowFixture f;
      const QString file = f.path(QStringLiteral("f.txt"));
      writeBytes(file, c.bytes);
      QVERIFY(f.window->loadDocument(file.toStdString()));
      QCOMPARE(f.panel(5), c.panel);
      f.action("Nouveau2")->trigger();
      QCOMPARE(f.panel(5), QStringLiteral("UTF-8  LF"));
    }
  }

  void anEncryptedUtf8TextRoundTripsThroughItsWindows1252View() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    const std::string original = "\xEF\xBB\xBF" "Été ☃ \x01\x02\x03\x7F\n";
    writeBytes(file, original);
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    f.action("Crypter2")->trigger();
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Windows1252);
    QCOMPARE(f.panel(5), QStringLiteral("UTF-8 BOM  LF"));
    f.action("Enregistrer2")->trigger();
    const std::string encrypted = readBytes(file);
    QVERIFY(encrypted != original);

    // Opened again, the byte-order mark still says UTF-8.
    QVERIFY(f.window->loadDocument(file.toStdString()));
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Windows1252);
    QCOMPARE(f.panel(5), QStringLiteral("UTF-8 BOM  LF"));
    f.action("Dcrypter1")->trigger();
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Utf8);
    f.action("Enregistrer2")->trigger();
    QCOMPARE(readBytes(file), original);
  }
};

QTEST_MAIN(EncodingTest)
#include "encoding_test.moc"
