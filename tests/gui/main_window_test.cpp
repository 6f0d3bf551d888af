// The main window: commands table, layout, status texts and the editor's events.

#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QSet>
#include <QTest>
#include <QToolBar>

#include "mainwindow/command_table.h"
#include "text/format_detection.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void commandTableIsConsistent() {
    QSet<QString> ids;
    QSet<QString> shortcuts;
    for (const Command& command : commands()) {
      QVERIFY2(!ids.contains(QString::fromLatin1(command.id)), command.id);
      ids.insert(QString::fromLatin1(command.id));
      QVERIFY2(command.handler, command.id);
      if (command.shortcut) {
        QVERIFY2(!shortcuts.contains(QString::fromLatin1(command.shortcut)), command.shortcut);
        shortcuts.insert(QString::fromLatin1(command.shortcut));
      }
    }
    // Object names are unique over all places; every placement names a command that
    // exists, and a menu item has a text of its own or its command's caption.
    QSet<QString> names;
    QSet<QString> placed;
    auto checkPlacement = [&](const char* name, const char* id) {
      QVERIFY2(!names.contains(QString::fromLatin1(name)), name);
      names.insert(QString::fromLatin1(name));
      if (!id) return;
      QVERIFY2(findCommand(id), name);
      placed.insert(QString::fromLatin1(id));
    };
    auto checkMenu = [&](const std::vector<MenuEntry>& entries) {
      for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuItemKind::Separator) continue;
        checkPlacement(entry.name, entry.kind == MenuItemKind::Command ? entry.command : nullptr);
        QVERIFY2(menuText(entry) && *menuText(entry), entry.name);
      }
    };
    checkMenu(mainMenuEntries());
    // A command's shortcut sits on its main-menu item: placed twice there, it would
    // be used twice.
    QSet<QString> inMainMenu;
    for (const MenuEntry& entry : mainMenuEntries()) {
      if (entry.kind != MenuItemKind::Command) continue;
      QVERIFY2(!inMainMenu.contains(QString::fromLatin1(entry.command)), entry.name);
      inMainMenu.insert(QString::fromLatin1(entry.command));
    }
    checkMenu(popupMenuEntries());
    // The pop-up repeats main-menu commands, but for the block marks.
    const QSet<QString> blockMarks = {QStringLiteral("mark_block_start"), QStringLiteral("mark_block_end")};
    QSet<QString> inMenus = inMainMenu;
    for (const MenuEntry& entry : popupMenuEntries()) {
      if (entry.kind != MenuItemKind::Command) continue;
      inMenus.insert(QString::fromLatin1(entry.command));
      if (!blockMarks.contains(QString::fromLatin1(entry.command)))
        QVERIFY2(inMainMenu.contains(QString::fromLatin1(entry.command)), entry.name);
    }
    for (const auto* bar : {&editBarButtons(), &toolsBarButtons(), &blockBarButtons()}) {
      for (const ButtonEntry& button : *bar) {
        checkPlacement(button.name, button.command);
        QVERIFY2(button.hint && *button.hint, button.name);
        // The commands of the edit and tools bars can also be reached from a menu;
        // the block bar's own commands live only there.
        if (bar != &blockBarButtons()) QVERIFY2(inMenus.contains(QString::fromLatin1(button.command)), button.name);
      }
    }
    for (const Command& command : commands()) QVERIFY2(placed.contains(QString::fromLatin1(command.id)), command.id);
  }

  void startsEmptyAndUnnamed() {
    WindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orvex"));
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 0"));
    QCOMPARE(f.panel(2), QStringLiteral("Non modifié"));
    QCOMPARE(f.panel(3), QStringLiteral("lg:   1 col:   1"));
    QCOMPARE(f.window->menuBar()->actions().size(), 6);
    QCOMPARE(f.window->menuBar()->actions().at(4)->text(), QStringLiteral("&Affichage"));
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("ToolButton36")));
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("editeur")));
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Panel2"))->isHidden());
    QVERIFY(f.action("Barreddition1")->isChecked());
    QVERIFY(!f.action("OutilsBloc1")->isChecked());
    QVERIFY(f.action("Remplir1")->isEnabled());
  }

  void settingsApplyAtCreation() {
    WindowFixture f;
    SettingsRecord record;
    record.BarreStatut = false;
    record.BarreOutilsBloc = true;
    record.ForcerCapitale = true;
    QVERIFY(writeSettings(f.dir.filePath(QStringLiteral("config.dat")).toStdString(), record).ok());
    MainWindow window(f.ui, ProgramPaths(f.dir.path().toStdString()), f.scratch, {});
    QVERIFY(window.findChild<StatusBar*>()->isHidden());
    QVERIFY(!window.findChild<QAction*>(QStringLiteral("Barredestatut1"))->isChecked());
    QVERIFY(!window.findChild<QWidget*>(QStringLiteral("Panel2"))->isHidden());
    QVERIFY(window.editor()->forceCapitals());

    QFile::resize(f.dir.filePath(QStringLiteral("config.dat")), 23);
    MainWindow broken(f.ui, ProgramPaths(f.dir.path().toStdString()), f.scratch, {});
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Lecture au-delà de la fin de fichier."));
  }

  void onlyKeysThatChangeTheTextMarkModified() {
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      bool marks;
    } cases[] = {
        {Qt::Key_Right, Qt::NoModifier, false},     {Qt::Key_Down, Qt::ShiftModifier, false},
        {Qt::Key_End, Qt::ControlModifier, false},  {Qt::Key_PageDown, Qt::NoModifier, false},
        {Qt::Key_Shift, Qt::ShiftModifier, false},  {Qt::Key_Control, Qt::ControlModifier, false},
        {Qt::Key_Alt, Qt::AltModifier, false},      {Qt::Key_Meta, Qt::MetaModifier, false},
        {Qt::Key_Escape, Qt::NoModifier, false},    {Qt::Key_F5, Qt::NoModifier, false},
        {Qt::Key_C, Qt::ControlModifier, false},    {Qt::Key_Backspace, Qt::NoModifier, false},
        {Qt::Key_X, Qt::NoModifier, true},          {Qt::Key_Return, Qt::NoModifier, true},
        {Qt::Key_Delete, Qt::NoModifier, true},     {Qt::Key_Tab, Qt::NoModifier, true},
        {Qt::Key_V, Qt::ControlModifier, true},
    };
    QGuiApplication::clipboard()->setText(QStringLiteral("collé"));
    for (const auto& c : cases) {
      WindowFixture f;
      f.setText("ab\ncd\n");
      f.window->show();
      QTest::keyClick(f.window->editor()->textArea(), c.key, c.modifiers);
      QVERIFY2(f.window->isModified() == c.marks, qPrintable(QKeySequence(c.key | c.modifiers).toString()));
      QCOMPARE(f.panel(2), c.marks ? QStringLiteral("Modifié") : QStringLiteral("Non modifié"));
      if (!c.marks) QCOMPARE(f.text(), std::string("ab\ncd\n"));
    }
  }

  void editsWithoutKeysAlsoMarkModified() {
    WindowFixture f;
    f.setText("texte");
    f.window->show();
    QVERIFY(!f.window->isModified());
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ê"));
    QApplication::sendEvent(f.window->editor()->textArea(), &composed);
    QCOMPARE(f.text(), std::string("êtexte"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.panel(2), QStringLiteral("Modifié"));
  }

  void typingIntoAWindows1252DocumentStoresItsBytes() {
    WindowFixture f;
    f.window->editor()->loadBytes("caf\xE9 ", detectFormat("caf\xE9 "));
    QCOMPARE(f.window->editor()->shownEncoding(), Encoding::Windows1252);
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_End);
    for (const QString& typed : {QStringLiteral("€"), QStringLiteral("œ"), QStringLiteral("’"), QStringLiteral("é")}) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
      QApplication::sendEvent(area, &press);
    }
    QCOMPARE(f.text(), std::string("caf\xE9 \x80\x9C\x92\xE9"));
    QGuiApplication::clipboard()->setText(QStringLiteral(" …"));
    f.action("Coller1")->trigger();
    QCOMPARE(f.text(), std::string("caf\xE9 \x80\x9C\x92\xE9 \x85"));
  }

  void menuShortcutsWinOverTheEditorsOwnKeys() {
    WindowFixture f;
    const QString file = f.path(QStringLiteral("f.txt"));
    writeBytes(file, "un\ndeux\n");
    QVERIFY(f.window->loadDocument(file.toStdString()));
    f.window->setDocumentPath(file.toStdString());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QWidget* area = f.window->editor()->textArea();
    area->setFocus();
    // Ctrl+L selects the line (the control's own Ctrl+L would cut it).
    QTest::keyClick(area, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(f.text(), std::string("un\ndeux\n"));
    QCOMPARE(f.window->editor()->selectedText(), std::string("un"));
    QTest::keyClick(area, Qt::Key_X, Qt::NoModifier);
    QTest::keyClick(area, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(readBytes(file), std::string("x\ndeux\n"));
    QVERIFY(!f.window->isModified());
  }

  void tabBecomesFourBlanks() {
    WindowFixture f;
    f.setText("abcd");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_Right);
    QTest::keyClick(area, Qt::Key_Right);
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(f.text(), std::string("ab    cd"));
    QCOMPARE(f.window->editor()->caretColumn(), 6);
  }

  void forceCapitalsOnlyChangesAsciiLetters() {
    WindowFixture f;
    f.window->editor()->setForceCapitals(true);
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    for (const QString& typed : {QStringLiteral("a"), QStringLiteral("é"), QStringLiteral("1"), QStringLiteral("z")}) {
      QKeyEvent press(QEvent::KeyPress, typed == QStringLiteral("é") ? 0 : typed.toUpper()[0].unicode(),
                      Qt::NoModifier, typed);
      QApplication::sendEvent(area, &press);
    }
    QCOMPARE(f.text(), std::string("Aé1Z"));
  }

  void selectionShowsInTheStatusBar() {
    WindowFixture f;
    f.setText("0123456789\n1\n2\n3\n4\n5\n6\n7\n8\n9\n");
    f.window->show();
    QWidget* area = f.window->editor()->textArea();
    QTest::keyClick(area, Qt::Key_Down);
    QTest::keyClick(area, Qt::Key_Up);
    QTest::keyClick(area, Qt::Key_Right);
    for (int i = 0; i < 3; ++i) QTest::keyClick(area, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(f.panel(0), QStringLiteral("Nb lignes : 10  Select : 3"));
    QCOMPARE(f.panel(3), QStringLiteral("lg:   1 col:   2"));
    QCOMPARE(f.window->findChild<StatusBar*>()->toolTip(), f.panel(0));
  }

  void barSwitchesFollowTheirCheckMarks() {
    WindowFixture f;
    f.window->show();
    const QString before = f.panel(2);
    f.action("Barredestatut1")->trigger();
    QVERIFY(f.window->findChild<StatusBar*>()->isHidden());
    QVERIFY(!f.action("Barredestatut1")->isChecked());
    f.action("Barredestatut1")->trigger();
    QVERIFY(f.window->findChild<StatusBar*>()->isVisible());
    QCOMPARE(f.panel(2), before);
    f.action("OutilsBloc1")->trigger();
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Panel2"))->isVisible());
    f.action("Echelle1")->trigger();
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Panel9"))->isHidden());
  }

  void activationStoresTheTipsCheckBox() {
    WindowFixture f;
    const QString config = f.path(QStringLiteral("config.dat"));
    int shown = 0;
    f.window->activate([&] {
      ++shown;
      return false;
    });
    QCOMPARE(shown, 1);
    const std::string bytes = readBytes(config);
    QCOMPARE(bytes.size(), std::size_t(24));
    QCOMPARE(int(bytes[0]), 1);
    QCOMPARE(int(bytes[2]), 0);
    // With the tips switched off the window is not shown again.
    f.window->activate([&] {
      ++shown;
      return true;
    });
    QCOMPARE(shown, 1);
  }

  void userToolMenusComeFromTheMenuFile() {
    WindowFixture f;
    writeBytes(f.path(QStringLiteral("menu.cfg")),
               "MENU=Avant\r\nCHEMIN=/bin/true\r\nPARAMETRE=\r\nMENU-GENERAL=Mes outils\r\nMENU=Lister\r\n"
               "CHEMIN=/bin/ls\r\nPARAMETRE=-l $CheminFic$NomFic\r\n");
    f.window->setDocumentPath("/tmp/doc.txt");
    f.window->startUp();
    const auto menus = f.window->menuBar()->actions();
    QCOMPARE(menus.size(), 7);
    QCOMPARE(menus.at(4)->text(), QStringLiteral("Mes outils"));
    QCOMPARE(menus.at(5)->menu()->actions().last()->text(), QStringLiteral("Avant"));
    menus.at(4)->menu()->actions().first()->trigger();
    QCOMPARE(f.ui.started, QStringList{QStringLiteral("/bin/ls -l /tmp/doc.txt")});

    QFile::remove(f.path(QStringLiteral("menu.cfg")));
    menus.at(4)->menu()->actions().first()->trigger();
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Veuillez reconfigurer l'outil."));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
