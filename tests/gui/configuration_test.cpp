// The configuration dialog: settings written and applied, the user tools from the
// dialog to menu.cfg, to the menus, to a real launch; and the batch help screen.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QListView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "components/styled_menu_style.h"
#include "config/desktop_entry.h"
#include "config/menu_config.h"
#include "config/configuration_dialog.h"
#include "services/program_dialog.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

ConfigurationDialog* dialogOf(QDialog& dialog) { return qobject_cast<ConfigurationDialog*>(&dialog); }

template <typename T>
T* control(QDialog& dialog, const char* name) {
  T* found = dialog.findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no control %s", name);
  return found;
}

void click(QDialog& dialog, const char* name) { control<QPushButton>(dialog, name)->click(); }
void type(QDialog& dialog, const char* name, const QString& text) { control<QLineEdit>(dialog, name)->setText(text); }

// A script that writes each of its arguments between brackets, one per line.
QString recordingScript(const QTemporaryDir& dir) {
  const QString script = dir.filePath(QStringLiteral("enregistre"));
  writeBytes(script, "#!/bin/sh\nout=\"$(dirname \"$0\")/arguments\"\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; "
                     "done > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return script;
}

QString text(QDialog& dialog, const char* name) { return control<QLineEdit>(dialog, name)->text(); }

QString waitForArguments(const QString& directory) {
  const QString file = directory + QStringLiteral("/arguments");
  if (!QTest::qWaitFor([&] { return QFile::exists(file); }, 10000)) return QStringLiteral("(not launched)");
  const QString recorded = QString::fromStdString(readBytes(file));
  QFile::remove(file);
  return recorded;
}

}  // namespace

class ConfigurationTest : public QObject {
  Q_OBJECT

 private slots:
  void generalTabIsWrittenAppliedAndKeptForTheNextStart() {
    WindowFixture f;
    f.ui.colours = {QColor(255, 0, 0), QColor(0, 0, 255)};
    f.ui.onModal = [](QDialog& dialog) {
      QCOMPARE(dialogOf(dialog)->findChild<QTabWidget*>()->currentIndex(), 0);
      control<QCheckBox>(dialog, "BarreOutilsBloc")->setChecked(true);
      control<QCheckBox>(dialog, "Echelle")->setChecked(false);
      control<QCheckBox>(dialog, "ForcerCapitale")->setChecked(true);
      control<QCheckBox>(dialog, "MenusPlats")->setChecked(true);
      control<QCheckBox>(dialog, "EcranBienvenue")->setChecked(false);
      QTest::mouseClick(control<QWidget>(dialog, "CouleurEditeur"), Qt::LeftButton);
      QTest::mouseClick(control<QWidget>(dialog, "CouleurEchelle"), Qt::LeftButton);
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    QVERIFY(f.window->configurationDialog()->confirmed());
    // The colour dialog opens on the colour last chosen in it, black at first.
    QCOMPARE(f.ui.colourStarts, (std::vector<QColor>{Qt::black, QColor(255, 0, 0)}));

    const std::string expected("\x00\x00\x01\x00\x01\x01\x01\x01\x00\x01\x01\x00"
                               "\xFF\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\x00",
                               24);
    QCOMPARE(readBytes(f.path(QStringLiteral("config.dat"))), expected);
    // Applied at once, the start-up options excepted.
    QVERIFY(f.action("OutilsBloc1")->isChecked());
    QVERIFY(!f.action("Echelle1")->isChecked());
    QVERIFY(f.window->editor()->forceCapitals());
    QVERIFY(f.window->menuStyle()->flatMenu());
    QVERIFY(!f.window->menuStyle()->gradient());
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Panel2"))->isVisibleTo(f.window.get()));

    MainWindow restarted(f.ui, ProgramPaths(f.dir.path().toStdString()), f.scratch, {});
    QVERIFY(restarted.findChild<QAction*>(QStringLiteral("OutilsBloc1"))->isChecked());
    QVERIFY(!restarted.findChild<QAction*>(QStringLiteral("Echelle1"))->isChecked());
    QVERIFY(restarted.editor()->forceCapitals());
    // The next showing reads the file back into the controls.
    restarted.configurationDialog()->prepareToShow();
    QCOMPARE(restarted.configurationDialog()->controlsRecord().toBytes(),
             f.window->configurationDialog()->controlsRecord().toBytes());
  }

  void cancelDefaultAndTheBatchHelpWriteNothing() {
    WindowFixture f;
    for (const char* close : {"Annuler", "Escape"}) {
      f.ui.onModal = [close](QDialog& dialog) {
        control<QCheckBox>(dialog, "BarreStatut")->setChecked(false);
        if (QByteArray(close) == "Escape")
          QTest::keyClick(&dialog, Qt::Key_Escape);
        else
          click(dialog, close);
      };
      const auto closeThisTime = f.ui.onModal;
      f.ui.onModal = [](QDialog& dialog) {  // an earlier "&Ok"
        control<QCheckBox>(dialog, "BarreStatut")->setChecked(true);
        click(dialog, "Ok");
      };
      f.action("Configuration1")->trigger();
      QVERIFY(f.window->configurationDialog()->confirmed());
      QFile::remove(f.path(QStringLiteral("config.dat")));
      f.ui.onModal = closeThisTime;
      f.action("Configuration1")->trigger();
      QVERIFY(!f.window->configurationDialog()->confirmed());
      QVERIFY(f.action("Barredestatut1")->isChecked());
      QVERIFY(!QFile::exists(f.path(QStringLiteral("config.dat"))));
    }

    // "Défaut" without a file: nothing happens and the dialog stays open.
    ConfigurationDialog& dialog = *f.window->configurationDialog();
    dialog.restoreDefaults();
    QVERIFY(f.ui.messages.empty());
    writeBytes(f.path(QStringLiteral("config.dat")), std::string(24, '\1'));
    dialog.restoreDefaults();
    QVERIFY(!QFile::exists(f.path(QStringLiteral("config.dat"))));
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Avertissement"));
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Vous devez quitter puis redémarrer Orvex pour prendre en "
                                                       "compte\n\rla remise à défaut de l'interface."));

