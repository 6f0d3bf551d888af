// The configuration dialog: settings written and applied, the user tools from the
// dialog to menu.cfg, to the menus, to a real launch; and the batch help screen.

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "components/txp_menu.h"
#include "config/tform4.h"
#include "window_fixture.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

TForm4* dialogOf(QDialog& dialog) { return qobject_cast<TForm4*>(&dialog); }

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

QString waitForArguments(const QTemporaryDir& dir) {
  const QString file = dir.filePath(QStringLiteral("arguments"));
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
    QVERIFY(f.window->configurationDialog()->Valide);
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
    QVERIFY(f.window->menuStyle()->FlatMenu);
    QVERIFY(!f.window->menuStyle()->Gradient);
    QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Panel2"))->isVisibleTo(f.window.get()));

    TForm1 restarted(f.ui, ProgramPaths(f.dir.path().toStdString()), f.scratch, {});
    QVERIFY(restarted.findChild<QAction*>(QStringLiteral("OutilsBloc1"))->isChecked());
    QVERIFY(!restarted.findChild<QAction*>(QStringLiteral("Echelle1"))->isChecked());
    QVERIFY(restarted.editor()->forceCapitals());
    // The next showing reads the file back into the controls.
    restarted.configurationDialog()->FormShow();
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
      f.window->configurationDialog()->Valide = true;  // as after an earlier "&Ok"
      f.action("Configuration1")->trigger();
      QVERIFY(!f.window->configurationDialog()->Valide);
      QVERIFY(f.action("Barredestatut1")->isChecked());
      QVERIFY(!QFile::exists(f.path(QStringLiteral("config.dat"))));
    }

    // "Défaut" without a file: nothing happens and the dialog stays open.
    TForm4& dialog = *f.window->configurationDialog();
    dialog.DefautClick();
    QVERIFY(f.ui.messages.empty());
    writeBytes(f.path(QStringLiteral("config.dat")), std::string(24, '\1'));
    dialog.DefautClick();
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
      click(shown, "Ok");
    };
    help.window->FormShow();
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
    QCOMPARE(waitForArguments(tools), QString::fromStdString("[-f]\n[/home/moi/mes documents/lettre à Léa.txt]\n[-s]\n[" +
                                                             hostile + "]\n"));
    // An unnamed document and no selection: empty arguments, still in place.
    f.window->setDocumentPath({});
    f.window->editor()->selectOffsets(0, 0);
    tool->trigger();
    QCOMPARE(waitForArguments(tools), QStringLiteral("[-f]\n[]\n[-s]\n[]\n"));

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
               "MENU=Disparu\r\nCHEMIN=/nulle/part/outil\r\nPARAMETRE=\r\n");
    f.window->FormShow();
    const auto items = f.window->menuBar()->actions().at(4)->menu()->actions();
    QCOMPARE(items.size(), 3);

    f.setText(std::string(200'000, 'a'));
    f.window->editor()->selectOffsets(0, 200'000);
    items.at(0)->trigger();
    QVERIFY(f.ui.started.isEmpty());
    QVERIFY(f.ui.messages.back().text.startsWith(QStringLiteral("Le texte sélectionné est trop long")));

    items.at(1)->trigger();
    QCOMPARE(f.ui.opened, QStringList{notes});
    items.at(2)->trigger();
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
