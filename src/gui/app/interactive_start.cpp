#include "app/interactive_start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include "mainwindow/tform1.h"
#include "paths/program_paths.h"
#include "services/ui_services.h"
#include "text/messages.h"

namespace orvex::gui {

int runInteractive(int& argc, char** argv, const QStringList& arguments) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvex"));
  QTranslator qtFrench;
  if (qtFrench.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtFrench);

  QtUiServices ui;
  std::unique_ptr<ScratchDirectory> scratch;
  try {
    scratch = std::make_unique<ScratchDirectory>();
  } catch (const IoFailure& failure) {
    ui.showMessage(QStringLiteral("Orvex"), QString::fromStdString(errorReportText(failure.what())),
                   MessageIcon::Error);
    return 1;
  }
  const ProgramPaths paths(resolveProgramDirectory(runningExecutableDirectory()));

  TForm1 form(ui, paths, *scratch, arguments);
  ui.setParent(&form);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    form.move(screen->availableGeometry().center() - form.rect().center());
  form.show();
  form.FormShow();
  QTimer::singleShot(0, &form, [&form] { form.FormActivate([] { return true; }); });
  return QApplication::exec();
}

}  // namespace orvex::gui
