#include "app/interactive_start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "batch/batch_run.h"
#include "components/busy_cursor.h"
#include "io/status.h"
#include "mainwindow/main_window.h"
#include "paths/exit_cleanup.h"
#include "paths/program_paths.h"
#include "recovery/exit_signal_watch.h"
#include "recovery/journal_recovery.h"
#include "services/ui_services.h"
#include "settings/settings_record.h"
#include "text/messages.h"
#include "windows/app_icon.h"
#include "windows/small_windows.h"

namespace orvex::gui {

namespace {

constexpr const char* kNoDisplayMessage =
    "Orvex : impossible d'ouvrir une fenêtre, aucun affichage graphique n'est disponible.\n"
    "Le mode batch (orvex FICHIER OPTIONS...) fonctionne sans affichage.\n";

// Qt's messages while it connects to the display: kept back, since a failure to
// connect ends in a fatal message of its own, which the French one replaces.
QStringList g_startMessages;

// Set for "/?": without a display to show the help on, it is printed instead.
bool g_batchHelp = false;

void reportMissingDisplay(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    g_startMessages << message;
    return;
  }
  if (g_batchHelp) {
    std::fputs(batchHelpText().c_str(), stdout);
    std::fflush(stdout);
    std::_Exit(0);
  }
  std::fputs(kNoDisplayMessage, stderr);
  std::_Exit(1);
}

void centre(QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window.move(screen->availableGeometry().center() - window.rect().center());
}

std::unique_ptr<ScratchDirectory> createScratchDirectory(UiServices& ui) {
  Result<std::unique_ptr<ScratchDirectory>> created = ScratchDirectory::create();
  if (created.ok()) return std::move(created.value());
  ui.showMessage(QStringLiteral("Orvex"), QString::fromStdString(errorReportText(created.error())), MessageIcon::Error);
  return nullptr;
}

// The splash shows unless the settings switch it off.
bool splashWanted(UiServices& ui, const ProgramPaths& paths) {
  const SettingsReadResult settings = readSettings(paths.configFile());
  if (!settings.error.empty()) {
    ui.showMessage(QStringLiteral("Orvex"), QString::fromStdString(errorReportText(settings.error)),
                   MessageIcon::Error);
    return true;
  }
  return !settings.record || settings.record->EcranBienvenue;
}

// The journal a window that recovered several documents handed to this one, read
// once so that a window this one starts does not inherit it.
std::string takeHandedOverJournal() {
  const char* value = std::getenv(kRecoveryVariable);
  std::string name = value ? value : "";
  ::unsetenv(kRecoveryVariable);
  return name;
}

// The journals of windows that are gone, before their scratch directories go.
void recoverDocuments(UiServices& ui, MainWindow& form, const ProgramPaths& paths,
                      const std::vector<std::string>& arguments, const std::string& handedOver) {
  if (handedOver.empty())
    offerRecovery(ui, form, paths.directory(), arguments);
  else
    recoverHandedOver(ui, form, paths.directory(), handedOver);
  removeAbandonedScratchDirectories();
}

}  // namespace

int runInteractive(int& argc, char** argv, const std::vector<std::string>& arguments) {
  // Without a display Qt would abort; the user gets a French word and exit 1.
  g_batchHelp = arguments == std::vector<std::string>{"/?"};
  qInstallMessageHandler(reportMissingDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(nullptr);
  for (const QString& message : std::exchange(g_startMessages, {})) std::fprintf(stderr, "%s\n", qPrintable(message));
  QApplication::setApplicationName(QStringLiteral("Orvex"));
  // Lets the desktop match the windows with the installed entry and its icon.
  QApplication::setDesktopFileName(QStringLiteral("fr.velmora.Orvex"));
  QTranslator qtFrench;
  if (qtFrench.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtFrench);

  QtUiServices ui;
  const std::unique_ptr<ScratchDirectory> scratch = createScratchDirectory(ui);
  if (!scratch) return 1;
  installExitCleanup();
  removeDirectoryOnExitSignal(scratch->path());
  // A logout's signal first brings the recovery journals up to date.
  const ExitSignalWatch exitSignals;
  const std::string handedOver = takeHandedOverJournal();
  const ProgramPaths paths(resolveProgramDirectory(runningExecutableDirectory()).value_or(std::filesystem::path()));
  QApplication::setWindowIcon(orvexIcon());

  // The splash is painted at once, before the event loop runs, and goes once every
  // window exists. Not wanted, it is not made: its fonts would stay loaded.
  std::unique_ptr<SplashWindow> splash;
  std::optional<BusyCursor> busy(std::in_place);
  if (splashWanted(ui, paths)) {
    splash = std::make_unique<SplashWindow>(true);
    centre(*splash);
    splash->showPainted();
  }

  MainWindow form(ui, paths, *scratch, arguments);
  ui.setParent(&form);
  // The about box and the tips are made when shown: most runs show neither.
  form.setAboutBox([&] { return new AboutBox(ui, &form); });

  splash.reset();
  busy.reset();

  if (!form.placeRestored()) centre(form);
  form.show();
  form.startUp();
  // The batch help screen has ended the program from inside the show step.
  if (!form.isVisible()) {
    removeAbandonedScratchDirectories();
    return 0;
  }
  recoverDocuments(ui, form, paths, arguments, handedOver);
  QTimer::singleShot(0, &form, [&] {
    form.activate([&] {
      TipsWindow tips(&form);
      ui.runModal(tips);
      return tips.showAtStart();
    });
  });
  return QApplication::exec();
}

}  // namespace orvex::gui