    // "orvex /?": the dialog on "Mode Batch"; "&Ok" only closes, and the program ends.
    WindowFixture help({QStringLiteral("/?")});
    help.window->show();
    help.ui.onModal = [](QDialog& shown) {
      QTabWidget* tabs = shown.findChild<QTabWidget*>();
      QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Mode Batch"));
      QVERIFY(control<QLabel>(shown, "BatchHelp")->text().contains(QStringLiteral("orvex /tmp/toto.txt 5 1 8")));
      QVERIFY(control<QLabel>(shown, "BatchHelp")
                  ->text()
                  .contains(QStringLiteral("orvex - 5 1 &lt; entrée.txt &gt; sortie.txt")));
      click(shown, "Ok");
    };
    help.window->startUp();
    QCOMPARE(help.ui.modalDialogs, 1);
    QVERIFY(!help.window->isVisible());
    QVERIFY(!QFile::exists(help.path(QStringLiteral("config.dat"))));
    QVERIFY(!QFile::exists(help.path(QStringLiteral("menu.cfg"))));
  }

  void userToolsGoFromTheDialogToTheMenuToARealLaunch() {
    WindowFixture f;
    QTemporaryDir tools;
    const QString script = recordingScript(tools);
    f.ui.files = {script};
    f.ui.menuChoices = {3};  // "Texte &sélectionné sous Orvex", after the separator
    f.ui.onModal = [](QDialog& dialog) {
      click(dialog, "Ajouter");
      QCOMPARE(control<QLineEdit>(dialog, "Libelle")->text(), QStringLiteral("Nouveau "));
      QCOMPARE(control<QLineEdit>(dialog, "Executable")->text(), QStringLiteral("Outils"));
      type(dialog, "Libelle", QStringLiteral("Enregistrer"));
      control<QToolButton>(dialog, "Parcourir")->click();
      type(dialog, "Parametres", QStringLiteral("-f \"$CheminFic$NomFic\" -s "));
      control<QToolButton>(dialog, "Variables")->click();
      click(dialog, "Valider");
      type(dialog, "MenuPrincipal", QStringLiteral("Mes outils"));
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(readBytes(f.path(QStringLiteral("menu.cfg"))),
             "MENU-GENERAL=Mes outils\r\nMENU=Enregistrer\r\nCHEMIN=" + script.toStdString() +
                 "\r\nPARAMETRE=-f \"$CheminFic$NomFic\" -s $Selection\r\n");

    const auto menus = f.window->menuBar()->actions();
    QCOMPARE(menus.size(), 7);
    QCOMPARE(menus.at(4)->text(), QStringLiteral("Mes outils"));
    QAction* tool = menus.at(4)->menu()->actions().value(0);
    QCOMPARE(tool->text(), QStringLiteral("Enregistrer"));

    // A selection full of shell syntax and a file name with blanks arrive as they are.
    const std::string hostile = "a b \"c'; rm -rf ~; echo $HOME `id` é";
    f.setText("avant " + hostile + " après");
    f.window->editor()->selectOffsets(6, 6 + hostile.size());
    f.window->setDocumentPath("/home/moi/mes documents/lettre à Léa.txt");
    f.ui.realLaunches = true;
    tool->trigger();
    QCOMPARE(f.ui.startDirectories, QStringList{QStringLiteral("/")});
    QCOMPARE(waitForArguments(tools.path()), QString::fromStdString("[-f]\n[/home/moi/mes documents/lettre à Léa.txt]\n[-s]\n[" +
                                                             hostile + "]\n"));
    // A name that is not UTF-8 arrives as its bytes.
    f.window->setDocumentPath("/tmp/caf\xE9.txt");
    tool->trigger();
    const QString recorded = tools.path() + QStringLiteral("/arguments");
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(recorded); }, 10000));
    QCOMPARE(readBytes(recorded).substr(0, 25), std::string("[-f]\n[/tmp/caf\xE9.txt]\n[-s]"));
    QFile::remove(recorded);
    // An unnamed document and no selection: empty arguments, still in place.
    f.window->setDocumentPath({});
    f.window->editor()->selectOffsets(0, 0);
    tool->trigger();
    QCOMPARE(waitForArguments(tools.path()), QStringLiteral("[-f]\n[]\n[-s]\n[]\n"));

    // The next showing lists the tool; confirming again rebuilds the menus once.
    f.ui.onModal = [](QDialog& dialog) {
      QCOMPARE(control<QListWidget>(dialog, "ListBox1")->count(), 1);
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(f.window->menuBar()->actions().size(), 7);
  }

  void toolFailuresAreSaid() {
    WindowFixture f;
    const QString notes = f.path(QStringLiteral("notes.txt"));
    writeBytes(notes, "x");
    writeBytes(f.path(QStringLiteral("menu.cfg")),
               "MENU-GENERAL=Outils\r\nMENU=Echo\r\nCHEMIN=/bin/echo\r\nPARAMETRE=$Selection\r\n"
               "MENU=Notes\r\nCHEMIN=" + notes.toStdString() + "\r\nPARAMETRE=\r\n"
               "MENU=Disparu\r\nCHEMIN=/nulle/part/outil\r\nPARAMETRE=\r\n"
               "MENU=Sans programme\r\nPARAMETRE=-x\r\nMENU=Suivant\r\nCHEMIN=/bin/echo\r\nPARAMETRE=\r\n");
    f.window->startUp();
    const auto items = f.window->menuBar()->actions().at(4)->menu()->actions();
    QCOMPARE(items.size(), 5);

    f.setText(std::string(200'000, 'a'));
    f.window->editor()->selectOffsets(0, 200'000);
    items.at(0)->trigger();
    QVERIFY(f.ui.started.isEmpty());
    QVERIFY(f.ui.messages.back().text.startsWith(QStringLiteral("Le texte sélectionné est trop long")));

    items.at(1)->trigger();
    QCOMPARE(f.ui.opened, QStringList{notes});
    items.at(2)->trigger();
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Veuillez reconfigurer l'outil."));
    // A tool without its program line never takes the next tool's program.
    f.ui.messages.clear();
    items.at(3)->trigger();
    QVERIFY(f.ui.started.isEmpty());
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Problème de configuration"));
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Veuillez reconfigurer l'outil."));

    // "Tout supprimer" then "&Annuler": the file is gone, the items stay and say so.
    f.ui.onModal = [](QDialog& dialog) {
      click(dialog, "ToutSupprimer");
      QCOMPARE(dialog.findChild<QTabWidget*>()->currentIndex(), 1);
      QCOMPARE(control<QListWidget>(dialog, "ListBox1")->count(), 0);
      click(dialog, "Annuler");
    };
    f.action("Configuration1")->trigger();
    QVERIFY(!QFile::exists(f.path(QStringLiteral("menu.cfg"))));
    const std::size_t said = f.ui.messages.size();
    items.at(0)->trigger();
    QCOMPARE(f.ui.messages.size(), said + 1);
    QCOMPARE(f.ui.messages.back().caption, QStringLiteral("Problème de configuration"));
  }

  // Each field is stored as typed, whatever it holds, and every value reads back
  // as itself: in the list, in menu.cfg, in the menus and at the launch.
  void typedValuesAreStoredAsTyped() {
    WindowFixture f;
    QTemporaryDir tools;
    QVERIFY(QDir(tools.path()).mkdir(QStringLiteral("a || b")));
    const QString script = recordingScript(tools);
    const QString program = tools.filePath(QStringLiteral("a || b/outil"));
    QVERIFY(QFile::copy(script, program));
    const std::vector<ToolEntry> typed = {
        {"Un || deux", program.toStdString(), "-x || -y"},
        {"MENU=Faux", "CHEMIN=/bin/faux", "PARAMETRE=-p"},
        {"Titre MENU-GENERAL=x", "/bin/MENU=x", " || MENU=y CHEMIN=z "},
        {" Nouveau ", " || ", ""},
    };
    f.ui.onModal = [&typed](QDialog& dialog) {
      for (const ToolEntry& tool : typed) {
        click(dialog, "Ajouter");
        type(dialog, "Libelle", QString::fromStdString(tool.label));
        type(dialog, "Executable", QString::fromStdString(tool.program));
        type(dialog, "Parametres", QString::fromStdString(tool.parameters));
        click(dialog, "Valider");
      }
      type(dialog, "MenuPrincipal", QStringLiteral("MENU=Outils || PARAMETRE="));
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    std::string expected = "MENU-GENERAL=MENU=Outils || PARAMETRE=\r\n";
    for (const ToolEntry& tool : typed)
      expected += "MENU=" + tool.label + "\r\nCHEMIN=" + tool.program + "\r\nPARAMETRE=" + tool.parameters + "\r\n";
    QCOMPARE(readBytes(f.path(QStringLiteral("menu.cfg"))), expected);

    // The next showing gives each field back whole; confirmed again, the file is
    // written back unchanged.
    f.ui.onModal = [&typed](QDialog& dialog) {
      auto* list = control<QListWidget>(dialog, "ListBox1");
      QCOMPARE(list->count(), int(typed.size()));
      for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(list->item(row)->text(), QString::fromStdString(joinToolEntry(typed[row])));
        QCOMPARE(text(dialog, "Libelle"), QString::fromStdString(typed[row].label));
        QCOMPARE(text(dialog, "Executable"), QString::fromStdString(typed[row].program));
        QCOMPARE(text(dialog, "Parametres"), QString::fromStdString(typed[row].parameters));
      }
      QCOMPARE(text(dialog, "MenuPrincipal"), QStringLiteral("MENU=Outils || PARAMETRE="));
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(readBytes(f.path(QStringLiteral("menu.cfg"))), expected);

    const auto menus = f.window->menuBar()->actions();
    QCOMPARE(menus.at(4)->text(), QStringLiteral("MENU=Outils || PARAMETRE="));
    QAction* first = menus.at(4)->menu()->actions().value(0);
    QVERIFY(first);
    f.ui.realLaunches = true;
    first->trigger();
    QCOMPARE(f.ui.started.value(0), program + QStringLiteral(" -x || -y"));
    QCOMPARE(waitForArguments(tools.filePath(QStringLiteral("a || b"))), QStringLiteral("[-x]\n[||]\n[-y]\n"));
  }

  // Giving the list the keyboard makes an item current but selects none: no box is
  // filled from it, and the commands that act on the selection do nothing.
  void theKeyboardInTheListSelectsNothing() {
    WindowFixture f;
    writeBytes(f.path(QStringLiteral("menu.cfg")),
               "MENU-GENERAL=Outils\r\nMENU=Un\r\nCHEMIN=/bin/un\r\nPARAMETRE=-1\r\n"
               "MENU=Deux\r\nCHEMIN=/bin/deux\r\nPARAMETRE=-2\r\n");
    f.ui.onModal = [](QDialog& dialog) {
      auto* list = control<QListWidget>(dialog, "ListBox1");
      const QStringList before = {list->item(0)->text(), list->item(1)->text()};
      type(dialog, "Libelle", QStringLiteral("saisi"));
      type(dialog, "Executable", QStringLiteral("/bin/saisi"));
      for (const Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::OtherFocusReason}) {
        QFocusEvent focus(QEvent::FocusIn, reason);
        QApplication::sendEvent(list, &focus);
        QCOMPARE(list->currentRow(), 0);  // what "&Supprimer" used to remove
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(text(dialog, "Libelle"), QStringLiteral("saisi"));
        QCOMPARE(text(dialog, "Executable"), QStringLiteral("/bin/saisi"));
        click(dialog, "Supprimer");
        click(dialog, "Valider");
        QCOMPARE(list->count(), 2);
        QCOMPARE((QStringList{list->item(0)->text(), list->item(1)->text()}), before);
        QCOMPARE(text(dialog, "Libelle"), QStringLiteral("saisi"));
      }
      // A real selection is removed, and only once.
      list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
      QCOMPARE(text(dialog, "Executable"), QStringLiteral("/bin/deux"));
      click(dialog, "Supprimer");
      QCOMPARE(list->count(), 1);
      QCOMPARE(text(dialog, "Libelle"), QString());
      click(dialog, "Supprimer");
      QCOMPARE(list->count(), 1);
      QCOMPARE(list->item(0)->text(), QStringLiteral("Un || /bin/un || -1"));
      click(dialog, "Annuler");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(f.ui.modalDialogs, 1);
  }

  // The "->" beside "Exécutable :" starts in the directory of the program typed and
  // fills the box with the full path chosen.
  void theBrowseButtonFillsTheProgram() {
    WindowFixture f;
    f.ui.files = {QStringLiteral("/usr/bin/env")};
    f.ui.onModal = [](QDialog& dialog) {
      click(dialog, "Ajouter");
      type(dialog, "Executable", QStringLiteral("/opt/mes outils/ancien"));
      control<QToolButton>(dialog, "Parcourir")->click();
      QCOMPARE(text(dialog, "Executable"), QStringLiteral("/usr/bin/env"));
      control<QToolButton>(dialog, "Parcourir")->click();  // cancelled: the box stays
      QCOMPARE(text(dialog, "Executable"), QStringLiteral("/usr/bin/env"));
      click(dialog, "Annuler");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(f.ui.programDirectories, (QStringList{QStringLiteral("/opt/mes outils"), QStringLiteral("/usr/bin")}));
  }

  // The real dialog behind it lists the folders and the files the user may run.
  void theProgramDialogListsFoldersAndPrograms() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(QDir(root).mkdir(QStringLiteral("dossier")));
    QVERIFY(QDir(root).mkdir(QStringLiteral("zone")));
    const auto make = [&](const char* name, QFile::Permissions permissions) {
      writeBytes(root + QLatin1Char('/') + QLatin1String(name), "#!/bin/sh\n");
      QFile::setPermissions(root + QLatin1Char('/') + QLatin1String(name), permissions);
    };
    const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
    make("programme", readWrite | QFile::ExeOwner);
    make("Autre", readWrite | QFile::ExeOwner);
    make("notes.txt", readWrite);
    make("script.sh", readWrite);
    QVERIFY(QFile::link(root + QStringLiteral("/programme"), root + QStringLiteral("/lien")));
    QVERIFY(QFile::link(root + QStringLiteral("/notes.txt"), root + QStringLiteral("/lien-notes")));
    QVERIFY(QFile::link(root + QStringLiteral("/absent"), root + QStringLiteral("/lien-casse")));

    const struct {
      const char* name;
      bool listed;
    } entries[] = {{"dossier", true},     {"programme", true},   {"lien", true},
                   {"notes.txt", false},  {"script.sh", false},  {"lien-notes", false},
                   {"lien-casse", false}, {"absent", false}};
    for (const auto& entry : entries)
      QVERIFY2(isProgramChoice(QFileInfo(root + QLatin1Char('/') + QLatin1String(entry.name))) == entry.listed,
               entry.name);

    const auto dialog = createProgramDialog(nullptr, root);
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Exécutables (*)")});
    dialog->show();
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(view);
    const auto shown = [&] {
      QStringList names;
      for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
      return names;
    };
    // Folders first, then names without regard to case.
    const QStringList expected = {QStringLiteral("dossier"), QStringLiteral("zone"), QStringLiteral("Autre"),
                                  QStringLiteral("lien"), QStringLiteral("programme")};
    QTRY_COMPARE(shown(), expected);

    // A program clicked can be opened, and its full path is the answer.
    QModelIndex programme;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
      if (view->model()->index(row, 0, view->rootIndex()).data().toString() == QStringLiteral("programme"))
        programme = view->model()->index(row, 0, view->rootIndex());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(programme).center());
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QTRY_VERIFY(buttons->button(QDialogButtonBox::Open)->isEnabled());
    buttons->button(QDialogButtonBox::Open)->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->selectedFiles(), QStringList{root + QStringLiteral("/programme")});
  }

  // Run from a directory whose name is not UTF-8, the program cannot be named by a
  // desktop entry: nothing is written and the user is told. The test runs a copy
  // of itself from such a directory (reached through a link, since the system
  // names a program by its real path) to play the window's part.
  void theFileManagerEntryNeedsAUtf8ProgramPath() {
    const QByteArray role = qgetenv("ORVEX_TEST_NOT_UTF8_COPY");
    if (!role.isEmpty()) {
      WindowFixture f;
      f.action("Dclarerdanslabasederegistre1")->trigger();
      QCOMPARE(f.ui.messages.size(), std::size_t(1));
      QCOMPARE(f.ui.messages.back().text,
               QStringLiteral("Impossible de déclarer Orvex dans le gestionnaire de fichiers : le chemin du programme "
                              "n'est pas en UTF-8."));
      QVERIFY(f.ui.started.isEmpty());
      return;
    }
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    // The toolkit cannot name what it cannot decode, so the copy is removed here.
    struct Removal {
      std::filesystem::path path;
      ~Removal() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
      }
    } removal{root};
    const std::filesystem::path latin1 = root / "programme caf\xE9";
    std::filesystem::create_directory(latin1);
    const auto self = runningExecutable();
    QVERIFY(self.has_value());
    std::filesystem::copy_file(*self, latin1 / "copie");
    std::filesystem::create_directory_symlink(latin1, root / "lien");
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVEX_TEST_NOT_UTF8_COPY"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    copy.setProcessEnvironment(environment);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(dir.filePath(QStringLiteral("lien/copie")), {QStringLiteral("theFileManagerEntryNeedsAUtf8ProgramPath")});
    QVERIFY(copy.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(copy.readAll());
    QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("PASS   : ConfigurationTest::theFileManagerEntryNeedsAUtf8ProgramPath")),
             qPrintable(output));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("data"))));
  }

  void anEmptyTitleKeepsTheFile() {
    WindowFixture f;
    const std::string file = "MENU-GENERAL=Outils\r\nMENU=Un\r\nCHEMIN=/bin/true\r\nPARAMETRE=\r\n";
    writeBytes(f.path(QStringLiteral("menu.cfg")), file);
    f.ui.onModal = [](QDialog& dialog) {
      type(dialog, "MenuPrincipal", QStringLiteral("  "));
      click(dialog, "Ajouter");
      click(dialog, "Ok");
    };
    f.action("Configuration1")->trigger();
    QCOMPARE(f.ui.messages.back().text, QStringLiteral("Vous devez saisir un nom pour le menu général."));
    QCOMPARE(readBytes(f.path(QStringLiteral("menu.cfg"))), file);
    // The settings are still saved.
    QVERIFY(QFile::exists(f.path(QStringLiteral("config.dat"))));
  }
};

QTEST_MAIN(ConfigurationTest)
#include "configuration_test.moc"
