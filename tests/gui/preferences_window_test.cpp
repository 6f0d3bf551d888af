// What orvex.conf keeps for the window: line numbers and the ruler above the text,
// word wrap, font and zoom, recent files and the window's place, read back by the
// next window; and a file that is not ours, or a link, left alone.

#include <QAbstractScrollArea>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QWheelEvent>

#include "window_fixture.h"
#include "windows/font_dialog.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

const QString kUnreadable =
    QStringLiteral("Le fichier de préférences %1 est illisible ; les préférences ne seront pas enregistrées.");

// The next run: another window on the same program directory.
std::unique_ptr<MainWindow> restart(WindowFixture& f, std::vector<std::string> arguments = {}) {
  return std::make_unique<MainWindow>(f.ui, ProgramPaths(f.dir.path().toStdString()), f.scratch, std::move(arguments));
}

QAction* item(const MainWindow& window, const char* name) {
  return window.findChild<QAction*>(QString::fromLatin1(name));
}

QLabel* ruler(const MainWindow& window) { return window.findChild<QLabel*>(QStringLiteral("Panel9")); }

// The recent-file menu as it shows when opened.
QStringList recentItems(const MainWindow& window) {
  auto* menu = window.findChild<QMenu*>(QStringLiteral("FichiersRecents1"));
  emit menu->aboutToShow();
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << action->text() + (action->isEnabled() ? "" : " (inactif)");
  return texts;
}

void zoomWithWheel(const MainWindow& window, int steps) {
  QWidget* viewport = qobject_cast<QAbstractScrollArea*>(window.editor()->textArea())->viewport();
  for (int i = 0; i < std::abs(steps); ++i) {
    QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, steps > 0 ? 120 : -120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  }
}

}  // namespace

class PreferencesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theNewItemsFollowTheBarsAndComeBeforeQuit() {
    WindowFixture f;
    QStringList view;
    for (const QAction* action : f.window->menuBar()->actions().at(4)->menu()->actions())
      view << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(view, QStringList({"Barreddition1", "Barredestatut1", "Barredoutils1", "Echelle1", "OutilsBloc1", "-",
                                "NumerosDeLigne1", "RetourALaLigne1", "PoliceEditeur1"}));
    const auto file = f.window->menuBar()->actions().at(0)->menu()->actions();
    QCOMPARE(file.at(file.size() - 3)->text(), QStringLiteral("Fichiers &récents"));
    QCOMPARE(file.last()->objectName(), QStringLiteral("Quitter1"));
    // Nothing stored: off, today's font, and no file written by merely starting.
    QVERIFY(!item(*f.window, "NumerosDeLigne1")->isChecked());
    QVERIFY(!item(*f.window, "RetourALaLigne1")->isChecked());
    QCOMPARE(f.window->editor()->textFont(), DocumentEditor::editorFont());
    QCOMPARE(ruler(*f.window)->contentsMargins().left(), 0);
    QVERIFY(!QFile::exists(f.path(QStringLiteral("orvex.conf"))));
  }

  void lineNumbersAndWrapAreKeptAndTheRulerStaysOverTheText() {
    WindowFixture f;
    item(*f.window, "NumerosDeLigne1")->trigger();
    item(*f.window, "RetourALaLigne1")->trigger();
    DocumentEditor* editor = f.window->editor();
    QVERIFY(editor->lineNumbersShown());
    QVERIFY(editor->wordWraps());
    const int narrow = editor->marginWidth();
    QVERIFY(narrow > 0);
    QCOMPARE(ruler(*f.window)->contentsMargins().left(), narrow);
    // More digits widen the margin; the ruler moves with it, and with the zoom.
    std::string lines;
    for (int i = 0; i < 12000; ++i) lines += "ligne\n";
    f.setText(lines);
    QVERIFY(editor->marginWidth() > narrow);
    QCOMPARE(ruler(*f.window)->contentsMargins().left(), editor->marginWidth());
    zoomWithWheel(*f.window, 3);
    QCOMPARE(ruler(*f.window)->contentsMargins().left(), editor->marginWidth());
    editor->selectOffsets(lines.size(), lines.size());
    editor->replaceSelection("\n");
    QCOMPARE(ruler(*f.window)->contentsMargins().left(), editor->marginWidth());

    QSettings written(f.path(QStringLiteral("orvex.conf")), QSettings::IniFormat);
    QCOMPARE(written.value(QStringLiteral("Affichage/NumerosDeLigne")).toBool(), true);
    QCOMPARE(written.value(QStringLiteral("Affichage/RetourALaLigne")).toBool(), true);
    const auto next = restart(f);
    QVERIFY(item(*next, "NumerosDeLigne1")->isChecked());
    QVERIFY(item(*next, "RetourALaLigne1")->isChecked());
    QVERIFY(next->editor()->wordWraps());
    QCOMPARE(ruler(*next)->contentsMargins().left(), next->editor()->marginWidth());

    item(*next, "NumerosDeLigne1")->trigger();
    QCOMPARE(next->editor()->marginWidth(), 0);
    QCOMPARE(ruler(*next)->contentsMargins().left(), 0);
    QVERIFY(!restart(f)->editor()->lineNumbersShown());
  }

  void fontAndZoomAreKeptAndTheRulerFollows() {
    WindowFixture f;
    const QStringList families = QFontDatabase::families();
    QFont chosen(families.contains(QStringLiteral("DejaVu Sans Mono")) ? QStringLiteral("DejaVu Sans Mono")
                                                                       : families.front());
    chosen.setPointSizeF(11.5);
    f.ui.fonts.push_back(chosen);
    item(*f.window, "PoliceEditeur1")->trigger();
    QCOMPARE(f.ui.fontStarts.back(), DocumentEditor::editorFont());
    QCOMPARE(f.window->editor()->textFont().family(), chosen.family());
    QCOMPARE(ruler(*f.window)->font().family(), chosen.family());
    QCOMPARE(ruler(*f.window)->font().pointSizeF(), 11.5);
    zoomWithWheel(*f.window, -2);
    QCOMPARE(ruler(*f.window)->font().pointSizeF(), 9.5);
    // A cancelled dialog changes nothing.
    item(*f.window, "PoliceEditeur1")->trigger();
    QCOMPARE(f.window->editor()->textFont().family(), chosen.family());

    const auto next = restart(f);
    QCOMPARE(next->editor()->textFont().family(), chosen.family());
    QCOMPARE(next->editor()->textFont().pointSizeF(), 11.5);
    QCOMPARE(next->editor()->zoom(), -2);
    QCOMPARE(ruler(*next)->font().pointSizeF(), 9.5);
  }

  void theFontDialogListsMonospacedFamiliesFirst() {
    const QStringList families = FontDialog::familiesMonospacedFirst();
    QCOMPARE(families.size(), QFontDatabase::families().size());
    qsizetype firstProportional = families.size();
    for (qsizetype i = 0; i < families.size(); ++i)
      if (!QFontDatabase::isFixedPitch(families[i]))
        firstProportional = std::min(firstProportional, i);
      else
        QVERIFY2(i < firstProportional, qPrintable(families[i]));
    FontDialog dialog(DocumentEditor::editorFont());
    QCOMPARE(dialog.chosenFont().pointSizeF(), 8.25);
  }

  void theWindowKeepsItsPlaceAndSize() {
    WindowFixture f;
    QVERIFY(!f.window->placeRestored());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->setGeometry(40, 50, 520, 410);
    QTRY_COMPARE(f.window->size(), QSize(520, 410));
    QVERIFY(f.window->close());
    auto next = restart(f);
    QVERIFY(next->placeRestored());
    QCOMPARE(next->geometry(), QRect(40, 50, 520, 410));
    QVERIFY(!next->isMaximized());

    // Maximised at the close: maximised again, its normal size kept for later.
    next->show();
    next->showMaximized();
    QTRY_VERIFY(next->isMaximized());
    QVERIFY(next->close());
    QVERIFY(restart(f)->windowState() & Qt::WindowMaximized);

    // The configuration's maximised start wins over a stored normal window.
    QSettings(f.path(QStringLiteral("orvex.conf")), QSettings::IniFormat).remove(QStringLiteral("Fenetre/Agrandie"));
    SettingsRecord record;
    record.PleinEcran = true;
    QVERIFY(writeSettings(f.path(QStringLiteral("config.dat")).toStdString(), record).ok());
    QVERIFY(restart(f)->windowState() & Qt::WindowMaximized);
  }

  void recentFilesNewestFirstSharedAndDroppedWhenGone() {
    WindowFixture f;
    QCOMPARE(recentItems(*f.window), QStringList{QStringLiteral("(aucun) (inactif)")});
    const QString first = f.path(QStringLiteral("un & deux.txt"));
    const QString second = f.path(QStringLiteral("trois.txt"));
    writeBytes(first, "1\n");
    f.ui.files << first;
    f.action("Ouvrir1")->trigger();
    f.ui.files << second;
    f.action("Enregistrer1")->trigger();
    QCOMPARE(recentItems(*f.window),
             QStringList({"&1 " + second, "&2 " + QString(first).replace(QStringLiteral("&"), QStringLiteral("&&"))}));

    // Another window sees the list when its menu opens, and adds to it.
    const auto other = restart(f);
    other->loadDocument(first.toStdString());
    f.ui.files << first;
    item(*other, "Ouvrir1")->trigger();
    QCOMPARE(recentItems(*f.window).first(), "&1 " + QString(first).replace(QStringLiteral("&"), QStringLiteral("&&")));

    // Chosen from the menu: the save question first, then the file.
    f.touch();
    f.ui.answers.push_back(Answer::No);
    f.window->findChild<QMenu*>(QStringLiteral("FichiersRecents1"))->actions().at(1)->trigger();
    QCOMPARE(f.ui.questions.size(), 1);
    QCOMPARE(f.documentPath(), second);
    QCOMPARE(f.text(), std::string("1\n"));

    // A file removed since: said, and gone from the list.
    QFile::remove(first);
    QCOMPARE(recentItems(*f.window).size(), 2);
    f.window->findChild<QMenu*>(QStringLiteral("FichiersRecents1"))->actions().at(1)->trigger();
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Le fichier %1 n'existe plus. Il est retiré de la liste des "
                                                       "fichiers récents.")
                                            .arg(first));
    QCOMPARE(f.documentPath(), second);
    QCOMPARE(recentItems(*other), QStringList{"&1 " + second});
  }

  void tenRecentFilesAtMostAndANameThatIsNotUtf8Survives() {
    WindowFixture f;
    const std::string latin1 = f.path(QStringLiteral("caf")).toStdString() + "\xE9.txt";
    { std::ofstream(latin1, std::ios::binary) << "du caf\xE9\n"; }
    for (int i = 0; i < 11; ++i) {
      const QString name = f.path(QStringLiteral("f%1.txt").arg(i));
      writeBytes(name, "x");
      f.ui.files << name;
      f.action("Ouvrir1")->trigger();
    }
    restart(f, {latin1})->startUp();
    const QStringList items = recentItems(*f.window);
    QCOMPARE(items.size(), 10);
    QVERIFY(items.first().startsWith(QStringLiteral("&1 ")));
    QCOMPARE(items.at(1), "&2 " + f.path(QStringLiteral("f10.txt")));
    QCOMPARE(items.last(), "1&0 " + f.path(QStringLiteral("f2.txt")));
    f.window->findChild<QMenu*>(QStringLiteral("FichiersRecents1"))->actions().at(0)->trigger();
    QCOMPARE(f.window->documentPath().native(), latin1);
    QCOMPARE(f.text(), std::string("du caf\xE9\n"));
    std::filesystem::remove(latin1);
  }

  void anUnreadableFileIsSaidOnceAndNeverOverwritten() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("orvex.conf"));
    const std::string garbage = "[Affichage\nNumerosDeLigne=true\n";
    writeBytes(file, garbage);
    const auto next = restart(f);
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages.back().text, kUnreadable.arg(file));
    QVERIFY(!next->editor()->lineNumbersShown());
    item(*next, "NumerosDeLigne1")->trigger();
    QVERIFY(next->editor()->lineNumbersShown());
    zoomWithWheel(*next, 1);
    recentItems(*next);
    next->show();
    QVERIFY(next->close());
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(readBytes(file), garbage);
  }

  void aLinkAtTheNameIsNeverWrittenThrough() {
    WindowFixture f;
    const QString target = f.path(QStringLiteral("ailleurs.conf"));
    writeBytes(target, "[Affichage]\nRetourALaLigne=true\n");
    QVERIFY(QFile::link(target, f.path(QStringLiteral("orvex.conf"))));
    const auto next = restart(f);
    QVERIFY(next->editor()->wordWraps());
    item(*next, "NumerosDeLigne1")->trigger();
    next->show();
    QVERIFY(next->close());
    QCOMPARE(readBytes(target), std::string("[Affichage]\nRetourALaLigne=true\n"));
    QVERIFY(QFileInfo(f.path(QStringLiteral("orvex.conf"))).isSymLink());
    QVERIFY(f.ui.messages.empty());
  }
};

QTEST_MAIN(PreferencesWindowTest)
#include "preferences_window_test.moc"
