// What a user tool writes is shown in a window of its own once the tool ends, and
// the window does not wait for the tool meanwhile.

#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <QFile>
#include <QMenuBar>
#include <QTest>

#include "mainwindow/tool_output_watch.h"
#include "window_fixture.h"
#include "windows/tool_output_window.h"

using namespace orvex;
using namespace orvex::gui;
using namespace orvex::gui::test;

namespace {

// A shell script made executable, configured as the only tool of a menu.
QAction* installTool(WindowFixture& f, const std::string& label, const std::string& script,
                     const std::string& parameters = {}) {
  const QString program = f.path(QStringLiteral("outil.sh"));
  writeBytes(program, "#!/bin/sh\n" + script);
  QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  writeBytes(f.path(QStringLiteral("menu.cfg")), "MENU-GENERAL=Outils\r\nMENU=" + label + "\r\nCHEMIN=" +
                                                     program.toStdString() + "\r\nPARAMETRE=" + parameters + "\r\n");
  f.window->startUp();
  f.ui.realLaunches = true;
  return f.window->menuBar()->actions().at(4)->menu()->actions().value(0);
}

bool toolEnded(const WindowFixture& f) {
  return QTest::qWaitFor([&] { return f.window->findChild<ToolOutputWatch*>() == nullptr; }, 10000);
}

}  // namespace

class ToolOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void outputShowsWhenTheToolEnds_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("shown");
    QTest::newRow("output and error") << QStringLiteral("echo \"bonjour $1\"\necho erreur >&2\n")
                                      << QStringLiteral("bonjour Léa\nerreur\n");
    QTest::newRow("Windows-1252") << QStringLiteral("printf '\\351t\\351 \\200\\n'\n") << QStringLiteral("été €\n");
    QTest::newRow("only the error, failing") << QStringLiteral("echo introuvable >&2\nexit 3\n")
                                             << QStringLiteral("introuvable\n");
  }
  void outputShowsWhenTheToolEnds() {
    QFETCH(QString, script);
    QFETCH(QString, shown);
    WindowFixture f;
    const QStringList scratchEntries = QDir(QString::fromStdString(f.scratch.path().native()))
                                           .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    f.setText("Léa");
    f.window->editor()->selectOffsets(0, 4);
    installTool(f, "&Compter && trier", script.toStdString(), "$Selection")->trigger();
    QVERIFY(toolEnded(f));
    auto* output = f.window->findChild<ToolOutputWindow*>();
    QVERIFY(output);
    QVERIFY(output->isVisible());
    QVERIFY(!output->isModal());
    QCOMPARE(output->windowTitle(), QStringLiteral("Sortie de l'outil Compter & trier"));
    QCOMPARE(output->text(), shown);
    auto* text = output->findChild<QPlainTextEdit*>(QStringLiteral("ToolOutputText"));
    QVERIFY(text->isReadOnly());
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    // The output was kept in the scratch directory, under no name.
    QCOMPARE(f.ui.outputDirectories.back(), f.scratch.path());
    QCOMPARE(QDir(QString::fromStdString(f.scratch.path().native())).entryList(QDir::AllEntries | QDir::Hidden |
                                                                            QDir::NoDotAndDotDot),
             scratchEntries);
    output->close();
    QTRY_VERIFY(f.window->findChild<ToolOutputWindow*>() == nullptr);
  }

  void aToolThatWritesNothingShowsNothing() {
    WindowFixture f;
    installTool(f, "Silence", "exit 0\n")->trigger();
    QVERIFY(toolEnded(f));
    QCoreApplication::processEvents();
    QVERIFY(f.window->findChild<ToolOutputWindow*>() == nullptr);
  }

  // The tool waits for a file the test makes only after the event loop has run:
  // had the launch waited for the tool, the test would never get there.
  void aLongToolLeavesTheWindowWorking() {
    WindowFixture f;
    const QString go = f.path(QStringLiteral("go"));
    QAction* tool = installTool(f, "Long", "while [ ! -e \"$1\" ]; do sleep 0.02; done\necho fini\n", go.toStdString());
    QElapsedTimer launch;
    launch.start();
    tool->trigger();
    QVERIFY(launch.elapsed() < 2000);
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    QTRY_VERIFY(ticked);
    f.setText("tapé pendant l'outil");
    QVERIFY(f.window->findChild<ToolOutputWatch*>() != nullptr);
    QVERIFY(f.window->findChild<ToolOutputWindow*>() == nullptr);
    writeBytes(go, "");
    QVERIFY(toolEnded(f));
    QCOMPARE(f.window->findChild<ToolOutputWindow*>()->text(), QStringLiteral("fini\n"));
  }
};

QTEST_MAIN(ToolOutputTest)
#include "tool_output_test.moc"
